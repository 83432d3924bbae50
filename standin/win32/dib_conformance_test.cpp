// Conformance of GDI's DIB decoding and encoding: every depth and header kind, RLE, bit fields,
// orientation, bands, stretching, refusals of malformed headers, and
// GetDIBits/SetDIBits.
// Compiled twice: against the stand-in on Linux and against the real Win32 under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "testing/BmpBytes.h"
#include "testing/Canvas.h"
#include "testing/Win32Conformance.h"

namespace {

using tovutest::Canvas;

constexpr COLORREF kGrey = RGB(90, 90, 90);

using tovutest::Bytes;
using tovutest::InfoHeader;

using Dib = tovutest::GlobalDib;
using tovutest::RleDib;

int Paint(const Canvas& c, const Dib& dib, int w, int h) {
  return SetDIBitsToDevice(c.dc(), 0, 0, w, h, 0, 0, 0, h, dib.bits(), dib.info(), DIB_RGB_COLORS);
}

// The two-row test picture: top row red, green, blue; bottom row white, black, grey (90).
const COLORREF kTop[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
const COLORREF kBottom[3] = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(90, 90, 90)};

void ExpectPicture(const Canvas& c, const char* what) {
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(c.Pixel(x, 0), kTop[x]) << what << " top " << x;
    EXPECT_EQ(c.Pixel(x, 1), kBottom[x]) << what << " bottom " << x;
  }
  EXPECT_EQ(c.Pixel(3, 0), RGB(7, 7, 7)) << what << ": nothing right of the picture";
}

Bytes Palette(bool quads) {
  Bytes b;
  for (COLORREF c : {kBottom[0], kBottom[1], kBottom[2], kTop[0], kTop[1], kTop[2]}) {
    b.u8(GetBValue(c)).u8(GetGValue(c)).u8(GetRValue(c));
    if (quads) b.u8(0);
  }
  return b;
}

