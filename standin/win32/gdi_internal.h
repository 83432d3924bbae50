// The GDI stand-in's own records, shared by its sources (the object table and device contexts,
// colours and palettes, regions, drawing and blits, DIBs); not part of the platform's interface.
#pragma once

#include <wingdi.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace standin::gdi {

// Every GDI call holds this lock, through a Lock for the call: GDI objects may be used from any
// thread.
std::recursive_mutex& Mutex();
struct Lock {
  Lock() : guard(Mutex()) {}
  std::lock_guard<std::recursive_mutex> guard;
};

// A refusal: sets the thread's last error and gives the call's own failure value.
template <class T>
T Refuse(T result, DWORD error) {
  SetLastError(error);
  return result;
}

enum class Kind { Pen, Brush, Bitmap, Palette, Region, DC };

struct Object {
  explicit Object(Kind k) : kind(k) {}
  virtual ~Object() = default;
  Kind kind;
  bool stock = false;
  int selections = 0;  // how many DCs have it selected
  bool deletePending = false;
};

// Pixels are kept as 0x00RRGGBB, the top row first, already reduced to the bitmap's colour
// depth (black or white for 1 bit, the default colour table for 4 and 8 bits, 5-5-5 for 16).
struct Bitmap : Object {
  static constexpr Kind kKind = Kind::Bitmap;
  Bitmap() : Object(kKind) {}
  int width = 0;
  int height = 0;
  int bpp = 32;
  std::vector<uint32_t> pixels;
  HDC selectedInto = nullptr;

  uint32_t Reduce(uint32_t xrgb) const;
  void Put(int x, int y, uint32_t xrgb) { pixels[static_cast<size_t>(y) * width + x] = Reduce(xrgb); }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

struct Pen : Object {
  static constexpr Kind kKind = Kind::Pen;
  Pen() : Object(kKind) {}
  UINT style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct Brush : Object {
  static constexpr Kind kKind = Kind::Brush;
  Brush() : Object(kKind) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
};

struct Palette : Object {
  static constexpr Kind kKind = Kind::Palette;
  Palette() : Object(kKind) {}
  std::vector<PALETTEENTRY> entries;
};

struct Region : Object {
  static constexpr Kind kKind = Kind::Region;
  Region() : Object(kKind) {}
  std::vector<POINT> points;  // a polygon, or the four corners of a rectangle
  int mode = ALTERNATE;
};

struct DC : Object {
  static constexpr Kind kKind = Kind::DC;
  DC() : Object(kKind) {}
  bool memory = false;
  HBITMAP bitmap = nullptr;  // what it draws into (the screen's raster for screen DCs)
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HPALETTE palette = nullptr;
  POINT position = {0, 0};
  COLORREF bkColor = RGB(255, 255, 255);
  COLORREF textColor = RGB(0, 0, 0);
  int bkMode = OPAQUE;
  int stretchMode = BLACKONWHITE;
};

// The object a handle names (of the record's kind for FindAs); null otherwise.
Object* Find(HGDIOBJ h);
template <class T>
T* FindAs(HGDIOBJ h) {
  Object* o = Find(h);
  return o && o->kind == T::kKind ? static_cast<T*>(o) : nullptr;
}
inline DC* FindDC(HDC h) { return FindAs<DC>(h); }
inline Bitmap* FindBitmap(HBITMAP h) { return FindAs<Bitmap>(h); }
Bitmap* SurfaceOf(const DC& dc);
// The DC a handle names and the bitmap it draws into; the surface is null when either is missing.
struct Target {
  DC* dc;
  Bitmap* surface;
};
Target FindTarget(HDC h);

// Takes a new object into the table, which owns it from then on; its handle is its address.
HGDIOBJ Register(std::unique_ptr<Object> object);
// Counts h as selected into hdc and previous as no longer selected there: an object deleted
// while selected goes when its last DC lets it go.
void Reselect(HDC hdc, HGDIOBJ previous, HGDIOBJ h);
// Puts h into one of the DC's slots and gives back the handle the slot held.
template <class H>
H Replace(HDC hdc, H& slot, H h) {
  const H previous = slot;
  slot = h;
  if (previous != h) Reselect(hdc, previous, h);
  return previous;
}

inline uint32_t ToPixel(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline COLORREF ToColorRef(uint32_t xrgb) { return ((xrgb >> 16) & 0xFF) | (xrgb & 0xFF00) | ((xrgb & 0xFF) << 16); }
// A COLORREF as the DC draws it (PALETTEINDEX colours through its palette), as 0x00RRGGBB.
uint32_t ResolveColor(const DC& dc, COLORREF color);

// The screen's default colour table for 1, 4 or 8 bits per pixel, as 0x00RRGGBB.
const std::vector<uint32_t>& DefaultColorTable(int bpp);
// The index of the table entry nearest to a colour.
int NearestIndex(const std::vector<uint32_t>& table, uint32_t xrgb);

// Fills a rectangle of the surface (right and bottom excluded), clipped to it.
void FillArea(Bitmap& s, int64_t l, int64_t t, int64_t r, int64_t b, uint32_t xrgb);

// A source of pixels for the blit engine, rows counted from the top.
class PixelSource {
 public:
  virtual ~PixelSource() = default;
  virtual int64_t Width() const = 0;
  virtual int64_t Height() const = 0;
  virtual uint32_t At(int64_t x, int64_t row) const = 0;
  virtual bool Monochrome() const { return false; }
};

// One axis of a blit, for each destination coordinate inside the surface: the first source
// coordinate, the step between source coordinates (+1 or -1) and how many source pixels fall
// on it (more than one only when shrinking with a combining mode).
struct AxisEntry {
  int dst;
  int64_t src;
  int64_t count;
};
std::vector<AxisEntry> MapAxis(int64_t dstStart, int64_t dstExtent, int64_t srcStart, int64_t srcExtent,
                               int64_t surfaceSize, int64_t sourceSize, bool combine, int* srcStep);

// Copies source pixels onto the DC's surface through the raster operation, in the DC's stretch
// mode; the colour conversions of monochrome sources and destinations are those of BitBlt
// (srcBk is the source DC's background colour).
void Blit(DC& dc, const std::vector<AxisEntry>& cols, int colStep, const std::vector<AxisEntry>& rows, int rowStep,
          const PixelSource& src, COLORREF srcBk, DWORD rop);
// The raster operation's result for pattern, source and destination pixels.
uint32_t Rop3(DWORD rop, uint32_t p, uint32_t s, uint32_t d);
bool RopUsesSource(DWORD rop);
bool RopUsesPattern(DWORD rop);
// The colour of a brush as a raster operation's pattern; false when the operation uses a pattern
// and the brush is not solid (a null brush paints nothing).
bool PatternOf(const DC& dc, HBRUSH hbr, DWORD rop, uint32_t& pattern);

// Says once on standard error that the stand-in does not support something.
void Unsupported(const char* what);

}  // namespace standin::gdi
