// Just enough of Win32 GDI, behaving as GDI does, for painting previews headless: the table of
// GDI objects and the stock objects, device contexts and their settings, selecting objects into
// them, and creating pens, brushes and bitmaps. Colours and palettes are in palette.cpp, regions
// in region.cpp, drawing and blits in draw.cpp, DIBs in dib.cpp.
#include <wingdi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "standin/win32/gdi_internal.h"

namespace standin::gdi {

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// A DDB larger than this many pixels fails with ERROR_NOT_ENOUGH_MEMORY (chosen).
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 26;

struct Table {
  std::unordered_map<HGDIOBJ, std::unique_ptr<Object>> objects;
  // The objects last found, by a hash of their handle: painting asks for the same few (the DC,
  // its bitmap, its pen) on every call. A destroyed object leaves it at once.
  struct Recent {
    HGDIOBJ handle = nullptr;
    Object* object = nullptr;
  };
  static constexpr size_t kRecent = 64;
  Recent recent[kRecent];
  static size_t Slot(HGDIOBJ h) { return (reinterpret_cast<uintptr_t>(h) >> 4) % kRecent; }
  HGDIOBJ stock[DEFAULT_PALETTE + 1] = {};
  HBITMAP stockBitmap = nullptr;  // the 1 by 1 monochrome bitmap of new memory DCs
  HBITMAP screen = nullptr;
};

Table& TheTable() {
  static Table* table = new Table;  // GDI objects may outlive every other static
  return *table;
}

void Destroy(HGDIOBJ h) {
  Table& t = TheTable();
  Table::Recent& recent = t.recent[Table::Slot(h)];
  if (recent.handle == h) recent = {};
  t.objects.erase(h);
}

std::unique_ptr<Bitmap> MakeBitmap(int width, int height, int bpp) {
  auto bitmap = std::make_unique<Bitmap>();
  bitmap->width = width;
  bitmap->height = height;
  bitmap->bpp = bpp;
  // A new DDB is black, as on Windows.
  bitmap->pixels.assign(static_cast<size_t>(width) * height, 0);
  return bitmap;
}

std::unique_ptr<Pen> MakePen(UINT style, COLORREF color, int width = 1) {
  auto pen = std::make_unique<Pen>();
  pen->style = style;
  pen->width = width;
  pen->color = color;
  return pen;
}

std::unique_ptr<Brush> MakeBrush(UINT style, COLORREF color) {
  auto brush = std::make_unique<Brush>();
  brush->style = style;
  brush->color = color;
  return brush;
}

struct StockTool {
  int index;
  bool pen;
  UINT style;
  COLORREF color;
};
constexpr StockTool kStockTools[] = {{WHITE_BRUSH, false, BS_SOLID, RGB(255, 255, 255)},
                                     {LTGRAY_BRUSH, false, BS_SOLID, RGB(192, 192, 192)},
                                     {GRAY_BRUSH, false, BS_SOLID, RGB(128, 128, 128)},
                                     {DKGRAY_BRUSH, false, BS_SOLID, RGB(64, 64, 64)},
                                     {BLACK_BRUSH, false, BS_SOLID, RGB(0, 0, 0)},
                                     {NULL_BRUSH, false, BS_NULL, 0},
                                     {WHITE_PEN, true, PS_SOLID, RGB(255, 255, 255)},
                                     {BLACK_PEN, true, PS_SOLID, RGB(0, 0, 0)},
                                     {NULL_PEN, true, PS_NULL, 0}};

std::unique_ptr<Object> MakeStock(int index) {
  if (index == DEFAULT_PALETTE) {
    // The 20 static colours of the screen's colour table.
    auto palette = std::make_unique<Palette>();
    const std::vector<uint32_t>& table = DefaultColorTable(8);
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 246, 247, 248, 249, 250, 251, 252, 253, 254, 255}) {
      const uint32_t c = table[i];
      palette->entries.push_back({static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c), 0});
    }
    return palette;
  }
  for (const StockTool& tool : kStockTools)
    if (tool.index == index) {
      if (tool.pen) return MakePen(tool.style, tool.color);
      return MakeBrush(tool.style, tool.color);
    }
  return nullptr;
}

