// Just enough of the geometry library's point and tolerances, behaving as the family's do,
// for the module's points and comparisons.
#pragma once

// Distances at or below this are zero; chosen as 1e-6 drawing units.
extern double g_distZero;
// Angles (radians) at or below this are zero; chosen as 1e-8.
extern double g_angleZero;

class ZoGePoint {
 public:
  ZoGePoint() : x(0), y(0), z(0) {}
  ZoGePoint(double dx, double dy, double dz = 0) : x(dx), y(dy), z(dz) {}

  // Equal when the points are at most g_distZero apart.
  bool operator==(const ZoGePoint& p) const;
  bool operator!=(const ZoGePoint& p) const { return !(*this == p); }
  // Orders by x, then y, then z; coordinates within g_distZero count as equal. Being
  // tolerance-based, it is not a strict weak order over all points.
  bool operator>(const ZoGePoint& p) const;
  bool operator<(const ZoGePoint& p) const;

  double DistanceTo(const ZoGePoint& p) const;

  double x, y, z;
};
