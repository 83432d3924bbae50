// The host's drawing view as a picture: entities in their colours through the current view, the
// display states the module sets with redraws, the temporary graphics and the cursor.
#include "standin/host/view/render.h"

#include <aced.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbpl.h>
#include <dbregion.h>
#include <dbsymtb.h>
#include <rxmfcapi.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

#include "standin/host/drawing/boundary.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/shape.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/display.h"
#include "standin/host/view/overlay.h"
#include "standin/host/view/strokefont.h"
#include "standin/host/view/viewports.h"
#include "standin/win32/png.h"
#include "standin/win32/utf8.h"

namespace standin {

namespace {

// Blocks nested deeper than this are not drawn (a block may hold a reference to itself).
constexpr int kMaxBlockDepth = 16;
// Parts of one outermost block reference drawn at most: nested blocks multiply.
constexpr long kPartBudget = 2000000;
// Highlighted strokes: pixels on, then off.
constexpr int kDashOn = 6, kDashOff = 4;
// Hatch pattern lines closer than this many pixels look like a fill, and are painted as one.
constexpr double kDensePattern = 1.5;

struct Pt {
  double x, y;
};

bool Finite(const Pt& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// From the world coordinates of the level being drawn to raster pixels (pixel i centred on i).
struct Affine {
  double m[2][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}};

  Pt Map(const AcGePoint3d& p) const {
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3],
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3]};
  }
  // This after inner (world to world).
  Affine After(const AcGeMatrix3d& inner) const {
    Affine out;
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 4; ++c) {
        double sum = c == 3 ? m[r][3] : 0;
        for (int k = 0; k < 3; ++k) sum += m[r][k] * inner(k, c);
        out.m[r][c] = sum;
      }
    return out;
  }
  // Pixels per drawing unit, the longer of the x and y axes.
  double Scale() const { return std::max(std::hypot(m[0][0], m[1][0]), std::hypot(m[0][1], m[1][1])); }
  bool IsFinite() const {
    for (const auto& row : m)
      for (double v : row)
        if (!std::isfinite(v)) return false;
    return true;
  }
};

struct Pen {
  uint32_t rgb = 0xFFFFFF;
  bool dashed = false;
  bool xorInk = false;
};

// Lines, dots and filled polygons on the raster, clipped to it.
class Painter {
 public:
  explicit Painter(Raster& raster) : m_r(raster) {}

  // A new chain of strokes: its dashes start afresh.
  void Begin() { m_dash = 0; }

