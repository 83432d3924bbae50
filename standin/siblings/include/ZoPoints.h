// Just enough of the database module's point helpers, behaving as the family's do, for
// growing boxes around points.
#pragma once

#include <ZoGePoint.h>

// The component-wise minimum and maximum of two points (x, y and z each on its own).
ZoGePoint Min(const ZoGePoint& a, const ZoGePoint& b);
ZoGePoint Max(const ZoGePoint& a, const ZoGePoint& b);
