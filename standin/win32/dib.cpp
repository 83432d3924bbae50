// Just enough of GDI's device-independent bitmaps, decoded as GDI decodes them, for painting
// BMP files and converting bitmaps: SetDIBitsToDevice, StretchDIBits, GetDIBits, SetDIBits.
#include <wingdi.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "standin/win32/gdi_internal.h"
#include "standin/win32/globalmem.h"

using namespace standin::gdi;

namespace {

uint32_t Get16(const BYTE* p, size_t at) { return p[at] | (p[at + 1] << 8); }
uint32_t Get32(const BYTE* p, size_t at) {
  return p[at] | (p[at + 1] << 8) | (p[at + 2] << 16) | (static_cast<uint32_t>(p[at + 3]) << 24);
}

struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

Channel ChannelOf(uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (!mask) return c;
  while (!((mask >> c.shift) & 1)) ++c.shift;
  // Only the lowest run of set bits counts (chosen: GDI's handling of broken masks is unknown).
  while (c.shift + c.bits < 32 && ((mask >> (c.shift + c.bits)) & 1)) ++c.bits;
  return c;
}

uint32_t Widen(uint32_t v, const Channel& c) {
  if (c.bits == 0) return 0;
  v = (v >> c.shift) & ((c.bits >= 32) ? 0xFFFFFFFFu : ((1u << c.bits) - 1));
  if (c.bits >= 8) return v >> (c.bits - 8);
  // Fewer than 8 bits are widened by repeating them (v << 3 | v >> 2 for 5 bits).
  uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = (out << c.bits) | v;
    filled += c.bits;
  }
  return (out >> (filled - 8)) & 0xFF;
}

// A DIB's format as GDI reads it from a BITMAPINFO.
struct DibFormat {
  int64_t width = 0;
  int64_t height = 0;
  bool topDown = false;
  int bpp = 0;
  DWORD compression = BI_RGB;
  DWORD sizeImage = 0;
  uint64_t stride = 0;
  std::vector<uint32_t> colors;  // 1 << bpp entries for up to 8 bits; missing ones are black
  Channel channels[3];
};

bool Fail(DWORD error = ERROR_INVALID_PARAMETER) { return Refuse(false, error); }

