// The host's plane geometry of ADS points: the angle of a line and the point at a distance.
#include <acutads.h>

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
