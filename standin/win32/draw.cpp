// Drawing into a DC's bitmap as GDI draws: raster operations, the blit engine that maps source
// pixels onto the surface (stretching, mirroring, shrinking modes, monochrome conversions),
// pixels, cosmetic lines, rectangle fills and frames, pattern blits, opaque text rectangles,
// BitBlt and StretchBlt.
#include <wingdi.h>
#include <winuser.h>

#include <algorithm>
#include <utility>

#include "standin/win32/gdi_internal.h"

namespace standin::gdi {

namespace {

// The indices i in [0, n) for which start + step * i lies in [0, size), as [lo, hi).
void IndicesInside(int64_t start, int step, int64_t n, int64_t size, int64_t& lo, int64_t& hi) {
  if (step > 0) {
    lo = std::max<int64_t>(0, -start);
    hi = std::min<int64_t>(n, size - start);
  } else {
    lo = std::max<int64_t>(0, start - size + 1);
    hi = std::min<int64_t>(n, start + 1);
  }
}

// Clips a rectangle (right and bottom excluded) to the surface.
bool Clip(const Bitmap& s, int64_t& l, int64_t& t, int64_t& r, int64_t& b) {
  l = std::max<int64_t>(l, 0);
  t = std::max<int64_t>(t, 0);
  r = std::min<int64_t>(r, s.width);
  b = std::min<int64_t>(b, s.height);
  return l < r && t < b;
}

uint32_t Average(uint64_t r, uint64_t g, uint64_t b, uint64_t n) {
  return static_cast<uint32_t>(((r / n) << 16) | ((g / n) << 8) | (b / n));
}

}  // namespace

void FillArea(Bitmap& s, int64_t l, int64_t t, int64_t r, int64_t b, uint32_t xrgb) {
  if (!Clip(s, l, t, r, b)) return;
  const uint32_t px = s.Reduce(xrgb);
  for (int64_t y = t; y < b; ++y) std::fill_n(s.pixels.begin() + y * s.width + l, r - l, px);
}

bool RopUsesSource(DWORD rop) {
  const uint32_t code = (rop >> 16) & 0xFF;
  return ((code >> 2) & 0x33) != (code & 0x33);
}

bool RopUsesPattern(DWORD rop) {
  const uint32_t code = (rop >> 16) & 0xFF;
  return (code >> 4) != (code & 0x0F);
}

uint32_t Rop3(DWORD rop, uint32_t p, uint32_t s, uint32_t d) {
  const uint32_t code = (rop >> 16) & 0xFF;
  uint32_t out = 0;
  for (int index = 0; index < 8; ++index) {
    if (!((code >> index) & 1)) continue;
    out |= ((index & 4) ? p : ~p) & ((index & 2) ? s : ~s) & ((index & 1) ? d : ~d);
  }
  return out & 0xFFFFFF;
}

bool PatternOf(const DC& dc, HBRUSH hbr, DWORD rop, uint32_t& pattern) {
  const Brush* brush = FindAs<Brush>(hbr);
  const bool solid = brush && brush->style == BS_SOLID;
  if (RopUsesPattern(rop) && !solid) return false;
  pattern = solid ? ResolveColor(dc, brush->color) : 0;
  return true;
}

std::vector<AxisEntry> MapAxis(int64_t dstStart, int64_t dstExtent, int64_t srcStart, int64_t srcExtent,
                               int64_t surfaceSize, int64_t sourceSize, bool combine, int* srcStep) {
  std::vector<AxisEntry> out;
  *srcStep = srcExtent < 0 ? -1 : 1;
  if (dstExtent == 0 || srcExtent == 0) return out;
  const int64_t D = dstExtent < 0 ? -dstExtent : dstExtent;
  const int64_t S = srcExtent < 0 ? -srcExtent : srcExtent;
  const int dstStep = dstExtent < 0 ? -1 : 1;
  int64_t lo, hi;
  IndicesInside(dstStart, dstStep, D, surfaceSize, lo, hi);
  for (int64_t i = lo; i < hi; ++i) {
    const int64_t k0 = static_cast<int64_t>(static_cast<__int128>(i) * S / D);
    int64_t count = 1;
    if (combine && S > D) count = static_cast<int64_t>(static_cast<__int128>(i + 1) * S / D) - k0;
    const int64_t first = srcStart + *srcStep * k0;
    int64_t src, n;
    if (*srcStep > 0) {
      const int64_t a = std::max<int64_t>(first, 0), b = std::min<int64_t>(first + count, sourceSize);
      if (a >= b) continue;
      src = a;
      n = b - a;
    } else {
      const int64_t a = std::min<int64_t>(first, sourceSize - 1), b = std::max<int64_t>(first - count + 1, 0);
      if (a < b) continue;
      src = a;
      n = a - b + 1;
    }
    out.push_back({static_cast<int>(dstStart + dstStep * i), src, n});
  }
  return out;
}

void Blit(DC& dc, const std::vector<AxisEntry>& cols, int colStep, const std::vector<AxisEntry>& rows, int rowStep,
          const PixelSource& src, COLORREF srcBk, DWORD rop) {
  Bitmap* s = SurfaceOf(dc);
  if (!s) return;
  uint32_t pattern;
  if (!PatternOf(dc, dc.brush, rop, pattern)) return;
  const bool srcMono = src.Monochrome(), dstMono = s->bpp == 1;
  const uint32_t fg = ResolveColor(dc, dc.textColor), bg = ResolveColor(dc, dc.bkColor);
  const uint32_t srcBkPixel = srcBk == CLR_INVALID ? 0xFFFFFFFF : ToPixel(srcBk & 0xFFFFFF);
  const int mode = dc.stretchMode;
  for (const AxisEntry& row : rows) {
    for (const AxisEntry& col : cols) {
      uint32_t px;
      if (row.count == 1 && col.count == 1) {
        px = src.At(col.src, row.src);
      } else {
        uint32_t andAll = 0xFFFFFF, orAll = 0;
        uint64_t r = 0, g = 0, b = 0, n = 0;
        for (int64_t j = 0; j < row.count; ++j)
          for (int64_t i = 0; i < col.count; ++i) {
            const uint32_t v = src.At(col.src + colStep * i, row.src + rowStep * j);
            andAll &= v;
            orAll |= v;
            r += (v >> 16) & 0xFF;
            g += (v >> 8) & 0xFF;
            b += v & 0xFF;
            ++n;
          }
        px = mode == WHITEONBLACK ? orAll : mode == HALFTONE ? Average(r, g, b, n) : andAll;
      }
      if (srcMono && !dstMono)
        px = px ? bg : fg;  // monochrome sources: 0 bits take the text colour, 1 bits the background
      else if (!srcMono && dstMono && srcBkPixel != 0xFFFFFFFF)
        px = px == srcBkPixel ? 0xFFFFFF : 0;  // the source's background colour becomes white
      if (rop != SRCCOPY) px = Rop3(rop, pattern, px, s->At(col.dst, row.dst));
      s->Put(col.dst, row.dst, px);
    }
  }
}

}  // namespace standin::gdi

