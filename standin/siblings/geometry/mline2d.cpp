// Just enough of the geometry library's 2D polyline, behaving as the family's does, for
// outlines and polygons.
#include <ZoGeMLine2d.h>

#include <cassert>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The arc from p to q turning through angle a (counter-clockwise when positive): its centre
// and radius. False when p and q coincide or the angle is a whole turn, so that there is no
// single circle; the segment then counts as straight.
bool ArcOf(const ZoGePoint& p, const ZoGePoint& q, double a, double& cx, double& cy, double& r) {
  const double vx = q.x - p.x, vy = q.y - p.y;
  const double chord = std::hypot(vx, vy);
  const double s = std::sin(a / 2);
  if (chord <= g_distZero || std::fabs(s) <= g_angleZero) return false;
  const double half = chord / 2;
  r = half / std::fabs(s);
  // The centre lies on the chord's left for a counter-clockwise arc under half a turn.
  const double d = half * std::cos(a / 2) / s;
  cx = (p.x + q.x) / 2 - vy / chord * d;
  cy = (p.y + q.y) / 2 + vx / chord * d;
  return true;
}

// The angle in [0, 2 pi).
double Turn(double a) {
  a = std::fmod(a, 2 * kPi);
  return a < 0 ? a + 2 * kPi : a;
}

}  // namespace

ZoGeMLine2d::ZoGeMLine2d(long nAllocUnit, bool bClosed) : m_nAllocUnit(nAllocUnit), m_bClosed(bClosed) {}

ZoGeMLine2d::ZoGeMLine2d(const ZoGeMLine2d& src) = default;

ZoGeMLine2d& ZoGeMLine2d::operator=(const ZoGeMLine2d& src) = default;

ZoGeMLine2d::~ZoGeMLine2d() = default;

const wchar_t* ZoGeMLine2d::GetRxClassName() const { return L"ZoGeMLine2d"; }

bool ZoGeMLine2d::CopyFrom(const ZoGeObject& src) {
  const auto* line = dynamic_cast<const ZoGeMLine2d*>(&src);
  if (!line) return false;
  ZoGeMLine2d::operator=(*line);
  return true;
}

size_t ZoGeMLine2d::SegmentCount() const {
  if (m_vertices.size() < 2) return 0;
  return m_bClosed ? m_vertices.size() : m_vertices.size() - 1;
}

bool ZoGeMLine2d::GetExtent2d(ZoGeExtent2d& ext) const {
  ext.SetEmpty();
  if (m_vertices.empty()) return false;
  for (const ZoGePoint& p : m_vertices) ext.AddPoint(p);
  const size_t n = m_vertices.size();
  for (size_t i = 0; i < SegmentCount(); ++i) {
    const double a = m_bulges[i];
    double cx, cy, r;
    if (std::fabs(a) <= g_angleZero || !ArcOf(m_vertices[i], m_vertices[(i + 1) % n], a, cx, cy, r)) continue;
    const double start = std::atan2(m_vertices[i].y - cy, m_vertices[i].x - cx);
    for (int k = 0; k < 4; ++k) {
      const double axis = k * kPi / 2;
      const double swept = a > 0 ? Turn(axis - start) : Turn(start - axis);
      if (swept <= std::fabs(a)) ext.AddPoint(cx + r * std::cos(axis), cy + r * std::sin(axis));
    }
  }
  return true;
}

void ZoGeMLine2d::Move(double dx, double dy) {
  for (ZoGePoint& p : m_vertices) {
    p.x += dx;
    p.y += dy;
  }
}

ZoGePoint ZoGeMLine2d::GetStartPoint() const { return m_vertices.empty() ? ZoGePoint() : m_vertices.front(); }

ZoGePoint ZoGeMLine2d::GetEndPoint() const {
  if (m_vertices.empty()) return ZoGePoint();
  return m_bClosed ? m_vertices.front() : m_vertices.back();
}

double ZoGeMLine2d::GetLength() const {
  double length = 0;
  const size_t n = m_vertices.size();
  for (size_t i = 0; i < SegmentCount(); ++i) {
    const ZoGePoint &p = m_vertices[i], &q = m_vertices[(i + 1) % n];
    double cx, cy, r;
    if (std::fabs(m_bulges[i]) > g_angleZero && ArcOf(p, q, m_bulges[i], cx, cy, r))
      length += r * std::fabs(m_bulges[i]);
    else
      length += std::hypot(q.x - p.x, q.y - p.y);
  }
  return length;
}

void ZoGeMLine2d::Reverse() {
  const size_t n = m_vertices.size();
  if (n < 2) return;
  std::vector<ZoGePoint> vertices(m_vertices.rbegin(), m_vertices.rend());
  std::vector<double> bulges(n, 0.0);
  // Segment k of the reversed line is segment n - 2 - k run backwards; the closing segment
  // stays the closing one, run backwards.
  for (size_t k = 0; k + 1 < n; ++k) bulges[k] = -m_bulges[n - 2 - k];
  bulges[n - 1] = -m_bulges[n - 1];
  m_vertices.swap(vertices);
  m_bulges.swap(bulges);
}

const ZoGePoint& ZoGeMLine2d::GetVertex(long i) const {
  assert(i >= 0 && i < GetVertexNum());
  return m_vertices[static_cast<size_t>(i)];
}

ZoGePoint& ZoGeMLine2d::operator[](long i) {
  assert(i >= 0 && i < GetVertexNum());
  return m_vertices[static_cast<size_t>(i)];
}

double ZoGeMLine2d::GetBulge(long i) const {
  assert(i >= 0 && i < GetVertexNum());
  return m_bulges[static_cast<size_t>(i)];
}

void ZoGeMLine2d::SetBulge(long i, double dBulge) {
  assert(i >= 0 && i < GetVertexNum());
  m_bulges[static_cast<size_t>(i)] = dBulge;
}

void ZoGeMLine2d::AppendVertex(const ZoGePoint& pt, double dBulge) {
  if (m_nAllocUnit > 0 && m_vertices.size() == m_vertices.capacity()) {
    m_vertices.reserve(m_vertices.size() + static_cast<size_t>(m_nAllocUnit));
    m_bulges.reserve(m_vertices.capacity());
  }
  m_vertices.push_back(pt);
  m_bulges.push_back(dBulge);
}

void ZoGeMLine2d::RemoveAll() {
  m_vertices.clear();
  m_bulges.clear();
}
