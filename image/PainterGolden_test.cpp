// Golden images of what the image painter paints: the sample slide, a big-endian slide of
// fills and dots, and a highlighted DIB (see testing/GoldenImage.h and `make bless`).
#include <gtest/gtest.h>

#include <cmath>

#include "image/ImageDraw.h"
#include "image/image_test_support.h"
#include "image/slide_test_support.h"
#include "platform/Host.h"
#include "standin/host/core/session.h"
#include "testing/GoldenImage.h"
#include "testing/TempDir.h"

namespace {

using slidetest::SlideWriter;
using tovutest::Canvas;
using tovutest::MatchesGolden;

class PainterGolden : public ::testing::Test {
 protected:
  void SetUp() override { standin::Session::Get().Reset(); }

  // Loads, then paints into the whole canvas or the given rectangle.
  template <class Load>
  void Paint(Canvas& canvas, const CRect& rect, bool highlight, Load load) {
    CDC dc;
    dc.Attach(canvas.dc());
    ZoPtImageDraw draw;
    draw.SetHighlight(highlight);
    load(draw);
    draw.SetDC(&dc);
    draw.SetRect(rect);
    EXPECT_EQ(draw.Redraw(), 1);
    dc.Detach();
  }

  tovutest::TempDir m_dir;
};

TEST_F(PainterGolden, SampleSlide) {
  const std::wstring path = (std::filesystem::path(TOVU_SOURCE_DIR) / "examples" / "floorplan.sld").wstring();
  Canvas large(400, 300);
  Paint(large, CRect(0, 0, 400, 300), false, [&](ZoPtImageDraw& d) { d.PaintSlide(path.c_str()); });
  EXPECT_TRUE(MatchesGolden(large, "image/golden/slide_floorplan.png"));
  Canvas small(220, 170, RGB(255, 255, 255));
  Paint(small, CRect(10, 10, 210, 160), true, [&](ZoPtImageDraw& d) { d.PaintSlide(path.c_str()); });
  EXPECT_TRUE(MatchesGolden(small, "image/golden/slide_floorplan_highlight.png"));
}

// Triangles of a fan in twelve colours written most significant byte first, a ring of dots and
// a white frame on a light back colour (white lines turn black).
TEST_F(PainterGolden, BigEndianFillsAndDots) {
  SlideWriter slide(true);
  slide.Color(7).Vector(0, 0, 400, 0);
  slide.Vector(400, 0, 400, 400).Vector(400, 400, 0, 400).Vector(0, 400, 0, 0);
  for (int k = 0; k < 12; ++k) {
    const double a0 = k * 3.14159265358979 / 6, a1 = (k + 0.8) * 3.14159265358979 / 6;
    slide.Color(10 + 20 * k);
    slide.Polygon({{200, 200},
                   {static_cast<int>(200 + 150 * std::cos(a0)), static_cast<int>(200 + 150 * std::sin(a0))},
                   {static_cast<int>(200 + 150 * std::cos(a1)), static_cast<int>(200 + 150 * std::sin(a1))}});
    const int x = static_cast<int>(200 + 180 * std::cos(a0)), y = static_cast<int>(200 + 180 * std::sin(a0));
    slide.Color(1).Vector(x, y, x, y);
  }
  slide.End();
  const std::wstring path = m_dir.Write("fan.sld", slide.bytes()).wstring();
  Canvas canvas(160, 160);
  Paint(canvas, CRect(0, 0, 160, 160), false, [&](ZoPtImageDraw& d) {
    d.SetBackColor(RGB(255, 255, 255));
    d.PaintSlide(path.c_str());
  });
  EXPECT_TRUE(MatchesGolden(canvas, "image/golden/slide_fan_bigendian.png"));
}

// An 8-bit ramp DIB fitted into a wide rectangle, highlighted: fill, 3D and red frames.
TEST_F(PainterGolden, HighlightedDib) {
  imagetest::Bytes dib = imagetest::InfoHeader(16, 12, 8);
  for (int i = 0; i < 256; ++i) dib.u8(i).u8(255 - i).u8((i * 7) & 0xFF).u8(0);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 16; ++x) dib.u8((x * 16 + y * 5) & 0xFF);
    dib.pad(4);
  }
  Canvas canvas(180, 100);
  Paint(canvas, CRect(10, 5, 170, 95), true, [&](ZoPtImageDraw& d) { d.PaintDIB(imagetest::MakeDib(dib)); });
  EXPECT_TRUE(MatchesGolden(canvas, "image/golden/dib_highlight.png"));
}

}  // namespace
