// Conformance of GDI and of MFC's drawing classes over it: device contexts and their objects,
// lines, fills, frames, regions, palettes and blits.
// Compiled twice: against the stand-in on Linux and against the real Win32 under Wine.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <utility>

#include "testing/Canvas.h"
#include "testing/Win32Conformance.h"

namespace {

using tovutest::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// The set of pixels that differ from the background.
std::set<std::pair<int, int>> Painted(const Canvas& c, COLORREF background = kWhite) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.Pixel(x, y) != background) out.insert({x, y});
  return out;
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

TEST(GdiDC, MemoryDCsStartMonochromeAndTakeOnlyCompatibleBitmaps) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, 0);
  HDC mem = CreateCompatibleDC(screen);
  BITMAP bm;
  // The classic mistake: a bitmap compatible with a fresh memory DC is monochrome.
  HBITMAP mono = CreateCompatibleBitmap(mem, 8, 8);
  ASSERT_EQ(GetObjectW(mono, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidthBytes, 2);
  HBITMAP colour = CreateCompatibleBitmap(screen, 33, 4);
  GetObjectW(colour, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(bm.bmWidthBytes, 132);
  EXPECT_EQ(sizeof(BITMAP), 32u);

  EXPECT_EQ(SelectObject(screen, colour), nullptr) << "a screen DC takes no bitmap";
  const HGDIOBJ stock = SelectObject(mem, colour);
  EXPECT_EQ(GetObjectType(stock), static_cast<DWORD>(OBJ_BITMAP));
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, colour), nullptr) << "a bitmap lives in one DC at a time";
  HBITMAP eight = CreateBitmap(4, 4, 1, 8, nullptr);
  EXPECT_EQ(SelectObject(other, eight), nullptr) << "only monochrome and screen-format bitmaps";
  EXPECT_EQ(CreateBitmap(4, 4, 2, 8, nullptr), nullptr);

  HWND window = reinterpret_cast<HWND>(0x1234);
  SetLastError(0);
  EXPECT_EQ(GetDC(window), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(ReleaseDC(nullptr, mem), 0) << "memory DCs are deleted, not released";

  SelectObject(mem, stock);
  EXPECT_NE(SelectObject(other, colour), nullptr) << "free again once deselected";
  for (HGDIOBJ h : {static_cast<HGDIOBJ>(mono), static_cast<HGDIOBJ>(eight)}) EXPECT_TRUE(DeleteObject(h));
  DeleteDC(other);
  EXPECT_EQ(GetObjectType(colour), static_cast<DWORD>(OBJ_BITMAP));
  EXPECT_TRUE(DeleteObject(colour));
  EXPECT_EQ(GetObjectType(colour), 0u);
  EXPECT_TRUE(DeleteDC(mem));
  EXPECT_FALSE(DeleteDC(mem));
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST(GdiDC, SelectedObjectsAreDeletedOnlyWhenDeselected) {
  Canvas c(10, 10);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HGDIOBJ old = SelectObject(c.dc(), pen);
  EXPECT_EQ(old, GetStockObject(BLACK_PEN));
  EXPECT_TRUE(DeleteObject(pen));
  Line(c.dc(), 0, 0, 5, 0);
  EXPECT_EQ(c.Pixel(2, 0), kRed) << "the pen draws on while selected";
  EXPECT_EQ(SelectObject(c.dc(), old), pen);
  EXPECT_EQ(GetObjectType(pen), 0u) << "and is gone once deselected";

  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
  HDC dc = CreateCompatibleDC(c.dc());
  EXPECT_TRUE(DeleteObject(dc)) << "a DC given to DeleteObject is deleted";
  EXPECT_EQ(GetObjectType(dc), 0u);
  // Wine says a handle that names nothing was deleted.
  if (!tovutest::UnderWine()) {
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(0x40)));
  }
}

