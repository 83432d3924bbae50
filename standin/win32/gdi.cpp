// Just enough of Win32 GDI, behaving as GDI does, for painting previews headless: device
// contexts, GDI objects, palettes, regions and drawing into real rasters. DIBs are in dib.cpp.
#include <wingdi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <unordered_map>

#include "standin/win32/gdi_internal.h"
#include "standin/win32/globalmem.h"

namespace standin::gdi {

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// A DDB larger than this many pixels fails with ERROR_NOT_ENOUGH_MEMORY (chosen).
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 26;

struct Table {
  std::unordered_map<HGDIOBJ, std::unique_ptr<Object>> objects;
  HGDIOBJ stock[DEFAULT_PALETTE + 1] = {};
  HBITMAP stockBitmap = nullptr;  // the 1 by 1 monochrome bitmap of new memory DCs
  HBITMAP screen = nullptr;
};

Table& TheTable() {
  static Table* table = new Table;  // GDI objects may outlive every other static
  return *table;
}

HGDIOBJ Register(std::unique_ptr<Object> object) {
  HGDIOBJ handle = object.get();
  TheTable().objects.emplace(handle, std::move(object));
  return handle;
}

void Destroy(HGDIOBJ h) { TheTable().objects.erase(h); }

std::unique_ptr<Bitmap> MakeBitmap(int width, int height, int bpp) {
  auto bitmap = std::make_unique<Bitmap>();
  bitmap->width = width;
  bitmap->height = height;
  bitmap->bpp = bpp;
  // A new DDB is black, as on Windows.
  bitmap->pixels.assign(static_cast<size_t>(width) * height, 0);
  return bitmap;
}

HGDIOBJ Stock(int index) {
  Table& t = TheTable();
  if (index < 0 || index > DEFAULT_PALETTE) return nullptr;
  if (t.stock[index]) return t.stock[index];
  std::unique_ptr<Object> object;
  auto brush = [](UINT style, COLORREF color) {
    auto b = std::make_unique<Brush>();
    b->style = style;
    b->color = color;
    return b;
  };
  auto pen = [](UINT style, COLORREF color) {
    auto p = std::make_unique<Pen>();
    p->style = style;
    p->color = color;
    return p;
  };
  switch (index) {
    case WHITE_BRUSH:
      object = brush(BS_SOLID, RGB(255, 255, 255));
      break;
    case LTGRAY_BRUSH:
      object = brush(BS_SOLID, RGB(192, 192, 192));
      break;
    case GRAY_BRUSH:
      object = brush(BS_SOLID, RGB(128, 128, 128));
      break;
    case DKGRAY_BRUSH:
      object = brush(BS_SOLID, RGB(64, 64, 64));
      break;
    case BLACK_BRUSH:
      object = brush(BS_SOLID, RGB(0, 0, 0));
      break;
    case NULL_BRUSH:
      object = brush(BS_NULL, 0);
      break;
    case WHITE_PEN:
      object = pen(PS_SOLID, RGB(255, 255, 255));
      break;
    case BLACK_PEN:
      object = pen(PS_SOLID, RGB(0, 0, 0));
      break;
    case NULL_PEN:
      object = pen(PS_NULL, 0);
      break;
    case DEFAULT_PALETTE: {
      auto palette = std::make_unique<Palette>();
      const std::vector<uint32_t>& table = DefaultColorTable(8);
      for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 246, 247, 248, 249, 250, 251, 252, 253, 254, 255}) {
        const uint32_t c = table[i];
        palette->entries.push_back({static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c), 0});
      }
      object = std::move(palette);
      break;
    }
    default:
      return nullptr;
  }
  object->stock = true;
  t.stock[index] = Register(std::move(object));
  return t.stock[index];
}

HBITMAP StockBitmap() {
  Table& t = TheTable();
  if (!t.stockBitmap) {
    auto bitmap = MakeBitmap(1, 1, 1);
    bitmap->stock = true;
    t.stockBitmap = static_cast<HBITMAP>(Register(std::move(bitmap)));
  }
  return t.stockBitmap;
}

HBITMAP ScreenBitmap() {
  Table& t = TheTable();
  if (!t.screen) {
    auto bitmap = MakeBitmap(kScreenWidth, kScreenHeight, 32);
    bitmap->stock = true;
    t.screen = static_cast<HBITMAP>(Register(std::move(bitmap)));
  }
  return t.screen;
}

