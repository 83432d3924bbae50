// The HATCH entities of a DXF file: pattern, fill and boundary paths. Paths of edges (lines,
// arcs, elliptical arcs, splines) become the polyline loops the host's hatch keeps: arcs as
// bulges, elliptical arcs and splines as the flattened curve.
#include <dbhatch.h>

#include <cmath>

#include "standin/host/drawing/dxf_reader.h"
#include "standin/host/drawing/listed.h"
#include "standin/host/drawing/shape.h"

namespace standin::dxf {

namespace {

// Walks the groups of the HATCH in order; a group out of place makes every later read fail.
class Cursor {
 public:
  explicit Cursor(const std::vector<Pair>& groups) : m_groups(groups) {}
  // Moves to the next group of the code, from where the cursor is.
  bool Seek(int code) {
    while (m_at < m_groups.size() && m_groups[m_at].code != code) ++m_at;
    return m_at < m_groups.size();
  }
  // The value of the next group, which must have the code.
  bool Take(int code, double& value) {
    if (!m_ok || m_at >= m_groups.size() || m_groups[m_at].code != code) return m_ok = false;
    const Pair& p = m_groups[m_at++];
    value = TypeOf(code) == ValueType::Int ? static_cast<double>(p.integer) : p.real;
    return true;
  }
  double Next(int code) {
    double v = 0;
    Take(code, v);
    return v;
  }
  // A point of codes code and code + 10.
  AcGePoint2d Point(int code) {
    const double x = Next(code);
    return {x, Next(code + 10)};
  }
  bool Has(int code) const { return m_ok && m_at < m_groups.size() && m_groups[m_at].code == code; }
  bool Ok() const { return m_ok; }

