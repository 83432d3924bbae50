// Just enough of the host geometry library's points, vectors and scale factors, behaving as
// the host's do, for the drawing database and the module to hand geometry to each other.
#pragma once

#include <cmath>

#include "standin/host/gematrix.h"

class AcGeVector3d;

class AcGePoint2d {
 public:
  AcGePoint2d() = default;
  AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}
  bool operator==(const AcGePoint2d& p) const { return x == p.x && y == p.y; }
  bool operator!=(const AcGePoint2d& p) const { return !(*this == p); }
  double distanceTo(const AcGePoint2d& p) const { return std::hypot(p.x - x, p.y - y); }

  double x = 0, y = 0;
};

class AcGeVector3d {
 public:
  AcGeVector3d() = default;
  AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  double length() const { return std::sqrt(x * x + y * y + z * z); }
  AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
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

class AcGeScale3d {
 public:
  AcGeScale3d() = default;
  explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
  AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}
  bool operator==(const AcGeScale3d& s) const { return sx == s.sx && sy == s.sy && sz == s.sz; }

  double sx = 1, sy = 1, sz = 1;
};
