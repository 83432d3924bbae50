// The ADS point, matrix and entity name value classes.
#include "ads/AdsValues.h"

#include <cstring>
#include <type_traits>

static_assert(sizeof(ZoAdsPoint) == sizeof(ads_point) && std::is_standard_layout<ZoAdsPoint>::value,
              "a ZoAdsPoint is an ads_point");
static_assert(sizeof(ZoAdsMatrix) == sizeof(ads_matrix), "a ZoAdsMatrix is an ads_matrix");
static_assert(sizeof(ZoAdsName) == sizeof(ads_name), "a ZoAdsName is an ads_name");

void ZoAdsPoint::operator>>(double* pt) const {
  pt[X] = x;
  pt[Y] = y;
  pt[Z] = z;
}

ZoAdsMatrix::ZoAdsMatrix(const double (*m)[4]) {
  if (m) std::memcpy(m_matrix.entry, m, sizeof(m_matrix.entry));
}

ZoAdsMatrix& ZoAdsMatrix::operator=(const ZoAdsMatrix& m) {
  std::memmove(m_matrix.entry, m.m_matrix.entry, sizeof(m_matrix.entry));
  return *this;
}

ZoAdsName::ZoAdsName(const long long* name) : m_name{0, 0} { *this = name; }

ZoAdsName& ZoAdsName::operator=(const long long* name) {
  m_name[0] = name ? name[0] : 0;
  m_name[1] = name ? name[1] : 0;
  return *this;
}

bool ZoAdsName::operator==(const long long* name) const {
  if (!name) return !IsValid();
  return m_name[0] == name[0] && m_name[1] == name[1];
}
