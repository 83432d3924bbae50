// The image painter: its load-then-Redraw life cycle, where DIBs go in the rectangle, the
// frames, slide colours and dots, bitmaps and picture files.
#include "image/ImageDraw.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/image_test_support.h"
#include "image/slide_test_support.h"
#include "platform/Host.h"
#include "platform/Siblings.h"
#include "standin/win32/png.h"
#include "testing/Canvas.h"
#include "testing/TempDir.h"

namespace {

using imagetest::Bytes;
using imagetest::InfoHeader;
using slidetest::SlideWriter;
using tovutest::Canvas;

constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr COLORREF kGrey = 0xC0C0C0;
constexpr COLORREF kHighlight = 0xC08000;
constexpr COLORREF kTopColour = RGB(200, 40, 60);
constexpr COLORREF kBottomColour = RGB(30, 160, 90);

// An MFC device context over the canvas's, which it leaves to the canvas.
struct CanvasDC {
  explicit CanvasDC(const Canvas& canvas) { dc.Attach(canvas.dc()); }
  ~CanvasDC() { dc.Detach(); }
  CDC dc;
};

// A 24-bit DIB of 100 by 50 whose top half is one colour and bottom half another; rows are
// stored from the bottom, or from the top for a top-down DIB.
HDIB HalvesDib(bool topDown = false) {
  Bytes dib = InfoHeader(100, topDown ? -50 : 50, 24);
  for (int stored = 0; stored < 50; ++stored) {
    const int row = topDown ? stored : 49 - stored;
    const COLORREF c = row < 25 ? kTopColour : kBottomColour;
    for (int x = 0; x < 100; ++x) dib.u8(GetBValue(c)).u8(GetGValue(c)).u8(GetRValue(c));
  }
  return imagetest::MakeDib(dib);
}

class ImageDrawTest : public ::testing::Test {
 protected:
  void SetUp() override { standin::Session::Get().Reset(); }
  void TearDown() override { standin::Session::Get().Reset(); }

  std::wstring WriteSlide(const SlideWriter& slide, const std::string& name = "preview.sld") {
    return m_dir.Write(name, slide.bytes()).wstring();
  }

  tovutest::TempDir m_dir;
};

TEST_F(ImageDrawTest, LoadsForgetTheDeviceContextAndRedrawPaints) {
  Canvas canvas(200, 150, kUntouched);
  CanvasDC dc(canvas);
  ZoPtImageDraw draw;
  EXPECT_EQ(draw.GetBkColor(), GetBackgroundColor());
  draw.SetBackColor(RGB(250, 250, 250));
  EXPECT_EQ(draw.IsImageLoaded(), 0);
  draw.SetRect(CRect(10, 20, 110, 120));
  CRect rect;
  draw.GetRect(rect);
  EXPECT_EQ(rect, CRect(10, 20, 110, 120));

  // Nothing loaded: no device context, nothing painted; with one, the rectangle turns grey.
  EXPECT_EQ(draw.Redraw(), 0);
  EXPECT_EQ(canvas.Count(kUntouched), 200 * 150);
  draw.SetDC(&dc.dc);
  EXPECT_EQ(draw.Redraw(), 0);
  EXPECT_EQ(canvas.Count(kGrey), 100 * 100);
  EXPECT_EQ(canvas.Pixel(10, 20), kGrey);
  EXPECT_EQ(canvas.Pixel(109, 119), kGrey);
  EXPECT_EQ(canvas.Pixel(110, 50), kUntouched);

  // A load while a device context is set paints nothing and forgets it.
  canvas.Fill(kUntouched);
  const std::wstring path = WriteSlide(SlideWriter().Color(1).Vector(0, 0, 100, 100).Vector(0, 100, 100, 0).End());
  EXPECT_EQ(draw.PaintSlide(path.c_str()), 0);
  EXPECT_EQ(canvas.Count(kUntouched), 200 * 150);
  EXPECT_EQ(draw.IsImageLoaded(), 1);
  CSize size(-1, -1);
  EXPECT_EQ(draw.GetImageSize(size), 0);
  EXPECT_EQ(size.cx, -1);
  EXPECT_EQ(draw.Redraw(), 0);
  EXPECT_EQ(canvas.Count(kUntouched), 200 * 150);

  // After SetDC, Redraw paints; painting again paints the same, as the list keeps its
  // slide coordinates.
  draw.SetDC(&dc.dc);
  EXPECT_EQ(draw.Redraw(), 1);
  const int red = canvas.Count(RGB(255, 0, 0));
  EXPECT_GT(red, 150);
  EXPECT_EQ(canvas.Pixel(60, 70), RGB(255, 0, 0));  // where the diagonals cross
  EXPECT_EQ(canvas.Pixel(12, 22), RGB(250, 250, 250));
  const auto first = canvas.Pixels();
  EXPECT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Pixels(), first);
  // A new rectangle: the slide is fitted to it.
  canvas.Fill(kUntouched);
  draw.SetRect(CRect(100, 0, 200, 100));
  EXPECT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Pixel(150, 50), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(60, 70), kUntouched);

  // Reset frees the slide and forgets the device context; the kind stays, nothing is loaded.
  draw.Reset();
  EXPECT_EQ(draw.IsImageLoaded(), 0);
  canvas.Fill(kUntouched);
  EXPECT_EQ(draw.Redraw(), 0);
  EXPECT_EQ(canvas.Count(kUntouched), 200 * 150);
  draw.SetDC(&dc.dc);
  draw.Redraw();
  EXPECT_EQ(canvas.Count(kGrey), 100 * 100);

  // A null slide path loads nothing.
  EXPECT_EQ(draw.PaintSlide(nullptr), 0);
  EXPECT_EQ(draw.IsImageLoaded(), 0);
}