void Select(HGDIOBJ h) {
  if (Object* o = Find(h)) ++o->selections;
}

void Deselect(HGDIOBJ h, HDC from) {
  Object* o = Find(h);
  if (!o) return;
  --o->selections;
  if (o->kind == Kind::Bitmap) {
    auto* b = static_cast<Bitmap*>(o);
    if (b->selectedInto == from) b->selectedInto = nullptr;
  }
  if (o->deletePending && o->selections <= 0) Destroy(h);
}

void ReleaseObjects(HDC hdc, DC& dc) {
  for (HGDIOBJ h : {static_cast<HGDIOBJ>(dc.bitmap), static_cast<HGDIOBJ>(dc.pen), static_cast<HGDIOBJ>(dc.brush),
                    static_cast<HGDIOBJ>(dc.palette)})
    Deselect(h, hdc);
}

HDC NewDC(bool memory, HBITMAP bitmap) {
  auto dc = std::make_unique<DC>();
  dc->memory = memory;
  dc->bitmap = bitmap;
  dc->pen = static_cast<HPEN>(Stock(BLACK_PEN));
  dc->brush = static_cast<HBRUSH>(Stock(WHITE_BRUSH));
  dc->palette = static_cast<HPALETTE>(Stock(DEFAULT_PALETTE));
  HDC handle = static_cast<HDC>(Register(std::move(dc)));
  for (HGDIOBJ h : {static_cast<HGDIOBJ>(bitmap), static_cast<HGDIOBJ>(FindDC(handle)->pen),
                    static_cast<HGDIOBJ>(FindDC(handle)->brush), static_cast<HGDIOBJ>(FindDC(handle)->palette)})
    Select(h);
  return handle;
}

// Clips a rectangle (right and bottom excluded) to the surface.
bool Clip(const Bitmap& s, int64_t& l, int64_t& t, int64_t& r, int64_t& b) {
  l = std::max<int64_t>(l, 0);
  t = std::max<int64_t>(t, 0);
  r = std::min<int64_t>(r, s.width);
  b = std::min<int64_t>(b, s.height);
  return l < r && t < b;
}

void FillArea(Bitmap& s, int64_t l, int64_t t, int64_t r, int64_t b, uint32_t xrgb) {
  if (!Clip(s, l, t, r, b)) return;
  for (int64_t y = t; y < b; ++y)
    for (int64_t x = l; x < r; ++x) s.Put(static_cast<int>(x), static_cast<int>(y), xrgb);
}

// Applies a raster operation that takes no source to a rectangle.
BOOL PatternBlt(DC& dc, HBRUSH hbr, int64_t l, int64_t t, int64_t r, int64_t b, DWORD rop) {
  Bitmap* s = SurfaceOf(dc);
  if (!s) return FALSE;
  const Brush* brush = FindAs<Brush>(hbr, Kind::Brush);
  if (RopUsesPattern(rop) && (!brush || brush->style != BS_SOLID)) return TRUE;  // a null brush paints nothing
  const uint32_t p = brush ? ResolveColor(dc, brush->color) : 0;
  if (!Clip(*s, l, t, r, b)) return TRUE;
  for (int64_t y = t; y < b; ++y)
    for (int64_t x = l; x < r; ++x) {
      const int xi = static_cast<int>(x), yi = static_cast<int>(y);
      s->Put(xi, yi, rop == PATCOPY ? p : Rop3(rop, p, 0, s->At(xi, yi)));
    }
  return TRUE;
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
  if (majorStep > 0) {
    lo = std::max<int64_t>(0, -major0);
    hi = std::min<int64_t>(n, majorSize - major0);
  } else {
    lo = std::max<int64_t>(0, major0 - majorSize + 1);
    hi = std::min<int64_t>(n, major0 + 1);
  }
  for (int64_t i = lo; i < hi; ++i) {
    // The minor offset rounded to the nearest pixel; exact halves go towards the start.
    const int64_t q = static_cast<int64_t>((static_cast<__int128>(2) * i * m + n - 1) / (static_cast<__int128>(2) * n));
    const int64_t major = major0 + majorStep * i;
    const int64_t minor = minor0 + minorStep * q;
    if (minor < 0 || minor >= minorSize) continue;
    if (xMajor)
      s.Put(static_cast<int>(major), static_cast<int>(minor), xrgb);
    else
      s.Put(static_cast<int>(minor), static_cast<int>(major), xrgb);
  }
}

