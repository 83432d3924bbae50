// The image painter: its load-then-Redraw life cycle, where DIBs go in the rectangle, slide
// colours and painting order, bitmaps and picture files; and golden images of what it paints.
#include "image/ImageDraw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "image/ColorToRGB.h"
#include "platform/Host.h"
#include "platform/Siblings.h"
#include "standin/host/core/session.h"
#include "standin/win32/png.h"
#include "testing/GoldenImage.h"
#include "testing/ImageTest.h"
#include "testing/SlideWriter.h"
#include "testing/TempDir.h"

namespace {

using tovutest::Bytes;
using tovutest::InfoHeader;
using tovutest::SlideWriter;

constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr COLORREF kGrey = 0xC0C0C0;
constexpr COLORREF kBack = RGB(9, 9, 9);
constexpr COLORREF kTopColour = RGB(200, 40, 60);
constexpr COLORREF kBottomColour = RGB(30, 160, 90);
const std::map<COLORREF, char> kNames = {
    {kUntouched, '.'},     {kBack, '#'},          {kTopColour, 'T'},     {kBottomColour, 'B'},
    {RGB(255, 0, 0), 'r'}, {RGB(0, 255, 0), 'g'}, {RGB(0, 0, 255), 'b'}, {RGB(255, 255, 255), 'w'}};

// A canvas with an MFC device context over it for the painter; the colours met along a row or
// a column, named as in kNames.
struct DrawCanvas : tovutest::Canvas {
  DrawCanvas(int width, int height, COLORREF fill = kUntouched) : Canvas(width, height, fill) { cdc.Attach(dc()); }
  ~DrawCanvas() { cdc.Detach(); }
  std::string Row(int y) const { return tovutest::Runs(*this, kNames, 0, y, 1, 0); }
  std::string Column(int x) const { return tovutest::Runs(*this, kNames, x, 0, 0, 1); }
  CDC cdc;
};

class ImageDraw : public ::testing::Test {
 protected:
  void SetUp() override { standin::Session::Get().Reset(); }

  std::wstring Slide(const SlideWriter& slide) { return m_dir.Write("preview.sld", slide.bytes()).wstring(); }

  tovutest::TempDir m_dir;
};

TEST_F(ImageDraw, LoadsForgetTheDeviceContextAndRedrawPaints) {
  DrawCanvas canvas(200, 150);
  ZoPtImageDraw draw;
  EXPECT_EQ(draw.GetBkColor(), GetBackgroundColor());
  draw.SetBackColor(RGB(250, 250, 250));
  draw.SetRect(CRect(10, 20, 110, 120));
  // Nothing loaded: no device context, nothing painted; with one, the rectangle turns grey.
  EXPECT_EQ(draw.Redraw(), 0);
  EXPECT_EQ(canvas.Count(kUntouched), 200 * 150);
  draw.SetDC(&canvas.cdc);
  EXPECT_EQ(draw.Redraw(), 0);
  EXPECT_EQ(canvas.Count(kGrey), 100 * 100);
  EXPECT_EQ(canvas.Pixel(10, 20), kGrey);
  EXPECT_EQ(canvas.Pixel(109, 119), kGrey);

  // A load while a device context is set paints nothing and forgets it.
  canvas.Fill(kUntouched);
  const std::wstring path = Slide(SlideWriter().Color(1).Vector(0, 0, 100, 100).Vector(0, 100, 100, 0));
  EXPECT_EQ(draw.PaintSlide(path.c_str()), 0);
  EXPECT_EQ(draw.IsImageLoaded(), 1);
  CSize size(-1, -1);
  EXPECT_EQ(draw.GetImageSize(size), 0);
  EXPECT_EQ(size.cx, -1);
  EXPECT_EQ(draw.Redraw(), 0);
  EXPECT_EQ(canvas.Count(kUntouched), 200 * 150);

  // After SetDC, Redraw paints; painting again paints the same, as the list keeps its slide
  // coordinates, and a new rectangle gets the slide fitted to it.
  draw.SetDC(&canvas.cdc);
  EXPECT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Pixel(60, 70), RGB(255, 0, 0));  // where the diagonals cross
  EXPECT_EQ(canvas.Pixel(12, 22), RGB(250, 250, 250));
  const auto first = canvas.Pixels();
  EXPECT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Pixels(), first);
  canvas.Fill(kUntouched);
  draw.SetRect(CRect(100, 0, 200, 100));
  EXPECT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Pixel(150, 50), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(60, 70), kUntouched);

  // Reset frees the slide and forgets the device context.
  draw.Reset();
  EXPECT_EQ(draw.IsImageLoaded(), 0);
  canvas.Fill(kUntouched);
  EXPECT_EQ(draw.Redraw(), 0);
  EXPECT_EQ(canvas.Count(kUntouched), 200 * 150);

  // A null slide path, and BMP files that cannot be read or found, load nothing: grey again.
  const std::wstring bad = m_dir.Write("bad.bmp", "BM but nothing more of a bitmap").wstring(),
                     missing = (m_dir / "missing.bmp").wstring();
  for (int load = 0; load < 3; ++load) {
    const int result =
        load == 0 ? draw.PaintSlide(nullptr) : draw.PaintImage(load == 1 ? bad.c_str() : missing.c_str());
    EXPECT_EQ(result, 0);
    EXPECT_EQ(draw.IsImageLoaded(), 0) << load;
    canvas.Fill(kUntouched);
    draw.SetDC(&canvas.cdc);
    EXPECT_EQ(draw.Redraw(), 0);
    EXPECT_EQ(canvas.Count(kGrey), 100 * 100) << load;
  }
}

