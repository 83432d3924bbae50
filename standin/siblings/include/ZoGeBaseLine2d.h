// Just enough of the geometry library's 2D vector and infinite line, behaving as the family's
// do, for constraining points to axes (orthogonal mode, grid snap).
#pragma once

#include <ZoGePoint2d.h>

class ZoGeVector2d {
 public:
  ZoGeVector2d() : x(0), y(0) {}
  ZoGeVector2d(double dx, double dy) : x(dx), y(dy) {}
  // The unit vector at an angle (radians, counter-clockwise from the x axis).
  static ZoGeVector2d CreateFromAngle(double dAngle);
  double Length() const;

  double x, y;
};

// An infinite line through a point along a direction. A default line runs through the origin
// along the x axis.
class ZoGeBaseLine2d {
 public:
  ZoGeBaseLine2d();
  // A zero direction is taken as the x axis (chosen: the line must have one).
  ZoGeBaseLine2d(const ZoGePoint2d& ptBase, const ZoGeVector2d& vDir);
  void Set(const ZoGePoint2d& ptBase, const ZoGeVector2d& vDir);
  const ZoGePoint2d& GetBasePoint() const { return m_ptBase; }
  const ZoGeVector2d& GetDirection() const { return m_vDir; }

  // The foot of the perpendicular from the point to the line.
  ZoGePoint2d GetNearestPoint(const ZoGePoint2d& pt) const;
  // Non-zero when the lines meet in one point (written to ptInt); 0 for parallel lines (within
  // g_angleZero), ptInt untouched. bBounded asks for a meeting on bounded parts of the lines;
  // infinite lines have none, so it changes nothing here.
  int IntersectWith(const ZoGeBaseLine2d& line, ZoGePoint2d& ptInt, bool bBounded = false) const;

 private:
  ZoGePoint2d m_ptBase;
  ZoGeVector2d m_vDir;  // unit length
};