  void Dot(const Pt& p, const Pen& pen) {
    if (Finite(p) && p.x > -0.5 && p.y > -0.5 && p.x < m_r.width - 0.5 && p.y < m_r.height - 0.5)
      Plot(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)), pen);
  }

  void Line(Pt a, Pt b, const Pen& pen) {
    if (!Finite(a) || !Finite(b)) return;
    if (std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y)}) > 1e6) Shorten(a, b);
    if (!Clip(a, b)) return;
    int x0 = static_cast<int>(std::lround(a.x)), y0 = static_cast<int>(std::lround(a.y));
    const int x1 = static_cast<int>(std::lround(b.x)), y1 = static_cast<int>(std::lround(b.y));
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      Plot(x0, y0, pen);
      if (x0 == x1 && y0 == y1) return;
      const int e2 = 2 * err;
      if (e2 >= dy) err += dy, x0 += sx;
      if (e2 <= dx) err += dx, y0 += sy;
    }
  }

  // The area inside the contours by the even-odd rule; dithered paints every other pixel.
  void Fill(const std::vector<std::vector<Pt>>& contours, uint32_t rgb, bool dithered) {
    struct Edge {
      Pt top, bottom;
    };
    std::vector<Edge> edges;
    double minY = m_r.height, maxY = -1;
    for (const auto& contour : contours)
      for (size_t i = 0; i < contour.size(); ++i) {
        Pt a = contour[i], b = contour[(i + 1) % contour.size()];
        if (!Finite(a) || !Finite(b) || a.y == b.y) continue;
        if (a.y > b.y) std::swap(a, b);
        edges.push_back({a, b});
        minY = std::min(minY, a.y);
        maxY = std::max(maxY, b.y);
      }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.top.y < r.top.y; });
    const int first = static_cast<int>(std::max(0.0, std::ceil(minY)));
    const int last = static_cast<int>(std::min(m_r.height - 1.0, std::floor(maxY)));
    std::vector<const Edge*> active;
    std::vector<double> xs;
    size_t next = 0;
    for (int y = first; y <= last; ++y) {
      while (next < edges.size() && edges[next].top.y <= y) active.push_back(&edges[next++]);
      active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->bottom.y <= y; }),
                   active.end());
      xs.clear();
      for (const Edge* e : active) {
        const double t = (y - e->top.y) / (e->bottom.y - e->top.y);
        xs.push_back(e->top.x + t * (e->bottom.x - e->top.x));
      }
      std::sort(xs.begin(), xs.end());
      for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        const int from = static_cast<int>(std::max(0.0, std::ceil(xs[i])));
        const int to = static_cast<int>(std::min(m_r.width - 1.0, std::ceil(xs[i + 1]) - 1));
        for (int x = from; x <= to; ++x)
          if (!dithered || ((x + y) & 1) == 0) m_r.pixels[static_cast<size_t>(y) * m_r.width + x] = rgb;
      }
    }
  }

  bool Visible(double minX, double minY, double maxX, double maxY) const {
    return maxX >= -0.5 && maxY >= -0.5 && minX <= m_r.width - 0.5 && minY <= m_r.height - 0.5;
  }
  // Whether the box around the points, grown by margin, reaches the raster.
  bool Visible(const std::vector<std::vector<Pt>>& points, double margin = 0) const {
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const auto& run : points)
      for (const Pt& p : run)
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x), minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    const double grow = margin * (maxY - minY + maxX - minX);
    return Visible(minX - grow, minY - grow, maxX + grow, maxY + grow);
  }

 private:
  void Plot(int x, int y, const Pen& pen) {
    if (pen.dashed && m_dash++ % (kDashOn + kDashOff) >= kDashOn) return;
    uint32_t& px = m_r.pixels[static_cast<size_t>(y) * m_r.width + x];
    px = pen.xorInk ? px ^ 0xFFFFFF : pen.rgb;
  }

  // Cuts a line whose ends lie far away to its part near the raster, measured from the line's point
  // nearest to the raster's centre: clipping from the far ends would lose the line in rounding.
  void Shorten(Pt& a, Pt& b) const {
    const double reach = 2.0 * (m_r.width + m_r.height);
    const Pt mid{a.x / 2 + b.x / 2, a.y / 2 + b.y / 2};
    const double hx = b.x / 2 - a.x / 2, hy = b.y / 2 - a.y / 2, half = std::hypot(hx, hy);
    if (!(half > 0) || !std::isfinite(half)) return;
    const Pt u{hx / half, hy / half};
    const double s0 = (m_r.width / 2.0 - mid.x) * u.x + (m_r.height / 2.0 - mid.y) * u.y;
    const Pt foot{mid.x + s0 * u.x, mid.y + s0 * u.y};
    const double sa = std::clamp(-half - s0, -reach, reach), sb = std::clamp(half - s0, -reach, reach);
    a = {foot.x + sa * u.x, foot.y + sa * u.y};
    b = {foot.x + sb * u.x, foot.y + sb * u.y};
  }

  // Liang-Barsky against the raster's pixels: what is left has whole pixel coordinates in range.
  bool Clip(Pt& a, Pt& b) const {
    const double lo[2] = {-0.49, -0.49}, hi[2] = {m_r.width - 0.51, m_r.height - 0.51};
    const double d[2] = {b.x - a.x, b.y - a.y}, p0[2] = {a.x, a.y};
    double t0 = 0, t1 = 1;
    for (int k = 0; k < 2; ++k) {
      if (d[k] == 0) {
        if (p0[k] < lo[k] || p0[k] > hi[k]) return false;
        continue;
      }
      double ta = (lo[k] - p0[k]) / d[k], tb = (hi[k] - p0[k]) / d[k];
      if (ta > tb) std::swap(ta, tb);
      t0 = std::max(t0, ta);
      t1 = std::min(t1, tb);
      if (t0 > t1) return false;
    }
    const Pt from{a.x + t0 * d[0], a.y + t0 * d[1]}, to{a.x + t1 * d[0], a.y + t1 * d[1]};
    a = from, b = to;
    return true;
  }

  Raster& m_r;
  long m_dash = 0;
};