TEST_F(ImageDrawTest, BmpFilesThatCannotBeReadLeaveNothingLoaded) {
  Canvas canvas(60, 40, kUntouched);
  CanvasDC dc(canvas);
  ZoPtImageDraw draw;
  draw.SetRect(CRect(0, 0, 60, 40));
  const auto bad = m_dir.Write("bad.bmp", "BM but nothing more of a bitmap");
  EXPECT_EQ(draw.PaintImage(bad.wstring().c_str()), 0);
  EXPECT_EQ(draw.IsImageLoaded(), 0);
  draw.SetDC(&dc.dc);
  EXPECT_EQ(draw.Redraw(), 0);
  EXPECT_EQ(canvas.Count(kGrey), 60 * 40);
  EXPECT_EQ(draw.PaintImage((m_dir / "missing.bmp").wstring().c_str()), 0);
  EXPECT_EQ(draw.IsImageLoaded(), 0);
}

// Pixels of a column through the middle of the rectangle (20, 10, 320, 310) on a 340 by 330
// canvas, after painting the 100 by 50 halves DIB.
TEST_F(ImageDrawTest, DibPlacementFollowsTheScaleFlags) {
  for (bool topDown : {false, true}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    Canvas canvas(340, 330, kUntouched);
    CanvasDC dc(canvas);
    ZoPtImageDraw draw;
    const COLORREF back = RGB(9, 9, 9);
    draw.SetBackColor(back);
    EXPECT_EQ(draw.PaintDIB(HalvesDib(topDown)), 0);
    CSize size;
    ASSERT_EQ(draw.GetImageSize(size), 1);
    EXPECT_EQ(size, CSize(100, 50));
    draw.SetDC(&dc.dc);
    draw.SetRect(CRect(20, 10, 320, 310));

    // Fitted, proportions kept: 300 by 150, 75 pixels below the top (rows 85 to 234).
    ASSERT_EQ(draw.Redraw(), 1);
    EXPECT_EQ(canvas.Pixel(170, 84), back);
    EXPECT_EQ(canvas.Pixel(170, 85), kTopColour);
    EXPECT_EQ(canvas.Pixel(170, 159), kTopColour);
    EXPECT_EQ(canvas.Pixel(170, 160), kBottomColour);
    EXPECT_EQ(canvas.Pixel(170, 234), kBottomColour);
    EXPECT_EQ(canvas.Pixel(170, 235), back);
    // The back-coloured frame, four pixels wide, lies over the image's sides.
    EXPECT_EQ(canvas.Pixel(23, 150), back);
    EXPECT_EQ(canvas.Pixel(24, 150), kTopColour);
    EXPECT_EQ(canvas.Pixel(316, 150), back);
    EXPECT_EQ(canvas.Pixel(315, 150), kTopColour);
    EXPECT_EQ(canvas.Pixel(19, 150), kUntouched);
    EXPECT_EQ(canvas.Pixel(320, 150), kUntouched);

    // Stretched to the whole rectangle.
    draw.SetUniformScale(0);
    ASSERT_EQ(draw.Redraw(), 1);
    EXPECT_EQ(canvas.Pixel(170, 14), kTopColour);
    EXPECT_EQ(canvas.Pixel(170, 159), kTopColour);
    EXPECT_EQ(canvas.Pixel(170, 160), kBottomColour);
    EXPECT_EQ(canvas.Pixel(170, 305), kBottomColour);
    EXPECT_EQ(canvas.Pixel(170, 306), back);

    // At natural size in the top-left corner: 100 by 50.
    draw.SetAutoScale(0);
    draw.SetUniformScale(1);
    ASSERT_EQ(draw.Redraw(), 1);
    EXPECT_EQ(canvas.Pixel(70, 20), kTopColour);
    EXPECT_EQ(canvas.Pixel(70, 34), kTopColour);
    EXPECT_EQ(canvas.Pixel(70, 35), kBottomColour);
    EXPECT_EQ(canvas.Pixel(70, 59), kBottomColour);
    EXPECT_EQ(canvas.Pixel(70, 60), back);
    EXPECT_EQ(canvas.Pixel(119, 40), kBottomColour);
    EXPECT_EQ(canvas.Pixel(120, 40), back);
  }
}

