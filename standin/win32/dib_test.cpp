// The DIB stand-in's own safety, which Windows cannot give: GetDIBits writes only inside the
// global block it is given, and RLE data stays inside itself and the picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "testing/BmpBytes.h"
#include "testing/Canvas.h"
#include "testing/Win32Conformance.h"

namespace {

using tovutest::Bytes;
using tovutest::Canvas;
using tovutest::InfoHeader;
using tovutest::RleDib;
using Dib = tovutest::GlobalDib;

constexpr COLORREF kGrey = RGB(90, 90, 90);

int Paint(const Canvas& c, const Dib& dib, int w, int h) {
  return SetDIBitsToDevice(c.dc(), 0, 0, w, h, 0, 0, 0, h, dib.bits(), dib.info(), DIB_RGB_COLORS);
}

TEST(DibEncode, GetDIBitsStaysInsideTheBlockAndLeavesTheHeaderAsGiven) {
  // GetDIBits leaves the header as given and refuses rows that do not fit the block before
  // anything is written.
  Canvas bitmapOf(3, 2);
  HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(bitmapOf.dc(), OBJ_BITMAP));
  HDC screen = GetDC(nullptr);
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 40 + 12);
  BYTE* p = static_cast<BYTE*>(block);
  std::memset(p, 0xCD, 52);
  const Bytes header = InfoHeader(3, 2, 24);
  std::memcpy(p, header.data(), 40);
  EXPECT_EQ(GetDIBits(screen, bitmap, 0, 2, p + 40, reinterpret_cast<BITMAPINFO*>(p), DIB_RGB_COLORS), 0);
  EXPECT_EQ(p[40], 0xCD);
  EXPECT_EQ(GetDIBits(screen, bitmap, 0, 1, p + 40, reinterpret_cast<BITMAPINFO*>(p), DIB_RGB_COLORS), 1);
  EXPECT_EQ(p[40], 255);
  EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER*>(p)->biSizeImage, 0u);
  GlobalFree(block);
  ReleaseDC(nullptr, screen);
}

TEST(DibDecode, HostileRleStaysInsideItsDataAndThePicture) {
  // A run far past the right edge, then a delta far above the top: only the first row's four
  // pixels are painted.
  Bytes runaway;
  runaway.u8(255).u8(1).u8(0).u8(0).u8(0).u8(2).u8(255).u8(255).u8(1).u8(2);
  // An absolute run of 200 pixels with two bytes of data and no end code.
  Bytes truncated;
  truncated.u8(0).u8(200).u8(2).u8(2);
  struct {
    int bpp;
    const Bytes& data;
    int painted;
  } cases[] = {{8, runaway, 4}, {4, runaway, 4}, {8, truncated, 2}, {4, truncated, 4}};
  for (const auto& k : cases) {
    Canvas c(6, 4, kGrey);
    const Dib dib(RleDib(k.bpp, 4, 2, k.data), 52);
    EXPECT_EQ(Paint(c, dib, 4, 2), 2);
    EXPECT_EQ(c.Count(kGrey), 24 - k.painted) << k.bpp;
  }
}

}  // namespace
