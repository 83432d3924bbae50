// Just enough of the database module's point helpers, behaving as the family's do, for
// growing boxes around points.
#include <ZoPoints.h>

#include <algorithm>

ZoGePoint Min(const ZoGePoint& a, const ZoGePoint& b) {
  return ZoGePoint(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z));
}

ZoGePoint Max(const ZoGePoint& a, const ZoGePoint& b) {
  return ZoGePoint(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z));
}
