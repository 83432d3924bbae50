// Golden images of DIBs painted through the module: references beside the tests in
// image/golden/ (see testing/GoldenImage.h for what a failure leaves behind and `make bless`).
#include <gtest/gtest.h>

#include "image/DIBUtil.h"
#include "image/image_test_support.h"
#include "testing/GoldenImage.h"

namespace {

using imagetest::Bytes;
using imagetest::InfoHeader;
using tovutest::Canvas;
using tovutest::MatchesGolden;

void Paint(Canvas& c, HDIB dib, const CRect& src, const CRect& dest) {
  CPalette palette;
  CreateDIBPalette(dib, &palette);
  CRect s = src, d = dest;
  PaintDIB(c.dc(), d, dib, s, &palette);
}

// 24 by 12 pixels of 8 bits over a 256-colour ramp, stretched unevenly (9 by 7.5).
TEST(GoldenImage, EightBitDibStretched) {
  Bytes dib = InfoHeader(24, 12, 8);
  for (int i = 0; i < 256; ++i) dib.u8(i).u8((i * 3) & 0xFF).u8(255 - i).u8(0);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 24; ++x) dib.u8((x * 10 + y * 21) & 0xFF);
    dib.pad(4);
  }
  HDIB h = imagetest::MakeDib(dib);
  Canvas c(240, 120, RGB(192, 192, 192));
  Paint(c, h, CRect(0, 0, 24, 12), CRect(12, 15, 228, 105));
  EXPECT_TRUE(MatchesGolden(c, "image/golden/ramp8_stretched.png"));
  GlobalFree(reinterpret_cast<HGLOBAL>(h));
}

// RLE8 with runs, an absolute run and deltas, at its size and 8 times as large: what the data
// skips stays grey.
TEST(GoldenImage, RleDibLeavesSkippedPixels) {
  Bytes data;
  for (int row = 0; row < 8; ++row) {
    data.u8(3 + row).u8(1 + row % 3).u8(0).u8(3).u8(3).u8(2).u8(1).u8(0);
    if (row % 2) data.u8(0).u8(2).u8(4).u8(0);  // four pixels further right
    data.u8(2).u8(3).u8(0).u8(0);
  }
  data.u8(0).u8(1);
  Bytes dib = InfoHeader(20, 10, 8, 4, BI_RLE8, static_cast<DWORD>(data.size()));
  dib.u32(0x00000000).u32(0x00E03020).u32(0x002080F0).u32(0x00F0D040).append(data);
  HDIB h = imagetest::MakeDib(dib);
  Canvas c(190, 80, RGB(128, 128, 128));
  Paint(c, h, CRect(0, 0, 20, 10), CRect(0, 0, 20, 10));
  Paint(c, h, CRect(0, 0, 20, 10), CRect(30, 0, 190, 80));
  EXPECT_TRUE(MatchesGolden(c, "image/golden/rle8_skips.png"));
  GlobalFree(reinterpret_cast<HGLOBAL>(h));
}

// Files of the BMP suite: 8-bit stretched, 4-bit RLE and 16-bit at their size, an RLE file with
// skipped pixels over grey.
TEST(GoldenImage, BmpSuiteFiles) {
  const std::filesystem::path suite = imagetest::BmpSuite();
  if (suite.empty()) GTEST_SKIP() << "the BMP test suite (../shared/testdata/bmp) is not there";
  struct {
    const char* file;
    CRect dest;
    const char* reference;
  } cases[] = {{"good/pal8.bmp", CRect(0, 0, 200, 90), "image/golden/bmp_pal8_stretched.png"},
               {"good/pal4rle.bmp", CRect(0, 0, 127, 64), "image/golden/bmp_pal4rle.png"},
               {"good/rgb16.bmp", CRect(0, 0, 127, 64), "image/golden/bmp_rgb16.png"},
               {"questionable/pal8rletrns.bmp", CRect(0, 0, 127, 64), "image/golden/bmp_pal8rletrns.png"}};
  for (const auto& k : cases) {
    HDIB h = imagetest::ReadBmp(suite / k.file);
    ASSERT_NE(h, nullptr) << k.file;
    Canvas c(k.dest.Width(), k.dest.Height(), RGB(128, 128, 128));
    Paint(c, h, CRect(0, 0, 127, 64), k.dest);
    EXPECT_TRUE(MatchesGolden(c, k.reference)) << k.file;
    GlobalFree(reinterpret_cast<HGLOBAL>(h));
  }
}

}  // namespace
