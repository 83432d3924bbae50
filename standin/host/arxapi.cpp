// The API-version export that the host SDK links into every application module.
#include "standin/host/rx.h"

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return TOVU_HOST_API_VERSION; }
