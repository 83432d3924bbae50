// The GDI stand-in's own records, shared by its sources (gdi.cpp, dib.cpp); not part of the
// platform's interface.
#pragma once

#include <wingdi.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace standin::gdi {

// Every GDI call holds this lock: GDI objects may be used from any thread.
std::recursive_mutex& Mutex();

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
  Bitmap() : Object(Kind::Bitmap) {}
  int width = 0;
  int height = 0;
  int bpp = 32;
  std::vector<uint32_t> pixels;
  HDC selectedInto = nullptr;

  uint32_t Reduce(uint32_t xrgb) const;
  void Put(int x, int y, uint32_t xrgb) { pixels[static_cast<size_t>(y) * width + x] = Reduce(xrgb); }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct Pen : Object {
  Pen() : Object(Kind::Pen) {}
  UINT style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct Brush : Object {
  Brush() : Object(Kind::Brush) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
};

struct Palette : Object {
  Palette() : Object(Kind::Palette) {}
  std::vector<PALETTEENTRY> entries;
};

struct Region : Object {
  Region() : Object(Kind::Region) {}
  std::vector<POINT> points;  // a polygon, or the four corners of a rectangle
  int mode = ALTERNATE;
};

struct DC : Object {
  DC() : Object(Kind::DC) {}
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

// The object a handle names if it is of that kind; null otherwise.
Object* Find(HGDIOBJ h);
template <class T>
T* FindAs(HGDIOBJ h, Kind kind) {
  Object* o = Find(h);
  return o && o->kind == kind ? static_cast<T*>(o) : nullptr;
}
inline DC* FindDC(HDC h) { return FindAs<DC>(h, Kind::DC); }
inline Bitmap* FindBitmap(HBITMAP h) { return FindAs<Bitmap>(h, Kind::Bitmap); }
Bitmap* SurfaceOf(const DC& dc);

inline uint32_t ToPixel(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline COLORREF ToColorRef(uint32_t xrgb) { return ((xrgb >> 16) & 0xFF) | (xrgb & 0xFF00) | ((xrgb & 0xFF) << 16); }
// A COLORREF as the DC draws it (PALETTEINDEX colours through its palette), as 0x00RRGGBB.
uint32_t ResolveColor(const DC& dc, COLORREF color);

// The screen's default colour table for 1, 4 or 8 bits per pixel, as 0x00RRGGBB.
const std::vector<uint32_t>& DefaultColorTable(int bpp);
// The index of the table entry nearest to a colour.
int NearestIndex(const std::vector<uint32_t>& table, uint32_t xrgb);

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

// Says once on standard error that the stand-in does not support something.
void Unsupported(const char* what);

}  // namespace standin::gdi
