// Just enough of the geometry library's 3D vector, transform and angle helpers, behaving as the
// family's do, for dragging sets: moves, turns about a point, and angles kept within one turn.
#pragma once

#include <ZoGePoint.h>

class ZoGeVector3d {
 public:
  ZoGeVector3d() : x(0), y(0), z(0) {}
  ZoGeVector3d(double dx, double dy, double dz = 0) : x(dx), y(dy), z(dz) {}
  // The vector from one point to another.
  ZoGeVector3d(const ZoGePoint& ptFrom, const ZoGePoint& ptTo)
      : x(ptTo.x - ptFrom.x), y(ptTo.y - ptFrom.y), z(ptTo.z - ptFrom.z) {}
  double Length() const;

  double x, y, z;
};

// A 3D transform as 4x4 values, row by row, acting on column points (x, y, z, 1): the layout of
// the host's ads_matrix, translation in the last column.
class ZoGeMatrix {
 public:
  ZoGeMatrix();  // identity

  // Makes this the translation by v.
  ZoGeMatrix& CreateMoveMatrix(const ZoGeVector3d& v);
  // Makes this the turn by dAngle radians, counter-clockwise about the z axis through ptCenter.
  ZoGeMatrix& CreateRotateMatrix(double dAngle, const ZoGePoint& ptCenter);
  // Applies the transform to pt in place.
  void Transform(ZoGePoint& pt) const;

  const double* operator[](int nRow) const { return m_dValue[nRow]; }
  double* operator[](int nRow) { return m_dValue[nRow]; }

 private:
  void SetIdentity();
  double m_dValue[4][4];
};

// The angle (radians) brought into [0, 2π); one that is not finite gives 0 (chosen: no turn).
double GetStdAngle(double dAngle);
