// Hit-testing: which entities of the drawing the pick box, a window, a crossing or a polygon
// finds, as the host's display shows them.
#include "standin/host/view/hittest.h"

#include <dbents.h>
#include <dbsymtb.h>

#include <algorithm>
#include <cmath>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/display.h"
#include "standin/host/view/viewports.h"
#include "standin/host/view/views.h"

namespace standin {

namespace {

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

bool PointInPolygon(const std::vector<XY>& poly, XY p) {
  bool inside = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const XY a = poly[i], b = poly[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

bool Finite(XY p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// The convex hull of the points in XY, counter-clockwise; empty when a point is not finite.
std::vector<XY> HullOf(const std::vector<AcGePoint3d>& points) {
  std::vector<XY> pts;
  for (const auto& p : points) {
    if (!Finite({p.x, p.y})) return {};
    pts.push_back({p.x, p.y});
  }
  std::sort(pts.begin(), pts.end(), [](XY a, XY b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  if (pts.size() < 3) return pts;
  std::vector<XY> hull(2 * pts.size());
  size_t k = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
    hull[k++] = pts[i];
  }
  for (size_t i = pts.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
    hull[k++] = pts[i];
  }
  hull.resize(k - 1);
  return hull;
}

// Whether the filled hull and the filled polygon overlap.
bool HullTouches(const std::vector<XY>& hull, const std::vector<XY>& polygon) {
  if (hull.empty()) return false;
  for (XY p : hull)
    if (PointInPolygon(polygon, p)) return true;
  if (hull.size() >= 3)
    for (XY p : polygon)
      if (PointInPolygon(hull, p)) return true;
  for (size_t i = 0; i < hull.size(); ++i)
    for (size_t j = 0; j < polygon.size(); ++j)
      if (SegmentsMeet(hull[i], hull[(i + 1) % hull.size()], polygon[j], polygon[(j + 1) % polygon.size()]))
        return true;
  return false;
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

const AcDbLayerTableRecord* LayerOf(const AcDbEntity* ent) { return Peek<AcDbLayerTableRecord>(ent->layerId()); }

Shape ShapeOf(const AcDbEntity* ent) {
  Shape s;
  DbAccess::ShapeOf(ent, s);
  return s;
}

}  // namespace

bool InsideRect(const Shape& shape, double minX, double minY, double maxX, double maxY) {
  AcDbExtents ext;
  if (!shape.Extents(ext)) return false;
  return ext.minPoint().x >= minX && ext.maxPoint().x <= maxX && ext.minPoint().y >= minY && ext.maxPoint().y <= maxY;
}

bool TouchesRect(const Shape& shape, double minX, double minY, double maxX, double maxY) {
  const std::vector<XY> corners = {{minX, minY}, {maxX, minY}, {maxX, maxY}, {minX, maxY}};
  for (const auto& p : shape.points)
    if (InRect(p.x, p.y, minX, minY, maxX, maxY)) return true;
  for (const auto& [a, b] : shape.segments) {
    if (!Finite({a.x, a.y}) || !Finite({b.x, b.y})) continue;
    if (InRect(a.x, a.y, minX, minY, maxX, maxY) || InRect(b.x, b.y, minX, minY, maxX, maxY)) return true;
    for (int i = 0; i < 4; ++i)
      if (SegmentsMeet({a.x, a.y}, {b.x, b.y}, corners[i], corners[(i + 1) % 4])) return true;
  }
  for (const Arc& arc : shape.arcs) {
    const AcGePoint3d s = PointOnArc(arc, arc.start), e = PointOnArc(arc, arc.end);
    if (InRect(s.x, s.y, minX, minY, maxX, maxY) || InRect(e.x, e.y, minX, minY, maxX, maxY)) return true;
    for (int i = 0; i < 4; ++i)
      if (ArcMeetsSegment(arc, corners[i], corners[(i + 1) % 4])) return true;
  }
  for (const auto& hull : shape.hulls)
    if (HullTouches(HullOf(hull), corners)) return true;
  return false;
}

// The shape as segments (a point as a segment of no length), hulls by their edges.
std::vector<std::pair<XY, XY>> Flattened(const Shape& shape) {
  std::vector<std::pair<XY, XY>> out;
  for (const auto& p : shape.points) out.push_back({{p.x, p.y}, {p.x, p.y}});
  for (const auto& [a, b] : shape.segments) out.push_back({{a.x, a.y}, {b.x, b.y}});
  for (const Arc& arc : shape.arcs) {
    std::vector<std::pair<AcGePoint3d, AcGePoint3d>> pieces;
    Tessellate(arc, pieces);
    for (const auto& [a, b] : pieces) out.push_back({{a.x, a.y}, {b.x, b.y}});
  }
  for (const auto& points : shape.hulls) {
    const std::vector<XY> hull = HullOf(points);
    for (size_t i = 0; i < hull.size(); ++i) out.push_back({hull[i], hull[(i + 1) % hull.size()]});
  }
  return out;
}

namespace {

// The rectangle lies inside the polygon: its corners inside, no vertex of the polygon within it
// and no edge crossing it. Then so does everything the rectangle holds.
bool RectInsidePolygon(const AcDbExtents& box, const std::vector<XY>& polygon) {
  const XY lo{box.minPoint().x, box.minPoint().y}, hi{box.maxPoint().x, box.maxPoint().y};
  const XY corners[4] = {lo, {hi.x, lo.y}, hi, {lo.x, hi.y}};
  for (XY c : corners)
    if (!PointInPolygon(polygon, c)) return false;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const XY a = polygon[i], b = polygon[(i + 1) % polygon.size()];
    if (InRect(a.x, a.y, lo.x, lo.y, hi.x, hi.y)) return false;
    for (int k = 0; k < 4; ++k)
      if (SegmentsMeet(a, b, corners[k], corners[(k + 1) % 4])) return false;
  }
  return true;
}

// Whether the shape's box and the polygon's box are apart, so that nothing of the one meets the other.
bool BoxesApart(const AcDbExtents& box, const std::vector<XY>& polygon) {
  double minX = polygon[0].x, minY = polygon[0].y, maxX = minX, maxY = minY;
  for (XY p : polygon) {
    minX = std::min(minX, p.x), minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
  }
  return box.maxPoint().x < minX || box.minPoint().x > maxX || box.maxPoint().y < minY || box.minPoint().y > maxY;
}

}  // namespace

bool InsidePolygon(const Shape& shape, const std::vector<XY>& polygon) {
  AcDbExtents box;
  if (shape.Empty() || !shape.Finite() || polygon.size() < 3 || !shape.Extents(box)) return false;
  if (BoxesApart(box, polygon)) return false;
  if (RectInsidePolygon(box, polygon)) return true;
  for (const auto& [a, b] : Flattened(shape)) {
    if (!PointInPolygon(polygon, a) || !PointInPolygon(polygon, b)) return false;
    for (size_t i = 0; i < polygon.size(); ++i)
      if (SegmentsCrossProperly(a, b, polygon[i], polygon[(i + 1) % polygon.size()])) return false;
  }
  return true;
}

bool TouchesPolygon(const Shape& shape, const std::vector<XY>& polygon) {
  if (polygon.size() < 3) return false;
  AcDbExtents box;
  if (shape.Extents(box) && BoxesApart(box, polygon)) return false;
  // An arc that starts inside touches: found before the arcs are cut into pieces.
  for (const Arc& arc : shape.arcs) {
    const AcGePoint3d start = PointOnArc(arc, arc.start);
    if (Finite({start.x, start.y}) && PointInPolygon(polygon, {start.x, start.y})) return true;
  }
  for (const auto& [a, b] : Flattened(shape)) {
    if (!Finite(a) || !Finite(b)) continue;
    if (PointInPolygon(polygon, a) || PointInPolygon(polygon, b)) return true;
    for (size_t i = 0; i < polygon.size(); ++i)
      if (SegmentsMeet(a, b, polygon[i], polygon[(i + 1) % polygon.size()])) return true;
  }
  for (const auto& hull : shape.hulls)
    if (HullTouches(HullOf(hull), polygon)) return true;
  return false;
}

bool OnLockedLayer(const AcDbEntity* ent) {
  const AcDbLayerTableRecord* layer = LayerOf(ent);
  return layer && layer->isLocked();
}

namespace {

// Whether the entity is a main entity the search can find (see Candidates).
bool Findable(const AcDbEntity* ent, bool graphical, bool skipLocked) {
  if (!ent || ent->isErased()) return false;
  const AcDbLayerTableRecord* layer = LayerOf(ent);
  if (skipLocked && layer && layer->isLocked()) return false;
  if (!graphical) return true;
  if (!InCurrentSpace(ent) || (layer && (layer->isOff() || layer->isFrozen()))) return false;
  const ads_name name = {DbAccess::Id(ent), 0};
  return DisplayOf(name).visible;
}

}  // namespace

std::vector<const AcDbEntity*> Candidates(bool graphical, bool skipLocked) {
  std::vector<const AcDbEntity*> out;
  const std::vector<Adesk::IntPtr>& order = DbAccess::Order(WorkingDrawing());
  for (size_t i = order.size(); i-- > 0;) {
    const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(order[i]));
    if (Findable(ent, graphical, skipLocked)) out.push_back(ent);
  }
  return out;
}

namespace {

// What the current viewport shows of the XY plane: the quadrilateral under its pixels, and whether
// it is an upright rectangle (a plan view without twist), which windows are clipped to exactly.
// Otherwise an entity must touch (crossing) or lie in (window) the window and the view, which for
// crossings may take an entity that touches both but not where they overlap (chosen: views turned
// or tilted are rare where the family selects).
struct VisibleArea {
  std::vector<XY> corners;
  bool upright = false;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool Touches(const Shape& s) const { return upright || corners.empty() || TouchesPolygon(s, corners); }
  bool Holds(const Shape& s) const { return upright || corners.empty() || InsidePolygon(s, corners); }
};

VisibleArea CurrentVisibleArea() {
  VisibleArea area;
  const int vp = CurrentViewport();
  PixelRect rect;
  if (!ViewportPixels(vp, rect)) return area;  // no view: nothing to clip to
  const double px[4] = {rect.left, rect.left + rect.width, rect.left + rect.width, rect.left};
  const double py[4] = {rect.top + rect.height, rect.top + rect.height, rect.top, rect.top};
  for (int i = 0; i < 4; ++i) {
    double w[3];
    PixelToWorld(vp, px[i], py[i], w);
    area.corners.push_back({w[0], w[1]});
  }
  const View v = CurrentView();
  area.upright = v.direction[0] == 0 && v.direction[1] == 0 && v.direction[2] > 0 && v.twist == 0;
  area.minX = area.corners[0].x, area.minY = area.corners[0].y;
  area.maxX = area.corners[2].x, area.maxY = area.corners[2].y;
  return area;
}

}  // namespace

double ViewPixels(double pixels) {
  const double viewSize = SysVarReal(L"VIEWSIZE", 600);
  double screen[3] = {800, 600, 0};
  SysVarPoint(L"SCREENSIZE", screen);
  return pixels * viewSize / (screen[1] > 0 ? screen[1] : 600);
}

double PickBoxHalf() { return ViewPixels(SysVarInt(L"PICKBOX", 3)); }

std::vector<Adesk::IntPtr> AtPoint(const double* p, bool everything, bool skipLocked) {
  const double h = PickBoxHalf();
  std::vector<Adesk::IntPtr> out;
  for (const AcDbEntity* ent : Candidates(true, skipLocked)) {
    if (!TouchesRect(ShapeOf(ent), p[0] - h, p[1] - h, p[0] + h, p[1] + h)) continue;
    out.push_back(DbAccess::Id(ent));
    if (!everything) break;
  }
  return out;
}

std::vector<Adesk::IntPtr> InBox(const double* corner1, const double* corner2, bool crossing, bool skipLocked,
                                 const Keep& keep) {
  double minX = std::min(corner1[0], corner2[0]), minY = std::min(corner1[1], corner2[1]);
  double maxX = std::max(corner1[0], corner2[0]), maxY = std::max(corner1[1], corner2[1]);
  const VisibleArea area = CurrentVisibleArea();
  if (area.upright) {
    minX = std::max(minX, area.minX), minY = std::max(minY, area.minY);
    maxX = std::min(maxX, area.maxX), maxY = std::min(maxY, area.maxY);
    if (minX > maxX || minY > maxY) return {};
  }
  std::vector<Adesk::IntPtr> out;
  for (const AcDbEntity* ent : Candidates(true, skipLocked)) {
    if (keep && !keep(ent)) continue;
    const Shape s = ShapeOf(ent);
    if (crossing ? TouchesRect(s, minX, minY, maxX, maxY) && area.Touches(s)
                 : InsideRect(s, minX, minY, maxX, maxY) && area.Holds(s))
      out.push_back(DbAccess::Id(ent));
  }
  return out;
}

std::vector<Adesk::IntPtr> InPolygon(const std::vector<XY>& polygon, bool crossing, bool skipLocked,
                                     const Keep& keep) {
  const VisibleArea area = CurrentVisibleArea();
  std::vector<Adesk::IntPtr> out;
  for (const AcDbEntity* ent : Candidates(true, skipLocked)) {
    if (keep && !keep(ent)) continue;
    const Shape s = ShapeOf(ent);
    if (crossing ? TouchesPolygon(s, polygon) && area.Touches(s) : InsidePolygon(s, polygon) && area.Holds(s))
      out.push_back(DbAccess::Id(ent));
  }
  return out;
}

std::vector<Adesk::IntPtr> LastEntity(bool skipLocked) {
  const std::vector<Adesk::IntPtr>& order = DbAccess::Order(WorkingDrawing());
  for (size_t i = order.size(); i-- > 0;)
    if (const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(order[i])); Findable(ent, true, skipLocked))
      return {order[i]};
  return {};
}

Adesk::IntPtr PickableEntity(Adesk::IntPtr picked, bool skipLocked) {
  const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(picked));
  if (!ent) return 0;
  if (const AcDbEntity* owner = AcDbEntity::cast(DbAccess::Resolve(ent->ownerId()))) ent = owner;
  const AcDbDatabase* db = WorkingDrawing();
  const bool topLevel = ent->database() == db && DbAccess::OrderIndex(db, DbAccess::Id(ent)) >= 0;
  return topLevel && Findable(ent, true, skipLocked) ? DbAccess::Id(ent) : 0;
}

bool InCurrentSpace(const AcDbEntity* ent) {
  AcDbDatabase* db = WorkingDrawing();
  const bool paper = SysVarInt(L"TILEMODE", 1) == 0 && SysVarInt(L"CVPORT", 2) == 1;
  return ent->ownerId() == (paper ? DbAccess::PaperSpace(db) : DbAccess::ModelSpace(db));
}

}  // namespace standin