// Reads a BITMAPINFO as GDI does: a 12-byte BITMAPCOREHEADER or a header of 40 bytes or more
// read as a BITMAPINFOHEADER, the colour table right after the header.
bool ReadFormat(const BITMAPINFO* bmi, UINT usage, const DC* dc, DibFormat& f) {
  if (!bmi || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS)) return Fail();
  const BYTE* p = reinterpret_cast<const BYTE*>(bmi);
  const size_t avail = standin::GlobalBytesAvailable(p);
  if (avail < 4) return Fail();
  const uint64_t size = Get32(p, 0);
  DWORD clrUsed = 0;
  bool core = false;
  if (size == sizeof(BITMAPCOREHEADER)) {
    if (avail < size) return Fail();
    core = true;
    f.width = Get16(p, 4);
    f.height = Get16(p, 6);
    f.bpp = static_cast<int>(Get16(p, 10));
    f.compression = BI_RGB;
  } else if (size >= sizeof(BITMAPINFOHEADER)) {
    if (avail < size) return Fail();
    f.width = static_cast<int32_t>(Get32(p, 4));
    f.height = static_cast<int32_t>(Get32(p, 8));
    f.bpp = static_cast<int>(Get16(p, 14));
    f.compression = Get32(p, 16);
    f.sizeImage = Get32(p, 20);
    clrUsed = Get32(p, 32);
  } else {
    return Fail();
  }
  if (f.width <= 0 || f.height == 0) return Fail();
  f.topDown = f.height < 0;
  if (f.topDown) f.height = -f.height;
  switch (f.bpp) {
    case 1:
    case 4:
    case 8:
    case 24:
      break;
    case 16:
    case 32:
      if (core) return Fail();
      break;
    default:
      return Fail();
  }
  switch (f.compression) {
    case BI_RGB:
      break;
    case BI_RLE8:
    case BI_RLE4:
      // RLE data needs its size, and is always stored from the bottom up.
      if (f.bpp != (f.compression == BI_RLE8 ? 8 : 4) || f.topDown || f.sizeImage == 0) return Fail();
      break;
    case BI_BITFIELDS:
      if (f.bpp != 16 && f.bpp != 32) return Fail();
      break;
    default:
      return Fail();
  }
  f.stride = ((static_cast<uint64_t>(f.width) * f.bpp + 31) / 32) * 4;

  if (f.bpp <= 8) {
    const uint64_t full = uint64_t{1} << f.bpp;
    const uint64_t n = clrUsed && clrUsed < full ? clrUsed : full;
    const uint64_t entry = usage == DIB_PAL_COLORS ? 2 : core ? 3 : 4;
    if (size + n * entry > avail) return Fail();
    f.colors.assign(full, 0);
    const BYTE* table = p + size;
    const Palette* pal = dc ? FindAs<Palette>(dc->palette) : nullptr;
    for (uint64_t i = 0; i < n; ++i) {
      const BYTE* e = table + i * entry;
      if (usage == DIB_PAL_COLORS) {
        const size_t index = Get16(e, 0);
        // An index outside the selected palette gives black (chosen).
        if (pal && index < pal->entries.size()) {
          const PALETTEENTRY& pe = pal->entries[index];
          f.colors[i] = (static_cast<uint32_t>(pe.peRed) << 16) | (static_cast<uint32_t>(pe.peGreen) << 8) | pe.peBlue;
        }
      } else {
        f.colors[i] = (static_cast<uint32_t>(e[2]) << 16) | (static_cast<uint32_t>(e[1]) << 8) | e[0];
      }
    }
  } else if (f.compression == BI_BITFIELDS) {
    // The masks follow a 40-byte header, and are part of any longer one.
    if (size == sizeof(BITMAPINFOHEADER) && size + 12 > avail) return Fail();
    if (size > sizeof(BITMAPINFOHEADER) && size < 52) return Fail();
    for (int i = 0; i < 3; ++i) f.channels[i] = ChannelOf(Get32(p, 40 + 4 * i));
  } else if (f.bpp == 16) {
    f.channels[0] = ChannelOf(0x7C00);
    f.channels[1] = ChannelOf(0x03E0);
    f.channels[2] = ChannelOf(0x001F);
  } else {
    f.channels[0] = ChannelOf(0xFF0000);
    f.channels[1] = ChannelOf(0x00FF00);
    f.channels[2] = ChannelOf(0x0000FF);
  }
  return true;
}

uint32_t FromMasks(const DibFormat& f, uint32_t v) {
  return (Widen(v, f.channels[0]) << 16) | (Widen(v, f.channels[1]) << 8) | Widen(v, f.channels[2]);
}

