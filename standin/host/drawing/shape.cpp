// The outline of an entity in world coordinates, as the stand-in host's display would draw it.
#include "standin/host/drawing/shape.h"

#include <algorithm>
#include <cmath>

namespace standin {

namespace {

// In [0, 2 pi), however large the angle: fmod is exact, so no loop is needed.
double Normalized(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0 ? a + kTwoPi : a;
}

// The counter-clockwise sweep from start to end, taken modulo a turn as the host takes an arc's
// angles: from in [0, 2 pi), to after it by at most a turn (a whole turn when they meet).
void Sweep(double start, double end, double& from, double& to) {
  from = Normalized(start);
  to = Normalized(end);
  if (to <= from) to += kTwoPi;
}

// Segments for a sweep: up to kStepsPerTurn for a full turn, at least 4 (also for a sweep that is
// not a number).
int Steps(double sweep) {
  const double steps = std::ceil(sweep / kTwoPi * kStepsPerTurn);
  return steps >= 4 ? static_cast<int>(std::min<double>(steps, kStepsPerTurn)) : 4;
}

bool FinitePoint(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

bool OnSweep(const Arc& arc, double angle) { return arc.start + Normalized(angle - arc.start) <= arc.end + 1e-12; }

AcGePoint3d PointOnArc(const Arc& arc, double angle) {
  return {arc.center.x + arc.radius * std::cos(angle), arc.center.y + arc.radius * std::sin(angle), arc.center.z};
}

void Tessellate(const Arc& arc, std::vector<std::pair<AcGePoint3d, AcGePoint3d>>& out) {
  const double sweep = arc.end - arc.start;
  const int steps = Steps(sweep);
  AcGePoint3d prev = PointOnArc(arc, arc.start);
  for (int i = 1; i <= steps; ++i) {
    const AcGePoint3d next = PointOnArc(arc, arc.start + sweep * i / steps);
    out.emplace_back(prev, next);
    prev = next;
  }
}

void Shape::AddArc(const AcGePoint3d& center, double radius, double start, double end) {
  Arc arc{center, radius, 0, 0};
  Sweep(start, end, arc.start, arc.end);
  arcs.push_back(arc);
}

void Shape::AddCurve(const AcGeVector3d& normal, const AcGePoint3d& center, double radius, double start, double end) {
  if (IsWorldZ(normal)) {
    AddArc(center, radius, start, end);
    return;
  }
  AcGeVector3d ax, ay;
  OcsAxes(normal, ax, ay);
  double s = 0, e = 0;
  Sweep(start, end, s, e);
  const int steps = Steps(e - s);
  auto at = [&](double a) { return center + (ax * std::cos(a) + ay * std::sin(a)) * radius; };
  AcGePoint3d prev = at(s);
  for (int i = 1; i <= steps; ++i) {
    const AcGePoint3d next = at(s + (e - s) * i / steps);
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

void Shape::AddHull(const AcDbExtents& box, const AcGeMatrix3d& m) {
  const AcGePoint3d lo = box.minPoint(), hi = box.maxPoint();
  std::vector<AcGePoint3d> corners;
  for (int i = 0; i < 8; ++i)
    corners.push_back(AcGePoint3d(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z).transformBy(m));
  hulls.push_back(std::move(corners));
}

void Shape::Append(const Shape& other) {
  segments.insert(segments.end(), other.segments.begin(), other.segments.end());
  arcs.insert(arcs.end(), other.arcs.begin(), other.arcs.end());
  points.insert(points.end(), other.points.begin(), other.points.end());
  hulls.insert(hulls.end(), other.hulls.begin(), other.hulls.end());
}

void Shape::TransformBy(const AcGeMatrix3d& m) {
  for (auto& [a, b] : segments) {
    a.transformBy(m);
    b.transformBy(m);
  }
  for (auto& p : points) p.transformBy(m);
  for (auto& hull : hulls)
    for (auto& p : hull) p.transformBy(m);
  if (!KeepsArcs(m)) {
    for (const Arc& arc : arcs) {
      std::vector<std::pair<AcGePoint3d, AcGePoint3d>> pieces;
      Tessellate(arc, pieces);
      for (auto& [a, b] : pieces) segments.emplace_back(a.transformBy(m), b.transformBy(m));
    }
    arcs.clear();
    return;
  }
  const PlaneMotion motion = MotionOf(m);
  for (Arc& arc : arcs) {
    const double sweep = arc.end - arc.start;
    arc.center.transformBy(m);
    arc.radius *= motion.scale;
    // A mirror reverses the direction of travel: the image of the end is the new start.
    arc.start = Normalized(motion.mirrored ? motion.rotation - arc.end : motion.rotation + arc.start);
    arc.end = arc.start + sweep;
  }
}

bool Shape::Finite() const {
  for (const auto& [a, b] : segments)
    if (!FinitePoint(a) || !FinitePoint(b)) return false;
  for (const auto& p : points)
    if (!FinitePoint(p)) return false;
  for (const auto& hull : hulls)
    for (const auto& p : hull)
      if (!FinitePoint(p)) return false;
  for (const Arc& arc : arcs)
    if (!FinitePoint(arc.center) || !std::isfinite(arc.radius) || !std::isfinite(arc.start) || !std::isfinite(arc.end))
      return false;
  return true;
}

bool Shape::Extents(AcDbExtents& ext) const {
  if (Empty() || !Finite()) return false;
  bool any = false;
  AcDbExtents out;
  auto add = [&](const AcGePoint3d& p) {
    if (!any) out = AcDbExtents(p, p);
    any = true;
    out.addPoint(p);
  };
  for (const auto& [a, b] : segments) {
    add(a);
    add(b);
  }
  for (const auto& p : points) add(p);
  for (const auto& hull : hulls)
    for (const auto& p : hull) add(p);
  for (const Arc& arc : arcs) {
    add(PointOnArc(arc, arc.start));
    add(PointOnArc(arc, arc.end));
    // The quadrant points the sweep passes: at most four, as it spans at most one turn.
    const double first = std::ceil(arc.start / (kPi / 2)) * (kPi / 2);
    for (int k = 0; k < 5 && first + k * (kPi / 2) <= arc.end; ++k) add(PointOnArc(arc, first + k * (kPi / 2)));
  }
  if (!any) return false;
  ext = out;
  return true;
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

AcGeVector3d Unit(const AcGeVector3d& v) {
  const double len = v.length();
  return len > 0 ? v * (1 / len) : AcGeVector3d::kZAxis;
}

PlaneMotion MotionOf(const AcGeMatrix3d& m) {
  return {std::hypot(m(0, 0), m(1, 0)), std::atan2(m(1, 0), m(0, 0)), m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0) < 0};
}

bool KeepsArcs(const AcGeMatrix3d& m) {
  return m(0, 2) == 0 && m(1, 2) == 0 && m(2, 0) == 0 && m(2, 1) == 0 && SimilarInXY(m);
}

bool SimilarInXY(const AcGeMatrix3d& m) {
  const double a = m(0, 0), b = m(0, 1), c = m(1, 0), d = m(1, 1);
  const double s = std::hypot(a, c), tol = 1e-9 * s;
  return s > 0 &&
         ((std::fabs(a - d) <= tol && std::fabs(b + c) <= tol) || (std::fabs(a + d) <= tol && std::fabs(b - c) <= tol));
}

AcGeMatrix3d Translation(const AcGeVector3d& v) {
  AcGeMatrix3d m;
  m(0, 3) = v.x, m(1, 3) = v.y, m(2, 3) = v.z;
  return m;
}

AcGeMatrix3d Multiply(const AcGeMatrix3d& a, const AcGeMatrix3d& b) {
  AcGeMatrix3d out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += a(r, k) * b(k, c);
      out(r, c) = sum;
    }
  return out;
}

}  // namespace standin
