// The outline of an entity in world coordinates, as the stand-in host's display would draw it,
// and the tests that extents, picking and window selection ask of it.
#include "standin/host/shape.h"

#include <algorithm>
#include <cmath>

namespace standin {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
// Arcs that cannot stay arcs become chains of this many segments per full turn.
constexpr int kStepsPerTurn = 360;

double Normalized(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0 ? a + kTwoPi : a;
}

// Whether the angle lies on the counter-clockwise sweep from start to end.
bool OnSweep(const Arc& arc, double angle) {
  double a = Normalized(angle);
  while (a < arc.start) a += kTwoPi;
  return a <= arc.end + 1e-12;
}

AcGePoint3d PointAt(const Arc& arc, double angle) {
  return {arc.center.x + arc.radius * std::cos(angle), arc.center.y + arc.radius * std::sin(angle), arc.center.z};
}

void Tessellate(const Arc& arc, std::vector<std::pair<AcGePoint3d, AcGePoint3d>>& out) {
  const double sweep = arc.end - arc.start;
  const int steps = std::max(4, static_cast<int>(std::ceil(sweep / kTwoPi * kStepsPerTurn)));
  AcGePoint3d prev = PointAt(arc, arc.start);
  for (int i = 1; i <= steps; ++i) {
    const AcGePoint3d next = PointAt(arc, arc.start + sweep * i / steps);
    out.emplace_back(prev, next);
    prev = next;
  }
}

bool InRect(double x, double y, double minX, double minY, double maxX, double maxY) {
  return x >= minX && x <= maxX && y >= minY && y <= maxY;
}

double Cross(XY a, XY b, XY c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); }

bool OnSegment(XY a, XY b, XY p) {
  return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
         p.y <= std::max(a.y, b.y);
}

bool SegmentsMeet(XY a, XY b, XY c, XY d) {
  const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
  return (d1 == 0 && OnSegment(c, d, a)) || (d2 == 0 && OnSegment(c, d, b)) || (d3 == 0 && OnSegment(a, b, c)) ||
         (d4 == 0 && OnSegment(a, b, d));
}