HGDIOBJ Stock(int index) {
  Table& t = TheTable();
  if (index < 0 || index > DEFAULT_PALETTE) return nullptr;
  if (t.stock[index]) return t.stock[index];
  std::unique_ptr<Object> object = MakeStock(index);
  if (!object) return nullptr;
  object->stock = true;
  t.stock[index] = Register(std::move(object));
  return t.stock[index];
}

// A bitmap that exists once, made at its first use.
HBITMAP OnceBitmap(HBITMAP& slot, int width, int height, int bpp) {
  if (!slot) {
    auto bitmap = MakeBitmap(width, height, bpp);
    bitmap->stock = true;
    slot = static_cast<HBITMAP>(Register(std::move(bitmap)));
  }
  return slot;
}

HBITMAP StockBitmap() { return OnceBitmap(TheTable().stockBitmap, 1, 1, 1); }
HBITMAP ScreenBitmap() { return OnceBitmap(TheTable().screen, kScreenWidth, kScreenHeight, 32); }

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

void DestroyDC(HDC hdc, const DC& dc) {
  for (HGDIOBJ h : {static_cast<HGDIOBJ>(dc.bitmap), static_cast<HGDIOBJ>(dc.pen), static_cast<HGDIOBJ>(dc.brush),
                    static_cast<HGDIOBJ>(dc.palette)})
    Deselect(h, hdc);
  Destroy(hdc);
}

HDC NewDC(bool memory, HBITMAP bitmap) {
  auto dc = std::make_unique<DC>();
  dc->memory = memory;
  dc->bitmap = bitmap;
  dc->pen = static_cast<HPEN>(Stock(BLACK_PEN));
  dc->brush = static_cast<HBRUSH>(Stock(WHITE_BRUSH));
  dc->palette = static_cast<HPALETTE>(Stock(DEFAULT_PALETTE));
  for (HGDIOBJ h : {static_cast<HGDIOBJ>(bitmap), static_cast<HGDIOBJ>(dc->pen), static_cast<HGDIOBJ>(dc->brush),
                    static_cast<HGDIOBJ>(dc->palette)})
    Select(h);
  return static_cast<HDC>(Register(std::move(dc)));
}

// A DC's setting, or the call's failure value for a handle that names no DC.
template <class T>
T Setting(HDC hdc, T DC::*field, T bad) {
  const Lock lock;
  const DC* dc = FindDC(hdc);
  return dc ? dc->*field : bad;
}

template <class T>
T ChangeSetting(HDC hdc, T DC::*field, T value, T bad) {
  const Lock lock;
  DC* dc = FindDC(hdc);
  return dc ? std::exchange(dc->*field, value) : bad;
}

}  // namespace

std::recursive_mutex& Mutex() {
  static std::recursive_mutex* mutex = new std::recursive_mutex;
  return *mutex;
}

Object* Find(HGDIOBJ h) {
  if (!h) return nullptr;
  Table& t = TheTable();
  Table::Recent& recent = t.recent[Table::Slot(h)];
  if (recent.handle == h) return recent.object;
  auto it = t.objects.find(h);
  if (it == t.objects.end()) return nullptr;
  recent = {h, it->second.get()};
  return recent.object;
}

Bitmap* SurfaceOf(const DC& dc) { return FindBitmap(dc.bitmap); }

Target FindTarget(HDC h) {
  DC* dc = FindDC(h);
  return {dc, dc ? SurfaceOf(*dc) : nullptr};
}

HGDIOBJ Register(std::unique_ptr<Object> object) {
  HGDIOBJ handle = object.get();
  TheTable().objects.emplace(handle, std::move(object));
  return handle;
}

