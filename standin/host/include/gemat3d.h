// Just enough of the host geometry library's 3D matrix, behaving as the host's does, for the
// module's ADS matrices: sixteen doubles, row-major, the identity when default-constructed.
#pragma once

class AcGePoint3d;
class AcGeVector3d;

class AcGeMatrix3d {
 public:
  AcGeMatrix3d() { setToIdentity(); }

  AcGeMatrix3d& setToIdentity() {
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) entry[r][c] = r == c ? 1.0 : 0.0;
    return *this;
  }
  // The turn by angle (radians, right-handed about axis) about the line along axis through
  // center; a zero axis gives the identity.
  AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center);
  // REQUIRES: row < 4 (and column < 4)
  double* operator[](unsigned row) { return entry[row]; }
  const double* operator[](unsigned row) const { return entry[row]; }
  double operator()(unsigned row, unsigned column) const { return entry[row][column]; }
  double& operator()(unsigned row, unsigned column) { return entry[row][column]; }

  double entry[4][4];
};