// Each call's own failure value, and the last error it sets; calls that set none leave it as it was.
// Windows documents no last error for these; Wine's differ, so under Wine only the values count.
TEST(GdiDC, HandlesThatNameNoDCAreRefusedAsEachCallRefusesThem) {
  constexpr DWORD kUntouched = 0xDEAD;
  Canvas c(4, 4);
  const HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  const HBRUSH brush = CreateSolidBrush(kRed);
  const HRGN rgn = CreateRectRgn(0, 0, 2, 2);
  const RECT r = {0, 0, 2, 2};
  BITMAPINFO bi = {};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const uint32_t bits = 0;
  const bool wine = tovutest::UnderWine();
  auto expect = [&](const char* call, auto result, auto failure, DWORD error) {
    EXPECT_EQ(result, failure) << call;
    if (!wine) {
      EXPECT_EQ(GetLastError(), error) << call;
    }
    SetLastError(kUntouched);
  };
  for (const HDC bad : {HDC{}, reinterpret_cast<HDC>(pen)}) {
    SetLastError(kUntouched);
    expect("DeleteDC", DeleteDC(bad), FALSE, ERROR_INVALID_HANDLE);
    expect("SetBkColor", SetBkColor(bad, kRed), CLR_INVALID, kUntouched);
    expect("GetStretchBltMode", GetStretchBltMode(bad), 0, kUntouched);
    expect("SetStretchBltMode", SetStretchBltMode(bad, HALFTONE), 0, ERROR_INVALID_PARAMETER);
    expect("SelectObject", SelectObject(bad, brush), HGDIOBJ{}, ERROR_INVALID_HANDLE);
    expect("CreateCompatibleBitmap", CreateCompatibleBitmap(bad, 2, 2), HBITMAP{}, ERROR_INVALID_HANDLE);
    // Wine gives 0 where Windows documents GDI_ERROR, and draws FillRect's failure as a success.
    expect("RealizePalette", RealizePalette(bad), wine ? 0u : static_cast<UINT>(GDI_ERROR), kUntouched);
    expect("FillRgn", FillRgn(bad, rgn, brush), FALSE, ERROR_INVALID_HANDLE);
    expect("SetPixel", SetPixel(bad, 0, 0, kRed), CLR_INVALID, kUntouched);
    expect("LineTo", LineTo(bad, 1, 1), FALSE, kUntouched);
    expect("FillRect", FillRect(bad, &r, brush), wine ? 1 : 0, kUntouched);
    expect("PatBlt", PatBlt(bad, 0, 0, 1, 1, PATCOPY), FALSE, kUntouched);
    expect("BitBlt to it", BitBlt(bad, 0, 0, 1, 1, c.dc(), 0, 0, SRCCOPY), FALSE, ERROR_INVALID_HANDLE);
    expect("BitBlt from it", BitBlt(c.dc(), 0, 0, 1, 1, bad, 0, 0, SRCCOPY), FALSE, ERROR_INVALID_HANDLE);
    expect("BitBlt from it, no source", BitBlt(c.dc(), 0, 0, 1, 1, bad, 0, 0, PATCOPY), TRUE, kUntouched);
    expect("SetDIBitsToDevice", SetDIBitsToDevice(bad, 0, 0, 1, 1, 0, 0, 0, 1, &bits, &bi, DIB_RGB_COLORS), 0,
           ERROR_INVALID_HANDLE);
    expect("StretchDIBits", StretchDIBits(bad, 0, 0, 1, 1, 0, 0, 1, 1, &bits, &bi, DIB_RGB_COLORS, SRCCOPY), 0,
           ERROR_INVALID_HANDLE);
  }
  expect("SelectObject of a palette", SelectObject(c.dc(), GetStockObject(DEFAULT_PALETTE)), HGDIOBJ{},
         ERROR_INVALID_PARAMETER);
  expect("FillRgn with a pen", FillRgn(c.dc(), rgn, reinterpret_cast<HBRUSH>(pen)), FALSE, ERROR_INVALID_HANDLE);
  expect("GetObjectType", GetObjectType(rgn), static_cast<DWORD>(OBJ_REGION), kUntouched);
  DeleteObject(rgn);
  expect("GetObjectType, deleted", GetObjectType(rgn), 0u, ERROR_INVALID_HANDLE);
  DeleteObject(brush);
  DeleteObject(pen);
}

