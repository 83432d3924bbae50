// Conformance of COM streams over global memory and of OLE pictures: BMP files, their bits
// found through the file header, and data that is no picture.
// Compiled twice: against the stand-in on Linux and against the real Win32 under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "testing/Canvas.h"
#include "testing/Win32Conformance.h"

namespace {

using tovutest::Canvas;

// A 2 by 1 24-bit BMP, green then blue, with 6 unused bytes before its bits.
std::vector<BYTE> TwoPixelBmp() {
  std::vector<BYTE> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 60, 0, 0, 0};
  const BYTE header[40] = {40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24};
  bmp.insert(bmp.end(), header, header + 40);
  bmp.insert(bmp.end(), {9, 9, 9, 9, 9, 9});
  bmp.insert(bmp.end(), {0, 255, 0, 255, 0, 0, 0, 0});
  return bmp;
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
  EXPECT_EQ(stream->Read(buffer, 4, &read), S_OK) << "short at the end, and no failure";
  EXPECT_EQ(read, 2u);
  EXPECT_EQ(std::string(buffer, 2), "ef");
  LARGE_INTEGER move;
  move.QuadPart = -3;
  ULARGE_INTEGER at;
  EXPECT_EQ(stream->Seek(move, STREAM_SEEK_END, &at), S_OK);
  EXPECT_EQ(at.QuadPart, 3u);
  ULONG written = 0;
  EXPECT_EQ(stream->Write("XYZ", 3, &written), S_OK);
  EXPECT_EQ(written, 3u);
  EXPECT_EQ(stream->Release(), 0u);
  ASSERT_EQ(GlobalSize(block), 6u) << "kept: not to be deleted on release";
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(block)), 6), "abcXYZ");
  GlobalUnlock(block);
  ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
  stream->Release();
  SetLastError(0);
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << "freed with the stream";
}

TEST(OlePicture, BmpBitsComeFromTheFileHeadersOffset) {
  IPicture* picture = nullptr;
  ASSERT_EQ(tovutest::LoadPicture(TwoPixelBmp(), &picture), S_OK);
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

// Wine answers E_FAIL for every picture it cannot load.
TEST(OlePicture, DataThatIsNoPictureIsRefused) {
  const bool wine = tovutest::UnderWine();
  IPicture* picture = reinterpret_cast<IPicture*>(0x1);
  EXPECT_EQ(tovutest::LoadPicture({'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}, &picture),
            wine ? E_FAIL : CTL_E_INVALIDPICTURE);
  EXPECT_EQ(picture, nullptr);
  EXPECT_EQ(tovutest::LoadPicture(TwoPixelBmp(), &picture, IID_IStream), E_NOINTERFACE);

  // A BMP that claims 3,000,000 by 2,000,000 pixels is refused before anything is allocated,
  // and so is one whose bits are not all there.
  std::vector<BYTE> big = {'B', 'M', 0, 0,    0,    0,    0, 0,    0,    0,    54, 0, 0, 0,  40,
                           0,   0,   0, 0xC0, 0xC6, 0x2D, 0, 0x80, 0x84, 0x1E, 0,  1, 0, 24, 0};
  big.resize(54 + 64, 0);
  EXPECT_EQ(tovutest::LoadPicture(big, &picture), wine ? E_FAIL : E_OUTOFMEMORY);
  std::vector<BYTE> small = big;
  small[18] = 100;
  small[19] = small[20] = small[21] = 0;
  small[22] = 100;
  small[23] = small[24] = small[25] = 0;
  // Wine loads it, taking the missing bits as black.
  if (wine) return;
  EXPECT_EQ(tovutest::LoadPicture(small, &picture), CTL_E_INVALIDPICTURE);
}

}  // namespace
