// Just enough of the host geometry library's 3D vector, behaving as the host's does.
#pragma once

#include <gemat3d.h>

#include <cmath>

class AcGeVector3d {
 public:
  AcGeVector3d() = default;
  AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  double length() const { return std::sqrt(x * x + y * y + z * z); }
  AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d crossProduct(const AcGeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
  }
  bool operator==(const AcGeVector3d& v) const { return x == v.x && y == v.y && z == v.z; }
  bool operator!=(const AcGeVector3d& v) const { return !(*this == v); }
  // The direction part of m applied to the vector (no translation).
  AcGeVector3d& transformBy(const AcGeMatrix3d& m) {
    const double nx = m(0, 0) * x + m(0, 1) * y + m(0, 2) * z;
    const double ny = m(1, 0) * x + m(1, 1) * y + m(1, 2) * z;
    const double nz = m(2, 0) * x + m(2, 1) * y + m(2, 2) * z;
    x = nx, y = ny, z = nz;
    return *this;
  }

  static const AcGeVector3d kXAxis, kYAxis, kZAxis;
  double x = 0, y = 0, z = 0;
};

inline const AcGeVector3d AcGeVector3d::kXAxis{1, 0, 0};
inline const AcGeVector3d AcGeVector3d::kYAxis{0, 1, 0};
inline const AcGeVector3d AcGeVector3d::kZAxis{0, 0, 1};