void Reselect(HDC hdc, HGDIOBJ previous, HGDIOBJ h) {
  Select(h);
  Deselect(previous, hdc);
}

void Unsupported(const char* what) {
  static std::set<std::string>* said = new std::set<std::string>;
  if (said->insert(what).second) std::fprintf(stderr, "GDI stand-in: %s is not supported\n", what);
}

}  // namespace standin::gdi

using namespace standin::gdi;

// --- Device contexts ---

HDC CreateCompatibleDC(HDC hdc) {
  const Lock lock;
  if (hdc && !FindDC(hdc)) return Refuse<HDC>(nullptr, ERROR_INVALID_HANDLE);
  return NewDC(true, StockBitmap());
}

BOOL DeleteDC(HDC hdc) {
  const Lock lock;
  const DC* dc = FindDC(hdc);
  if (!dc) return Refuse(FALSE, ERROR_INVALID_HANDLE);
  DestroyDC(hdc, *dc);
  return TRUE;
}

HDC GetDC(HWND hWnd) {
  const Lock lock;
  if (hWnd) return Refuse<HDC>(nullptr, ERROR_INVALID_WINDOW_HANDLE);
  return NewDC(false, ScreenBitmap());
}

int ReleaseDC(HWND hWnd, HDC hDC) {
  const Lock lock;
  const DC* dc = FindDC(hDC);
  if (hWnd || !dc || dc->memory) return 0;
  DestroyDC(hDC, *dc);
  return 1;
}

int GetDeviceCaps(HDC hdc, int index) {
  const Lock lock;
  const auto [dc, s] = FindTarget(hdc);
  if (!dc) return 0;
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
  const Lock lock;
  const DC* dc = FindDC(hdc);
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
  const Lock lock;
  const Object* o = Find(h);
  if (!o) return Refuse(0, ERROR_INVALID_HANDLE);
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
      return static_cast<const DC*>(o)->memory ? OBJ_MEMDC : OBJ_DC;
  }
  return 0;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) { return ChangeSetting(hdc, &DC::bkColor, color, CLR_INVALID); }
COLORREF GetBkColor(HDC hdc) { return Setting(hdc, &DC::bkColor, CLR_INVALID); }
COLORREF SetTextColor(HDC hdc, COLORREF color) { return ChangeSetting(hdc, &DC::textColor, color, CLR_INVALID); }
COLORREF GetTextColor(HDC hdc) { return Setting(hdc, &DC::textColor, CLR_INVALID); }

int SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return ChangeSetting(hdc, &DC::bkMode, mode, 0);
}

int GetBkMode(HDC hdc) { return Setting(hdc, &DC::bkMode, 0); }

int SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return Refuse(0, ERROR_INVALID_PARAMETER);
  const Lock lock;
  DC* dc = FindDC(hdc);
  return dc ? std::exchange(dc->stretchMode, mode) : Refuse(0, ERROR_INVALID_PARAMETER);
}

int GetStretchBltMode(HDC hdc) { return Setting(hdc, &DC::stretchMode, 0); }

// --- Objects ---

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  const Lock lock;
  DC* dc = FindDC(hdc);
  Object* o = Find(h);
  if (!dc || !o) return Refuse<HGDIOBJ>(nullptr, ERROR_INVALID_HANDLE);
  switch (o->kind) {
    case Kind::Pen:
      return Replace(hdc, dc->pen, static_cast<HPEN>(h));
    case Kind::Brush:
      return Replace(hdc, dc->brush, static_cast<HBRUSH>(h));
    case Kind::Bitmap: {
      auto* b = static_cast<Bitmap*>(o);
      if (!dc->memory || (b->bpp != 1 && b->bpp != 32)) return nullptr;
      if (!b->stock && b->selectedInto && b->selectedInto != hdc) return nullptr;
      if (!b->stock) b->selectedInto = hdc;
      return Replace(hdc, dc->bitmap, static_cast<HBITMAP>(h));
    }
    case Kind::Region:
      Unsupported("selecting a clipping region");
      return HGDI_ERROR;
    case Kind::Palette:  // palettes go through SelectPalette
    case Kind::DC:
      break;
  }
  return Refuse<HGDIOBJ>(nullptr, ERROR_INVALID_PARAMETER);
}

