// Just enough of the geometry library's 2D point, behaving as the family's does, for the
// element types that compare as 2D points.
#pragma once

#include <ZoGePoint.h>

class ZoGePoint2d {
 public:
  ZoGePoint2d() : x(0), y(0) {}
  ZoGePoint2d(double dx, double dy) : x(dx), y(dy) {}
  // The 3D point seen from above: z is dropped.
  ZoGePoint2d(const ZoGePoint& p) : x(p.x), y(p.y) {}

  // Equal when the points are at most g_distZero apart.
  bool operator==(const ZoGePoint2d& p) const;
  bool operator!=(const ZoGePoint2d& p) const;
  // Orders by x, then y; coordinates within g_distZero count as equal.
  bool operator<(const ZoGePoint2d& p) const;
  bool operator>(const ZoGePoint2d& p) const;

  double x, y;
};