 private:
  const std::vector<Pair>& m_groups;
  size_t m_at = 0;
  bool m_ok = true;
};

constexpr long kMaxCount = 1 << 20;

// A sweep of degrees from a to b, counter-clockwise, in radians within one turn.
double Sweep(double a, double b) {
  double s = std::fmod((b - a) * kDegree, kTwoPi);
  if (s <= 0) s += kTwoPi;
  return s;
}

// The edges of a path as polyline vertices with bulges.
bool ReadEdges(Cursor& c, std::vector<AcGePoint2d>& points, std::vector<double>& bulges) {
  const long edges = static_cast<long>(c.Next(93));
  if (!c.Ok() || edges < 0 || edges > kMaxCount) return false;
  auto add = [&](const AcGePoint2d& p, double bulge) {
    points.push_back(p);
    bulges.push_back(bulge);
  };
  for (long e = 0; e < edges && c.Ok(); ++e) {
    const long type = static_cast<long>(c.Next(72));
    if (type == 1) {
      add(c.Point(10), 0);
      c.Point(11);
    } else if (type == 2 || type == 3) {
      const AcGePoint2d center = c.Point(10);
      const AcGePoint2d major = type == 3 ? c.Point(11) : AcGePoint2d(1, 0);
      const double r = type == 2 ? c.Next(40) : std::hypot(major.x, major.y);
      const double ratio = type == 3 ? c.Next(40) : 1;
      double a = c.Next(50), b = c.Next(51);
      const bool ccw = c.Next(73) != 0;
      // A clockwise edge gives its angles as if mirrored.
      if (!ccw) a = -a, b = -b;
      const double sweep = ccw ? Sweep(a, b) : Sweep(b, a);
      const double dir = ccw ? 1 : -1;
      const double turn = std::atan2(major.y, major.x);
      auto at = [&](double t) {
        const double x = r * std::cos(t), y = r * ratio * std::sin(t);
        return AcGePoint2d(center.x + x * std::cos(turn) - y * std::sin(turn),
                           center.y + x * std::sin(turn) + y * std::cos(turn));
      };
      if (type == 2) {
        add(at(a * kDegree), dir * std::tan(sweep / 4));
      } else {
        const int steps = 32;
        for (int i = 0; i < steps; ++i) add(at(a * kDegree + dir * sweep * i / steps), 0);
      }
    } else if (type == 4) {
      const int degree = static_cast<int>(c.Next(94));
      const bool rational = c.Next(73) != 0;
      c.Next(74);
      const long nk = static_cast<long>(c.Next(95)), nc = static_cast<long>(c.Next(96));
      if (!c.Ok() || nk < 0 || nc < 0 || nk > kMaxCount || nc > kMaxCount) return false;
      std::vector<double> knots, weights;
      std::vector<AcGePoint3d> ctrl, curve;
      for (long i = 0; i < nk && c.Ok(); ++i) knots.push_back(c.Next(40));
      for (long i = 0; i < nc && c.Ok(); ++i) {
        const AcGePoint2d p = c.Point(10);
        ctrl.emplace_back(p.x, p.y, 0);
        if (rational || c.Has(42)) weights.push_back(c.Has(42) ? c.Next(42) : 1);
      }
      if (c.Has(97)) {
        const long fits = static_cast<long>(c.Next(97));
        for (long i = 0; i < fits && c.Ok(); ++i) c.Point(11);
        if (c.Has(12)) c.Point(12);
        if (c.Has(13)) c.Point(13);
      }
      if (!c.Ok() || !FlattenNurbs(ctrl, weights, knots, degree, curve)) return false;
      for (size_t i = 0; i + 1 < curve.size(); ++i) add({curve[i].x, curve[i].y}, 0);
    } else {
      return false;
    }
  }
  return c.Ok();
}

}  // namespace

AcDbEntity* Reader::BuildHatch(const Raw& raw) {
  auto* h = new AcDbHatch;
  auto reject = [&](const wchar_t* why) {
    delete h;
    Reject(why);
    return nullptr;
  };
  const std::wstring pattern = Text(raw, 2);
  const bool solid = (raw.Int(70) & 1) != 0;
  const long long type = raw.Int(76, 1);
  if (type < 0 || type > 2 ||
      h->setPattern(static_cast<AcDbHatch::HatchPatternType>(type), (solid ? L"SOLID" : pattern).c_str()) != Acad::eOk)
    return reject(L"it names no pattern it can be filled with");
  h->setElevation(raw.Point(10).z);
  h->setAssociative(raw.Int(71) != 0);
  const long long style = raw.Int(75);
  if (style >= 0 && style <= 2) h->setHatchStyle(static_cast<AcDbHatch::HatchStyle>(style));
  if (!solid) {
    if (raw.Real(41, 1) > 0) h->setPatternScale(raw.Real(41, 1));
    h->setPatternAngle(raw.Real(52) * kDegree);
  }
  Cursor c(raw.groups);
  const long paths = c.Seek(91) ? static_cast<long>(c.Next(91)) : 0;
  if (paths < 0 || paths > kMaxCount) return reject(L"its count of boundary paths is out of range");
  for (long i = 0; i < paths; ++i) {
    const long flags = static_cast<long>(c.Next(92));
    std::vector<AcGePoint2d> points;
    std::vector<double> bulges;
    if (flags & AcDbHatch::kPolyline) {
      const bool bulged = c.Next(72) != 0;
      c.Next(73);
      const long n = static_cast<long>(c.Next(93));
      if (!c.Ok() || n < 0 || n > kMaxCount) return reject(L"one of its boundary paths cannot be read");
      for (long k = 0; k < n && c.Ok(); ++k) {
        points.push_back(c.Point(10));
        bulges.push_back(bulged ? c.Next(42) : 0);
      }
    } else if (!ReadEdges(c, points, bulges)) {
      return reject(L"one of its boundary paths cannot be read");
    }
    const long sources = static_cast<long>(c.Next(97));
    for (long k = 0; k < sources && c.Has(330); ++k) c.Next(330);
    AcGePoint2dArray vertices;
    AcGeDoubleArray loopBulges;
    for (size_t k = 0; k < points.size(); ++k) vertices.append(points[k]), loopBulges.append(bulges[k]);
    if (!c.Ok() || h->appendLoop(flags | AcDbHatch::kPolyline, vertices, loopBulges) != Acad::eOk)
      return reject(L"one of its boundary paths cannot be read");
  }
  return h;
}

}  // namespace standin::dxf
