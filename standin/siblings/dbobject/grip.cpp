// The database module's grips: what is not inline in their header.
#include <ZoDbGrip.h>

ZoDbGrip::~ZoDbGrip() = default;
ZoDbGripDim::~ZoDbGripDim() = default;