TEST(GdiLines, TheLastPixelIsNotDrawn) {
  Canvas c(20, 20);
  SelectObject(c.dc(), GetStockObject(BLACK_PEN));
  Line(c.dc(), 2, 5, 8, 5);
  std::set<std::pair<int, int>> expected;
  for (int x = 2; x < 8; ++x) expected.insert({x, 5});
  EXPECT_EQ(Painted(c), expected);
  POINT at;
  GetCurrentPositionEx(c.dc(), &at);
  EXPECT_EQ(at.x, 8);
  EXPECT_EQ(at.y, 5);

  c.Fill(kWhite);
  Line(c.dc(), 7, 7, 7, 7);
  EXPECT_TRUE(Painted(c).empty()) << "a zero-length line draws nothing";
  Line(c.dc(), 7, 7, 8, 8);
  EXPECT_EQ(Painted(c), (std::set<std::pair<int, int>>{{7, 7}})) << "a one-pixel step draws its start";

  c.Fill(kWhite);
  Line(c.dc(), 0, 0, 4, 2);  // passes exactly half way at x = 1 and x = 3
  EXPECT_EQ(Painted(c), (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
  c.Fill(kWhite);
  Line(c.dc(), 10, 10, 10, 4);  // upwards
  EXPECT_EQ(Painted(c).size(), 6u);
  EXPECT_EQ(c.Pixel(10, 4), kWhite);
  EXPECT_EQ(c.Pixel(10, 10), kBlack);

  // PolyPolyline draws each run as LineTo would, leaving the current position; a run of fewer
  // than two points refuses the whole call.
  Canvas lines(20, 20);
  Line(lines.dc(), 1, 1, 9, 4);
  Line(lines.dc(), 9, 4, 3, 12);
  Line(lines.dc(), 15, 2, 15, 2);
  c.Fill(kWhite);
  MoveToEx(c.dc(), 5, 6, nullptr);
  const POINT ends[] = {{1, 1}, {9, 4}, {3, 12}, {15, 2}, {15, 2}};
  const DWORD shortRun[] = {3, 1, 1};
  EXPECT_FALSE(PolyPolyline(c.dc(), ends, shortRun, 3));
  EXPECT_TRUE(Painted(c).empty());
  const DWORD runs[] = {3, 2};
  EXPECT_TRUE(PolyPolyline(c.dc(), ends, runs, 2));
  EXPECT_EQ(Painted(c), Painted(lines));
  GetCurrentPositionEx(c.dc(), &at);
  EXPECT_EQ(at.x * 100 + at.y, 506);
}

TEST(GdiLines, HugeCoordinatesAreClippedNotWalked) {
  Canvas c(30, 20);
  Line(c.dc(), -2000000000, 10, 2000000000, 10);
  EXPECT_EQ(c.Count(kBlack), 30);
  c.Fill(kWhite);
  Line(c.dc(), -2000000000, -2000000000, 2000000000, 2000000000);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(c.Pixel(i, i), kBlack) << i;
  EXPECT_EQ(c.Count(kBlack), 20);

  // A line that starts off the surface has the pixels the whole line has there.
  for (const auto& [dx, dy] : {std::pair{29, 7}, {-29, 11}, {8, 27}, {13, -24}}) {
    Canvas whole(60, 60), clipped(30, 30);
    Line(whole.dc(), 30 - dx, 30 - dy, 30 + dx, 30 + dy);
    Line(clipped.dc(), -dx, -dy, dx, dy);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x) EXPECT_EQ(clipped.Pixel(x, y), whole.Pixel(x + 30, y + 30)) << dx << "," << dy;
  }
}

TEST(GdiFills, FillSolidRectAndDraw3dRectAsMfcDrawsThem) {
  Canvas c(16, 16);
  CDC* dc = CDC::FromHandle(c.dc());
  dc->FillSolidRect(CRect(1, 1, 4, 3), kRed);
  EXPECT_EQ(c.Count(kRed), 6);
  EXPECT_EQ(dc->GetBkColor(), kRed) << "FillSolidRect leaves the background colour set";
  dc->FillSolidRect(6, 6, -2, -2, kBlue);  // an unordered rectangle is ordered first
  EXPECT_EQ(c.Pixel(4, 4), kBlue);
  EXPECT_EQ(c.Pixel(5, 5), kBlue);
  EXPECT_EQ(c.Count(kBlue), 4);

  c.Fill(kWhite);
  const COLORREF tl = RGB(0x80, 0x80, 0x80), br = RGB(0xF0, 0xF0, 0xF0);
  dc->Draw3dRect(CRect(2, 2, 12, 12), tl, br);
  for (int i = 2; i <= 10; ++i) {
    EXPECT_EQ(c.Pixel(i, 2), tl) << i;
    EXPECT_EQ(c.Pixel(2, i), tl) << i;
  }
  for (int i = 2; i <= 11; ++i) {
    EXPECT_EQ(c.Pixel(11, i), br) << i;
    EXPECT_EQ(c.Pixel(i, 11), br) << i;
  }
  EXPECT_EQ(Painted(c).size(), 36u);
  EXPECT_EQ(c.Pixel(3, 3), kWhite);
  EXPECT_EQ(c.Pixel(12, 12), kWhite);
}

TEST(GdiFills, FrameRectDrawsTheBorderOnly) {
  Canvas c(10, 10);
  CBrush red(kRed);
  CDC* dc = CDC::FromHandle(c.dc());
  CRect r(1, 1, 6, 5);
  dc->FrameRect(r, &red);
  EXPECT_EQ(c.Count(kRed), 2 * 5 + 2 * 2);
  EXPECT_EQ(c.Pixel(5, 4), kRed);
  EXPECT_EQ(c.Pixel(2, 2), kWhite);
  EXPECT_EQ(c.Pixel(6, 5), kWhite);
  c.Fill(kWhite);
  RECT backwards = {6, 1, 1, 5};
  EXPECT_EQ(FrameRect(c.dc(), &backwards, red), 0);
  EXPECT_EQ(c.Count(kRed), 0);
}

TEST(GdiRegions, PolygonsFillByCentresWithEitherRule) {
  Canvas c(40, 40);
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const POINT square[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
  HRGN rgn = CreatePolygonRgn(square, 4, ALTERNATE);
  ASSERT_TRUE(FillRgn(c.dc(), rgn, black));
  EXPECT_EQ(c.Count(kBlack), 100) << "right and bottom edges are outside";
  EXPECT_EQ(c.Pixel(2, 2), kBlack);
  EXPECT_EQ(c.Pixel(12, 2), kWhite);
  RECT box;
  EXPECT_EQ(GetRgnBox(rgn, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 12);
  DeleteObject(rgn);

  // A five-pointed star drawn in one stroke: its centre is enclosed twice.
  const POINT star[] = {{20, 2}, {31, 36}, {2, 15}, {38, 15}, {9, 36}};
  HRGN alternate = CreatePolygonRgn(star, 5, ALTERNATE);
  HRGN winding = CreatePolygonRgn(star, 5, WINDING);
  EXPECT_FALSE(PtInRegion(alternate, 20, 21));
  EXPECT_TRUE(PtInRegion(winding, 20, 21));
  EXPECT_TRUE(PtInRegion(alternate, 20, 8));
  c.Fill(kWhite);
  FillRgn(c.dc(), alternate, black);
  const int alternateCount = c.Count(kBlack);
  EXPECT_EQ(c.Pixel(20, 21), kWhite);
  c.Fill(kWhite);
  FillRgn(c.dc(), winding, black);
  EXPECT_EQ(c.Pixel(20, 21), kBlack);
  EXPECT_GT(c.Count(kBlack), alternateCount);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(c.Pixel(x, y) == kBlack, PtInRegion(winding, x, y) != 0) << x << "," << y;
  DeleteObject(alternate);
  DeleteObject(winding);
}

TEST(GdiPalettes, SelectionRealisationAndPaletteIndexColours) {
  Canvas c(4, 4);
  alignas(LOGPALETTE) BYTE buffer[sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY)] = {};
  auto* lp = reinterpret_cast<LOGPALETTE*>(buffer);
  lp->palVersion = 0x300;
  lp->palNumEntries = 3;
  lp->palPalEntry[0] = {10, 20, 30, 0};
  lp->palPalEntry[1] = {200, 100, 50, 0};
  lp->palPalEntry[2] = {1, 2, 3, 0};
  HPALETTE pal = CreatePalette(lp);
  ASSERT_NE(pal, nullptr);
  WORD count = 0;
  EXPECT_EQ(GetObjectW(pal, sizeof count, &count), 2);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(SelectPalette(c.dc(), pal, TRUE), GetStockObject(DEFAULT_PALETTE));
  EXPECT_NE(RealizePalette(c.dc()), static_cast<UINT>(GDI_ERROR));
  SetPixel(c.dc(), 1, 1, PALETTEINDEX(1));
  EXPECT_EQ(c.Pixel(1, 1), RGB(200, 100, 50));
  EXPECT_EQ(SelectPalette(c.dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE), pal);
  PALETTEENTRY entries[20];
  EXPECT_EQ(GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 20, entries), 20u);
  EXPECT_EQ(entries[19].peRed, 255);
  EXPECT_EQ(entries[1].peRed, 128);
  EXPECT_TRUE(DeleteObject(pal));
}

TEST(GdiBlits, StretchingMirroringAndShrinkingModes) {
  Canvas src(4, 2);
  // Columns: red, black, blue, black in the top row; the bottom row all white.
  SetPixel(src.dc(), 0, 0, kRed);
  SetPixel(src.dc(), 1, 0, kBlack);
  SetPixel(src.dc(), 2, 0, kBlue);
  SetPixel(src.dc(), 3, 0, kBlack);
  Canvas dst(8, 4, RGB(9, 9, 9));
  ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 8, 4, src.dc(), 0, 0, 4, 2, SRCCOPY));
  EXPECT_EQ(dst.Pixel(0, 0), kRed);
  EXPECT_EQ(dst.Pixel(1, 1), kRed);
  EXPECT_EQ(dst.Pixel(4, 1), kBlue);
  EXPECT_EQ(dst.Pixel(5, 3), kWhite);

  dst.Fill(RGB(9, 9, 9));
  StretchBlt(dst.dc(), 3, 0, -4, 1, src.dc(), 0, 0, 4, 1, SRCCOPY);  // covers x 0 to 3, mirrored
  EXPECT_EQ(dst.Pixel(3, 0), kRed);
  EXPECT_EQ(dst.Pixel(1, 0), kBlue);
  EXPECT_EQ(dst.Pixel(4, 0), RGB(9, 9, 9));

  // Shrinking 4 columns to 2: BLACKONWHITE ANDs each pair, WHITEONBLACK ORs it; HALFTONE averages
  // them, where Wine picks one of them.
  EXPECT_EQ(SetStretchBltMode(dst.dc(), BLACKONWHITE), BLACKONWHITE);
  StretchBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(dst.Pixel(0, 0), kBlack);
  EXPECT_EQ(SetStretchBltMode(dst.dc(), WHITEONBLACK), BLACKONWHITE);
  StretchBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(dst.Pixel(0, 0), kRed);
  SetStretchBltMode(dst.dc(), HALFTONE);
  StretchBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 2, 1, SRCCOPY);
  if (!tovutest::UnderWine()) {
    EXPECT_EQ(dst.Pixel(0, 0), RGB(127, 0, 0));
  }
  EXPECT_EQ(SetStretchBltMode(dst.dc(), 9), 0);

  // Raster operations other than copying combine with the destination.
  dst.Fill(kWhite);
  BitBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, SRCAND);
  EXPECT_EQ(dst.Pixel(0, 0), kRed);
  BitBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, SRCINVERT);
  EXPECT_EQ(dst.Pixel(0, 0), kBlack);
  BitBlt(dst.dc(), 0, 0, 1, 1, nullptr, 0, 0, WHITENESS);
  EXPECT_EQ(dst.Pixel(0, 0), kWhite);
}

