// Just enough of the geometry library's extents, behaving as the family's do, for the bounds
// of curves.
#include <ZoGeExtent.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double kEmptyLow = std::numeric_limits<double>::max();
constexpr double kEmptyHigh = -std::numeric_limits<double>::max();
}  // namespace

ZoGeExtent::ZoGeExtent() : m_low(kEmptyLow), m_high(kEmptyHigh) {}

ZoGeExtent::ZoGeExtent(double a, double b) : m_low(std::min(a, b)), m_high(std::max(a, b)) {}

void ZoGeExtent::Set(double a, double b) {
  m_low = std::min(a, b);
  m_high = std::max(a, b);
}

void ZoGeExtent::SetEmpty() {
  m_low = kEmptyLow;
  m_high = kEmptyHigh;
}

void ZoGeExtent::AddValue(double v) {
  if (v < m_low) m_low = v;
  if (v > m_high) m_high = v;
}

void ZoGeExtent::AddExtent(const ZoGeExtent& other) {
  if (other.IsEmpty()) return;
  AddValue(other.m_low);
  AddValue(other.m_high);
}

bool ZoGeExtent::IsIn(double v) const { return !IsEmpty() && v >= m_low - g_distZero && v <= m_high + g_distZero; }

bool ZoGeExtent::IsIntersectWith(const ZoGeExtent& other) const {
  if (IsEmpty() || other.IsEmpty()) return false;
  return m_low <= other.m_high + g_distZero && other.m_low <= m_high + g_distZero;
}

bool ZoGeExtent::operator==(const ZoGeExtent& other) const {
  if (IsEmpty() || other.IsEmpty()) return IsEmpty() && other.IsEmpty();
  return std::abs(m_low - other.m_low) <= g_distZero && std::abs(m_high - other.m_high) <= g_distZero;
}

void ZoGeExtent2d::SetEmpty() {
  m_x.SetEmpty();
  m_y.SetEmpty();
}

void ZoGeExtent2d::AddPoint(const ZoGePoint& p) { AddPoint(p.x, p.y); }

void ZoGeExtent2d::AddPoint(double x, double y) {
  m_x.AddValue(x);
  m_y.AddValue(y);
}

void ZoGeExtent2d::AddExtent(const ZoGeExtent2d& other) {
  if (other.IsEmpty()) return;
  m_x.AddExtent(other.m_x);
  m_y.AddExtent(other.m_y);
}