// A 24-bit DIB of 100 by 50 whose top half is one colour and bottom half another; rows are
// stored from the bottom, or from the top for a top-down DIB.
HDIB HalvesDib(bool topDown) {
  Bytes dib = InfoHeader(100, topDown ? -50 : 50, 24);
  for (int stored = 0; stored < 50; ++stored) {
    const COLORREF c = (topDown ? stored : 49 - stored) < 25 ? kTopColour : kBottomColour;
    for (int x = 0; x < 100; ++x) dib.u8(GetBValue(c)).u8(GetGValue(c)).u8(GetRValue(c));
  }
  return tovutest::MakeDib(dib);
}

TEST_F(ImageDraw, DibPlacementFollowsTheScaleFlags) {
  for (bool topDown : {false, true}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    DrawCanvas canvas(340, 330);
    ZoPtImageDraw draw;
    draw.SetBackColor(kBack);
    EXPECT_EQ(draw.PaintDIB(HalvesDib(topDown)), 0);
    CSize size;
    ASSERT_EQ(draw.GetImageSize(size), 1);
    EXPECT_EQ(size, CSize(100, 50));
    draw.SetDC(&canvas.cdc);
    draw.SetRect(CRect(20, 10, 320, 310));
    // Fitted, proportions kept: 300 by 150, 75 pixels below the top (rows 85 to 234), under a
    // back-coloured frame four pixels wide.
    ASSERT_EQ(draw.Redraw(), 1);
    EXPECT_EQ(canvas.Column(170), "0. 10# 85T 160B 235# 310.");
    EXPECT_EQ(canvas.Row(150), "0. 20# 24T 316# 320.");
    // Stretched to the whole rectangle.
    draw.SetUniformScale(0);
    ASSERT_EQ(draw.Redraw(), 1);
    EXPECT_EQ(canvas.Column(170), "0. 10# 14T 160B 306# 310.");
    // At natural size in the top-left corner: 100 by 50.
    draw.SetAutoScale(0);
    draw.SetUniformScale(1);
    ASSERT_EQ(draw.Redraw(), 1);
    EXPECT_EQ(canvas.Column(70), "0. 10# 14T 35B 60# 310.");
    EXPECT_EQ(canvas.Row(40), "0. 20# 24B 120# 320.");
  }
}