// A device context given to DeleteObject is deleted as DeleteDC deletes it, as Windows does.
BOOL DeleteObject(HGDIOBJ ho) {
  const Lock lock;
  Object* o = Find(ho);
  if (!o) return Refuse(FALSE, ERROR_INVALID_PARAMETER);
  if (o->kind == Kind::DC) return DeleteDC(static_cast<HDC>(ho));
  if (o->stock) return TRUE;
  if (o->selections > 0) {
    o->deletePending = true;
    return TRUE;
  }
  Destroy(ho);
  return TRUE;
}

HGDIOBJ GetStockObject(int i) {
  const Lock lock;
  return Stock(i);
}

int GetObjectW(HGDIOBJ h, int c, LPVOID pv) {
  const Lock lock;
  const Object* o = Find(h);
  if (!o) return Refuse(0, ERROR_INVALID_HANDLE);
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
      // Rows of a DDB are padded to 16 bits.
      const BITMAP bm = {0,      b->width, b->height, ((b->width * b->bpp + 15) / 16) * 2, 1, static_cast<WORD>(b->bpp),
                         nullptr};
      return copy(&bm, sizeof bm);
    }
    case Kind::Palette: {
      const WORD count = static_cast<WORD>(static_cast<const Palette*>(o)->entries.size());
      return copy(&count, sizeof count);
    }
    case Kind::Pen: {
      const auto* p = static_cast<const Pen*>(o);
      const LOGPEN lp = {p->style, {p->width, 0}, p->color};
      return copy(&lp, sizeof lp);
    }
    case Kind::Brush: {
      const auto* b = static_cast<const Brush*>(o);
      const LOGBRUSH lb = {b->style, b->color, 0};
      return copy(&lb, sizeof lb);
    }
    default:
      return 0;
  }
}

HPEN CreatePen(int iStyle, int cWidth, COLORREF color) {
  const Lock lock;
  if ((iStyle != PS_SOLID && iStyle != PS_NULL) || cWidth > 1) {
    Unsupported("a pen other than a solid or null one pixel wide");
    return Refuse<HPEN>(nullptr, ERROR_CALL_NOT_IMPLEMENTED);
  }
  return static_cast<HPEN>(Register(MakePen(static_cast<UINT>(iStyle), color, cWidth < 0 ? 0 : cWidth)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  const Lock lock;
  return static_cast<HBRUSH>(Register(MakeBrush(BS_SOLID, color)));
}

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
  const Lock lock;
  if (nWidth < 0 || nHeight < 0 || nPlanes != 1) return Refuse<HBITMAP>(nullptr, ERROR_INVALID_PARAMETER);
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
      return Refuse<HBITMAP>(nullptr, ERROR_INVALID_PARAMETER);
  }
  if (static_cast<int64_t>(nWidth) * nHeight > kMaxBitmapPixels)
    return Refuse<HBITMAP>(nullptr, ERROR_NOT_ENOUGH_MEMORY);
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
  const Lock lock;
  const auto [dc, s] = FindTarget(hdc);
  if (!dc) return Refuse<HBITMAP>(nullptr, ERROR_INVALID_HANDLE);
  const int bpp = s && s->bpp == 1 ? 1 : 32;
  if (cx == 0 || cy == 0) return CreateBitmap(1, 1, 1, 1, nullptr);
  return CreateBitmap(cx, cy, 1, static_cast<UINT>(bpp), nullptr);
}