using namespace standin::gdi;

namespace {

class BitmapSource : public PixelSource {
 public:
  explicit BitmapSource(const Bitmap& b, bool snapshot) : m_b(b) {
    if (snapshot) m_copy = b.pixels;
  }
  int64_t Width() const override { return m_b.width; }
  int64_t Height() const override { return m_b.height; }
  uint32_t At(int64_t x, int64_t row) const override {
    const size_t i = static_cast<size_t>(row) * m_b.width + static_cast<size_t>(x);
    return m_copy.empty() ? m_b.pixels[i] : m_copy[i];
  }
  bool Monochrome() const override { return m_b.bpp == 1; }

 private:
  const Bitmap& m_b;
  std::vector<uint32_t> m_copy;
};

// Applies a raster operation that takes no source to a rectangle.
BOOL PatternBlt(DC& dc, HBRUSH hbr, int64_t l, int64_t t, int64_t r, int64_t b, DWORD rop) {
  Bitmap* s = SurfaceOf(dc);
  if (!s) return FALSE;
  uint32_t p;
  if (!PatternOf(dc, hbr, rop, p)) return TRUE;  // a null brush paints nothing
  if (!Clip(*s, l, t, r, b)) return TRUE;
  if (rop == PATCOPY) {
    FillArea(*s, l, t, r, b, p);
    return TRUE;
  }
  for (int64_t y = t; y < b; ++y)
    for (int64_t x = l; x < r; ++x) {
      const int xi = static_cast<int>(x), yi = static_cast<int>(y);
      s->Put(xi, yi, Rop3(rop, p, 0, s->At(xi, yi)));
    }
  return TRUE;
}

// The same over a corner and extents of either sign, with the DC's brush.
BOOL PatternBlt(DC& dc, int x, int y, int w, int h, DWORD rop) {
  int64_t l = x, t = y, r = int64_t{x} + w, b = int64_t{y} + h;
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  return PatternBlt(dc, dc.brush, l, t, r, b, rop);
}

// Pixels of a line from (x0, y0) up to (x1, y1) exclusive, as GDI's cosmetic pens draw them.
void DrawLine(Bitmap& s, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t xrgb) {
  const int64_t dx = x1 - x0, dy = y1 - y0;
  const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  if (adx == 0 && ady == 0) return;
  const bool xMajor = adx >= ady;
  const int64_t n = xMajor ? adx : ady;
  const int64_t m = xMajor ? ady : adx;
  const int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
  const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t majorSize = xMajor ? s.width : s.height, minorSize = xMajor ? s.height : s.width;
  int64_t lo, hi;
  IndicesInside(major0, majorStep, n, majorSize, lo, hi);
  if (lo >= hi) return;
  // The minor offset of step i is the nearest pixel, exact halves towards the start:
  // (2im + n - 1) / 2n rounded down, carried from step to step as quotient and remainder
  // (coordinates are ints, so 2n and 2m fit 64 bits).
  const __int128 firstNumerator = static_cast<__int128>(2) * lo * m + n - 1;
  const int64_t twoN = 2 * n, twoM = 2 * m;
  int64_t q = static_cast<int64_t>(firstNumerator / twoN);
  int64_t r = static_cast<int64_t>(firstNumerator % twoN);
  const uint32_t px = s.Reduce(xrgb);
  const int64_t majorStride = xMajor ? 1 : s.width, minorStride = xMajor ? s.width : 1;
  uint32_t* const pixels = s.pixels.data();
  for (int64_t i = lo; i < hi; ++i) {
    const int64_t minor = minor0 + minorStep * q;
    if (minor >= 0 && minor < minorSize) pixels[(major0 + majorStep * i) * majorStride + minor * minorStride] = px;
    r += twoM;
    if (r >= twoN) {
      r -= twoN;
      ++q;
    }
  }
}

}  // namespace

