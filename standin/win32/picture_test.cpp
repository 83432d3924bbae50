// The OLE picture stand-in's PNG and JPEG pictures, made by the stand-in's own PNG writer and by
// libjpeg: their HIMETRIC sizes, Render's source rectangle, and truncated files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include <olectl.h>
#include <windows.h>

#include "standin/win32/png.h"
#include "testing/Canvas.h"
#include "testing/TempDir.h"
#include "testing/Win32Conformance.h"

namespace {

using tovutest::Canvas;

// A 4 by 2 picture: top row red, bottom row blue, as RGB bytes.
std::vector<BYTE> RedOverBlue(int w, int h) {
  std::vector<BYTE> rgb;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool top = y < h / 2;
      rgb.push_back(top ? 255 : 0);
      rgb.push_back(0);
      rgb.push_back(top ? 0 : 255);
    }
  return rgb;
}

// The picture as a PNG file's bytes, through the stand-in's one PNG writer.
std::vector<BYTE> EncodePng(int w, int h) {
  tovutest::TempDir dir;
  const std::vector<BYTE> rgb = RedOverBlue(w, h);
  const std::filesystem::path file = dir.path() / "picture.png";
  EXPECT_TRUE(standin::WritePng(file.wstring(), w, h, rgb.data(), nullptr));
  std::ifstream in(file, std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<BYTE> EncodeJpeg(int w, int h) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(w);
  cinfo.image_height = static_cast<JDIMENSION>(h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<BYTE> rgb = RedOverBlue(w, h);
  for (int y = 0; y < h; ++y) {
    JSAMPROW row = &rgb[static_cast<size_t>(y) * w * 3];
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<BYTE> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TEST(OlePicture, PngAndJpegLoadWithHiMetricSizesAndRenderUpright) {
  for (const auto& bytes : {EncodePng(96, 48), EncodeJpeg(96, 48)}) {
    IPicture* picture = nullptr;
    ASSERT_EQ(tovutest::LoadPicture(bytes, &picture), S_OK);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    EXPECT_EQ(w, 2540) << "96 pixels are an inch";
    EXPECT_EQ(h, 1270);
    SHORT type = 0;
    picture->get_Type(&type);
    EXPECT_EQ(type, PICTYPE_BITMAP);

    Canvas c(48, 24);
    EXPECT_EQ(picture->Render(c.dc(), 0, 0, 48, 24, 0, h, w, -h, nullptr), S_OK);
    EXPECT_TRUE(Near(c.Pixel(10, 2), RGB(255, 0, 0), 8));
    EXPECT_TRUE(Near(c.Pixel(40, 21), RGB(0, 0, 255), 8));
    // A positive source height draws it upside down.
    EXPECT_EQ(picture->Render(c.dc(), 0, 0, 48, 24, 0, 0, w, h, nullptr), S_OK);
    EXPECT_TRUE(Near(c.Pixel(10, 2), RGB(0, 0, 255), 8));
    EXPECT_TRUE(Near(c.Pixel(10, 21), RGB(255, 0, 0), 8));
    EXPECT_EQ(picture->Render(c.dc(), 0, 0, 0, 24, 0, h, w, -h, nullptr), E_INVALIDARG);
    EXPECT_EQ(picture->Release(), 0u);
  }
}

// The stand-in's stream never grows its block, and refuses a block that is gone.
TEST(ComStream, TheBlockNeverGrowsAndMustBeLive) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 2);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
  EXPECT_EQ(stream->Write("XYZ", 3, nullptr), STG_E_MEDIUMFULL);
  stream->Release();
  EXPECT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), E_INVALIDARG);
}

TEST(OlePicture, TruncatedPngAndJpegAreRefused) {
  IPicture* picture = reinterpret_cast<IPicture*>(0x1);
  std::vector<BYTE> png = EncodePng(20, 20);
  png.resize(png.size() / 2);
  EXPECT_EQ(tovutest::LoadPicture(png, &picture), CTL_E_INVALIDPICTURE);
  EXPECT_EQ(picture, nullptr);
  std::vector<BYTE> jpeg = EncodeJpeg(20, 20);
  jpeg.resize(4);
  EXPECT_EQ(tovutest::LoadPicture(jpeg, &picture), CTL_E_INVALIDPICTURE);
}

}  // namespace
