// Just enough of the geometry library's extents, behaving as the family's do, for the bounds
// of curves: a one-dimensional interval and a 2D box made of two of them.
#pragma once

#include <ZoGePoint.h>

// A closed interval [low, high]. A new interval is empty (it has no value yet) and takes its
// first value whole.
class ZoGeExtent {
 public:
  ZoGeExtent();
  // The interval between a and b, whichever is the larger.
  ZoGeExtent(double a, double b);

  bool IsEmpty() const { return m_low > m_high; }
  double GetLow() const { return m_low; }
  double GetHigh() const { return m_high; }
  // 0 for an empty interval.
  double GetLength() const { return IsEmpty() ? 0.0 : m_high - m_low; }
  void Set(double a, double b);
  void SetEmpty();
  // Grows the interval to hold v.
  void AddValue(double v);
  void AddExtent(const ZoGeExtent& other);
  // Whether v lies inside, within g_distZero of the ends.
  bool IsIn(double v) const;
  // Whether the intervals share a value, within g_distZero.
  bool IsIntersectWith(const ZoGeExtent& other) const;

  // Equal when both are empty, or both ends agree within g_distZero.
  bool operator==(const ZoGeExtent& other) const;
  bool operator!=(const ZoGeExtent& other) const { return !(*this == other); }
  // Ordered by the low end, then the high end; ends within g_distZero count as equal.
  bool operator>(const ZoGeExtent& other) const {
    if (m_low - other.m_low > g_distZero) return true;
    if (other.m_low - m_low > g_distZero) return false;
    return m_high - other.m_high > g_distZero;
  }
  bool operator<(const ZoGeExtent& other) const { return other > *this; }

 private:
  double m_low;
  double m_high;
};

// An axis-aligned box: an x interval and a y interval.
class ZoGeExtent2d {
 public:
  ZoGeExtent2d() = default;
  ZoGeExtent2d(const ZoGeExtent& x, const ZoGeExtent& y) : m_x(x), m_y(y) {}

  // Empty when either interval is.
  bool IsEmpty() const { return m_x.IsEmpty() || m_y.IsEmpty(); }
  ZoGeExtent GetXExtend() const { return m_x; }
  ZoGeExtent GetYExtend() const { return m_y; }
  void SetEmpty();
  // Grows the box to hold the point's x and y.
  void AddPoint(const ZoGePoint& p);
  void AddPoint(double x, double y);
  void AddExtent(const ZoGeExtent2d& other);
  // Lower-left and upper-right corners (z 0); meaningless for an empty box.
  ZoGePoint GetMinPoint() const { return ZoGePoint(m_x.GetLow(), m_y.GetLow(), 0.0); }
  ZoGePoint GetMaxPoint() const { return ZoGePoint(m_x.GetHigh(), m_y.GetHigh(), 0.0); }
  bool IsIn(const ZoGePoint& p) const { return m_x.IsIn(p.x) && m_y.IsIn(p.y); }

  bool operator==(const ZoGeExtent2d& other) const { return m_x == other.m_x && m_y == other.m_y; }
  bool operator!=(const ZoGeExtent2d& other) const { return !(*this == other); }

 private:
  ZoGeExtent m_x;
  ZoGeExtent m_y;
};