struct LayerInfo {
  int colour = 7;
  bool off = false, frozen = false, zero = false;
};

// How the entities of one level (the space, or a block definition inside a reference) are drawn.
struct Level {
  Affine toPixel;
  int byBlock = 7;                     // the colour of BYBLOCK
  const LayerInfo* byLayer = nullptr;  // the layer that parts on layer "0" take, inside a block
  bool highlighted = false;
  int depth = 0;
};

// The counter-clockwise arc of a bulged segment from a to b, as points from a to b (a itself
// left out), in the plane the points are in.
void AppendBulge(const AcGePoint3d& a, const AcGePoint3d& b, double bulge, std::vector<AcGePoint3d>& out) {
  Shape shape;
  shape.AddBulgeSegment(AcGeVector3d::kZAxis, a, b, bulge);
  if (shape.arcs.empty()) {
    out.push_back(b);
    return;
  }
  std::vector<std::pair<AcGePoint3d, AcGePoint3d>> pieces;
  Tessellate(shape.arcs[0], pieces);
  // A clockwise bulge is swept counter-clockwise from b: its pieces run backwards.
  if (bulge < 0) {
    std::reverse(pieces.begin(), pieces.end());
    for (auto& piece : pieces) std::swap(piece.first, piece.second);
  }
  for (auto& piece : pieces) out.push_back({piece.second.x, piece.second.y, a.z});
  out.back() = b;
}

// Calls draw for each entity of the space or block definition, in order.
template <class Draw>
void ForEachEntity(const AcDbBlockTableRecord* record, Draw draw) {
  AcDbBlockTableRecordIterator* it = nullptr;
  if (record->newIterator(it) != Acad::eOk) return;
  const std::unique_ptr<AcDbBlockTableRecordIterator> owner(it);
  for (; !it->done(); it->step()) {
    AcDbObjectId id;
    it->getEntityId(id);
    if (const auto* ent = Peek<AcDbEntity>(id); ent && !ent->isErased()) draw(ent);
  }
}

struct PatternLine {
  double angle, spacing;  // degrees, drawing units at scale 1
};

// The continuous line families of the host's patterns that are made of them; others are unknown.
std::vector<PatternLine> KnownPattern(const AcDbHatch* hatch) {
  if (hatch->patternType() != AcDbHatch::kPreDefined) return {};
  std::wstring name = hatch->patternName();
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  if (name == L"ANSI31") return {{45, 3.175}};
  if (name == L"ANSI37") return {{45, 3.175}, {135, 3.175}};
  if (name == L"LINE") return {{0, 3.175}};
  if (name == L"NET") return {{0, 3.175}, {90, 3.175}};
  if (name == L"NET3") return {{0, 3.175}, {60, 3.175}, {120, 3.175}};
  return {};
}

class Renderer {
 public:
  Renderer(Raster& raster, uint32_t background) : m_painter(raster), m_background(background) {}

  void DrawSpace(const AcDbBlockTableRecord* space, const Level& level) {
    ForEachEntity(space, [&](const AcDbEntity* ent) {
      const ads_name name = {DbAccess::Id(ent), 0};
      const EntityDisplay display = DisplayOf(name);
      if (!display.visible) return;
      Level top = level;
      top.highlighted = display.highlighted;
      m_parts = 0;
      DrawEntity(ent, top);
    });
  }