// --- Drawing ---

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  const Lock lock;
  const auto [dc, s] = FindTarget(hdc);
  if (!s || !s->Contains(x, y)) return CLR_INVALID;
  s->Put(x, y, ResolveColor(*dc, color));
  return ToColorRef(s->At(x, y));
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  const Lock lock;
  const auto [dc, s] = FindTarget(hdc);
  if (!s || !s->Contains(x, y)) return CLR_INVALID;
  return ToColorRef(s->At(x, y));
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  const Lock lock;
  DC* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->position;
  dc->position = {x, y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT lppt) {
  const Lock lock;
  const DC* dc = FindDC(hdc);
  if (!dc || !lppt) return FALSE;
  *lppt = dc->position;
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  const Lock lock;
  const auto [dc, s] = FindTarget(hdc);
  if (!s) return FALSE;
  const Pen* pen = FindAs<Pen>(dc->pen);
  if (pen && pen->style != PS_NULL) DrawLine(*s, dc->position.x, dc->position.y, x, y, ResolveColor(*dc, pen->color));
  dc->position = {x, y};
  return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* apt, const DWORD* asz, DWORD csz) {
  const Lock lock;
  const auto [dc, s] = FindTarget(hdc);
  if (!s || !apt || !asz) return FALSE;
  for (DWORD i = 0; i < csz; ++i)
    if (asz[i] < 2) return Refuse(FALSE, ERROR_INVALID_PARAMETER);
  const Pen* pen = FindAs<Pen>(dc->pen);
  if (!pen || pen->style == PS_NULL) return TRUE;
  const uint32_t color = ResolveColor(*dc, pen->color);
  for (DWORD i = 0; i < csz; apt += asz[i++])
    for (DWORD k = 1; k < asz[i]; ++k) DrawLine(*s, apt[k - 1].x, apt[k - 1].y, apt[k].x, apt[k].y, color);
  return TRUE;
}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  const Lock lock;
  DC* dc = FindDC(hDC);
  if (!dc || !lprc || !FindAs<Brush>(hbr)) return 0;
  return PatternBlt(*dc, hbr, lprc->left, lprc->top, lprc->right, lprc->bottom, PATCOPY);
}

