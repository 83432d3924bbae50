// Just enough of the host's region entity, behaving as the host's does, for the module to turn
// closed outlines into regions.
#include <dbpl.h>
#include <dbregion.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "standin/host/drawing/dbaccess.h"

using standin::DbAccess;

ACRX_DEFINE_MEMBERS(AcDbRegion, AcDbEntity, L"REGION")

namespace {

// A run of segments from the first point to the last (bulge i belongs to segment i).
struct Piece {
  std::vector<AcGePoint2d> points;
  std::vector<double> bulges;  // one per segment
  double elevation = 0;
};

void Reverse(Piece& piece) {
  std::vector<AcGePoint2d> points(piece.points.rbegin(), piece.points.rend());
  std::vector<double> bulges;
  for (auto it = piece.bulges.rbegin(); it != piece.bulges.rend(); ++it) bulges.push_back(-*it);
  piece.points.swap(points);
  piece.bulges.swap(bulges);
}

bool Meet(const AcGePoint2d& a, const AcGePoint2d& b, double tol) { return a.distanceTo(b) <= tol; }

void Unsupported(const wchar_t* what) {
  static std::set<std::wstring> told;
  std::lock_guard<std::recursive_mutex> lock(standin::DrawingMutex());
  if (told.insert(what).second)
    std::fprintf(stderr, "stand-in host: AcDbRegion::createFromCurves does not follow %ls; the call fails\n", what);
}

// The pieces of one curve; false when this stand-in cannot follow it.
bool PiecesOf(const AcDbCurve* curve, std::vector<Piece>& pieces) {
  if (const auto* line = AcDbLine::cast(curve)) {
    const AcGePoint3d a = line->startPoint(), b = line->endPoint();
    if (a.z != b.z) return Unsupported(L"lines out of the XY plane"), false;
    pieces.push_back({{{a.x, a.y}, {b.x, b.y}}, {0.0}, a.z});
    return true;
  }
  if (const auto* circle = AcDbCircle::cast(curve)) {
    if (!standin::IsWorldZ(circle->normal())) return Unsupported(L"circles and arcs out of the XY plane"), false;
    const AcGePoint3d c = circle->center();
    const double r = circle->radius();
    double start = 0, end = 2 * 3.14159265358979323846;
    if (const auto* arc = AcDbArc::cast(curve)) {
      start = arc->startAngle();
      end = arc->endAngle();
      while (end <= start) end += 2 * 3.14159265358979323846;
    }
    // Two halves, so that no segment is a whole turn.
    const double mid = (start + end) / 2, bulge = std::tan((end - start) / 8);
    Piece piece{{{c.x + r * std::cos(start), c.y + r * std::sin(start)},
                 {c.x + r * std::cos(mid), c.y + r * std::sin(mid)},
                 {c.x + r * std::cos(end), c.y + r * std::sin(end)}},
                {bulge, bulge},
                c.z};
    if (!AcDbArc::cast(curve)) piece.points.back() = piece.points.front();
    pieces.push_back(std::move(piece));
    return true;
  }
  if (const auto* pline = AcDbPolyline::cast(curve)) {
    if (!standin::IsWorldZ(pline->normal())) return Unsupported(L"polylines out of the XY plane"), false;
    Piece piece;
    piece.elevation = pline->elevation();
    const unsigned n = pline->numVerts();
    for (unsigned i = 0; i < n; ++i) {
      AcGePoint2d p;
      double b = 0;
      pline->getPointAt(i, p);
      pline->getBulgeAt(i, b);
      piece.points.push_back(p);
      if (i + 1 < n || pline->isClosed()) piece.bulges.push_back(b);
    }
    if (pline->isClosed() && n > 0) piece.points.push_back(piece.points.front());
    if (!piece.points.empty()) pieces.push_back(std::move(piece));
    return true;
  }
  Unsupported(curve->isA()->name());
  return false;
}

// The region of a closed chain, or NULL when it encloses no area.
AcDbRegion* RegionOf(const Piece& closed) {
  standin::Loop loop{std::vector<AcGePoint2d>(closed.points.begin(), closed.points.end() - 1), closed.bulges};
  if (standin::IsDegenerate(loop)) return nullptr;
  auto* region = new AcDbRegion;
  DbAccess::SetOutline(region, loop, closed.elevation);
  return region;
}

}  // namespace

Acad::ErrorStatus AcDbRegion::createFromCurves(const AcDbVoidPtrArray& curveSegments, AcDbVoidPtrArray& regions) {
  std::vector<Piece> pieces;
  for (int i = 0; i < curveSegments.length(); ++i) {
    const auto* curve = static_cast<const AcDbCurve*>(curveSegments[i]);
    if (!curve) return Acad::eInvalidInput;
    if (!PiecesOf(curve, pieces)) return Acad::eNotImplementedYet;
  }
  double size = 0;
  for (const Piece& p : pieces)
    for (const AcGePoint2d& q : p.points) size = std::max({size, std::fabs(q.x), std::fabs(q.y)});
  const double tol = 1e-10 * std::max(1.0, size);

  std::vector<Piece> loops;
  std::vector<Piece> open;
  // Closed curves become regions of their own, before the loops the other curves form.
  for (Piece& p : pieces) {
    if (p.points.size() > 2 && Meet(p.points.front(), p.points.back(), tol))
      loops.push_back(std::move(p));
    else
      open.push_back(std::move(p));
  }
  std::vector<bool> used(open.size(), false);
  for (size_t s = 0; s < open.size(); ++s) {
    if (used[s]) continue;
    used[s] = true;
    Piece chain = open[s];
    bool grown = true;
    while (grown && !Meet(chain.points.front(), chain.points.back(), tol)) {
      grown = false;
      for (size_t k = 0; k < open.size() && !grown; ++k) {
        if (used[k] || chain.elevation != open[k].elevation) continue;
        Piece next = open[k];
        if (Meet(next.points.back(), chain.points.back(), tol)) Reverse(next);
        if (!Meet(next.points.front(), chain.points.back(), tol)) continue;
        chain.points.insert(chain.points.end(), next.points.begin() + 1, next.points.end());
        chain.bulges.insert(chain.bulges.end(), next.bulges.begin(), next.bulges.end());
        used[k] = grown = true;
      }
    }
    if (chain.points.size() > 2 && Meet(chain.points.front(), chain.points.back(), tol)) loops.push_back(chain);
  }

  const int before = regions.length();
  for (const Piece& loop : loops)
    if (AcDbRegion* region = RegionOf(loop)) regions.append(region);
  return regions.length() > before ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbRegion::getArea(double& regionArea) const {
  regionArea = std::fabs(standin::SignedArea(DbAccess::Outline(this)));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::getPerimeter(double& perimeter) const {
  perimeter = standin::Perimeter(DbAccess::Outline(this));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  const Acad::ErrorStatus es = standin::CheckTransform(*this, xform);
  if (es != Acad::eOk) return es;
  standin::Loop loop = DbAccess::Outline(this);
  standin::TransformLoop(loop, xform, m_elevation);
  m_points = loop.points;
  m_bulges = loop.bulges;
  m_elevation = xform(2, 2) * m_elevation + xform(2, 3);
  return Acad::eOk;
}

void AcDbRegion::standinShape(standin::Shape& shape) const {
  standin::AddOutline(shape, DbAccess::Outline(this), m_elevation);
}

void AcDbRegion::dxfOutFields(standin::DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDbModelerGeometry");
  out.Int(70, 1);
}
