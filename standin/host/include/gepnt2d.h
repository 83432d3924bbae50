// Just enough of the host geometry library's 2D point, behaving as the host's does.
#pragma once

#include <cmath>

class AcGePoint2d {
 public:
  AcGePoint2d() = default;
  AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}
  bool operator==(const AcGePoint2d& p) const { return x == p.x && y == p.y; }
  bool operator!=(const AcGePoint2d& p) const { return !(*this == p); }
  double distanceTo(const AcGePoint2d& p) const { return std::hypot(p.x - x, p.y - y); }

  double x = 0, y = 0;
};
