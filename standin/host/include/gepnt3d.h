// Just enough of the host geometry library's 3D point, behaving as the host's does.
#pragma once

#include <gegbl.h>
#include <gemat3d.h>
#include <gevec3d.h>

class AcGePoint3d {
 public:
  AcGePoint3d() = default;
  AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  bool operator==(const AcGePoint3d& p) const { return x == p.x && y == p.y && z == p.z; }
  bool operator!=(const AcGePoint3d& p) const { return !(*this == p); }
  AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
  double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
  // Equal when at most the tolerance's equalPoint apart.
  bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  AcGePoint3d& set(double xx, double yy, double zz) {
    x = xx, y = yy, z = zz;
    return *this;
  }
  AcGePoint3d& transformBy(const AcGeMatrix3d& m) {
    const double nx = m(0, 0) * x + m(0, 1) * y + m(0, 2) * z + m(0, 3);
    const double ny = m(1, 0) * x + m(1, 1) * y + m(1, 2) * z + m(1, 3);
    const double nz = m(2, 0) * x + m(2, 1) * y + m(2, 2) * z + m(2, 3);
    x = nx, y = ny, z = nz;
    return *this;
  }

  static const AcGePoint3d kOrigin;
  double x = 0, y = 0, z = 0;
};

inline const AcGePoint3d AcGePoint3d::kOrigin{0, 0, 0};