  // The image of a set being dragged: its entities moved by the matrix.
  void DrawDragImage(const DragImage& drag, const Level& level) {
    AcGeMatrix3d m;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) m(r, c) = drag.matrix[r][c];
    Level moved = level;
    moved.toPixel = level.toPixel.After(m);
    for (Adesk::IntPtr id : drag.entities)
      if (const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(id)); ent && !ent->isErased()) {
        m_parts = 0;
        DrawEntity(ent, moved);
      }
  }

  void DrawLine(const Pt& a, const Pt& b, const Pen& pen) {
    m_painter.Begin();
    m_painter.Line(a, b, pen);
  }

  uint32_t Rgb(int colour) const {
    if (colour == 7) return m_background ^ 0xFFFFFF;  // white on the dark model space, black on paper
    const Adesk::UInt32 ref = acedGetRGB(colour);
    return ((ref & 0xFF) << 16) | (ref & 0xFF00) | ((ref >> 16) & 0xFF);
  }

  std::vector<std::wstring> LeftOut() const {
    std::vector<std::wstring> out;
    for (const auto& [what, count] : m_leftOut)
      out.push_back(std::to_wstring(count) + (count == 1 ? L" entity " : L" entities ") + what);
    return out;
  }

 private:
  void LeaveOut(const std::wstring& why) { ++m_leftOut[why]; }

  const LayerInfo& Layer(AcDbObjectId id) {
    auto [it, added] = m_layers.try_emplace(id.asOldId());
    if (added) {
      if (const auto* rec = Peek<AcDbLayerTableRecord>(id)) {
        const int colour = rec->color().colorIndex();
        it->second.colour = colour >= 1 && colour <= 255 ? colour : 7;
        it->second.off = rec->isOff();
        it->second.frozen = rec->isFrozen();
        it->second.zero = DbAccess::RecordName(rec) == L"0";
      }
    }
    return it->second;
  }

  void DrawEntity(const AcDbEntity* ent, const Level& level) {
    if (level.depth > 0 && ++m_parts > kPartBudget) {
      if (m_parts == kPartBudget + 1) LeaveOut(L"inside block references beyond " + std::to_wstring(kPartBudget));
      return;
    }
    const LayerInfo& own = Layer(ent->layerId());
    const LayerInfo& layer = own.zero && level.byLayer ? *level.byLayer : own;
    const auto* ref = AcDbBlockReference::cast(ent);
    // A block reference on a layer that is off still shows its parts on other layers.
    if (layer.frozen || (layer.off && !ref)) return;
    const int index = ent->colorIndex();
    const int colour = index == 0 ? level.byBlock : index == 256 ? layer.colour : index;
    const Pen pen{Rgb(colour), level.highlighted, false};
    m_painter.Begin();
    if (ref) return DrawBlock(ref, level, colour, layer);
    if (const auto* hatch = AcDbHatch::cast(ent)) return DrawHatch(hatch, level, pen);
    if (const auto* def = AcDbAttributeDefinition::cast(ent)) {
      // In a block only constant ones show, by their value; the references' attributes show the others.
      if (level.depth == 0) return DrawText(def, def->tagConst(), level, pen, false);
      if (def->isConstant() && !def->isInvisible()) DrawText(def, def->textStringConst(), level, pen, true);
      return;
    }
    if (const auto* text = AcDbText::cast(ent)) return DrawText(text, text->textStringConst(), level, pen, false);
    if (DrawWide(ent, level, pen)) return;
    Shape shape;
    DbAccess::ShapeOf(ent, shape);
    const bool known = AcDbPoint::cast(ent) || AcDbCurve::cast(ent) || AcDbRegion::cast(ent);
    if (shape.Empty() && !known)
      LeaveOut(L"of a type the view does not draw (" + std::wstring(ent->isA()->name()) + L")");
    else if (!shape.Finite())
      LeaveOut(L"with coordinates that are not finite");
    else
      DrawShape(shape, level.toPixel, pen);
  }

  void DrawShape(const Shape& shape, const Affine& toPixel, const Pen& pen) {
    for (const auto& [a, b] : shape.segments) m_painter.Line(toPixel.Map(a), toPixel.Map(b), pen);
    for (const Arc& arc : shape.arcs) DrawArc(arc, toPixel, pen);
    for (const AcGePoint3d& p : shape.points) m_painter.Dot(toPixel.Map(p), pen);
  }

  void DrawArc(const Arc& arc, const Affine& toPixel, const Pen& pen) {
    const Pt c = toPixel.Map(arc.center);
    const double r = arc.radius * toPixel.Scale();
    if (!Finite(c) || !std::isfinite(r) || !m_painter.Visible(c.x - r, c.y - r, c.x + r, c.y + r)) return;
    if (r < 0.5) return m_painter.Dot(c, pen);
    // Chords that stray at most a quarter of a pixel from the circle.
    const double step = 2 * std::acos(std::max(-1.0, 1 - 0.25 / r));
    const double sweep = arc.end - arc.start;
    const int steps = static_cast<int>(std::clamp(std::ceil(sweep / step), 1.0, 8192.0));
    Pt prev = toPixel.Map(PointOnArc(arc, arc.start));
    for (int i = 1; i <= steps; ++i) {
      const Pt next = toPixel.Map(PointOnArc(arc, arc.start + sweep * i / steps));
      m_painter.Line(prev, next, pen);
      prev = next;
    }
  }

  void DrawBlock(const AcDbBlockReference* ref, const Level& level, int colour, const LayerInfo& layer) {
    if (level.depth >= kMaxBlockDepth) return LeaveOut(L"in blocks nested deeper than 16");
    Level inner{level.toPixel.After(ref->blockTransform()), colour, &layer, level.highlighted, level.depth + 1};
    if (!inner.toPixel.IsFinite()) return LeaveOut(L"with coordinates that are not finite");
    if (const auto* btr = Peek<AcDbBlockTableRecord>(ref->blockTableRecord()))
      ForEachEntity(btr, [&](const AcDbEntity* part) { DrawEntity(part, inner); });
    Level attributes = level;
    attributes.byBlock = colour;
    std::unique_ptr<AcDbObjectIterator> it(ref->attributeIterator());
    for (; !it->done(); it->step())
      if (const auto* att = Peek<AcDbAttribute>(it->objectId()); att && !att->isErased()) DrawEntity(att, attributes);
  }

  // Glyphs of the stroke font along the text's box; a box of the cell where a glyph is missing.
  void DrawText(const AcDbText* text, const std::wstring& chars, const Level& level, const Pen& pen, bool value) {
    Shape box;
    if (value)
      DbAccess::TextShape(text, box);
    else
      DbAccess::ShapeOf(text, box);
    if (box.segments.size() != 4 || chars.empty()) return;
    if (!box.Finite()) return LeaveOut(L"with coordinates that are not finite");
    const AcGePoint3d p0 = box.segments[0].first;
    const AcGeVector3d ex = (box.segments[1].first - p0) * (1 / (static_cast<double>(chars.size()) * kFontAdvance));
    const AcGeVector3d ey = (box.segments[3].first - p0) * (1 / kFontCapHeight);
    const double shear = std::tan(text->oblique());
    auto at = [&](double x, double y) { return level.toPixel.Map(p0 + ex * (x + y * shear) + ey * y); };
    std::vector<Pt> corners;
    for (const auto& segment : box.segments) corners.push_back(level.toPixel.Map(segment.first));
    if (!m_painter.Visible({corners}, 0.5)) return;  // the margin holds descenders and the shear
    std::vector<Stroke> strokes;
    for (size_t i = 0; i < chars.size(); ++i) {
      const double x0 = static_cast<double>(i) * kFontAdvance;
      if (!GlyphStrokes(chars[i], strokes))
        strokes = {
            {{0.5, 0}, {kFontAdvance - 0.5, 0}, {kFontAdvance - 0.5, kFontCapHeight}, {0.5, kFontCapHeight}, {0.5, 0}}};
      for (const Stroke& stroke : strokes)
        for (size_t k = 0; k + 1 < stroke.size(); ++k)
          m_painter.Line(at(x0 + stroke[k].first, stroke[k].second), at(x0 + stroke[k + 1].first, stroke[k + 1].second),
                         pen);
      if (strokes.size() == 1 && strokes[0].size() == 1) m_painter.Dot(at(x0 + strokes[0][0].first, 0), pen);
    }
  }

  // Polylines with widths, as filled bands; false for one without (drawn by its outline).
  bool DrawWide(const AcDbEntity* ent, const Level& level, const Pen& pen) {
    struct Vertex {
      AcGePoint3d at;  // in the polyline's own coordinates
      double bulge, start, end;
    };
    std::vector<Vertex> vs;
    AcGeVector3d normal;
    bool closed = false;
    double widest = 0;
    if (const auto* pl = AcDbPolyline::cast(ent)) {
      for (unsigned i = 0; i < pl->numVerts(); ++i) {
        AcGePoint2d p;
        double bulge = 0, w0 = 0, w1 = 0;
        pl->getPointAt(i, p);
        pl->getBulgeAt(i, bulge);
        pl->getWidthsAt(i, w0, w1);
        vs.push_back({{p.x, p.y, pl->elevation()}, bulge, w0, w1});
        widest = std::max({widest, w0, w1});
      }
      normal = pl->normal();
      closed = pl->isClosed();
    } else if (const auto* old = AcDb2dPolyline::cast(ent)) {
      std::unique_ptr<AcDbObjectIterator> it(old->vertexIterator());
      for (; !it->done(); it->step())
        if (const auto* v = Peek<AcDb2dVertex>(it->objectId()); v && !v->isErased()) {
          vs.push_back({v->position(), v->bulge(), v->startWidth(), v->endWidth()});
          widest = std::max({widest, v->startWidth(), v->endWidth()});
        }
      normal = old->normal();
      closed = old->isClosed();
    }
    // Bands thinner than a pixel, and highlighted ones (dashed), are drawn as their centre line.
    if (!(widest * level.toPixel.Scale() >= 1) || pen.dashed || vs.size() < 2) return false;
    const size_t n = vs.size();
    for (size_t i = 0; i < (closed ? n : n - 1); ++i) {
      const Vertex &a = vs[i], &b = vs[(i + 1) % n];
      std::vector<AcGePoint3d> path = {a.at};
      AppendBulge(a.at, b.at, a.bulge, path);
      std::vector<Pt> left, right;
      for (size_t k = 0; k < path.size(); ++k) {
        const AcGePoint3d& p = path[k];
        const AcGePoint3d& q = path[k + 1 < path.size() ? k + 1 : k];
        const AcGePoint3d& o = path[k + 1 < path.size() ? k : k - 1];
        const double dx = q.x - o.x, dy = q.y - o.y, len = std::hypot(dx, dy);
        if (!(len > 0)) continue;
        const double half = (a.start + (a.end - a.start) * k / (path.size() - 1)) / 2;
        left.push_back(level.toPixel.Map(OcsToWcs(normal, {p.x - dy / len * half, p.y + dx / len * half, p.z})));
        right.push_back(level.toPixel.Map(OcsToWcs(normal, {p.x + dy / len * half, p.y - dx / len * half, p.z})));
      }
      for (size_t k = 0; k + 1 < left.size(); ++k)
        m_painter.Fill({{left[k], left[k + 1], right[k + 1], right[k]}}, pen.rgb, false);
    }
    Shape shape;
    DbAccess::ShapeOf(ent, shape);
    DrawShape(shape, level.toPixel, pen);
    return true;
  }

  void DrawHatch(const AcDbHatch* hatch, const Level& level, const Pen& pen) {
    std::vector<std::vector<AcGePoint3d>> loops;
    for (int i = 0; i < hatch->numLoops(); ++i) {
      Adesk::Int32 type;
      AcGePoint2dArray vertices;
      AcGeDoubleArray bulges;
      hatch->getLoopAt(i, type, vertices, bulges);
      std::vector<AcGePoint2d> points;
      std::vector<double> bs;
      for (int k = 0; k < vertices.length(); ++k) points.push_back(vertices[k]);
      for (int k = 0; k < bulges.length(); ++k) bs.push_back(bulges[k]);
      const Loop loop = ClosedLoop(points, bs);
      std::vector<AcGePoint3d> path;
      for (size_t k = 0; k < loop.points.size(); ++k) {
        const AcGePoint2d &a = loop.points[k], &b = loop.points[(k + 1) % loop.points.size()];
        if (path.empty()) path.push_back({a.x, a.y, hatch->elevation()});
        AppendBulge({a.x, a.y, hatch->elevation()}, {b.x, b.y, hatch->elevation()}, loop.bulges[k], path);
      }
      for (const AcGePoint3d& p : path)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return LeaveOut(L"with coordinates that are not finite");
      loops.push_back(std::move(path));
    }
    std::vector<std::vector<Pt>> contours;
    for (const auto& loop : loops) {
      contours.emplace_back();
      for (const AcGePoint3d& p : loop) contours.back().push_back(level.toPixel.Map(p));
    }
    if (!m_painter.Visible(contours)) return;
    const std::vector<PatternLine> families = KnownPattern(hatch);
    const double pixels = level.toPixel.Scale() * hatch->patternScale();
    bool dense = false;
    for (const PatternLine& family : families) dense = dense || family.spacing * pixels < kDensePattern;
    if (hatch->isSolidFill() || dense) return m_painter.Fill(contours, pen.rgb, pen.dashed);
    if (families.empty()) {
      Shape outline;
      DbAccess::ShapeOf(hatch, outline);
      return DrawShape(outline, level.toPixel, pen);
    }
    for (const PatternLine& family : families) PatternLines(loops, family, hatch, level, pen);
  }

  // One family of parallel lines through the origin, cut by the loops by the even-odd rule.
  void PatternLines(const std::vector<std::vector<AcGePoint3d>>& loops, const PatternLine& family,
                    const AcDbHatch* hatch, const Level& level, const Pen& pen) {
    const double angle = family.angle * kPi / 180 + hatch->patternAngle();
    const double c = std::cos(angle), s = std::sin(angle), spacing = family.spacing * hatch->patternScale();
    // Along the lines u, across them v.
    std::vector<std::vector<Pt>> uv;
    double vMin = 1e300, vMax = -1e300;
    size_t edges = 0;
    for (const auto& loop : loops) {
      uv.emplace_back();
      for (const AcGePoint3d& p : loop) {
        uv.back().push_back({p.x * c + p.y * s, -p.x * s + p.y * c});
        vMin = std::min(vMin, uv.back().back().y), vMax = std::max(vMax, uv.back().back().y);
      }
      edges += loop.size();
    }
    const double lines = (vMax - vMin) / spacing;
    if (!(lines < 100000) || lines * static_cast<double>(edges) > 5e7)
      return LeaveOut(L"with hatch patterns of more lines than the view draws");
    const double z = hatch->elevation();
    std::vector<double> us;
    // Counted, not stepped: far from the origin a step of one spacing may vanish in rounding.
    const double first = std::ceil(vMin / spacing) * spacing;
    for (long k = 0; k <= static_cast<long>(lines) + 1; ++k) {
      const double v = first + static_cast<double>(k) * spacing;
      if (v > vMax) break;
      us.clear();
      for (const auto& loop : uv)
        for (size_t i = 0; i < loop.size(); ++i) {
          const Pt &a = loop[i], &b = loop[(i + 1) % loop.size()];
          if ((a.y <= v) != (b.y <= v)) us.push_back(a.x + (v - a.y) / (b.y - a.y) * (b.x - a.x));
        }
      std::sort(us.begin(), us.end());
      for (size_t i = 0; i + 1 < us.size(); i += 2) {
        const AcGePoint3d from(us[i] * c - v * s, us[i] * s + v * c, z),
            to(us[i + 1] * c - v * s, us[i + 1] * s + v * c, z);
        m_painter.Line(level.toPixel.Map(from), level.toPixel.Map(to), pen);
      }
    }
  }

  Painter m_painter;
  uint32_t m_background;
  std::map<Adesk::IntPtr, LayerInfo> m_layers;
  std::map<std::wstring, long> m_leftOut;
  long m_parts = 0;
};

