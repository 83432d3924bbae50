// The host's plane geometry of ADS points: the angle of a line and the point at a distance; and
// the turn of its matrices about an axis.
#include <acutads.h>
#include <gemat3d.h>
#include <gepnt3d.h>
#include <gevec3d.h>

#include <cmath>

ads_real acutAngle(const ads_point pt1, const ads_point pt2) {
  const double dx = pt2[X] - pt1[X], dy = pt2[Y] - pt1[Y];
  // atan2 of two zeros is 0 or pi depending on their signs; coincident points have no direction.
  if (dx == 0 && dy == 0) return 0;
  const double twoPi = 2 * 3.14159265358979323846;
  double angle = std::atan2(dy, dx);
  if (angle < 0) angle += twoPi;
  // A tiny negative angle rounds up to exactly 2 pi, which is the x axis again.
  return angle >= twoPi ? 0 : angle;
}

void acutPolar(const ads_point pt, ads_real angle, ads_real dist, ads_point result) {
  // The caller may pass the same array as pt and result.
  const double x = pt[X] + dist * std::cos(angle), y = pt[Y] + dist * std::sin(angle), z = pt[Z];
  result[X] = x;
  result[Y] = y;
  result[Z] = z;
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
  setToIdentity();
  const double len = axis.length();
  if (!(len > 0) || !std::isfinite(len)) return *this;
  // Rodrigues' formula for the unit axis, then the centre kept where it is.
  const double x = axis.x / len, y = axis.y / len, z = axis.z / len;
  const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  const double r[3][3] = {{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
                          {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
                          {t * x * z - s * y, t * y * z + s * x, t * z * z + c}};
  const double p[3] = {center.x, center.y, center.z};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) entry[i][j] = r[i][j];
    entry[i][3] = p[i] - (r[i][0] * p[0] + r[i][1] * p[1] + r[i][2] * p[2]);
  }
  return *this;
}
