// The geometry library's 2D point comparisons, within its distance tolerance.
#include <ZoGePoint2d.h>

#include <cmath>

bool ZoGePoint2d::operator==(const ZoGePoint2d& p) const { return std::hypot(x - p.x, y - p.y) <= g_distZero; }

bool ZoGePoint2d::operator!=(const ZoGePoint2d& p) const { return !(*this == p); }

bool ZoGePoint2d::operator<(const ZoGePoint2d& p) const {
  if (std::fabs(x - p.x) > g_distZero) return x < p.x;
  return p.y - y > g_distZero;
}

bool ZoGePoint2d::operator>(const ZoGePoint2d& p) const { return p < *this; }