TEST_F(ImageDrawTest, HighlightedDibHasGreyAndRedFrames) {
  Canvas canvas(340, 330, kUntouched);
  CanvasDC dc(canvas);
  ZoPtImageDraw draw;
  draw.SetBackColor(RGB(9, 9, 9));
  draw.PaintDIB(HalvesDib());
  draw.SetDC(&dc.dc);
  draw.SetRect(CRect(20, 10, 320, 310));
  draw.SetHighlight(1);
  EXPECT_EQ(draw.IsHighlight(), 1);
  ASSERT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Pixel(170, 50), kHighlight);
  // Two 3D rings (grey top-left, light bottom-right), then two red ones.
  for (int ring = 0; ring < 2; ++ring) {
    EXPECT_EQ(canvas.Pixel(20 + ring, 150), RGB(128, 128, 128)) << ring;
    EXPECT_EQ(canvas.Pixel(170, 10 + ring), RGB(128, 128, 128)) << ring;
    EXPECT_EQ(canvas.Pixel(319 - ring, 150), RGB(240, 240, 240)) << ring;
    EXPECT_EQ(canvas.Pixel(170, 309 - ring), RGB(240, 240, 240)) << ring;
  }
  for (int ring = 2; ring < 4; ++ring) {
    EXPECT_EQ(canvas.Pixel(20 + ring, 150), RGB(255, 0, 0)) << ring;
    EXPECT_EQ(canvas.Pixel(319 - ring, 150), RGB(255, 0, 0)) << ring;
    EXPECT_EQ(canvas.Pixel(170, 10 + ring), RGB(255, 0, 0)) << ring;
  }
  EXPECT_EQ(canvas.Pixel(24, 150), kTopColour);
}

TEST_F(ImageDrawTest, SlideColoursDotsAndPaintingOrder) {
  // Slide 0..100 in a 210 by 210 rectangle at (30, 20): x -> 2x + 35, y -> 225 - 2y.
  const std::wstring path = WriteSlide(SlideWriter()
                                           .Color(7)
                                           .Vector(0, 0, 100, 0)
                                           .Color(1)
                                           .Vector(0, 100, 100, 100)
                                           .Color(3)
                                           .Vector(50, 50, 50, 50)
                                           .Color(4)
                                           .Vector(0, 25, 100, 25)
                                           .Color(5)
                                           .Vector(0, 25, 100, 25)
                                           .Color(6)
                                           .Vector(0, 75, 100, 75)
                                           .Color(2)
                                           .Polygon({{10, 60}, {40, 60}, {40, 90}, {10, 90}})
                                           .End());
  Canvas canvas(260, 250, kUntouched);
  CanvasDC dc(canvas);
  ZoPtImageDraw draw;
  draw.SetBackColor(RGB(255, 255, 255));
  draw.PaintSlide(path.c_str());
  draw.SetDC(&dc.dc);
  draw.SetRect(CRect(30, 20, 240, 230));
  ASSERT_EQ(draw.Redraw(), 1);
  // Colour 7 is the back colour, white: it is drawn inverted, black. GDI leaves out the last pixel.
  EXPECT_EQ(canvas.Pixel(35, 225), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(234, 225), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(235, 225), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(135, 25), RGB(255, 0, 0));
  // The dot is a one-pixel step: its own pixel, not the next one down the diagonal.
  EXPECT_EQ(canvas.Pixel(135, 125), RGB(0, 255, 0));
  EXPECT_EQ(canvas.Pixel(136, 126), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Count(RGB(0, 255, 0)), 1);
  // Lines go from the last to the first, so the earlier of two equal lines shows.
  EXPECT_EQ(canvas.Pixel(135, 175), RGB(0, 255, 255));
  // Polygons go over the lines.
  EXPECT_EQ(canvas.Pixel(80, 75), RGB(255, 255, 0));
  EXPECT_EQ(canvas.Pixel(180, 75), RGB(255, 0, 255));
  EXPECT_EQ(canvas.Pixel(180, 150), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(29, 150), kUntouched);

  // Highlighted: another fill and no frame.
  draw.SetHighlight(1);
  ASSERT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Pixel(180, 150), kHighlight);
  EXPECT_EQ(canvas.Pixel(30, 20), kHighlight);
  EXPECT_EQ(canvas.Pixel(135, 25), RGB(255, 0, 0));
}