// Whether the centre of pixel (x, y) lies inside the polygon by its fill mode.
bool Inside(const Region& rgn, double xc, double yc) {
  int winding = 0, crossings = 0;
  const size_t n = rgn.points.size();
  for (size_t i = 0; i < n; ++i) {
    const POINT& a = rgn.points[i];
    const POINT& b = rgn.points[(i + 1) % n];
    if (a.y == b.y) continue;
    const double ya = a.y, yb = b.y;
    if (yc < std::min(ya, yb) || yc >= std::max(ya, yb)) continue;
    const double x = a.x + (yc - ya) * (static_cast<double>(b.x) - a.x) / (yb - ya);
    if (x > xc) {
      ++crossings;
      winding += b.y > a.y ? 1 : -1;
    }
  }
  return rgn.mode == WINDING ? winding != 0 : (crossings & 1) != 0;
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
  std::vector<std::pair<double, int>> crossings;
  for (int64_t y = top; y < bottom; ++y) {
    const double yc = static_cast<double>(y) + 0.5;
    crossings.clear();
    for (size_t i = 0; i < n; ++i) {
      const POINT& a = rgn.points[i];
      const POINT& b = rgn.points[(i + 1) % n];
      if (a.y == b.y) continue;
      const double ya = a.y, yb = b.y;
      if (yc < std::min(ya, yb) || yc >= std::max(ya, yb)) continue;
      crossings.emplace_back(a.x + (yc - ya) * (static_cast<double>(b.x) - a.x) / (yb - ya), b.y > a.y ? 1 : -1);
    }
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

uint32_t Average(uint64_t r, uint64_t g, uint64_t b, uint64_t n) {
  return static_cast<uint32_t>(((r / n) << 16) | ((g / n) << 8) | (b / n));
}

}  // namespace

std::recursive_mutex& Mutex() {
  static std::recursive_mutex* mutex = new std::recursive_mutex;
  return *mutex;
}

Object* Find(HGDIOBJ h) {
  if (!h) return nullptr;
  Table& t = TheTable();
  auto it = t.objects.find(h);
  return it == t.objects.end() ? nullptr : it->second.get();
}

Bitmap* SurfaceOf(const DC& dc) { return FindBitmap(dc.bitmap); }

uint32_t ResolveColor(const DC& dc, COLORREF color) {
  if ((color >> 24) == 0x01) {
    const Palette* pal = FindAs<Palette>(dc.palette, Kind::Palette);
    const size_t index = color & 0xFFFF;
    if (!pal || pal->entries.empty()) return 0;
    // An index past the palette's end takes its first entry (chosen).
    const PALETTEENTRY& e = pal->entries[index < pal->entries.size() ? index : 0];
    return (static_cast<uint32_t>(e.peRed) << 16) | (static_cast<uint32_t>(e.peGreen) << 8) | e.peBlue;
  }
  return ToPixel(color & 0xFFFFFF);
}

const std::vector<uint32_t>& DefaultColorTable(int bpp) {
  static const std::vector<uint32_t> mono = {0x000000, 0xFFFFFF};
  static const std::vector<uint32_t> vga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                            0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                            0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  static const std::vector<uint32_t> table256 = [] {
    std::vector<uint32_t> t(256, 0);
    const uint32_t low[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                              0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
    const uint32_t high[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                               0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < 10; ++i) {
      t[i] = low[i];
      t[246 + i] = high[i];
    }
    for (int i = 0; i < 216; ++i) {
      const uint32_t r = (i / 36) * 51, g = (i / 6 % 6) * 51, b = (i % 6) * 51;
      t[10 + i] = (r << 16) | (g << 8) | b;
    }
    for (int i = 0; i < 20; ++i) {
      const uint32_t v = static_cast<uint32_t>((i + 1) * 255 / 21);
      t[226 + i] = (v << 16) | (v << 8) | v;
    }
    return t;
  }();
  return bpp <= 1 ? mono : bpp <= 4 ? vga : table256;
}

int NearestIndex(const std::vector<uint32_t>& table, uint32_t xrgb) {
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (size_t i = 0; i < table.size(); ++i) {
    const int64_t dr = static_cast<int64_t>((table[i] >> 16) & 0xFF) - ((xrgb >> 16) & 0xFF);
    const int64_t dg = static_cast<int64_t>((table[i] >> 8) & 0xFF) - ((xrgb >> 8) & 0xFF);
    const int64_t db = static_cast<int64_t>(table[i] & 0xFF) - (xrgb & 0xFF);
    const int64_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
    }
  }
  return best;
}

uint32_t Bitmap::Reduce(uint32_t xrgb) const {
  xrgb &= 0xFFFFFF;
  switch (bpp) {
    case 1: {
      // A colour is white on a monochrome bitmap when its intensity is at least half (chosen).
      const uint32_t intensity = (((xrgb >> 16) & 0xFF) * 299 + ((xrgb >> 8) & 0xFF) * 587 + (xrgb & 0xFF) * 114);
      return intensity >= 128 * 1000 ? 0xFFFFFF : 0;
    }
    case 4:
    case 8: {
      const std::vector<uint32_t>& table = DefaultColorTable(bpp);
      return table[NearestIndex(table, xrgb)];
    }
    case 16: {
      uint32_t out = 0;
      for (int shift : {16, 8, 0}) {
        const uint32_t v = (xrgb >> (shift + 3)) & 0x1F;
        out |= ((v << 3) | (v >> 2)) << shift;
      }
      return out;
    }
    default:
      return xrgb;
  }
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

std::vector<AxisEntry> MapAxis(int64_t dstStart, int64_t dstExtent, int64_t srcStart, int64_t srcExtent,
                               int64_t surfaceSize, int64_t sourceSize, bool combine, int* srcStep) {
  std::vector<AxisEntry> out;
  *srcStep = srcExtent < 0 ? -1 : 1;
  if (dstExtent == 0 || srcExtent == 0) return out;
  const int64_t D = dstExtent < 0 ? -dstExtent : dstExtent;
  const int64_t S = srcExtent < 0 ? -srcExtent : srcExtent;
  const int dstStep = dstExtent < 0 ? -1 : 1;
  int64_t lo, hi;
  if (dstStep > 0) {
    lo = std::max<int64_t>(0, -dstStart);
    hi = std::min<int64_t>(D, surfaceSize - dstStart);
  } else {
    lo = std::max<int64_t>(0, dstStart - surfaceSize + 1);
    hi = std::min<int64_t>(D, dstStart + 1);
  }
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
  const Brush* brush = FindAs<Brush>(dc.brush, Kind::Brush);
  const bool hasPattern = brush && brush->style == BS_SOLID;
  if (RopUsesPattern(rop) && !hasPattern) return;
  const uint32_t pattern = hasPattern ? ResolveColor(dc, brush->color) : 0;
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

void Unsupported(const char* what) {
  static std::set<std::string>* said = new std::set<std::string>;
  if (said->insert(what).second) std::fprintf(stderr, "GDI stand-in: %s is not supported\n", what);
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

#define GDI_LOCK std::lock_guard<std::recursive_mutex> gdiLock(Mutex())

}  // namespace

// --- Device contexts ---

HDC CreateCompatibleDC(HDC hdc) {
  GDI_LOCK;
  if (hdc && !FindDC(hdc)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return NewDC(true, StockBitmap());
}

BOOL DeleteDC(HDC hdc) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  ReleaseObjects(hdc, *dc);
  Destroy(hdc);
  return TRUE;
}

HDC GetDC(HWND hWnd) {
  GDI_LOCK;
  if (hWnd) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return NewDC(false, ScreenBitmap());
}

int ReleaseDC(HWND hWnd, HDC hDC) {
  GDI_LOCK;
  DC* dc = FindDC(hDC);
  if (hWnd || !dc || dc->memory) return 0;
  ReleaseObjects(hDC, *dc);
  Destroy(hDC);
  return 1;
}

int GetDeviceCaps(HDC hdc, int index) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc) return 0;
  const Bitmap* s = SurfaceOf(*dc);
  const bool mono = dc->memory && s && s->bpp == 1;
  switch (index) {
    case HORZRES:
      return kScreenWidth;
    case VERTRES:
      return kScreenHeight;
    case BITSPIXEL:
      return mono ? 1 : 32;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_DI_BITMAP | RC_STRETCHBLT | RC_STRETCHDIB;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case SIZEPALETTE:
    case NUMRESERVED:
      return 0;
    case COLORRES:
      return 24;
    default:
      return 0;
  }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return dc->pen;
    case OBJ_BRUSH:
      return dc->brush;
    case OBJ_PAL:
      return dc->palette;
    case OBJ_BITMAP:
      return dc->bitmap;
    default:
      return nullptr;
  }
}