TEST(DibDecode, EveryDepthAndHeaderKindPaintsItsColours) {
  // Indices 3 4 5 over 0 1 2, stored bottom row first.
  {
    Bytes b = InfoHeader(3, 2, 8, 6, BI_RGB);
    const size_t at = b.size() + 24;
    const Bytes pal = Palette(true);
    b.insert(b.end(), pal.begin(), pal.end());
    b.u8(0).u8(1).u8(2).pad(4).u8(3).u8(4).u8(5).pad(4);
    Canvas c(4, 2, RGB(7, 7, 7));
    EXPECT_EQ(Paint(c, Dib(b, at), 3, 2), 2);
    ExpectPicture(c, "8-bit");
  }
  {
    Bytes b = InfoHeader(3, 2, 4, 6, BI_RGB);
    const size_t at = b.size() + 24;
    const Bytes pal = Palette(true);
    b.insert(b.end(), pal.begin(), pal.end());
    b.u8(0x01).u8(0x20).pad(4).u8(0x34).u8(0x50).pad(4);
    Canvas c(4, 2, RGB(7, 7, 7));
    Paint(c, Dib(b, at), 3, 2);
    ExpectPicture(c, "4-bit");
  }
  {
    // Top-down: the top row is stored first, as blue, green, red bytes.
    Bytes fixed = InfoHeader(3, -2, 24);
    for (COLORREF c : kTop) fixed.u8(GetBValue(c)).u8(GetGValue(c)).u8(GetRValue(c));
    fixed.pad(4);
    for (COLORREF c : kBottom) fixed.u8(GetBValue(c)).u8(GetGValue(c)).u8(GetRValue(c));
    fixed.pad(4);
    Canvas c(4, 2, RGB(7, 7, 7));
    EXPECT_EQ(Paint(c, Dib(fixed, 40), 3, 2), 2);
    ExpectPicture(c, "24-bit top-down");
  }
  {
    Bytes b = InfoHeader(3, 2, 32);
    for (COLORREF c : kBottom) b.u8(GetBValue(c)).u8(GetGValue(c)).u8(GetRValue(c)).u8(0xAB);
    for (COLORREF c : kTop) b.u8(GetBValue(c)).u8(GetGValue(c)).u8(GetRValue(c)).u8(0xAB);
    Canvas c(4, 2, RGB(7, 7, 7));
    Paint(c, Dib(b, 40), 3, 2);
    ExpectPicture(c, "32-bit (the fourth byte ignored)");
  }
  {
    Bytes b;
    b.u32(12).u16(3).u16(2).u16(1).u16(8);
    const Bytes pal = Palette(false);
    b.insert(b.end(), pal.begin(), pal.end());
    b.resize(12 + 256 * 3, 0);
    b.u8(0).u8(1).u8(2).pad(4).u8(3).u8(4).u8(5).pad(4);
    Canvas c(4, 2, RGB(7, 7, 7));
    Paint(c, Dib(b, 12 + 768), 3, 2);
    ExpectPicture(c, "core header with 3-byte entries");
  }
  {
    // 16-bit 5-5-5: 5-bit values widen by repeating their top bits (v << 3 | v >> 2).
    Bytes b = InfoHeader(3, 1, 16);
    b.u16(31 << 10).u16(16 << 5).u16(1).pad(4);
    Canvas c(3, 1);
    Paint(c, Dib(b, 40), 3, 1);
    EXPECT_EQ(c.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(c.Pixel(1, 0), RGB(0, 132, 0));
    EXPECT_EQ(c.Pixel(2, 0), RGB(0, 0, 8));
  }
  {
    // Bit fields after a 40-byte header: 5-6-5, and 32-bit channels in an unusual order.
    Bytes b = InfoHeader(2, 1, 16, 0, BI_BITFIELDS);
    b.u32(0xF800).u32(0x07E0).u32(0x001F);
    b.u16(0x07E0).u16(0xF800);
    Canvas c(2, 1);
    Paint(c, Dib(b, 52), 2, 1);
    EXPECT_EQ(c.Pixel(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(c.Pixel(1, 0), RGB(255, 0, 0));
    Bytes d = InfoHeader(1, 1, 32, 0, BI_BITFIELDS);
    d.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000).u32(0x00332211);
    Paint(c, Dib(d, 52), 1, 1);
    EXPECT_EQ(c.Pixel(0, 0), RGB(0x11, 0x22, 0x33));
  }
}

TEST(DibDecode, ColourTableLimitsAndPaletteColours) {
  // Two colours in the table; index 3 has none and is black.
  Bytes b = InfoHeader(2, 1, 8, 2, BI_RGB);
  b.u32(0x00FF0000).u32(0x0000FF00).u8(1).u8(3).pad(4);
  Canvas c(2, 1);
  Paint(c, Dib(b, 48), 2, 1);
  EXPECT_EQ(c.Pixel(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(c.Pixel(1, 0), RGB(0, 0, 0));

  alignas(LOGPALETTE) BYTE buffer[sizeof(LOGPALETTE) + sizeof(PALETTEENTRY)] = {};
  auto* lp = reinterpret_cast<LOGPALETTE*>(buffer);
  lp->palVersion = 0x300;
  lp->palNumEntries = 2;
  lp->palPalEntry[1] = {12, 34, 56, 0};
  HPALETTE pal = CreatePalette(lp);
  SelectPalette(c.dc(), pal, FALSE);
  Bytes w = InfoHeader(2, 1, 1);
  w.u16(1).u16(7).u8(0x40).pad(4);  // palette entries 1 and 7, past the palette
  const Dib dib(w, 44);
  EXPECT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 2, 1, 0, 0, 0, 1, dib.bits(), dib.info(), DIB_PAL_COLORS), 1);
  EXPECT_EQ(c.Pixel(0, 0), RGB(12, 34, 56));
  // What an index past the palette gives is not documented: the stand-in paints black, Wine
  // takes the index modulo the palette's size.
  if (!tovutest::UnderWine()) {
    EXPECT_EQ(c.Pixel(1, 0), RGB(0, 0, 0));
  }
  SelectPalette(c.dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  DeleteObject(pal);
}

TEST(DibDecode, RleRunsAbsoluteRunsDeltasAndSkippedPixels) {
  // Bottom row: two red, absolute green blue(index 0) green; then end of line.
  // Next row: delta right 4 and up 1 (to the top row, x 4), one green, end of bitmap.
  Bytes data;
  data.u8(2).u8(2).u8(0).u8(3).u8(1).u8(0).u8(1).u8(0).u8(0).u8(0);
  data.u8(0).u8(2).u8(4).u8(1).u8(1).u8(1).u8(0).u8(1);
  Canvas c(6, 3, kGrey);
  const Dib dib(RleDib(8, 6, 3, data), 52);
  EXPECT_EQ(Paint(c, dib, 6, 3), 3);
  EXPECT_EQ(c.Pixel(0, 2), RGB(255, 0, 0));
  EXPECT_EQ(c.Pixel(1, 2), RGB(255, 0, 0));
  EXPECT_EQ(c.Pixel(2, 2), RGB(0, 255, 0));
  EXPECT_EQ(c.Pixel(3, 2), RGB(0, 0, 255));
  EXPECT_EQ(c.Pixel(4, 2), RGB(0, 255, 0));
  EXPECT_EQ(c.Pixel(5, 2), kGrey) << "pixels the data skips stay as they were";
  EXPECT_EQ(c.Pixel(4, 0), RGB(0, 255, 0));
  EXPECT_EQ(c.Count(kGrey), 18 - 6);

  // RLE4: a run alternates the two nibbles; an absolute run of 3 pixels takes 2 bytes.
  Bytes four;
  four.u8(5).u8(0x21).u8(0).u8(3).u8(0x01).u8(0x20).u8(0).u8(1);
  Canvas d(8, 1, kGrey);
  const Dib dib4(RleDib(4, 8, 1, four), 52);
  EXPECT_EQ(Paint(d, dib4, 8, 1), 1);
  const COLORREF expected[8] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(255, 0, 0), RGB(0, 255, 0),
                                RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0), RGB(255, 0, 0)};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(d.Pixel(x, 0), expected[x]) << x;
}

TEST(DibDecode, MalformedOrShortDibsAreRefusedAndPaintNothing) {
  struct Case {
    const char* what;
    Bytes bytes;
    size_t bitsAt;
    // Only the stand-in sees where a global block ends; Windows would read past it.
    bool pastTheBlock = false;
  };
  std::vector<Case> cases;
  Bytes odd = InfoHeader(2, 2, 24);
  odd[0] = 20;
  cases.push_back({"header of 20 bytes", odd, 40});
  cases.push_back({"3 bits per pixel", InfoHeader(2, 2, 3), 40});
  cases.push_back({"negative width", InfoHeader(-2, 2, 24), 40});
  cases.push_back({"top-down RLE", InfoHeader(2, -2, 8, 0, BI_RLE8, 4), 40});
  cases.push_back({"RLE without its size", InfoHeader(2, 2, 8, 0, BI_RLE8), 40});
  cases.push_back({"RLE8 at 4 bits", InfoHeader(2, 2, 4, 0, BI_RLE8, 4), 40});
  Bytes shortTable = InfoHeader(2, 2, 8);  // 256 entries promised, none there
  shortTable.resize(60, 0);
  cases.push_back({"colour table past the block", shortTable, 40, true});
  Bytes shortBits = InfoHeader(2, 2, 24);
  shortBits.resize(40 + 8 + 7, 0);  // rows of 8 bytes: 16 needed
  cases.push_back({"bits past the block", shortBits, 40, true});
  Bytes lyingRle = InfoHeader(2, 2, 8, 1, BI_RLE8, 400);
  lyingRle.u32(0).u8(2).u8(0).u8(0).u8(1);
  cases.push_back({"RLE size past the block", lyingRle, 44, true});
  for (const Case& k : cases) {
    if (k.pastTheBlock && tovutest::UnderWine()) continue;
    Canvas c(4, 4, kGrey);
    const Dib dib(k.bytes, k.bitsAt);
    SetLastError(0);
    EXPECT_EQ(Paint(c, dib, 2, 2), 0) << k.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << k.what;
    EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 4, 4, 0, 0, 2, 2, dib.bits(), dib.info(), DIB_RGB_COLORS, SRCCOPY), 0)
        << k.what;
    EXPECT_EQ(c.Count(kGrey), 16) << k.what;
  }
}