TEST_F(ImageDrawTest, BitmapsAreStretchedOverTheRectangle) {
  Canvas canvas(80, 60, kUntouched);
  CanvasDC dc(canvas);
  auto* bitmap = new CBitmap;
  const DWORD bits[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};  // red, green; blue, white
  ASSERT_TRUE(bitmap->CreateBitmap(2, 2, 1, 32, bits));
  ZoPtImageDraw draw;
  EXPECT_EQ(draw.PaintBitmap(bitmap), 0);
  EXPECT_EQ(draw.IsImageLoaded(), 1);
  CSize size;
  EXPECT_EQ(draw.GetImageSize(size), 0);
  draw.SetDC(&dc.dc);
  draw.SetRect(CRect(10, 10, 50, 50));
  ASSERT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Pixel(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(49, 10), RGB(0, 255, 0));
  EXPECT_EQ(canvas.Pixel(10, 49), RGB(0, 0, 255));
  EXPECT_EQ(canvas.Pixel(49, 49), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(50, 49), kUntouched);
  draw.Reset();  // deletes the bitmap
  EXPECT_EQ(draw.IsImageLoaded(), 0);
}

TEST_F(ImageDrawTest, PictureFilesAndWhichNamesAreReadAsBmp) {
  // Top row red, bottom row blue.
  const auto png = m_dir / "picture.png";
  const uint8_t rgb[] = {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255};
  ASSERT_TRUE(standin::WritePng(png.wstring(), 2, 2, rgb, nullptr));
  Canvas canvas(80, 60, kUntouched);
  CanvasDC dc(canvas);
  ZoPtImageDraw draw;
  draw.SetRect(CRect(30, 20, 70, 60));
  draw.SetDC(&dc.dc);
  EXPECT_EQ(draw.PaintImage(png.wstring().c_str()), 0);
  EXPECT_EQ(draw.IsImageLoaded(), 1);
  CSize size;
  EXPECT_EQ(draw.GetImageSize(size), 0);
  EXPECT_EQ(canvas.Count(kUntouched), 80 * 60);
  draw.SetDC(&dc.dc);
  ASSERT_EQ(draw.Redraw(), 1);
  // At the device context's origin with the rectangle's size, and no fill of the rectangle.
  EXPECT_EQ(canvas.Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(39, 19), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(0, 20), RGB(0, 0, 255));
  EXPECT_EQ(canvas.Pixel(39, 39), RGB(0, 0, 255));
  EXPECT_EQ(canvas.Pixel(40, 39), kUntouched);
  EXPECT_EQ(canvas.Pixel(50, 50), kUntouched);
  // The file is read again on every paint: once it is gone, nothing is painted.
  std::filesystem::remove(png);
  EXPECT_EQ(draw.Redraw(), 0);

  // ".BMP" anywhere in the name, in any case, means a BMP file: only a DIB has an image size.
  Bytes dib = InfoHeader(2, 2, 24);
  for (int i = 0; i < 2; ++i) dib.u8(0).u8(0).u8(255).u8(0).u8(0).u8(255).pad(4);
  const std::string bmp(reinterpret_cast<const char*>(imagetest::BmpFile(dib, 54).data()), 14 + dib.size());
  for (const char* name : {"A.BMP.JPG", "b.bmp", "c.Bmp.png"}) {
    ASSERT_EQ(draw.PaintImage(m_dir.Write(name, bmp).wstring().c_str()), 0);
    EXPECT_EQ(draw.GetImageSize(size), 1) << name;
    EXPECT_EQ(size, CSize(2, 2));
  }
  // Without it the system's picture loader reads the file, BMP or not.
  ASSERT_EQ(draw.PaintImage(m_dir.Write("d.jpg", bmp).wstring().c_str()), 0);
  EXPECT_EQ(draw.GetImageSize(size), 0);
  draw.SetDC(&dc.dc);
  canvas.Fill(kUntouched);
  ASSERT_EQ(draw.Redraw(), 1);
  EXPECT_EQ(canvas.Pixel(5, 5), RGB(255, 0, 0));
  // What the loader cannot read paints nothing.
  draw.PaintImage(m_dir.Write("e.png", "not a picture").wstring().c_str());
  draw.SetDC(&dc.dc);
  EXPECT_EQ(draw.Redraw(), 0);
  draw.PaintImage(m_dir.Write("empty.png", "").wstring().c_str());
  draw.SetDC(&dc.dc);
  EXPECT_EQ(draw.Redraw(), 0);
}

}  // namespace
