// Just enough of the host's curves kept as their DXF groups, behaving as the host's do: ellipses,
// splines (drawn as the flattened curve), rays, construction lines and leaders.
#include <dbelipse.h>
#include <dblead.h>
#include <dbray.h>
#include <dbspline.h>
#include <dbxline.h>

#include <algorithm>
#include <cmath>

#include "standin/host/drawing/listed.h"
#include "standin/host/drawing/shape.h"

using standin::GroupList;

STANDIN_DEFINE_LISTED(AcDbEllipse, AcDbCurve, L"ELLIPSE")
STANDIN_DEFINE_LISTED(AcDbSpline, AcDbCurve, L"SPLINE")
STANDIN_DEFINE_LISTED(AcDbRay, AcDbCurve, L"RAY")
STANDIN_DEFINE_LISTED(AcDbXline, AcDbCurve, L"XLINE")
STANDIN_DEFINE_LISTED(AcDbLeader, AcDbCurve, L"LEADER")

namespace {

// Chosen: an endless line is drawn, bounded and picked as the segment this far along it.
constexpr double kReach = 1e8;
// A curve is flattened into at most this many segments.
constexpr size_t kMaxSegments = 4096;
constexpr int kMaxDegree = 25;

Acad::ErrorStatus PointAt(const GroupList& data, short code, int index, AcGePoint3d& point) {
  if (index < 0 || static_cast<size_t>(index) >= data.Count(code)) return Acad::eInvalidIndex;
  point = data.Point(code, static_cast<size_t>(index));
  return Acad::eOk;
}

std::vector<double> Reals(const GroupList& data, short code) {
  std::vector<double> out;
  for (const standin::DxfGroup& g : data.groups)
    if (g.code == code) out.push_back(g.real);
  return out;
}

std::vector<AcGePoint3d> Points(const GroupList& data, short code) {
  std::vector<AcGePoint3d> out;
  for (const standin::DxfGroup& g : data.groups)
    if (g.code == code) out.emplace_back(g.point[0], g.point[1], g.point[2]);
  return out;
}

// Whether the control points, knots and weights make a curve of the degree.
bool ValidNurbs(size_t n, const std::vector<double>& weights, const std::vector<double>& knots, long degree) {
  if (degree < 1 || degree > kMaxDegree || n <= static_cast<size_t>(degree)) return false;
  if (knots.size() != n + static_cast<size_t>(degree) + 1) return false;
  if (!weights.empty() && weights.size() != n) return false;
  for (double w : weights)
    if (!(w > 0)) return false;
  for (size_t i = 1; i < knots.size(); ++i)
    if (knots[i] < knots[i - 1]) return false;
  return knots[n] > knots[static_cast<size_t>(degree)];
}

bool ValidNurbs(const GroupList& data) {
  return ValidNurbs(data.Count(10), Reals(data, 41), Reals(data, 40), data.Int(71));
}

// The point of the curve at u (de Boor's algorithm over homogeneous points).
AcGePoint3d Evaluate(const std::vector<AcGePoint3d>& ctrl, const std::vector<double>& weights,
                     const std::vector<double>& knots, int p, double u) {
  const size_t n = ctrl.size();
  size_t k = static_cast<size_t>(p);
  while (k + 1 < n && u >= knots[k + 1]) ++k;
  double d[kMaxDegree + 1][4];
  for (int j = 0; j <= p; ++j) {
    const size_t i = k - static_cast<size_t>(p) + static_cast<size_t>(j);
    const double w = weights.empty() ? 1 : weights[i];
    d[j][0] = ctrl[i].x * w, d[j][1] = ctrl[i].y * w, d[j][2] = ctrl[i].z * w, d[j][3] = w;
  }
  for (int r = 1; r <= p; ++r)
    for (int j = p; j >= r; --j) {
      const size_t i = k - static_cast<size_t>(p) + static_cast<size_t>(j);
      const double span = knots[i + static_cast<size_t>(p) + 1 - static_cast<size_t>(r)] - knots[i];
      const double a = span > 0 ? (u - knots[i]) / span : 0;
      for (int c = 0; c < 4; ++c) d[j][c] = (1 - a) * d[j - 1][c] + a * d[j][c];
    }
  return {d[p][0] / d[p][3], d[p][1] / d[p][3], d[p][2] / d[p][3]};
}

}  // namespace

AcGePoint3d AcDbEllipse::center() const { return m_data->Point(10); }
AcGeVector3d AcDbEllipse::majorAxis() const { return m_data->Vector(11); }
AcGeVector3d AcDbEllipse::normal() const { return m_data->Normal(); }
double AcDbEllipse::radiusRatio() const { return m_data->Real(40, 1); }

int AcDbSpline::degree() const { return static_cast<int>(m_data->Int(71)); }
int AcDbSpline::numControlPoints() const { return static_cast<int>(m_data->Count(10)); }
int AcDbSpline::numFitPoints() const { return static_cast<int>(m_data->Count(11)); }
Acad::ErrorStatus AcDbSpline::getControlPointAt(int index, AcGePoint3d& point) const {
  return PointAt(*m_data, 10, index, point);
}
Acad::ErrorStatus AcDbSpline::getFitPointAt(int index, AcGePoint3d& point) const {
  return PointAt(*m_data, 11, index, point);
}

