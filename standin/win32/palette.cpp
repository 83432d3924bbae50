// Colours in GDI, as a true-colour screen shows them: the screen's default colour tables, the
// reduction of colours to a bitmap's depth, PALETTEINDEX colours, and logical palettes.
#include <wingdi.h>

#include <algorithm>

#include "standin/win32/gdi_internal.h"
#include "standin/win32/globalmem.h"

namespace standin::gdi {

uint32_t ResolveColor(const DC& dc, COLORREF color) {
  if ((color >> 24) == 0x01) {
    const Palette* pal = FindAs<Palette>(dc.palette);
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

}  // namespace standin::gdi

using namespace standin::gdi;

// --- Palettes ---

HPALETTE CreatePalette(const LOGPALETTE* plpal) {
  const Lock lock;
  // The entries must lie inside the block that holds the header, when it is a global block.
  const size_t available = plpal ? standin::GlobalBytesAvailable(plpal) : 0;
  if (!plpal || available < 4 || plpal->palVersion != 0x300 || plpal->palNumEntries == 0 ||
      available < 4 + 4 * size_t{plpal->palNumEntries})
    return Refuse<HPALETTE>(nullptr, ERROR_INVALID_PARAMETER);
  const size_t n = plpal->palNumEntries;
  auto palette = std::make_unique<Palette>();
  palette->entries.assign(plpal->palPalEntry, plpal->palPalEntry + n);
  return static_cast<HPALETTE>(Register(std::move(palette)));
}

UINT GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, LPPALETTEENTRY pPalEntries) {
  const Lock lock;
  const Palette* pal = FindAs<Palette>(hpal);
  if (!pal) return 0;
  const UINT size = static_cast<UINT>(pal->entries.size());
  if (!pPalEntries) return size;
  if (iStart >= size) return 0;
  const UINT n = std::min(cEntries, size - iStart);
  std::copy_n(pal->entries.begin() + iStart, n, pPalEntries);
  return n;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL) {
  const Lock lock;
  DC* dc = FindDC(hdc);
  if (!dc || !FindAs<Palette>(hPal)) return Refuse<HPALETTE>(nullptr, ERROR_INVALID_HANDLE);
  return Replace(hdc, dc->palette, hPal);
}

UINT RealizePalette(HDC hdc) {
  const Lock lock;
  const DC* dc = FindDC(hdc);
  if (!dc) return GDI_ERROR;
  const Palette* pal = FindAs<Palette>(dc->palette);
  return pal ? static_cast<UINT>(pal->entries.size()) : 0;
}
