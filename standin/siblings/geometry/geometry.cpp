// Just enough of the family's geometry library, behaving as it does, for the platform module.
#include <ZoGePoint.h>

#include <cmath>

double g_distZero = 1.0e-6;
double g_angleZero = 1.0e-8;

bool ZoGePoint::operator==(const ZoGePoint& p) const { return DistanceTo(p) <= g_distZero; }

bool ZoGePoint::operator>(const ZoGePoint& p) const {
  if (std::fabs(x - p.x) > g_distZero) return x > p.x;
  if (std::fabs(y - p.y) > g_distZero) return y > p.y;
  if (std::fabs(z - p.z) > g_distZero) return z > p.z;
  return false;
}

bool ZoGePoint::operator<(const ZoGePoint& p) const { return p > *this; }

double ZoGePoint::DistanceTo(const ZoGePoint& p) const {
  return std::sqrt((x - p.x) * (x - p.x) + (y - p.y) * (y - p.y) + (z - p.z) * (z - p.z));
}