TEST(GdiBlits, MonochromeConversionsUseTheDCColours) {
  HDC mem = CreateCompatibleDC(nullptr);
  const BYTE rows[] = {0xA0, 0x00, 0x40, 0x00};  // 1010 / 0100, rows padded to 16 bits
  HBITMAP mono = CreateBitmap(4, 2, 1, 1, rows);
  HGDIOBJ old = SelectObject(mem, mono);
  Canvas dst(4, 2);
  SetTextColor(dst.dc(), kRed);  // 0 bits
  SetBkColor(dst.dc(), kBlue);   // 1 bits
  BitBlt(dst.dc(), 0, 0, 4, 2, mem, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.Pixel(0, 0), kBlue);
  EXPECT_EQ(dst.Pixel(1, 0), kRed);
  EXPECT_EQ(dst.Pixel(1, 1), kBlue);

  // Colour to monochrome: the source DC's background colour becomes white, all else black.
  SetPixel(dst.dc(), 3, 1, RGB(1, 2, 3));
  SetBkColor(dst.dc(), RGB(1, 2, 3));
  BitBlt(mem, 0, 0, 4, 2, dst.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(mem, 3, 1), kWhite);
  EXPECT_EQ(GetPixel(mem, 0, 0), kBlack);
  EXPECT_EQ(SetPixel(mem, 2, 0, RGB(200, 200, 200)), kWhite);
  EXPECT_EQ(SetPixel(mem, 2, 0, RGB(90, 90, 90)), kBlack);
  EXPECT_EQ(GetPixel(mem, 4, 0), CLR_INVALID);
  SelectObject(mem, old);
  DeleteObject(mono);
  DeleteDC(mem);
}