bool SegmentsCrossProperly(XY a, XY b, XY c, XY d) {
  const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

bool InPolygon(const std::vector<XY>& poly, XY p) {
  bool inside = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const XY a = poly[i], b = poly[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

// Where the arc meets the segment from a to b.
bool ArcMeetsSegment(const Arc& arc, XY a, XY b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double fx = a.x - arc.center.x, fy = a.y - arc.center.y;
  const double qa = dx * dx + dy * dy, qb = 2 * (fx * dx + fy * dy), qc = fx * fx + fy * fy - arc.radius * arc.radius;
  if (qa == 0) return false;
  const double disc = qb * qb - 4 * qa * qc;
  if (disc < 0) return false;
  const double root = std::sqrt(disc);
  for (double t : {(-qb - root) / (2 * qa), (-qb + root) / (2 * qa)}) {
    if (t < 0 || t > 1) continue;
    const double x = a.x + t * dx - arc.center.x, y = a.y + t * dy - arc.center.y;
    if (OnSweep(arc, std::atan2(y, x))) return true;
  }
  return false;
}

}  // namespace

void Shape::AddArc(const AcGePoint3d& center, double radius, double start, double end) {
  Arc arc{center, radius, 0, 0};
  const double sweep = end - start;
  arc.start = Normalized(start);
  if (sweep >= kTwoPi - 1e-12) {
    arc.end = arc.start + kTwoPi;
  } else {
    arc.end = Normalized(end);
    while (arc.end <= arc.start) arc.end += kTwoPi;
  }
  arcs.push_back(arc);
}

void Shape::AddCurve(const AcGeVector3d& normal, const AcGePoint3d& center, double radius, double start, double end) {
  if (IsWorldZ(normal)) {
    AddArc(center, radius, start, end);
    return;
  }
  AcGeVector3d ax, ay;
  OcsAxes(normal, ax, ay);
  double e = end;
  while (e <= start) e += kTwoPi;
  const int steps = std::max(4, static_cast<int>(std::ceil((e - start) / kTwoPi * kStepsPerTurn)));
  auto at = [&](double a) { return center + (ax * std::cos(a) + ay * std::sin(a)) * radius; };
  AcGePoint3d prev = at(start);
  for (int i = 1; i <= steps; ++i) {
    const AcGePoint3d next = at(start + (e - start) * i / steps);
    AddSegment(prev, next);
    prev = next;
  }
}

void Shape::AddBulgeSegment(const AcGeVector3d& normal, const AcGePoint3d& a, const AcGePoint3d& b, double bulge) {
  const double dx = b.x - a.x, dy = b.y - a.y, chord = std::hypot(dx, dy);
  if (std::fabs(bulge) < 1e-12 || chord == 0) {
    AddSegment(OcsToWcs(normal, a), OcsToWcs(normal, b));
    return;
  }
  // The centre lies off the chord's midpoint by half the chord over tan(half the included angle).
  const double h = chord / 2 * (1 - bulge * bulge) / (2 * bulge);
  const AcGePoint3d c((a.x + b.x) / 2 - h * dy / chord, (a.y + b.y) / 2 + h * dx / chord, a.z);
  const double radius = std::hypot(a.x - c.x, a.y - c.y);
  const double angA = std::atan2(a.y - c.y, a.x - c.x), angB = std::atan2(b.y - c.y, b.x - c.x);
  const double start = bulge > 0 ? angA : angB, end = bulge > 0 ? angB : angA;
  if (IsWorldZ(normal))
    AddArc(c, radius, start, end);
  else
    AddCurve(normal, OcsToWcs(normal, c), radius, start, end);
}

void Shape::Append(const Shape& other) {
  segments.insert(segments.end(), other.segments.begin(), other.segments.end());
  arcs.insert(arcs.end(), other.arcs.begin(), other.arcs.end());
  points.insert(points.end(), other.points.begin(), other.points.end());
}

void Shape::TransformBy(const AcGeMatrix3d& m) {
  for (auto& [a, b] : segments) {
    a.transformBy(m);
    b.transformBy(m);
  }
  for (auto& p : points) p.transformBy(m);
  // Arcs survive a matrix that keeps horizontal planes horizontal and is a similarity in XY.
  const double a = m(0, 0), b = m(0, 1), c = m(1, 0), d = m(1, 1);
  const double scale = std::hypot(a, c);
  const double tol = 1e-9 * scale;
  const bool similar =
      m(0, 2) == 0 && m(1, 2) == 0 && m(2, 0) == 0 && m(2, 1) == 0 && scale > 0 &&
      ((std::fabs(a - d) <= tol && std::fabs(b + c) <= tol) || (std::fabs(a + d) <= tol && std::fabs(b - c) <= tol));
  std::vector<Arc> kept;
  for (const Arc& arc : arcs) {
    if (!similar) {
      std::vector<std::pair<AcGePoint3d, AcGePoint3d>> pieces;
      Tessellate(arc, pieces);
      for (auto& [a, b] : pieces) segments.emplace_back(a.transformBy(m), b.transformBy(m));
      continue;
    }
    const double rotation = std::atan2(m(1, 0), m(0, 0));
    const bool mirrored = m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0) < 0;
    AcGePoint3d c = arc.center;
    c.transformBy(m);
    Arc out{c, arc.radius * scale, 0, 0};
    const double sweep = arc.end - arc.start;
    // A mirror reverses the direction of travel: the image of the end is the new start.
    out.start = mirrored ? rotation - arc.end : rotation + arc.start;
    out.start = Normalized(out.start);
    out.end = out.start + sweep;
    kept.push_back(out);
  }
  arcs = std::move(kept);
}

bool Shape::Extents(AcDbExtents& ext) const {
  if (Empty()) return false;
  AcDbExtents out;
  for (const auto& [a, b] : segments) {
    out.addPoint(a);
    out.addPoint(b);
  }
  for (const auto& p : points) out.addPoint(p);
  for (const Arc& arc : arcs) {
    out.addPoint(PointAt(arc, arc.start));
    out.addPoint(PointAt(arc, arc.end));
    for (double q = std::ceil(arc.start / (kPi / 2)) * (kPi / 2); q <= arc.end; q += kPi / 2)
      out.addPoint(PointAt(arc, q));
  }
  ext = out;
  return true;
}

bool Shape::InsideRect(double minX, double minY, double maxX, double maxY) const {
  AcDbExtents ext;
  if (!Extents(ext)) return false;
  return ext.minPoint().x >= minX && ext.maxPoint().x <= maxX && ext.minPoint().y >= minY && ext.maxPoint().y <= maxY;
}

bool Shape::TouchesRect(double minX, double minY, double maxX, double maxY) const {
  const XY corners[4] = {{minX, minY}, {maxX, minY}, {maxX, maxY}, {minX, maxY}};
  for (const auto& p : points)
    if (InRect(p.x, p.y, minX, minY, maxX, maxY)) return true;
  for (const auto& [a, b] : segments) {
    if (InRect(a.x, a.y, minX, minY, maxX, maxY) || InRect(b.x, b.y, minX, minY, maxX, maxY)) return true;
    for (int i = 0; i < 4; ++i)
      if (SegmentsMeet({a.x, a.y}, {b.x, b.y}, corners[i], corners[(i + 1) % 4])) return true;
  }
  for (const Arc& arc : arcs) {
    const AcGePoint3d s = PointAt(arc, arc.start), e = PointAt(arc, arc.end);
    if (InRect(s.x, s.y, minX, minY, maxX, maxY) || InRect(e.x, e.y, minX, minY, maxX, maxY)) return true;
    for (int i = 0; i < 4; ++i)
      if (ArcMeetsSegment(arc, corners[i], corners[(i + 1) % 4])) return true;
  }
  return false;
}

std::vector<std::pair<XY, XY>> Shape::Flattened() const {
  std::vector<std::pair<XY, XY>> out;
  for (const auto& p : points) out.push_back({{p.x, p.y}, {p.x, p.y}});
  for (const auto& [a, b] : segments) out.push_back({{a.x, a.y}, {b.x, b.y}});
  for (const Arc& arc : arcs) {
    std::vector<std::pair<AcGePoint3d, AcGePoint3d>> pieces;
    Tessellate(arc, pieces);
    for (const auto& [a, b] : pieces) out.push_back({{a.x, a.y}, {b.x, b.y}});
  }
  return out;
}

bool Shape::InsidePolygon(const std::vector<XY>& polygon) const {
  if (Empty() || polygon.size() < 3) return false;
  for (const auto& [a, b] : Flattened()) {
    if (!InPolygon(polygon, a) || !InPolygon(polygon, b)) return false;
    for (size_t i = 0; i < polygon.size(); ++i)
      if (SegmentsCrossProperly(a, b, polygon[i], polygon[(i + 1) % polygon.size()])) return false;
  }
  return true;
}

bool Shape::TouchesPolygon(const std::vector<XY>& polygon) const {
  if (polygon.size() < 3) return false;
  for (const auto& [a, b] : Flattened()) {
    if (InPolygon(polygon, a) || InPolygon(polygon, b)) return true;
    for (size_t i = 0; i < polygon.size(); ++i)
      if (SegmentsMeet(a, b, polygon[i], polygon[(i + 1) % polygon.size()])) return true;
  }
  return false;
}

void OcsAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis) {
  const double len = normal.length();
  const AcGeVector3d n = len > 0 ? normal * (1 / len) : AcGeVector3d::kZAxis;
  auto cross = [](const AcGeVector3d& a, const AcGeVector3d& b) {
    return AcGeVector3d(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
  };
  xAxis = std::fabs(n.x) < 1.0 / 64 && std::fabs(n.y) < 1.0 / 64 ? cross(AcGeVector3d::kYAxis, n)
                                                                 : cross(AcGeVector3d::kZAxis, n);
  xAxis = xAxis * (1 / xAxis.length());
  yAxis = cross(n, xAxis);
  yAxis = yAxis * (1 / yAxis.length());
}

bool IsWorldZ(const AcGeVector3d& normal) {
  return std::fabs(normal.x) < 1e-12 && std::fabs(normal.y) < 1e-12 && normal.z > 0;
}

AcGePoint3d OcsToWcs(const AcGeVector3d& normal, const AcGePoint3d& p) {
  if (IsWorldZ(normal)) return p;
  AcGeVector3d ax, ay;
  OcsAxes(normal, ax, ay);
  const AcGeVector3d n = normal * (1 / normal.length());
  const AcGeVector3d v = ax * p.x + ay * p.y + n * p.z;
  return {v.x, v.y, v.z};
}

AcGePoint3d WcsToOcs(const AcGeVector3d& normal, const AcGePoint3d& p) {
  if (IsWorldZ(normal)) return p;
  AcGeVector3d ax, ay;
  OcsAxes(normal, ax, ay);
  const AcGeVector3d n = normal * (1 / normal.length());
  auto dot = [&](const AcGeVector3d& v) { return v.x * p.x + v.y * p.y + v.z * p.z; };
  return {dot(ax), dot(ay), dot(n)};
}

bool IsUniformScaling(const AcGeMatrix3d& m, double* scale) {
  AcGeVector3d c[3];
  for (int j = 0; j < 3; ++j) c[j] = AcGeVector3d(m(0, j), m(1, j), m(2, j));
  const double s = c[0].length();
  if (s == 0 || !std::isfinite(s)) return false;
  for (int j = 0; j < 3; ++j)
    if (std::fabs(c[j].length() - s) > 1e-9 * s) return false;
  auto dot = [](const AcGeVector3d& a, const AcGeVector3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
  if (std::fabs(dot(c[0], c[1])) > 1e-9 * s * s || std::fabs(dot(c[0], c[2])) > 1e-9 * s * s ||
      std::fabs(dot(c[1], c[2])) > 1e-9 * s * s)
    return false;
  if (scale) *scale = s;
  return true;
}

bool KeepsXYPlane(const AcGeMatrix3d& m) {
  return m(0, 2) == 0 && m(1, 2) == 0 && m(2, 0) == 0 && m(2, 1) == 0 && m(2, 2) > 0;
}

}  // namespace standin