TEST_F(ImageDraw, SlideLinesGoFromTheLastAndPolygonsOverThem) {
  // Slide 0..100 in a 210 by 210 rectangle at (30, 20): x -> 2x + 35, y -> 225 - 2y.
  SlideWriter slide;
  slide.Color(7).Vector(0, 0, 100, 0).Color(1).Vector(0, 100, 100, 100);
  slide.Color(4).Vector(0, 25, 100, 25).Color(5).Vector(0, 25, 100, 25).Color(6).Vector(0, 75, 100, 75);
  slide.Color(2).Polygon({{10, 60}, {40, 60}, {40, 90}, {10, 90}});
  DrawCanvas canvas(260, 250);
  ZoPtImageDraw draw;
  draw.SetBackColor(RGB(255, 255, 255));
  draw.PaintSlide(Slide(slide).c_str());
  draw.SetDC(&canvas.cdc);
  draw.SetRect(CRect(30, 20, 240, 230));
  ASSERT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Pixel(135, 25), RGB(255, 0, 0));
  // The earlier of two equal lines shows; the polygon covers the line under it.
  EXPECT_EQ(canvas.Pixel(135, 175), RGB(0, 255, 255));
  EXPECT_EQ(canvas.Pixel(80, 75), RGB(255, 255, 0));
  EXPECT_EQ(canvas.Pixel(180, 75), RGB(255, 0, 255));
  EXPECT_EQ(canvas.Pixel(29, 150), kUntouched);

  // Colour numbers split into their channels the right way round; a number outside the
  // palette gives black.
  int red = -1, green = -1, blue = -1;
  ColorToRGB(23, red, green, blue);
  EXPECT_EQ(RGB(red, green, blue), RGB(204, 127, 102));
  ColorToRGB(256, red, green, blue);
  EXPECT_EQ(RGB(red, green, blue), RGB(0, 0, 0));
}

TEST_F(ImageDraw, BitmapsAreStretchedOverTheRectangle) {
  DrawCanvas canvas(80, 60);
  auto* bitmap = new CBitmap;
  const DWORD bits[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};  // red, green; blue, white
  ASSERT_TRUE(bitmap->CreateBitmap(2, 2, 1, 32, bits));
  ZoPtImageDraw draw;
  EXPECT_EQ(draw.PaintBitmap(bitmap), 0);
  EXPECT_EQ(draw.IsImageLoaded(), 1);
  CSize size;
  EXPECT_EQ(draw.GetImageSize(size), 0);
  draw.SetDC(&canvas.cdc);
  draw.SetRect(CRect(10, 10, 50, 50));
  ASSERT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Row(10), "0. 10r 30g 50.");
  EXPECT_EQ(canvas.Row(49), "0. 10b 30w 50.");
  draw.Reset();  // deletes the bitmap
  EXPECT_EQ(draw.IsImageLoaded(), 0);
}

TEST_F(ImageDraw, PictureFilesAndWhichNamesAreReadAsBmp) {
  // Top row red, bottom row blue; a PNG that cannot be written is reported.
  const auto png = m_dir / "picture.png";
  const uint8_t rgb[] = {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255};
  ASSERT_TRUE(standin::WritePng(png.wstring(), 2, 2, rgb, nullptr));
  std::wstring error;
  EXPECT_FALSE(standin::WritePng((m_dir / "no" / "picture.png").wstring(), 2, 2, rgb, &error));
  EXPECT_NE(error.find(L"no/picture.png: "), std::wstring::npos);

  DrawCanvas canvas(80, 60);
  ZoPtImageDraw draw;
  draw.SetRect(CRect(30, 20, 70, 60));
  draw.SetDC(&canvas.cdc);
  EXPECT_EQ(draw.PaintImage(png.wstring().c_str()), 0);
  EXPECT_EQ(draw.IsImageLoaded(), 1);
  CSize size;
  EXPECT_EQ(draw.GetImageSize(size), 0);
  EXPECT_EQ(canvas.Count(kUntouched), 80 * 60);
  draw.SetDC(&canvas.cdc);
  ASSERT_EQ(draw.Redraw(), 1);
  // At the device context's origin with the rectangle's size, and no fill of the rectangle.
  EXPECT_EQ(canvas.Column(39), "0r 20b 40.");
  EXPECT_EQ(canvas.Row(39), "0b 40.");
  // The file is read again on every paint: once it is gone, nothing is painted.
  std::filesystem::remove(png);
  EXPECT_EQ(draw.Redraw(), 0);

  // ".BMP" anywhere in the name, in any case, means a BMP file: only a DIB has an image size.
  Bytes dib = InfoHeader(2, 2, 24);
  for (int i = 0; i < 2; ++i) dib.u8(0).u8(0).u8(255).u8(0).u8(0).u8(255).pad(4);
  const std::string bmp = tovutest::BmpFile(dib, 54).str();
  for (const char* name : {"A.BMP.JPG", "b.bmp", "c.Bmp.png"}) {
    ASSERT_EQ(draw.PaintImage(m_dir.Write(name, bmp).wstring().c_str()), 0);
    EXPECT_EQ(draw.GetImageSize(size), 1) << name;
    EXPECT_EQ(size, CSize(2, 2));
  }
  // Without it the system's picture loader reads the file, BMP or not; what it cannot read
  // paints nothing.
  const std::pair<const char*, std::string> pictures[] = {
      {"d.jpg", bmp}, {"e.png", "not a picture"}, {"empty.png", ""}};
  for (const auto& [name, bytes] : pictures) {
    ASSERT_EQ(draw.PaintImage(m_dir.Write(name, bytes).wstring().c_str()), 0);
    EXPECT_EQ(draw.GetImageSize(size), 0);
    draw.SetDC(&canvas.cdc);
    canvas.Fill(kUntouched);
    EXPECT_EQ(draw.Redraw(), bytes == bmp ? 1 : 0) << name;
    EXPECT_EQ(canvas.Pixel(5, 5), bytes == bmp ? RGB(255, 0, 0) : kUntouched) << name;
  }
}