// What has been said on standard error about the open drawing, so that each reason is said once.
std::mutex g_saidMutex;
std::set<std::wstring>& Said() {
  static auto* said = new std::set<std::wstring>;  // guarded by g_saidMutex, never destroyed
  return *said;
}
const bool g_registered = (AddDrawingClosedHandler([] {
                             std::lock_guard<std::mutex> lock(g_saidMutex);
                             Said().clear();
                           }),
                           true);

void SayOnce(const std::vector<std::wstring>& leftOut) {
  std::lock_guard<std::mutex> lock(g_saidMutex);
  for (const std::wstring& line : leftOut) {
    const std::wstring reason = line.substr(line.find(L' ') + 1);
    if (Said().insert(reason).second)
      std::fprintf(stderr, "stand-in host: the drawing view leaves out %s\n", ToUtf8(line).c_str());
  }
}

// The cursor: a crosshair along the axes of the user coordinate system across the whole view
// (chosen: the host's crosshair at its full size) with the pick box at its centre.
void DrawCursor(Renderer& renderer, const Affine& view, double scale, int width, int height) {
  POINT pt{0, 0};
  CView* dwg = acedGetAcadDwgView();
  if (!GetCursorPos(&pt) || !dwg || !ScreenToClient(dwg->m_hWnd, &pt)) return;
  if (pt.x < 0 || pt.y < 0 || pt.x >= kDrawingViewWidth || pt.y >= kDrawingViewHeight) return;
  const Pt at{(pt.x - kDrawingViewWidth / 2.0) * scale + width / 2.0,
              (pt.y - kDrawingViewHeight / 2.0) * scale + height / 2.0};
  const Pen pen{renderer.Rgb(7), false, false};
  const Ucs ucs = CurrentUcs();
  const double reach = 2.0 * (width + height);
  for (const double* axis : {ucs.xAxis, ucs.yAxis}) {
    const double dx = view.m[0][0] * axis[0] + view.m[0][1] * axis[1] + view.m[0][2] * axis[2];
    const double dy = view.m[1][0] * axis[0] + view.m[1][1] * axis[1] + view.m[1][2] * axis[2];
    const double len = std::hypot(dx, dy);
    if (!(len > 1e-9 * view.Scale())) continue;
    renderer.DrawLine({at.x - dx / len * reach, at.y - dy / len * reach},
                      {at.x + dx / len * reach, at.y + dy / len * reach}, pen);
  }
  const double box = SysVarInt(L"PICKBOX", 3) * scale;
  const Pt corners[4] = {
      {at.x - box, at.y - box}, {at.x + box, at.y - box}, {at.x + box, at.y + box}, {at.x - box, at.y + box}};
  for (int i = 0; i < 4; ++i) renderer.DrawLine(corners[i], corners[(i + 1) % 4], pen);
}

}  // namespace