AcGePoint3d AcDbRay::basePoint() const { return m_data->Point(10); }
AcGeVector3d AcDbRay::unitDir() const { return m_data->Vector(11); }
AcGePoint3d AcDbXline::basePoint() const { return m_data->Point(10); }
AcGeVector3d AcDbXline::unitDir() const { return m_data->Vector(11); }

int AcDbLeader::numVertices() const { return static_cast<int>(m_data->Count(10)); }
AcGePoint3d AcDbLeader::vertexAt(int vertexIndex) const {
  AcGePoint3d p;
  PointAt(*m_data, 10, vertexIndex, p);
  return p;
}

namespace standin {

// An ellipse whose minor axis is the longer one is the same curve about its other axis.
const wchar_t* EllipseCorrect(GroupList& data) {
  auto* ratio = const_cast<DxfGroup*>(data.Find(40));
  auto* major = const_cast<DxfGroup*>(data.Find(11));
  if (!ratio || !major || !(ratio->real > 1 + 1e-9)) return nullptr;
  const AcGeVector3d minor = data.Normal().crossProduct(data.Vector(11)) * ratio->real;
  major->point[0] = minor.x, major->point[1] = minor.y, major->point[2] = minor.z;
  ratio->real = 1 / ratio->real;
  for (DxfGroup& g : data.groups)
    if (g.code == 41 || g.code == 42) g.real -= kPi / 2;
  return L"has an axis ratio above 1; its major axis is taken along its minor one";
}

const wchar_t* EllipseCheck(const GroupList& data) {
  const double ratio = data.Real(40, 1);
  if (data.Vector(11).length() < 1e-12) return L"its major axis has no length";
  if (!(ratio > 0 && ratio <= 1 + 1e-9)) return L"its axis ratio is not above 0 and at most 1";
  return nullptr;
}

void EllipseShape(const GroupList& data, Shape& shape) {
  const AcGeVector3d major = data.Vector(11);
  const AcGeVector3d minor = data.Normal().crossProduct(major) * data.Real(40, 1);
  double start = data.Real(41), end = data.Real(42, kTwoPi);
  while (end <= start) end += kTwoPi;
  if (end - start > kTwoPi) end = start + kTwoPi;
  const size_t steps = std::max<size_t>(8, static_cast<size_t>(std::ceil((end - start) / kTwoPi * 96)));
  std::vector<AcGePoint3d> points;
  for (size_t i = 0; i <= steps; ++i) {
    const double t = start + (end - start) * static_cast<double>(i) / static_cast<double>(steps);
    points.push_back(data.Point(10) + major * std::cos(t) + minor * std::sin(t));
  }
  AddChain(shape, points, false);
}

const wchar_t* SplineCheck(const GroupList& data) {
  if (ValidNurbs(data) || data.Count(11) >= 2) return nullptr;
  return L"it has neither control points matching its degree and knots nor two fit points";
}

bool FlattenNurbs(const std::vector<AcGePoint3d>& ctrl, const std::vector<double>& weights,
                  const std::vector<double>& knots, int degree, std::vector<AcGePoint3d>& out) {
  if (!ValidNurbs(ctrl.size(), weights, knots, degree)) return false;
  const size_t p = static_cast<size_t>(degree);
  const double u0 = knots[p], u1 = knots[ctrl.size()];
  const size_t steps = std::min(kMaxSegments, 8 * (ctrl.size() - p));
  for (size_t i = 0; i <= steps; ++i)
    out.push_back(Evaluate(ctrl, weights, knots, degree,
                           i == steps ? u1 : u0 + (u1 - u0) * static_cast<double>(i) / static_cast<double>(steps)));
  return true;
}

void SplineShape(const GroupList& data, Shape& shape) {
  std::vector<AcGePoint3d> points;
  if (!FlattenNurbs(Points(data, 10), Reals(data, 41), Reals(data, 40), static_cast<int>(data.Int(71)), points))
    points = Points(data, 11);
  AddChain(shape, points, false);
}

const wchar_t* DirectionCheck(const GroupList& data) {
  return data.Vector(11).length() < 1e-12 ? L"its direction has no length" : nullptr;
}

void RayShape(const GroupList& data, Shape& shape) {
  shape.AddSegment(data.Point(10), data.Point(10) + Unit(data.Vector(11)) * kReach);
}

void XlineShape(const GroupList& data, Shape& shape) {
  const AcGeVector3d along = Unit(data.Vector(11)) * kReach;
  shape.AddSegment(data.Point(10) - along, data.Point(10) + along);
}

const wchar_t* LeaderCheck(const GroupList& data) {
  return data.Count(10) < 2 ? L"it has fewer than two vertices" : nullptr;
}

void LeaderShape(const GroupList& data, Shape& shape) { AddChain(shape, Points(data, 10), false); }

}  // namespace standin
