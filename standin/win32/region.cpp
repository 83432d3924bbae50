// GDI's regions as polygons: the pixels whose centres lie inside by the fill mode's rule,
// filling them, testing points and their bounding box.
#include <wingdi.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "standin/win32/gdi_internal.h"
#include "standin/win32/globalmem.h"

using namespace standin::gdi;

namespace {

using Crossing = std::pair<double, int>;  // x, and +1 where the edge goes down, -1 up

// Where the polygon's edges cross the horizontal line at yc; an edge reaches from its upper end
// (included) to its lower end (excluded).
void CrossingsAt(const Region& rgn, double yc, std::vector<Crossing>& out) {
  out.clear();
  const size_t n = rgn.points.size();
  for (size_t i = 0; i < n; ++i) {
    const POINT& a = rgn.points[i];
    const POINT& b = rgn.points[(i + 1) % n];
    if (a.y == b.y) continue;
    const double ya = a.y, yb = b.y;
    if (yc < std::min(ya, yb) || yc >= std::max(ya, yb)) continue;
    out.emplace_back(a.x + (yc - ya) * (static_cast<double>(b.x) - a.x) / (yb - ya), b.y > a.y ? 1 : -1);
  }
}

// Whether the point (xc, yc) lies inside the polygon by its fill mode.
bool Inside(const Region& rgn, double xc, double yc) {
  std::vector<Crossing> crossings;
  CrossingsAt(rgn, yc, crossings);
  int winding = 0, right = 0;
  for (const auto& [x, direction] : crossings) {
    if (x <= xc) continue;
    ++right;
    winding += direction;
  }
  return rgn.mode == WINDING ? winding != 0 : (right & 1) != 0;
}

void FillRegion(Bitmap& s, const Region& rgn, uint32_t xrgb) {
  const size_t n = rgn.points.size();
  if (n < 3) return;
  int64_t minY = rgn.points[0].y, maxY = rgn.points[0].y;
  for (const POINT& p : rgn.points) {
    minY = std::min<int64_t>(minY, p.y);
    maxY = std::max<int64_t>(maxY, p.y);
  }
  const int64_t top = std::max<int64_t>(minY - 1, 0), bottom = std::min<int64_t>(maxY + 1, s.height);
  std::vector<Crossing> crossings;
  for (int64_t y = top; y < bottom; ++y) {
    CrossingsAt(rgn, static_cast<double>(y) + 0.5, crossings);
    std::sort(crossings.begin(), crossings.end());
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].second;
      const bool inside = rgn.mode == WINDING ? winding != 0 : (i % 2) == 0;
      if (!inside) continue;
      // Pixels whose centre x + 0.5 lies in [xa, xb).
      const double xa = std::max(crossings[i].first, -1.0), xb = std::min(crossings[i + 1].first, s.width + 1.0);
      const int64_t first = static_cast<int64_t>(std::ceil(xa - 0.5));
      const int64_t last = static_cast<int64_t>(std::ceil(xb - 0.5));
      FillArea(s, first, y, last, y + 1, xrgb);
    }
  }
}

}  // namespace

HRGN CreatePolygonRgn(const POINT* pptl, int cPoint, int iMode) {
  const Lock lock;
  if ((iMode != ALTERNATE && iMode != WINDING) || cPoint < 0 || (cPoint > 0 && !pptl) ||
      (pptl && standin::GlobalBytesAvailable(pptl) < sizeof(POINT) * static_cast<size_t>(cPoint)))
    return Refuse<HRGN>(nullptr, ERROR_INVALID_PARAMETER);
  auto region = std::make_unique<Region>();
  region->mode = iMode;
  if (cPoint >= 3) region->points.assign(pptl, pptl + cPoint);
  return static_cast<HRGN>(Register(std::move(region)));
}

HRGN CreateRectRgn(int x1, int y1, int x2, int y2) {
  const Lock lock;
  auto region = std::make_unique<Region>();
  const LONG l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
  if (l < r && t < b) region->points = {{l, t}, {r, t}, {r, b}, {l, b}};
  return static_cast<HRGN>(Register(std::move(region)));
}

BOOL FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr) {
  const Lock lock;
  const auto [dc, s] = FindTarget(hdc);
  const Region* rgn = FindAs<Region>(hrgn);
  const Brush* brush = FindAs<Brush>(hbr);
  if (!s || !rgn || !brush) return Refuse(FALSE, ERROR_INVALID_HANDLE);
  if (brush->style == BS_SOLID) FillRegion(*s, *rgn, ResolveColor(*dc, brush->color));
  return TRUE;
}

BOOL PtInRegion(HRGN hrgn, int x, int y) {
  const Lock lock;
  const Region* rgn = FindAs<Region>(hrgn);
  return rgn && rgn->points.size() >= 3 && Inside(*rgn, x + 0.5, y + 0.5);
}

// The box of the polygon's corners (chosen), right and bottom excluded.
int GetRgnBox(HRGN hrgn, LPRECT lprc) {
  const Lock lock;
  const Region* rgn = FindAs<Region>(hrgn);
  if (!rgn || !lprc) return 0;
  if (rgn->points.empty()) {
    *lprc = {0, 0, 0, 0};
    return NULLREGION;
  }
  RECT box = {rgn->points[0].x, rgn->points[0].y, rgn->points[0].x, rgn->points[0].y};
  for (const POINT& p : rgn->points) {
    box.left = std::min(box.left, p.x);
    box.top = std::min(box.top, p.y);
    box.right = std::max(box.right, p.x);
    box.bottom = std::max(box.bottom, p.y);
  }
  *lprc = box;
  return rgn->points.size() == 4 && rgn->points[0].y == rgn->points[1].y && rgn->points[1].x == rgn->points[2].x &&
                 rgn->points[2].y == rgn->points[3].y && rgn->points[3].x == rgn->points[0].x
             ? SIMPLEREGION
             : COMPLEXREGION;
}