DWORD GetObjectType(HGDIOBJ h) {
  GDI_LOCK;
  Object* o = Find(h);
  if (!o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (o->kind) {
    case Kind::Pen:
      return OBJ_PEN;
    case Kind::Brush:
      return OBJ_BRUSH;
    case Kind::Bitmap:
      return OBJ_BITMAP;
    case Kind::Palette:
      return OBJ_PAL;
    case Kind::Region:
      return OBJ_REGION;
    case Kind::DC:
      return static_cast<DC*>(o)->memory ? OBJ_MEMDC : OBJ_DC;
  }
  return 0;
}

#define DC_FIELD_ACCESSORS(Set, Get, Type, field, bad) \
  Type Set(HDC hdc, Type value) {                      \
    GDI_LOCK;                                          \
    DC* dc = FindDC(hdc);                              \
    if (!dc) return bad;                               \
    const Type previous = dc->field;                   \
    dc->field = value;                                 \
    return previous;                                   \
  }                                                    \
  Type Get(HDC hdc) {                                  \
    GDI_LOCK;                                          \
    DC* dc = FindDC(hdc);                              \
    return dc ? dc->field : bad;                       \
  }

DC_FIELD_ACCESSORS(SetBkColor, GetBkColor, COLORREF, bkColor, CLR_INVALID)
DC_FIELD_ACCESSORS(SetTextColor, GetTextColor, COLORREF, textColor, CLR_INVALID)

int SetBkMode(HDC hdc, int mode) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = dc->bkMode;
  dc->bkMode = mode;
  return previous;
}