// The pixels of an uncompressed DIB whose bits hold rows [bandLo, bandHi) counted from the
// DIB's origin (the bottom row of a bottom-up DIB).
class DibSource : public PixelSource {
 public:
  DibSource(const DibFormat& f, const BYTE* bits, int64_t bandLo) : m_f(f), m_bits(bits), m_bandLo(bandLo) {}
  int64_t Width() const override { return m_f.width; }
  int64_t Height() const override { return m_f.height; }
  uint32_t At(int64_t x, int64_t row) const override {
    const int64_t fromOrigin = m_f.topDown ? row : m_f.height - 1 - row;
    const BYTE* line = m_bits + static_cast<uint64_t>(fromOrigin - m_bandLo) * m_f.stride;
    switch (m_f.bpp) {
      case 1:
        return m_f.colors[(line[x >> 3] >> (7 - (x & 7))) & 1];
      case 4:
        return m_f.colors[(line[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
      case 8:
        return m_f.colors[line[x]];
      case 16:
        return FromMasks(m_f, Get16(line, static_cast<size_t>(2 * x)));
      case 24:
        return (static_cast<uint32_t>(line[3 * x + 2]) << 16) | (static_cast<uint32_t>(line[3 * x + 1]) << 8) |
               line[3 * x];
      default:
        return FromMasks(m_f, Get32(line, static_cast<size_t>(4 * x)));
    }
  }

 private:
  const DibFormat& m_f;
  const BYTE* m_bits;
  int64_t m_bandLo;
};

// Keeps the entries (and the parts of combined entries) whose source rows lie in [lo, hi).
void ClipRows(std::vector<AxisEntry>& rows, int step, int64_t lo, int64_t hi) {
  std::vector<AxisEntry> kept;
  for (AxisEntry e : rows) {
    int64_t first = e.src, last = e.src + step * (e.count - 1);
    if (first > last) std::swap(first, last);
    first = std::max(first, lo);
    last = std::min(last, hi - 1);
    if (first > last) continue;
    e.src = step > 0 ? first : last;
    e.count = last - first + 1;
    kept.push_back(e);
  }
  rows.swap(kept);
}

// Decodes RLE8 or RLE4 data, calling emit(x, row from the bottom, colour index) for each pixel
// inside the image. Never reads outside the n bytes of data.
template <class Emit>
void DecodeRle(const DibFormat& f, const BYTE* data, size_t n, Emit emit) {
  const bool rle4 = f.compression == BI_RLE4;
  int64_t x = 0, y = 0;
  size_t pos = 0;
  auto put = [&](int64_t px, int index) {
    if (px >= 0 && px < f.width && y < f.height) emit(px, y, index);
  };
  while (pos + 1 < n && y < f.height) {
    const BYTE a = data[pos], b = data[pos + 1];
    pos += 2;
    if (a > 0) {
      const int64_t count = std::min<int64_t>(a, std::max<int64_t>(f.width - x, 0));
      for (int64_t k = 0; k < count; ++k) put(x + k, rle4 ? ((k & 1) ? (b & 0xF) : (b >> 4)) : b);
      x += a;
      continue;
    }
    switch (b) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // delta: right and up
        if (pos + 1 >= n) return;
        x += data[pos];
        y += data[pos + 1];
        pos += 2;
        break;
      default: {  // b pixels follow, padded to a 16-bit boundary
        const size_t bytes = rle4 ? (b + 1u) / 2u : b;
        const size_t have = std::min(bytes, n - pos);
        for (int64_t k = 0; k < b; ++k) {
          const size_t at = rle4 ? static_cast<size_t>(k / 2) : static_cast<size_t>(k);
          if (at >= have) break;
          const BYTE v = data[pos + at];
          put(x + k, rle4 ? ((k & 1) ? (v & 0xF) : (v >> 4)) : v);
        }
        x += b;
        pos += bytes + (bytes & 1);
        break;
      }
    }
  }
}

// Paints RLE data through the axis maps (nearest source pixels only); skipped pixels stay.
void BlitRle(DC& dc, const std::vector<AxisEntry>& cols, const std::vector<AxisEntry>& rows, const DibFormat& f,
             const BYTE* data, size_t n, DWORD rop) {
  Bitmap* s = SurfaceOf(dc);
  if (!s || cols.empty() || rows.empty()) return;
  uint32_t pattern;
  if (!PatternOf(dc, dc.brush, rop, pattern)) return;
  std::vector<std::pair<int64_t, int>> colBySrc, rowBySrc;
  for (const AxisEntry& e : cols) colBySrc.emplace_back(e.src, e.dst);
  for (const AxisEntry& e : rows) rowBySrc.emplace_back(e.src, e.dst);
  std::sort(colBySrc.begin(), colBySrc.end());
  std::sort(rowBySrc.begin(), rowBySrc.end());
  auto range = [](const std::vector<std::pair<int64_t, int>>& v, int64_t key) {
    return std::equal_range(
        v.begin(), v.end(), std::make_pair(key, INT32_MIN),
        [](const std::pair<int64_t, int>& a, const std::pair<int64_t, int>& b) { return a.first < b.first; });
  };
  DecodeRle(f, data, n, [&](int64_t x, int64_t fromBottom, int index) {
    const auto rowsHit = range(rowBySrc, f.height - 1 - fromBottom);
    if (rowsHit.first == rowsHit.second) return;
    const auto colsHit = range(colBySrc, x);
    const uint32_t px = f.colors[static_cast<size_t>(index)];
    for (auto r = rowsHit.first; r != rowsHit.second; ++r)
      for (auto c = colsHit.first; c != colsHit.second; ++c)
        s->Put(c->second, r->second, rop == SRCCOPY ? px : Rop3(rop, pattern, px, s->At(c->second, r->second)));
  });
}

// The bytes of bits GDI reads for rows of an uncompressed DIB, or of RLE data.
bool BitsAvailable(const DibFormat& f, const void* bits, uint64_t rows) {
  const size_t avail = standin::GlobalBytesAvailable(bits);
  if (f.compression == BI_RLE4 || f.compression == BI_RLE8) return f.sizeImage <= avail;
  return rows == 0 || f.stride <= avail / rows;
}

int SetDIBitsCore(DC& dc, int64_t xDest, int64_t yDest, int64_t w, int64_t h, int64_t xSrc, int64_t ySrc,
                  UINT startScan, UINT cLines, const void* bits, const BITMAPINFO* bmi, UINT usage) {
  DibFormat f;
  if (!ReadFormat(bmi, usage, &dc, f)) return 0;
  Bitmap* s = SurfaceOf(dc);
  if (!s || !bits || cLines == 0 || startScan >= f.height) return 0;
  const int64_t lines = std::min<int64_t>(cLines, f.height - startScan);
  if (!BitsAvailable(f, bits, static_cast<uint64_t>(lines))) return Refuse(0, ERROR_INVALID_PARAMETER);
  // Source rows counted from the top: the rectangle's top edge is ySrc + h from a bottom
  // origin, ySrc from a top one.
  const int64_t topRow = f.topDown ? ySrc : f.height - ySrc - h;
  int colStep, rowStep;
  const auto cols = MapAxis(xDest, w, xSrc, w, s->width, f.width, false, &colStep);
  auto rows = MapAxis(yDest, h, topRow, h, s->height, f.height, false, &rowStep);
  const int64_t bandTop = f.topDown ? startScan : f.height - startScan - lines;
  ClipRows(rows, rowStep, bandTop, bandTop + lines);
  const BYTE* data = static_cast<const BYTE*>(bits);
  if (f.compression == BI_RLE4 || f.compression == BI_RLE8) {
    BlitRle(dc, cols, rows, f, data, f.sizeImage, SRCCOPY);
  } else {
    DibSource source(f, data, startScan);
    Blit(dc, cols, colStep, rows, rowStep, source, CLR_INVALID, SRCCOPY);
  }
  return static_cast<int>(lines);
}

}  // namespace

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT StartScan, UINT cLines,
                      const VOID* lpvBits, const BITMAPINFO* lpbmi, UINT ColorUse) {
  const Lock lock;
  DC* dc = FindDC(hdc);
  if (!dc) return Refuse(0, ERROR_INVALID_HANDLE);
  return SetDIBitsCore(*dc, xDest, yDest, w, h, xSrc, ySrc, StartScan, cLines, lpvBits, lpbmi, ColorUse);
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc, int SrcWidth,
                  int SrcHeight, const VOID* lpBits, const BITMAPINFO* lpbmi, UINT iUsage, DWORD rop) {
  const Lock lock;
  const auto [dc, s] = FindTarget(hdc);
  if (!s) return Refuse(0, ERROR_INVALID_HANDLE);
  DibFormat f;
  if (!ReadFormat(lpbmi, iUsage, dc, f)) return 0;
  if (!lpBits || !BitsAvailable(f, lpBits, static_cast<uint64_t>(f.height))) return Refuse(0, ERROR_INVALID_PARAMETER);
  if (DestWidth == 0 || DestHeight == 0 || SrcWidth == 0 || SrcHeight == 0) return 0;
  // The source rectangle in rows from the top: a bottom-up DIB counts ySrc from its bottom.
  const int64_t sh = SrcHeight;
  const int64_t topRow = f.topDown ? ySrc : (sh > 0 ? f.height - ySrc - sh : f.height - 2 - ySrc - sh);
  const bool rle = f.compression == BI_RLE4 || f.compression == BI_RLE8;
  const bool combine = dc->stretchMode != COLORONCOLOR && !rle;
  int colStep, rowStep;
  const auto cols = MapAxis(xDest, DestWidth, xSrc, SrcWidth, s->width, f.width, combine, &colStep);
  const auto rows = MapAxis(yDest, DestHeight, topRow, sh, s->height, f.height, combine, &rowStep);
  const BYTE* data = static_cast<const BYTE*>(lpBits);
  if (rle) {
    BlitRle(*dc, cols, rows, f, data, f.sizeImage, rop);
  } else {
    DibSource source(f, data, 0);
    Blit(*dc, cols, colStep, rows, rowStep, source, CLR_INVALID, rop);
  }
  return SrcHeight < 0 ? -SrcHeight : SrcHeight;
}

int SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const VOID* lpBits, const BITMAPINFO* lpbmi,
              UINT ColorUse) {
  const Lock lock;
  Bitmap* b = FindBitmap(hbm);
  if (!b || b->stock || b->selectedInto) return Refuse(0, ERROR_INVALID_PARAMETER);
  DibFormat f;
  if (!ReadFormat(lpbmi, ColorUse, FindDC(hdc), f)) return 0;
  // The bitmap's rows line up with the DIB's from its origin.
  DC target;
  target.bitmap = hbm;
  if (DC* dc = FindDC(hdc)) target.palette = dc->palette;
  return SetDIBitsCore(target, 0, 0, f.width, f.height, 0, 0, start, cLines, lpBits, lpbmi, ColorUse);
}

int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage) {
  const Lock lock;
  Bitmap* b = FindBitmap(hbm);
  if (!FindDC(hdc) || !b || !lpbmi || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS))
    return Refuse(0, ERROR_INVALID_PARAMETER);
  BYTE* p = reinterpret_cast<BYTE*>(lpbmi);
  const size_t avail = standin::GlobalBytesAvailable(p);
  if (avail < 4) return 0;
  const uint64_t size = Get32(p, 0);
  const bool core = size == sizeof(BITMAPCOREHEADER);
  if ((!core && size < sizeof(BITMAPINFOHEADER)) || avail < size) return Refuse(0, ERROR_INVALID_PARAMETER);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(p + at, &v, 4); };
  auto put16 = [&](size_t at, uint32_t v) {
    const WORD w = static_cast<WORD>(v);
    std::memcpy(p + at, &w, 2);
  };
  int bpp = static_cast<int>(core ? Get16(p, 10) : Get16(p, 14));
  if (!lpvBits && !core && bpp == 0) {
    put32(4, static_cast<uint32_t>(b->width));
    put32(8, static_cast<uint32_t>(b->height));
    put16(12, 1);
    put16(14, static_cast<uint32_t>(b->bpp));
    put32(16, BI_RGB);
    put32(20, static_cast<uint32_t>(((b->width * b->bpp + 31) / 32) * 4 * b->height));
    for (size_t at = 24; at < 40; at += 4) put32(at, 0);
    return b->height;
  }
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    return Refuse(0, ERROR_INVALID_PARAMETER);
  if (!core && Get32(p, 16) != BI_RGB) {
    Unsupported("GetDIBits into a compressed or bit-field DIB");
    return Refuse(0, ERROR_INVALID_PARAMETER);
  }
  const int64_t width = core ? int64_t{Get16(p, 4)} : int64_t{static_cast<int32_t>(Get32(p, 4))};
  int64_t height = core ? int64_t{Get16(p, 6)} : int64_t{static_cast<int32_t>(Get32(p, 8))};
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height == 0) return Refuse(0, ERROR_INVALID_PARAMETER);
  const uint64_t stride = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;

  const std::vector<uint32_t>& table = DefaultColorTable(bpp);
  if (bpp <= 8) {
    const uint64_t entry = usage == DIB_PAL_COLORS ? 2 : core ? 3 : 4;
    if (size + table.size() * entry > avail) return Refuse(0, ERROR_INVALID_PARAMETER);
    BYTE* out = p + size;
    for (size_t i = 0; i < table.size(); ++i, out += entry) {
      if (usage == DIB_PAL_COLORS) {
        const WORD index = static_cast<WORD>(i);
        std::memcpy(out, &index, 2);
      } else {
        out[0] = static_cast<BYTE>(table[i]);
        out[1] = static_cast<BYTE>(table[i] >> 8);
        out[2] = static_cast<BYTE>(table[i] >> 16);
        if (entry == 4) out[3] = 0;
      }
    }
  }
  if (!lpvBits) {
    if (!core) put32(20, static_cast<uint32_t>(stride * static_cast<uint64_t>(height)));
    return static_cast<int>(height);
  }
  if (start >= height || cLines == 0) return 0;
  const int64_t lines = std::min<int64_t>(cLines, height - start);
  if (stride > standin::GlobalBytesAvailable(lpvBits) / static_cast<uint64_t>(lines))
    return Refuse(0, ERROR_INVALID_PARAMETER);
  std::unordered_map<uint32_t, int> nearest;
  BYTE* bits = static_cast<BYTE*>(lpvBits);
  for (int64_t i = 0; i < lines; ++i) {
    const int64_t fromOrigin = start + i;
    // DIB rows line up with the bitmap's from the DIB's origin.
    const int64_t bitmapRow = topDown ? fromOrigin : b->height - 1 - fromOrigin;
    BYTE* line = bits + static_cast<uint64_t>(i) * stride;
    std::memset(line, 0, stride);
    if (bitmapRow < 0 || bitmapRow >= b->height) continue;
    const int64_t columns = std::min<int64_t>(width, b->width);
    for (int64_t x = 0; x < columns; ++x) {
      const uint32_t px = b->At(static_cast<int>(x), static_cast<int>(bitmapRow));
      if (bpp <= 8) {
        auto it = nearest.find(px);
        const int index = it != nearest.end() ? it->second : (nearest[px] = NearestIndex(table, px));
        if (bpp == 8)
          line[x] = static_cast<BYTE>(index);
        else if (bpp == 4)
          line[x / 2] |= static_cast<BYTE>(index << ((x & 1) ? 0 : 4));
        else
          line[x / 8] |= static_cast<BYTE>(index << (7 - (x & 7)));
      } else if (bpp == 16) {
        const uint32_t v = (((px >> 19) & 0x1F) << 10) | (((px >> 11) & 0x1F) << 5) | ((px >> 3) & 0x1F);
        line[2 * x] = static_cast<BYTE>(v);
        line[2 * x + 1] = static_cast<BYTE>(v >> 8);
      } else {
        const int step = bpp / 8;
        line[step * x] = static_cast<BYTE>(px);
        line[step * x + 1] = static_cast<BYTE>(px >> 8);
        line[step * x + 2] = static_cast<BYTE>(px >> 16);
      }
    }
  }
  return static_cast<int>(lines);
}
