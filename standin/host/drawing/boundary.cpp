// Inside the stand-in host: closed boundaries of straight and bulged segments, shared by hatches
// and regions.
#include "standin/host/drawing/boundary.h"

#include <algorithm>
#include <cmath>

namespace standin {

namespace {

// The included angle and radius of the arc of a bulged segment; false for a straight one.
bool ArcOf(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, double& angle, double& radius) {
  const double chord = a.distanceTo(b);
  if (bulge == 0 || chord == 0) return false;
  angle = 4 * std::atan(bulge);
  radius = chord / (2 * std::fabs(std::sin(angle / 2)));
  return true;
}

}  // namespace

Loop ClosedLoop(const std::vector<AcGePoint2d>& points, const std::vector<double>& bulges) {
  Loop loop;
  loop.points = points;
  loop.bulges = bulges;
  loop.bulges.resize(points.size(), 0.0);
  if (loop.points.size() > 1 && loop.points.back() == loop.points.front()) {
    loop.points.pop_back();
    loop.bulges.pop_back();
  }
  return loop;
}

double SignedArea(const Loop& loop) {
  const size_t n = loop.points.size();
  double area = 0;
  for (size_t i = 0; i < n; ++i) {
    const AcGePoint2d &a = loop.points[i], &b = loop.points[(i + 1) % n];
    area += (a.x * b.y - b.x * a.y) / 2;
    double angle, radius;
    // A counter-clockwise arc bulges to the right of its chord: outwards of a counter-clockwise loop.
    if (ArcOf(a, b, loop.bulges[i], angle, radius)) area += radius * radius / 2 * (angle - std::sin(angle));
  }
  return area;
}

double Perimeter(const Loop& loop) {
  const size_t n = loop.points.size();
  double length = 0;
  for (size_t i = 0; i < n && n > 1; ++i) {
    const AcGePoint2d &a = loop.points[i], &b = loop.points[(i + 1) % n];
    double angle, radius;
    length += ArcOf(a, b, loop.bulges[i], angle, radius) ? radius * std::fabs(angle) : a.distanceTo(b);
  }
  return length;
}

bool IsDegenerate(const Loop& loop) {
  const size_t n = loop.points.size();
  bool arcs = false;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  for (size_t i = 0; i < n; ++i) {
    const AcGePoint2d& p = loop.points[i];
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(loop.bulges[i])) return true;
    if (loop.bulges[i] != 0) arcs = true;
    minX = i ? std::min(minX, p.x) : p.x, maxX = i ? std::max(maxX, p.x) : p.x;
    minY = i ? std::min(minY, p.y) : p.y, maxY = i ? std::max(maxY, p.y) : p.y;
  }
  if (n < 2 || (n < 3 && !arcs)) return true;
  const double size = std::hypot(maxX - minX, maxY - minY);
  const double area = SignedArea(loop);
  return size == 0 || !std::isfinite(area) || std::fabs(area) <= 1e-12 * size * size;
}

void AddOutline(Shape& shape, const Loop& loop, double elevation) {
  const size_t n = loop.points.size();
  for (size_t i = 0; i < n && n > 1; ++i) {
    const AcGePoint2d &a = loop.points[i], &b = loop.points[(i + 1) % n];
    shape.AddBulgeSegment(AcGeVector3d::kZAxis, {a.x, a.y, elevation}, {b.x, b.y, elevation}, loop.bulges[i]);
  }
}

bool Mirrors(const AcGeMatrix3d& m) { return m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0) < 0; }

void TransformLoop(Loop& loop, const AcGeMatrix3d& xform, double elevation) {
  const bool mirrored = Mirrors(xform);
  for (size_t i = 0; i < loop.points.size(); ++i) {
    AcGePoint3d p(loop.points[i].x, loop.points[i].y, elevation);
    p.transformBy(xform);
    loop.points[i] = AcGePoint2d(p.x, p.y);
    if (mirrored) loop.bulges[i] = -loop.bulges[i];
  }
}

}  // namespace standin