// A 2 by 3 24-bit DIB: rows from the bottom red, green, blue; the right column darker.
Bytes Stripes(int32_t height) {
  Bytes b = InfoHeader(2, height, 24);
  const COLORREF rows[3][2] = {
      {RGB(255, 0, 0), RGB(128, 0, 0)}, {RGB(0, 255, 0), RGB(0, 128, 0)}, {RGB(0, 0, 255), RGB(0, 0, 128)}};
  for (int i = 0; i < 3; ++i) {
    const int r = height > 0 ? i : 2 - i;  // a top-down DIB stores the top (blue) row first
    for (COLORREF c : rows[r]) b.u8(GetBValue(c)).u8(GetGValue(c)).u8(GetRValue(c));
    b.pad(4);
  }
  return b;
}

TEST(DibDecode, BandsAndSourceRectanglesCountFromTheOrigin) {
  const Dib up(Stripes(3), 40);
  Canvas c(2, 3, kGrey);
  // Only the middle row is in the bits given: they start at row 1.
  const BYTE* middle = static_cast<const BYTE*>(up.bits()) + 8;
  EXPECT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 2, 3, 0, 0, 1, 1, middle, up.info(), DIB_RGB_COLORS), 1);
  EXPECT_EQ(c.Pixel(0, 1), RGB(0, 255, 0));
  EXPECT_EQ(c.Count(kGrey), 4);

  // A bottom-up DIB counts ySrc from its bottom: ySrc 1 with height 1 is the green row.
  Canvas d(1, 1, kGrey);
  SetDIBitsToDevice(d.dc(), 0, 0, 1, 1, 1, 1, 0, 3, up.bits(), up.info(), DIB_RGB_COLORS);
  EXPECT_EQ(d.Pixel(0, 0), RGB(0, 128, 0));
  StretchDIBits(d.dc(), 0, 0, 1, 1, 0, 0, 1, 1, up.bits(), up.info(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(d.Pixel(0, 0), RGB(255, 0, 0)) << "StretchDIBits too: ySrc 0 is the bottom row";
  const Dib down(Stripes(-3), 40);
  StretchDIBits(d.dc(), 0, 0, 1, 1, 0, 0, 1, 1, down.bits(), down.info(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(d.Pixel(0, 0), RGB(0, 0, 255)) << "a top-down DIB counts from its top";

  // Stretching to twice the size, and mirroring by a negative source width.
  Canvas e(4, 6, kGrey);
  EXPECT_EQ(StretchDIBits(e.dc(), 0, 0, 4, 6, 0, 0, 2, 3, up.bits(), up.info(), DIB_RGB_COLORS, SRCCOPY), 3);
  EXPECT_EQ(e.Pixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(e.Pixel(3, 5), RGB(128, 0, 0));
  StretchDIBits(e.dc(), 0, 0, 2, 3, 1, 0, -2, 3, up.bits(), up.info(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(e.Pixel(0, 0), RGB(0, 0, 128));
  EXPECT_EQ(e.Pixel(1, 2), RGB(255, 0, 0));
}

TEST(DibEncode, GetDIBitsWritesEveryDepthAndFillsHeaders) {
  Canvas c(3, 2, RGB(255, 255, 255));
  SetPixel(c.dc(), 0, 0, RGB(255, 0, 0));
  SetPixel(c.dc(), 1, 0, RGB(0, 0, 0));
  SetPixel(c.dc(), 2, 1, RGB(0, 0, 255));
  HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(c.dc(), OBJ_BITMAP));
  HDC screen = GetDC(nullptr);

  BITMAPINFO query = {};
  query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  EXPECT_EQ(GetDIBits(screen, bitmap, 0, 0, nullptr, &query, DIB_RGB_COLORS), 2);
  EXPECT_EQ(query.bmiHeader.biWidth, 3);
  EXPECT_EQ(query.bmiHeader.biHeight, 2);
  EXPECT_EQ(query.bmiHeader.biBitCount, 32);
  EXPECT_EQ(query.bmiHeader.biSizeImage, 24u);

  // 24 bits, bottom-up, rows padded to 12 bytes; the poison shows what was written.
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 40 + 24);
  BYTE* p = static_cast<BYTE*>(block);
  std::memset(p, 0xCD, 64);
  Bytes h24 = InfoHeader(3, 2, 24);
  std::memcpy(p, h24.data(), 40);
  EXPECT_EQ(GetDIBits(screen, bitmap, 0, 2, p + 40, reinterpret_cast<BITMAPINFO*>(p), DIB_RGB_COLORS), 2);
  const BYTE bottom[12] = {255, 255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0};
  const BYTE top[12] = {0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0};
  EXPECT_EQ(std::memcmp(p + 40, bottom, 12), 0);
  EXPECT_EQ(std::memcmp(p + 52, top, 12), 0);
  GlobalFree(block);

  // 1 bit: black and white table, nearest colour; 8 bits: the default table, which holds pure
  // red; 16 bits: 5-5-5; a top-down request starts with the top row.
  for (int bpp : {1, 8, 16}) {
    std::vector<BYTE> buffer(40 + 256 * 4 + 16, 0xCD);
    Bytes hd = InfoHeader(3, -2, bpp);
    std::memcpy(buffer.data(), hd.data(), 40);
    const size_t table = bpp <= 8 ? (size_t{4} << bpp) : 0;
    BYTE* bits = buffer.data() + 40 + table;
    EXPECT_EQ(GetDIBits(screen, bitmap, 0, 2, bits, reinterpret_cast<BITMAPINFO*>(buffer.data()), DIB_RGB_COLORS), 2);
    if (bpp == 1) {
      EXPECT_EQ(bits[0], 0x20) << "red is nearer black; black is black; white is 1";
      EXPECT_EQ(buffer[40 + 4], 255) << "second table entry white";
    } else if (bpp == 8) {
      const BYTE* entry = &buffer[40 + 4 * bits[0]];
      EXPECT_EQ(RGB(entry[2], entry[1], entry[0]), RGB(255, 0, 0));
    } else {
      EXPECT_EQ(bits[0] | (bits[1] << 8), 0x7C00);
    }
  }
  ReleaseDC(nullptr, screen);
}

TEST(DibEncode, SetDIBitsFillsAFreeBitmapOnly) {
  HBITMAP bitmap = CreateBitmap(2, 3, 1, 32, nullptr);
  const Dib stripes(Stripes(3), 40);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(SetDIBits(screen, bitmap, 0, 3, stripes.bits(), stripes.info(), DIB_RGB_COLORS), 3);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, bitmap);
  EXPECT_EQ(GetPixel(mem, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(mem, 1, 2), RGB(128, 0, 0));
  // Windows documents that the bitmap must not be selected into a DC; Wine fills it all the same.
  if (!tovutest::UnderWine()) {
    EXPECT_EQ(SetDIBits(screen, bitmap, 0, 3, stripes.bits(), stripes.info(), DIB_RGB_COLORS), 0);
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
}

}  // namespace