int GetBkMode(HDC hdc) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  return dc ? dc->bkMode : 0;
}

int SetStretchBltMode(HDC hdc, int mode) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc || mode < BLACKONWHITE || mode > HALFTONE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int previous = dc->stretchMode;
  dc->stretchMode = mode;
  return previous;
}

int GetStretchBltMode(HDC hdc) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  return dc ? dc->stretchMode : 0;
}

// --- Objects ---

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  Object* o = Find(h);
  if (!dc || !o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HGDIOBJ previous = nullptr;
  switch (o->kind) {
    case Kind::Pen:
      previous = dc->pen;
      dc->pen = static_cast<HPEN>(h);
      break;
    case Kind::Brush:
      previous = dc->brush;
      dc->brush = static_cast<HBRUSH>(h);
      break;
    case Kind::Bitmap: {
      auto* b = static_cast<Bitmap*>(o);
      if (!dc->memory || (b->bpp != 1 && b->bpp != 32)) return nullptr;
      if (!b->stock && b->selectedInto && b->selectedInto != hdc) return nullptr;
      if (!b->stock) b->selectedInto = hdc;
      previous = dc->bitmap;
      dc->bitmap = static_cast<HBITMAP>(h);
      break;
    }
    case Kind::Region:
      Unsupported("selecting a clipping region");
      return HGDI_ERROR;
    case Kind::Palette:  // palettes go through SelectPalette
    case Kind::DC:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
  if (previous == h) return previous;
  Select(h);
  Deselect(previous, hdc);
  return previous;
}

BOOL DeleteObject(HGDIOBJ ho) {
  GDI_LOCK;
  Object* o = Find(ho);
  if (!o || o->kind == Kind::DC) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (o->stock) return TRUE;
  if (o->selections > 0) {
    o->deletePending = true;
    return TRUE;
  }
  Destroy(ho);
  return TRUE;
}

HGDIOBJ GetStockObject(int i) {
  GDI_LOCK;
  return Stock(i);
}

int GetObjectW(HGDIOBJ h, int c, LPVOID pv) {
  GDI_LOCK;
  Object* o = Find(h);
  if (!o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  auto copy = [&](const void* record, int size) {
    if (!pv) return size;
    const int n = std::min(c, size);
    if (n <= 0) return 0;
    std::memcpy(pv, record, static_cast<size_t>(n));
    return n;
  };
  switch (o->kind) {
    case Kind::Bitmap: {
      const auto* b = static_cast<const Bitmap*>(o);
      BITMAP bm = {};
      bm.bmType = 0;
      bm.bmWidth = b->width;
      bm.bmHeight = b->height;
      bm.bmWidthBytes = ((b->width * b->bpp + 15) / 16) * 2;
      bm.bmPlanes = 1;
      bm.bmBitsPixel = static_cast<WORD>(b->bpp);
      bm.bmBits = nullptr;
      return copy(&bm, sizeof bm);
    }
    case Kind::Palette: {
      const WORD count = static_cast<WORD>(static_cast<const Palette*>(o)->entries.size());
      return copy(&count, sizeof count);
    }
    case Kind::Pen: {
      const auto* p = static_cast<const Pen*>(o);
      LOGPEN lp = {p->style, {p->width, 0}, p->color};
      return copy(&lp, sizeof lp);
    }
    case Kind::Brush: {
      const auto* b = static_cast<const Brush*>(o);
      LOGBRUSH lb = {b->style, b->color, 0};
      return copy(&lb, sizeof lb);
    }
    default:
      return 0;
  }
}

HPEN CreatePen(int iStyle, int cWidth, COLORREF color) {
  GDI_LOCK;
  if ((iStyle != PS_SOLID && iStyle != PS_NULL) || cWidth > 1) {
    Unsupported("a pen other than a solid or null one pixel wide");
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return nullptr;
  }
  auto pen = std::make_unique<Pen>();
  pen->style = static_cast<UINT>(iStyle);
  pen->width = cWidth < 0 ? 0 : cWidth;
  pen->color = color;
  return static_cast<HPEN>(Register(std::move(pen)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  GDI_LOCK;
  auto brush = std::make_unique<Brush>();
  brush->style = BS_SOLID;
  brush->color = color;
  return static_cast<HBRUSH>(Register(std::move(brush)));
}

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
  GDI_LOCK;
  if (nWidth < 0 || nHeight < 0 || nPlanes != 1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (nWidth == 0 || nHeight == 0) return StockBitmap();
  int bpp;
  switch (nBitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      bpp = static_cast<int>(nBitCount);
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
  if (static_cast<int64_t>(nWidth) * nHeight > kMaxBitmapPixels) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto bitmap = MakeBitmap(nWidth, nHeight, bpp);
  if (lpBits) {
    const BYTE* bits = static_cast<const BYTE*>(lpBits);
    const size_t stride = static_cast<size_t>(((nWidth * bpp + 15) / 16) * 2);
    const std::vector<uint32_t>& table = DefaultColorTable(bpp);
    for (int y = 0; y < nHeight; ++y) {
      const BYTE* row = bits + stride * y;
      for (int x = 0; x < nWidth; ++x) {
        uint32_t px;
        switch (bpp) {
          case 1:
            px = (row[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFF : 0;
            break;
          case 4:
            px = table[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
            break;
          case 8:
            px = table[row[x]];
            break;
          case 16: {
            const uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
            px = (((v >> 10) & 0x1F) << 19) | (((v >> 5) & 0x1F) << 11) | ((v & 0x1F) << 3);
            break;
          }
          case 24:
            px = (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x];
            break;
          default:
            px = (row[4 * x + 2] << 16) | (row[4 * x + 1] << 8) | row[4 * x];
            break;
        }
        bitmap->Put(x, y, px);
      }
    }
  }
  return static_cast<HBITMAP>(Register(std::move(bitmap)));
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  const Bitmap* s = SurfaceOf(*dc);
  const int bpp = s && s->bpp == 1 ? 1 : 32;
  if (cx == 0 || cy == 0) return CreateBitmap(1, 1, 1, 1, nullptr);
  return CreateBitmap(cx, cy, 1, static_cast<UINT>(bpp), nullptr);
}

// --- Palettes ---

HPALETTE CreatePalette(const LOGPALETTE* plpal) {
  GDI_LOCK;
  if (!plpal || standin::GlobalBytesAvailable(plpal) < 4 || plpal->palVersion != 0x300 || plpal->palNumEntries == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const size_t n = plpal->palNumEntries;
  if (standin::GlobalBytesAvailable(plpal) < 4 + 4 * n) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto palette = std::make_unique<Palette>();
  palette->entries.assign(plpal->palPalEntry, plpal->palPalEntry + n);
  return static_cast<HPALETTE>(Register(std::move(palette)));
}

UINT GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, LPPALETTEENTRY pPalEntries) {
  GDI_LOCK;
  const Palette* pal = FindAs<Palette>(hpal, Kind::Palette);
  if (!pal) return 0;
  const UINT size = static_cast<UINT>(pal->entries.size());
  if (!pPalEntries) return size;
  if (iStart >= size) return 0;
  const UINT n = std::min(cEntries, size - iStart);
  std::copy_n(pal->entries.begin() + iStart, n, pPalEntries);
  return n;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc || !FindAs<Palette>(hPal, Kind::Palette)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  const HPALETTE previous = dc->palette;
  if (previous == hPal) return previous;
  dc->palette = hPal;
  Select(hPal);
  Deselect(previous, hdc);
  return previous;
}

UINT RealizePalette(HDC hdc) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc) return GDI_ERROR;
  const Palette* pal = FindAs<Palette>(dc->palette, Kind::Palette);
  return pal ? static_cast<UINT>(pal->entries.size()) : 0;
}

// --- Regions ---

HRGN CreatePolygonRgn(const POINT* pptl, int cPoint, int iMode) {
  GDI_LOCK;
  if ((iMode != ALTERNATE && iMode != WINDING) || cPoint < 0 || (cPoint > 0 && !pptl) ||
      (pptl && standin::GlobalBytesAvailable(pptl) < sizeof(POINT) * static_cast<size_t>(cPoint))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto region = std::make_unique<Region>();
  region->mode = iMode;
  if (cPoint >= 3) region->points.assign(pptl, pptl + cPoint);
  return static_cast<HRGN>(Register(std::move(region)));
}

HRGN CreateRectRgn(int x1, int y1, int x2, int y2) {
  GDI_LOCK;
  auto region = std::make_unique<Region>();
  const LONG l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
  if (l < r && t < b) region->points = {{l, t}, {r, t}, {r, b}, {l, b}};
  return static_cast<HRGN>(Register(std::move(region)));
}

BOOL FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  const Region* rgn = FindAs<Region>(hrgn, Kind::Region);
  const Brush* brush = FindAs<Brush>(hbr, Kind::Brush);
  Bitmap* s = dc ? SurfaceOf(*dc) : nullptr;
  if (!s || !rgn || !brush) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (brush->style == BS_SOLID) FillRegion(*s, *rgn, ResolveColor(*dc, brush->color));
  return TRUE;
}

BOOL PtInRegion(HRGN hrgn, int x, int y) {
  GDI_LOCK;
  const Region* rgn = FindAs<Region>(hrgn, Kind::Region);
  return rgn && rgn->points.size() >= 3 && Inside(*rgn, x + 0.5, y + 0.5);
}

// The box of the polygon's corners (chosen), right and bottom excluded.
int GetRgnBox(HRGN hrgn, LPRECT lprc) {
  GDI_LOCK;
  const Region* rgn = FindAs<Region>(hrgn, Kind::Region);
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

// --- Drawing ---

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  Bitmap* s = dc ? SurfaceOf(*dc) : nullptr;
  if (!s || x < 0 || y < 0 || x >= s->width || y >= s->height) return CLR_INVALID;
  s->Put(x, y, ResolveColor(*dc, color));
  return ToColorRef(s->At(x, y));
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  Bitmap* s = dc ? SurfaceOf(*dc) : nullptr;
  if (!s || x < 0 || y < 0 || x >= s->width || y >= s->height) return CLR_INVALID;
  return ToColorRef(s->At(x, y));
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->position;
  dc->position = {x, y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT lppt) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc || !lppt) return FALSE;
  *lppt = dc->position;
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  Bitmap* s = dc ? SurfaceOf(*dc) : nullptr;
  if (!s) return FALSE;
  const Pen* pen = FindAs<Pen>(dc->pen, Kind::Pen);
  if (pen && pen->style != PS_NULL) DrawLine(*s, dc->position.x, dc->position.y, x, y, ResolveColor(*dc, pen->color));
  dc->position = {x, y};
  return TRUE;
}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  GDI_LOCK;
  DC* dc = FindDC(hDC);
  if (!dc || !lprc || !FindAs<Brush>(hbr, Kind::Brush)) return 0;
  return PatternBlt(*dc, hbr, lprc->left, lprc->top, lprc->right, lprc->bottom, PATCOPY);
}

int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  GDI_LOCK;
  DC* dc = FindDC(hDC);
  if (!dc || !lprc || !FindAs<Brush>(hbr, Kind::Brush)) return 0;
  const RECT r = *lprc;
  if (r.right < r.left || r.bottom < r.top) return 0;
  PatternBlt(*dc, hbr, r.left, r.top, r.right, int64_t{r.top} + 1, PATCOPY);
  PatternBlt(*dc, hbr, r.left, int64_t{r.bottom} - 1, r.right, r.bottom, PATCOPY);
  PatternBlt(*dc, hbr, r.left, r.top, int64_t{r.left} + 1, r.bottom, PATCOPY);
  PatternBlt(*dc, hbr, int64_t{r.right} - 1, r.top, r.right, r.bottom, PATCOPY);
  return 1;
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  if (!dc || RopUsesSource(rop)) return FALSE;
  int64_t l = x, t = y, r = int64_t{x} + w, b = int64_t{y} + h;
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  return PatternBlt(*dc, dc->brush, l, t, r, b, rop);
}

BOOL ExtTextOutW(HDC hdc, int, int, UINT options, const RECT* lprect, LPCWSTR, UINT c, const INT*) {
  GDI_LOCK;
  DC* dc = FindDC(hdc);
  Bitmap* s = dc ? SurfaceOf(*dc) : nullptr;
  if (!s) return FALSE;
  if ((options & ETO_OPAQUE) && lprect) {
    const int64_t l = std::min(lprect->left, lprect->right), r = std::max(lprect->left, lprect->right);
    const int64_t t = std::min(lprect->top, lprect->bottom), b = std::max(lprect->top, lprect->bottom);
    FillArea(*s, l, t, r, b, ResolveColor(*dc, dc->bkColor));
  }
  if (c > 0) {
    Unsupported("drawing text");
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  return TRUE;
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  return StretchBlt(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop) {
  GDI_LOCK;
  DC* dc = FindDC(hdcDest);
  Bitmap* s = dc ? SurfaceOf(*dc) : nullptr;
  if (!s) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!RopUsesSource(rop)) {
    int64_t l = xDest, t = yDest, r = int64_t{xDest} + wDest, b = int64_t{yDest} + hDest;
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    return PatternBlt(*dc, dc->brush, l, t, r, b, rop);
  }
  DC* srcDC = FindDC(hdcSrc);
  Bitmap* src = srcDC ? SurfaceOf(*srcDC) : nullptr;
  if (!src) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const bool combine = dc->stretchMode != COLORONCOLOR;
  int colStep, rowStep;
  const auto cols = MapAxis(xDest, wDest, xSrc, wSrc, s->width, src->width, combine, &colStep);
  const auto rows = MapAxis(yDest, hDest, ySrc, hSrc, s->height, src->height, combine, &rowStep);
  BitmapSource source(*src, src == s);
  Blit(*dc, cols, colStep, rows, rowStep, source, srcDC->bkColor, rop);
  return TRUE;
}

// --- Rectangles ---

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (!lprc) return FALSE;
  *lprc = {xLeft, yTop, xRight, yBottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc) {
  if (!lprcDst || !lprcSrc) return FALSE;
  *lprcDst = *lprcSrc;
  return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy) {
  if (!lprc) return FALSE;
  lprc->left -= dx;
  lprc->right += dx;
  lprc->top -= dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy) {
  if (!lprc) return FALSE;
  lprc->left += dx;
  lprc->right += dx;
  lprc->top += dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* lprc) { return !lprc || lprc->right <= lprc->left || lprc->bottom <= lprc->top; }

BOOL EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* lprc, POINT pt) {
  return lprc && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* a, const RECT* b) {
  if (!lprcDst || !a || !b) return FALSE;
  RECT r = {std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
            std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(a) || IsRectEmpty(b) || IsRectEmpty(&r)) {
    *lprcDst = {0, 0, 0, 0};
    return FALSE;
  }
  *lprcDst = r;
  return TRUE;
}

BOOL UnionRect(LPRECT lprcDst, const RECT* a, const RECT* b) {
  if (!lprcDst || !a || !b) return FALSE;
  if (IsRectEmpty(a)) {
    if (IsRectEmpty(b)) {
      *lprcDst = {0, 0, 0, 0};
      return FALSE;
    }
    *lprcDst = *b;
    return TRUE;
  }
  if (IsRectEmpty(b)) {
    *lprcDst = *a;
    return TRUE;
  }
  *lprcDst = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
              std::max(a->bottom, b->bottom)};
  return TRUE;
}