TEST(MfcGdi, HandleMapsAndWrappers) {
  Canvas c(4, 4);
  {
    CPen pen(PS_SOLID, 1, kRed);
    CDC* dc = CDC::FromHandle(c.dc());
    EXPECT_EQ(CDC::FromHandle(c.dc()), dc) << "one temporary wrapper per handle";
    CPen* old = dc->SelectObject(&pen);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(CGdiObject::FromHandle(pen.m_hObject), &pen) << "attached objects are found as themselves";
    dc->MoveTo(0, 0);
    dc->LineTo(3, 0);
    EXPECT_EQ(dc->GetCurrentPosition(), CPoint(3, 0));
    dc->SelectObject(old);
  }
  EXPECT_EQ(c.Pixel(1, 0), kRed);
  CGdiObject::DeleteTempMap();
  CDC::DeleteTempMap();
  EXPECT_EQ(GetObjectType(c.dc()), static_cast<DWORD>(OBJ_MEMDC)) << "temporary wrappers own nothing";

  CDC mem;
  EXPECT_TRUE(mem.CreateCompatibleDC(CDC::FromHandle(c.dc())));
  const HDC handle = mem.GetSafeHdc();
  CBitmap bitmap;
  EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&mem, 3, 3));
  BITMAP bm;
  EXPECT_EQ(bitmap.GetBitmap(&bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_TRUE(mem.DeleteDC());
  EXPECT_EQ(GetObjectType(handle), 0u);
  EXPECT_FALSE(mem.DeleteDC());

  CRect r(10, 20, 30, 60);
  r.InflateRect(-2, -3);
  EXPECT_EQ(r, CRect(12, 23, 28, 57));
  EXPECT_EQ(r.Width(), 16);
  r.TopLeft() = CPoint(0, 0);
  EXPECT_EQ(r.left, 0);
  CRect backwards(5, 5, 1, 1);
  EXPECT_TRUE(backwards.IsRectEmpty());
  backwards.NormalizeRect();
  EXPECT_EQ(backwards, CRect(1, 1, 5, 5));
  EXPECT_EQ(CRect(0, 0, 4, 4) & CRect(2, 2, 9, 9), CRect(2, 2, 4, 4));
  EXPECT_TRUE((CRect(0, 0, 1, 1) & CRect(5, 5, 6, 6)).IsRectNull());
  EXPECT_EQ(CSize(3, 4) + CSize(1, 1), CSize(4, 5));
}

}  // namespace