int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  const Lock lock;
  DC* dc = FindDC(hDC);
  if (!dc || !lprc || !FindAs<Brush>(hbr)) return 0;
  const RECT r = *lprc;
  if (r.right < r.left || r.bottom < r.top) return 0;
  PatternBlt(*dc, hbr, r.left, r.top, r.right, int64_t{r.top} + 1, PATCOPY);
  PatternBlt(*dc, hbr, r.left, int64_t{r.bottom} - 1, r.right, r.bottom, PATCOPY);
  PatternBlt(*dc, hbr, r.left, r.top, int64_t{r.left} + 1, r.bottom, PATCOPY);
  PatternBlt(*dc, hbr, int64_t{r.right} - 1, r.top, r.right, r.bottom, PATCOPY);
  return 1;
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  const Lock lock;
  DC* dc = FindDC(hdc);
  if (!dc || RopUsesSource(rop)) return FALSE;
  return PatternBlt(*dc, x, y, w, h, rop);
}

BOOL ExtTextOutW(HDC hdc, int, int, UINT options, const RECT* lprect, LPCWSTR, UINT c, const INT*) {
  const Lock lock;
  const auto [dc, s] = FindTarget(hdc);
  if (!s) return FALSE;
  if ((options & ETO_OPAQUE) && lprect) {
    const int64_t l = std::min(lprect->left, lprect->right), r = std::max(lprect->left, lprect->right);
    const int64_t t = std::min(lprect->top, lprect->bottom), b = std::max(lprect->top, lprect->bottom);
    FillArea(*s, l, t, r, b, ResolveColor(*dc, dc->bkColor));
  }
  if (c > 0) {
    Unsupported("drawing text");
    return Refuse(FALSE, ERROR_CALL_NOT_IMPLEMENTED);
  }
  return TRUE;
}

// --- Blits ---

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  return StretchBlt(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop) {
  const Lock lock;
  const auto [dc, s] = FindTarget(hdcDest);
  if (!s) return Refuse(FALSE, ERROR_INVALID_HANDLE);
  if (!RopUsesSource(rop)) return PatternBlt(*dc, xDest, yDest, wDest, hDest, rop);
  const auto [srcDC, src] = FindTarget(hdcSrc);
  if (!src) return Refuse(FALSE, ERROR_INVALID_HANDLE);
  const bool combine = dc->stretchMode != COLORONCOLOR;
  int colStep, rowStep;
  const auto cols = MapAxis(xDest, wDest, xSrc, wSrc, s->width, src->width, combine, &colStep);
  const auto rows = MapAxis(yDest, hDest, ySrc, hSrc, s->height, src->height, combine, &rowStep);
  BitmapSource source(*src, src == s);
  Blit(*dc, cols, colStep, rows, rowStep, source, srcDC->bkColor, rop);
  return TRUE;
}
