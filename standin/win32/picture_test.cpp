// Conformance of the COM stream and OLE picture stand-ins: streams over global memory, PNG,
// JPEG and BMP pictures, their HIMETRIC sizes, Render's source rectangle, and refusals.
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

#include "standin/win32/globalmem.h"
#include "standin/win32/png.h"
#include "testing/Canvas.h"
#include "testing/TempDir.h"

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

// Loads a picture from bytes as a preview does: a movable block, a stream that frees it.
HRESULT Load(const std::vector<BYTE>& bytes, IPicture** picture, REFIID riid = IID_IPicture) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  IStream* stream = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
  const HRESULT hr =
      OleLoadPicture(stream, static_cast<LONG>(bytes.size()), TRUE, riid, reinterpret_cast<LPVOID*>(picture));
  stream->Release();
  return hr;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TEST(ComStream, ReadsSeeksAndFreesItsBlockOnRelease) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
  std::memcpy(GlobalLock(block), "abcdef", 6);
  GlobalUnlock(block);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
  char buffer[8] = {};
  ULONG read = 0;
  EXPECT_EQ(stream->Read(buffer, 4, &read), S_OK);
  EXPECT_EQ(read, 4u);
  EXPECT_EQ(stream->Read(buffer, 4, &read), S_FALSE) << "short at the end";
  EXPECT_EQ(std::string(buffer, 2), "ef");
  LARGE_INTEGER move;
  move.QuadPart = -3;
  ULARGE_INTEGER at;
  EXPECT_EQ(stream->Seek(move, STREAM_SEEK_END, &at), S_OK);
  EXPECT_EQ(at.QuadPart, 3u);
  EXPECT_EQ(stream->Write("XYZW", 4, nullptr), STG_E_MEDIUMFULL) << "the block does not grow";
  EXPECT_EQ(stream->Release(), 0u);
  EXPECT_EQ(GlobalSize(block), 6u) << "kept: not to be deleted on release";
  ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
  stream->Release();
  SetLastError(0);
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << "freed with the stream";
  EXPECT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), E_INVALIDARG);
}

TEST(OlePicture, PngAndJpegLoadWithHiMetricSizesAndRenderUpright) {
  for (const auto& bytes : {EncodePng(96, 48), EncodeJpeg(96, 48)}) {
    IPicture* picture = nullptr;
    ASSERT_EQ(Load(bytes, &picture), S_OK);
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

TEST(OlePicture, BmpBitsComeFromTheFileHeadersOffset) {
  // A 2 by 1 24-bit BMP with 6 unused bytes before its bits.
  std::vector<BYTE> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 60, 0, 0, 0};
  const BYTE header[40] = {40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24};
  bmp.insert(bmp.end(), header, header + 40);
  bmp.insert(bmp.end(), {9, 9, 9, 9, 9, 9});
  bmp.insert(bmp.end(), {0, 255, 0, 255, 0, 0, 0, 0});
  IPicture* picture = nullptr;
  ASSERT_EQ(Load(bmp, &picture), S_OK);
  Canvas c(2, 1);
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture->get_Width(&w);
  picture->get_Height(&h);
  picture->Render(c.dc(), 0, 0, 2, 1, 0, h, w, -h, nullptr);
  EXPECT_EQ(c.Pixel(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(c.Pixel(1, 0), RGB(0, 0, 255));
  picture->Release();
}

TEST(OlePicture, DataThatIsNoPictureIsRefused) {
  IPicture* picture = reinterpret_cast<IPicture*>(0x1);
  EXPECT_EQ(Load({'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}, &picture), CTL_E_INVALIDPICTURE);
  EXPECT_EQ(picture, nullptr);
  std::vector<BYTE> png = EncodePng(20, 20);
  png.resize(png.size() / 2);
  EXPECT_EQ(Load(png, &picture), CTL_E_INVALIDPICTURE);
  std::vector<BYTE> jpeg = EncodeJpeg(20, 20);
  jpeg.resize(4);
  EXPECT_EQ(Load(jpeg, &picture), CTL_E_INVALIDPICTURE);
  EXPECT_EQ(Load(EncodePng(4, 4), &picture, IID_IStream), E_NOINTERFACE);

  // A BMP that claims 3,000,000 by 2,000,000 pixels is refused before anything is allocated,
  // and so is one whose bits are not all there.
  std::vector<BYTE> big = {'B', 'M', 0, 0,    0,    0,    0, 0,    0,    0,    54, 0, 0, 0,  40,
                           0,   0,   0, 0xC0, 0xC6, 0x2D, 0, 0x80, 0x84, 0x1E, 0,  1, 0, 24, 0};
  big.resize(54 + 64, 0);
  EXPECT_EQ(Load(big, &picture), E_OUTOFMEMORY);
  std::vector<BYTE> small = big;
  small[18] = 100;
  small[19] = small[20] = small[21] = 0;
  small[22] = 100;
  small[23] = small[24] = small[25] = 0;
  EXPECT_EQ(Load(small, &picture), CTL_E_INVALIDPICTURE);
}

}  // namespace
