// Just enough of the geometry library's faces, behaving as the family's do, for the lists the
// platform exports over them: a triangle of three points, never equal and never ordered.
#pragma once

#include <ZoGePoint.h>

class ZoGeFace {
 public:
  ZoGeFace() = default;
  ZoGeFace(const ZoGePoint& a, const ZoGePoint& b, const ZoGePoint& c) : m_pt{a, b, c} {}

  bool operator==(const ZoGeFace&) const { return false; }
  bool operator!=(const ZoGeFace&) const { return false; }
  bool operator<(const ZoGeFace&) const { return false; }
  bool operator>(const ZoGeFace&) const { return false; }

  ZoGePoint m_pt[3];
};