// The sample slide, large and highlighted; triangles of a fan in twelve colours written most
// significant byte first, a ring of dots and a white frame on a white back colour (white lines
// turn black); an 8-bit ramp DIB fitted into a wide rectangle, highlighted: fill, 3D and red
// frames.
TEST_F(ImageDraw, GoldenImages) {
  auto paint = [](DrawCanvas& canvas, const CRect& rect, bool highlight, auto load) {
    ZoPtImageDraw draw;
    draw.SetHighlight(highlight);
    load(draw);
    draw.SetDC(&canvas.cdc);
    draw.SetRect(rect);
    EXPECT_EQ(draw.Redraw(), 1);
  };
  const COLORREF white = RGB(255, 255, 255);
  const std::wstring sample = (std::filesystem::path(TOVU_SOURCE_DIR) / "examples" / "floorplan.sld").wstring();
  DrawCanvas large(400, 300, white), small(220, 170, white);
  paint(large, CRect(0, 0, 400, 300), false, [&](ZoPtImageDraw& d) { d.PaintSlide(sample.c_str()); });
  EXPECT_TRUE(tovutest::MatchesGolden(large, "image/golden/slide_floorplan.png"));
  paint(small, CRect(10, 10, 210, 160), true, [&](ZoPtImageDraw& d) { d.PaintSlide(sample.c_str()); });
  EXPECT_TRUE(tovutest::MatchesGolden(small, "image/golden/slide_floorplan_highlight.png"));

  SlideWriter fan(true);
  fan.Color(7).Vector(0, 0, 400, 0).Vector(400, 0, 400, 400).Vector(400, 400, 0, 400).Vector(0, 400, 0, 0);
  auto x = [](double r, double a) { return static_cast<int>(200 + r * std::cos(a)); };
  auto y = [](double r, double a) { return static_cast<int>(200 + r * std::sin(a)); };
  for (int k = 0; k < 12; ++k) {
    const double a0 = k * 3.14159265358979 / 6, a1 = (k + 0.8) * 3.14159265358979 / 6;
    fan.Color(10 + 20 * k).Polygon({{200, 200}, {x(150, a0), y(150, a0)}, {x(150, a1), y(150, a1)}});
    fan.Color(1).Vector(x(180, a0), y(180, a0), x(180, a0), y(180, a0));
  }
  const std::wstring path = Slide(fan.End());
  DrawCanvas fanCanvas(160, 160, white);
  paint(fanCanvas, CRect(0, 0, 160, 160), false, [&](ZoPtImageDraw& d) {
    d.SetBackColor(white);
    d.PaintSlide(path.c_str());
  });
  EXPECT_TRUE(tovutest::MatchesGolden(fanCanvas, "image/golden/slide_fan_bigendian.png"));

  Bytes ramp = InfoHeader(16, 12, 8);
  for (int i = 0; i < 256; ++i) ramp.u8(i).u8(255 - i).u8((i * 7) & 0xFF).u8(0);
  for (int row = 0; row < 12; ++row) {
    for (int column = 0; column < 16; ++column) ramp.u8((column * 16 + row * 5) & 0xFF);
    ramp.pad(4);
  }
  DrawCanvas dibCanvas(180, 100, white);
  paint(dibCanvas, CRect(10, 5, 170, 95), true, [&](ZoPtImageDraw& d) { d.PaintDIB(tovutest::MakeDib(ramp)); });
  EXPECT_TRUE(tovutest::MatchesGolden(dibCanvas, "image/golden/dib_highlight.png"));
}

}  // namespace