std::vector<uint8_t> Raster::Rgb() const {
  std::vector<uint8_t> out;
  out.reserve(pixels.size() * 3);
  for (uint32_t px : pixels) out.insert(out.end(), {uint8_t(px >> 16), uint8_t(px >> 8), uint8_t(px)});
  return out;
}

RenderResult RenderView(int width, int height) {
  RenderResult result;
  Raster& raster = result.raster;
  raster.width = std::max(width, 1);
  raster.height = std::max(height, 1);
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const int viewport = CurrentViewport();
  const bool paper = SysVarInt(L"TILEMODE", 1) == 0 && viewport == 1;
  const uint32_t background = paper ? 0xFFFFFF : 0x000000;
  raster.pixels.assign(static_cast<size_t>(raster.width) * raster.height, background);
  // The view's pixels of the drawing view through a linear map, scaled about its centre.
  const double scale = static_cast<double>(raster.height) / kDrawingViewHeight;
  Affine view;
  const double points[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  double px[4], py[4];
  for (int i = 0; i < 4; ++i)
    if (!WorldToPixel(viewport, points[i], px[i], py[i])) return result;
  for (int k = 0; k < 3; ++k) {
    view.m[0][k] = (px[k + 1] - px[0]) * scale;
    view.m[1][k] = (py[k + 1] - py[0]) * scale;
  }
  view.m[0][3] = (px[0] - kDrawingViewWidth / 2.0) * scale + raster.width / 2.0;
  view.m[1][3] = (py[0] - kDrawingViewHeight / 2.0) * scale + raster.height / 2.0;

  Renderer renderer(raster, background);
  Level level;
  level.toPixel = view;
  if (AcDbDatabase* db = WorkingDrawing())
    if (const auto* space = Peek<AcDbBlockTableRecord>(paper ? DbAccess::PaperSpace(db) : DbAccess::ModelSpace(db)))
      renderer.DrawSpace(space, level);

  for (const TempVector& v : TempVectors())
    if (v.viewport == viewport) {
      const Pen pen{renderer.Rgb(v.colour < 0 ? 7 : v.colour), v.highlighted, v.colour == -1};
      renderer.DrawLine(view.Map({v.from[0], v.from[1], v.from[2]}), view.Map({v.to[0], v.to[1], v.to[2]}), pen);
    }
  DragImage drag;
  if (CurrentDragImage(drag)) renderer.DrawDragImage(drag, level);
  JigImage jig;
  if (CurrentJigImage(jig)) {
    const Pen pen{renderer.Rgb(7), jig.dashed, false};
    for (size_t i = 0; i + 3 < jig.segments.size(); i += 4)
      renderer.DrawLine(view.Map({jig.segments[i], jig.segments[i + 1], 0}),
                        view.Map({jig.segments[i + 2], jig.segments[i + 3], 0}), pen);
  }
  DrawCursor(renderer, view, scale, raster.width, raster.height);
  result.leftOut = renderer.LeftOut();
  SayOnce(result.leftOut);
  return result;
}

bool WriteViewPng(const std::wstring& path, std::wstring& error, int width, int height) {
  const Raster raster = RenderView(width, height).raster;
  return WritePng(path, raster.width, raster.height, raster.Rgb().data(), &error);
}

}  // namespace standin
