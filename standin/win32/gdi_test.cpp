// The GDI stand-in's own answers where Windows documents none: what it refuses to draw rather
// than draw wrongly, which source columns a shrink keeps, coordinates beyond GDI's range, and
// palettes on a device without one.
#include <gtest/gtest.h>
#include <windows.h>

#include "testing/Canvas.h"

namespace {

using tovutest::Canvas;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST(GdiStandIn, RefusalsAndChoices) {
  // Pens it cannot draw: dashed, and wider than a pixel.
  EXPECT_EQ(CreatePen(PS_DASH, 1, kRed), nullptr);
  EXPECT_EQ(CreatePen(PS_SOLID, 3, kRed), nullptr);

  // A polygon far beyond GDI's coordinate range fills what the surface shows; a fill mode other
  // than ALTERNATE or WINDING is refused.
  Canvas c(40, 40);
  const POINT distant[] = {{-2000000000, -5}, {2000000000, -5}, {0, 2000000000}};
  HRGN huge = CreatePolygonRgn(distant, 3, ALTERNATE);
  FillRgn(c.dc(), huge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(c.Count(RGB(0, 0, 0)), 40 * 40);
  DeleteObject(huge);
  const POINT square[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
  EXPECT_EQ(CreatePolygonRgn(square, 4, 3), nullptr);

  // Only logical palettes of version 0x300; realising one on a device without a palette maps
  // every entry.
  alignas(LOGPALETTE) BYTE buffer[sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY)] = {};
  auto* lp = reinterpret_cast<LOGPALETTE*>(buffer);
  lp->palVersion = 0x200;
  lp->palNumEntries = 3;
  EXPECT_EQ(CreatePalette(lp), nullptr);
  lp->palVersion = 0x300;
  HPALETTE pal = CreatePalette(lp);
  SelectPalette(c.dc(), pal, TRUE);
  EXPECT_EQ(RealizePalette(c.dc()), 3u);
  SelectPalette(c.dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
  DeleteObject(pal);

  // Shrinking 4 columns to 2 with COLORONCOLOR keeps columns 0 and 2.
  Canvas src(4, 1);
  SetPixel(src.dc(), 0, 0, kRed);
  SetPixel(src.dc(), 2, 0, kBlue);
  Canvas dst(2, 1);
  EXPECT_EQ(SetStretchBltMode(dst.dc(), COLORONCOLOR), BLACKONWHITE);
  StretchBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(dst.Pixel(0, 0), kRed);
  EXPECT_EQ(dst.Pixel(1, 0), kBlue);
}

}  // namespace
