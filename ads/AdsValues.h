// The host's raw ADS arrays as value classes: a point, a matrix and an entity name whose
// storage is exactly the host array, so the host can write into them through the conversions.
#pragma once

#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"

// An ads_point that is also the family's point: x, y, z laid out as X, Y, Z.
class TOVU_PLATFORM_API ZoAdsPoint : public ZoGePoint {
 public:
  typedef double Array[3];

  ZoAdsPoint(double dx = 0.0, double dy = 0.0, double dz = 0.0) : ZoGePoint(dx, dy, dz) {}
  // REQUIRES: pt points to three doubles.
  ZoAdsPoint(const double* pt) : ZoGePoint(pt[0], pt[1], pt[2]) {}
  ZoAdsPoint(const ZoAdsPoint&) = default;
  ZoAdsPoint& operator=(const ZoAdsPoint&) = default;

  // Copies X, Y, Z into pt. REQUIRES: pt points to three doubles.
  void operator>>(double* pt) const;

  // The point's own storage; writing through it changes the point.
  operator double*() const { return const_cast<double*>(&x); }
  operator const Array&() const { return *reinterpret_cast<const Array*>(&x); }
  operator Array&() { return *reinterpret_cast<Array*>(&x); }
};

// An ads_matrix (row-major, [row][column]) held as the host's matrix; the identity by default.
class TOVU_PLATFORM_API ZoAdsMatrix {
 public:
  typedef double Array[4][4];

  ZoAdsMatrix() = default;
  // The identity, then the sixteen doubles of m over it; a null m leaves the identity.
  ZoAdsMatrix(const double (*m)[4]);
  ZoAdsMatrix(const ZoAdsMatrix&) = default;
  ZoAdsMatrix& operator=(const ZoAdsMatrix& m);

  operator const Array&() const { return m_matrix.entry; }
  operator Array&() { return m_matrix.entry; }

 private:
  AcGeMatrix3d m_matrix;
};

// An ads_name: two 64-bit words, valid when either is non-zero.
class TOVU_PLATFORM_API ZoAdsName {
 public:
  typedef long long Array[2];

  ZoAdsName() : m_name{0, 0} {}
  // Copies both words; a null name gives no name.
  ZoAdsName(const long long* name);
  ZoAdsName(const ZoAdsName&) = default;
  ZoAdsName& operator=(const long long* name);
  ZoAdsName& operator=(const ZoAdsName&) = default;

  bool IsValid() const { return m_name[0] != 0 || m_name[1] != 0; }
  // Word by word; a null name equals no name.
  bool operator==(const long long* name) const;
  bool operator!=(const long long* name) const { return !(*this == name); }
  // Two names compare word by word, as through the conversion; spelled out because the
  // built-in pointer comparison would make that call ambiguous.
  bool operator==(const ZoAdsName& name) const { return *this == name.m_name; }
  bool operator!=(const ZoAdsName& name) const { return !(*this == name.m_name); }

  // The name's own storage; the host writes names into it.
  operator const Array&() const { return m_name; }
  operator Array&() { return m_name; }

 protected:
  long long m_name[2];
};
