// The DIB utilities: sizes and colour tables of information and core headers, palettes,
// equal-size versus stretched painting, BMP files read and refused, bitmaps turned into DIBs
// and BMP files, and copies of blocks.
#include "image/DIBUtil.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "image/image_test_support.h"
#include "platform/Localization.h"
#include "standin/host/core/session.h"
#include "standin/win32/globalmem.h"
#include "testing/Canvas.h"
#include "testing/TempDir.h"

namespace {

using imagetest::Bytes;
using imagetest::CoreHeader;
using imagetest::InfoHeader;
using imagetest::MakeDib;
using tovutest::Canvas;

LPSTR Address(Bytes& b) { return reinterpret_cast<LPSTR>(b.data()); }

std::string Contents(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

uint32_t At32(const std::string& s, size_t at) {
  uint32_t v;
  std::memcpy(&v, s.data() + at, 4);
  return v;
}

TEST(DibSizes, InformationAndCoreHeaders) {
  Bytes pal8 = InfoHeader(10, 4, 8);
  EXPECT_EQ(DIBNumColors(Address(pal8)), 256);
  EXPECT_EQ(PaletteSize(Address(pal8)), 1024);
  EXPECT_EQ(FindDIBBits(Address(pal8)) - Address(pal8), 40 + 1024);
  Bytes pal20 = InfoHeader(10, 4, 8, 20);
  EXPECT_EQ(DIBNumColors(Address(pal20)), 20);
  EXPECT_EQ(PaletteSize(Address(pal20)), 80);
  Bytes rgb24 = InfoHeader(7, 3, 24);
  EXPECT_EQ(PaletteSize(Address(rgb24)), 0);
  EXPECT_EQ(FindDIBBits(Address(rgb24)) - Address(rgb24), 40);
  Bytes rgb24pal = InfoHeader(7, 3, 24, 3);
  EXPECT_EQ(PaletteSize(Address(rgb24pal)), 12) << "a colours-used field counts at any depth";
  Bytes pal1 = InfoHeader(33, 2, 1);
  EXPECT_EQ(PaletteSize(Address(pal1)), 8);
  // The count and the size are 16-bit values.
  Bytes many = InfoHeader(1, 1, 8, 0x10000);
  EXPECT_EQ(DIBNumColors(Address(many)), 0);
  Bytes wraps = InfoHeader(1, 1, 8, 20000);
  EXPECT_EQ(PaletteSize(Address(wraps)), static_cast<WORD>(80000));

  Bytes core4 = CoreHeader(300, 200, 4);
  EXPECT_EQ(DIBNumColors(Address(core4)), 16);
  EXPECT_EQ(PaletteSize(Address(core4)), 48);
  EXPECT_EQ(FindDIBBits(Address(core4)) - Address(core4), 60);
  EXPECT_EQ(DIBWidth(Address(core4)), 300u);
  EXPECT_EQ(DIBHeight(Address(core4)), 200u);
  // Any header size but 40 is read as a core header: a 108-byte header's 32-bit width shows
  // through as a 16-bit width and a 16-bit height.
  Bytes v4 = InfoHeader(127, 64, 8, 252);
  v4[0] = 108;
  EXPECT_EQ(DIBWidth(Address(v4)), 127u);
  EXPECT_EQ(DIBHeight(Address(v4)), 0u);
  EXPECT_EQ(DIBNumColors(Address(v4)), 0);
  Bytes topDown = InfoHeader(5, -64, 24);
  EXPECT_EQ(DIBHeight(Address(topDown)), 0xFFFFFFC0u);
  EXPECT_EQ(DIBWidth(Address(topDown)), 5u);
}

TEST(DibPalette, MadeFromEitherEntrySizeAndOnlyWithAColourTable) {
  CPalette none;
  EXPECT_FALSE(CreateDIBPalette(nullptr, &none));
  HDIB rgb = MakeDib(InfoHeader(2, 2, 24).append(Bytes().u32(0).u32(0).u32(0).u32(0)));
  EXPECT_FALSE(CreateDIBPalette(rgb, &none));
  EXPECT_EQ(none.m_hObject, nullptr) << "no palette for a DIB without colour table";

  HDIB quads = MakeDib(InfoHeader(1, 1, 8, 3).append(Bytes().u32(0x00102030).u32(0x00405060).u32(0x00708090).u32(0)));
  CPalette palette;
  ASSERT_TRUE(CreateDIBPalette(quads, &palette));
  EXPECT_EQ(palette.GetEntryCount(), 3);
  PALETTEENTRY entries[3];
  palette.GetPaletteEntries(0, 3, entries);
  EXPECT_EQ(RGB(entries[1].peRed, entries[1].peGreen, entries[1].peBlue), RGB(0x40, 0x50, 0x60));
  EXPECT_EQ(entries[2].peFlags, 0);

  Bytes core = CoreHeader(1, 1, 1);
  core.u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u32(0);
  HDIB triples = MakeDib(core);
  CPalette corePalette;
  ASSERT_TRUE(CreateDIBPalette(triples, &corePalette));
  corePalette.GetPaletteEntries(0, 2, entries);
  EXPECT_EQ(RGB(entries[1].peRed, entries[1].peGreen, entries[1].peBlue), RGB(6, 5, 4));

  // A colour table promised past the block's end makes no palette.
  HDIB lying = MakeDib(InfoHeader(1, 1, 8, 500).append(Bytes().u32(0)));
  CPalette lyingPalette;
  EXPECT_FALSE(CreateDIBPalette(lying, &lyingPalette));
  EXPECT_EQ(GlobalFlags(reinterpret_cast<HGLOBAL>(lying)) & GMEM_LOCKCOUNT, 0u) << "unlocked again";
  for (HDIB h : {rgb, quads, triples, lying}) GlobalFree(reinterpret_cast<HGLOBAL>(h));
}

// A 1 by 3 bottom-up 24-bit DIB: rows from the top red, green, blue.
HDIB Stripes() {
  Bytes b = InfoHeader(1, 3, 24);
  b.u8(255).u8(0).u8(0).pad(4).u8(0).u8(255).u8(0).pad(4).u8(0).u8(0).u8(255).pad(4);
  return MakeDib(b);
}

TEST(DibPaint, EqualSizesCopyStretchedOnesStretch) {
  HDIB dib = Stripes();
  Canvas c(4, 4, RGB(9, 9, 9));
  CRect top(0, 0, 1, 1);
  // Equal sizes: SetDIBitsToDevice, whose source rows the module counts from the top.
  CRect dest(0, 0, 1, 1);
  EXPECT_EQ(PaintDIB(c.dc(), dest, dib, top, nullptr), 3);
  EXPECT_EQ(c.Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetStretchBltMode(c.dc()), COLORONCOLOR);
  // One pixel wider: StretchDIBits, which takes the source rectangle's top as a row from the
  // DIB's bottom, so the same rectangle now shows the bottom row.
  CRect wider(0, 1, 2, 2);
  EXPECT_NE(PaintDIB(c.dc(), wider, dib, top, nullptr), 0);
  EXPECT_EQ(c.Pixel(0, 1), RGB(0, 0, 255));
  EXPECT_EQ(c.Pixel(1, 1), RGB(0, 0, 255));
  // The whole DIB, stretched to twice its size.
  CRect all(0, 0, 1, 3), twice(2, 0, 4, 6);
  PaintDIB(c.dc(), twice, dib, all, nullptr);
  EXPECT_EQ(c.Pixel(3, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.Pixel(2, 3), RGB(0, 255, 0));

  EXPECT_EQ(PaintDIB(c.dc(), dest, nullptr, top, nullptr), 0);
  GlobalFree(reinterpret_cast<HGLOBAL>(dib));
}

TEST(DibPaint, SelectsThePaletteAsBackgroundOnlyWhilePainting) {
  HDIB dib = MakeDib(InfoHeader(1, 1, 8, 2).append(Bytes().u32(0x00FF0000).u32(0x000000FF).u8(1).pad(4)));
  CPalette palette;
  ASSERT_TRUE(CreateDIBPalette(dib, &palette));
  Canvas c(1, 1);
  const HGDIOBJ before = GetCurrentObject(c.dc(), OBJ_PAL);
  CRect r(0, 0, 1, 1);
  EXPECT_NE(PaintDIB(c.dc(), r, dib, r, &palette), 0);
  EXPECT_EQ(c.Pixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PAL), before);
  // A palette object without a GDI palette (as after a failed CreateDIBPalette) is skipped.
  CPalette empty;
  EXPECT_NE(PaintDIB(c.dc(), r, dib, r, &empty), 0);
  GlobalFree(reinterpret_cast<HGLOBAL>(dib));
}

TEST(DibPaint, BitsPastTheBlockPaintNothing) {
  // 8 rows promised, 1 there.
  HDIB dib = MakeDib(InfoHeader(1, 8, 24).append(Bytes().u32(0x00FFFFFF)));
  Canvas c(2, 8, RGB(9, 9, 9));
  CRect r(0, 0, 1, 8), big(0, 0, 2, 8);
  EXPECT_EQ(PaintDIB(c.dc(), r, dib, r, nullptr), 0);
  EXPECT_EQ(PaintDIB(c.dc(), big, dib, r, nullptr), 0);
  EXPECT_EQ(c.Count(RGB(9, 9, 9)), 16);
  GlobalFree(reinterpret_cast<HGLOBAL>(dib));
}

TEST(DibRead, BmpFilesAreReadWhateverTheirOffsetSaysAndRefusedWhenShort) {
  tovutest::TempDir dir;
  // 2 by 1, 8 bits, 2 colours; the file header's offset lies.
  Bytes dib = InfoHeader(2, 1, 8, 2).append(Bytes().u32(0x00FF0000).u32(0x0000FF00).u8(1).u8(0).pad(4));
  const Bytes lying = imagetest::BmpFile(dib, 5000);
  const auto path = dir.Write("lying-offset.bmp", std::string(lying.begin(), lying.end()));
  HDIB read = imagetest::ReadBmp(path);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(GlobalSize(reinterpret_cast<HGLOBAL>(read)), 14 + dib.size()) << "a block of the file's length";
  LPSTR p = static_cast<LPSTR>(GlobalLock(reinterpret_cast<HGLOBAL>(read)));
  EXPECT_EQ(std::memcmp(p, dib.data(), dib.size()), 0);
  EXPECT_EQ(FindDIBBits(p) - p, 48);
  GlobalUnlock(reinterpret_cast<HGLOBAL>(read));
  Canvas c(2, 1);
  CRect r(0, 0, 2, 1);
  PaintDIB(c.dc(), r, read, r, nullptr);
  EXPECT_EQ(c.Pixel(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(c.Pixel(1, 0), RGB(255, 0, 0));
  GlobalFree(reinterpret_cast<HGLOBAL>(read));

  auto refused = [&](const char* name, const Bytes& bytes) {
    const auto file = dir.Write(name, std::string(bytes.begin(), bytes.end()));
    HDIB h = imagetest::ReadBmp(file);
    if (h) GlobalFree(reinterpret_cast<HGLOBAL>(h));
    return h == nullptr;
  };
  Bytes wrongType = imagetest::BmpFile(dib, 0);
  wrongType[1] = 'A';
  EXPECT_TRUE(refused("type.bmp", wrongType)) << "whatever follows";
  EXPECT_TRUE(refused("short.bmp", Bytes().u8('B').u8('M').u32(0)));
  EXPECT_TRUE(refused("header-only.bmp", imagetest::BmpFile(InfoHeader(2, 1, 8, 2), 0)));
  Bytes noBits = dib;
  noBits.resize(48 + 3);
  EXPECT_TRUE(refused("bits-short.bmp", imagetest::BmpFile(noBits, 0)));
  EXPECT_TRUE(refused("huge.bmp", imagetest::BmpFile(InfoHeader(3000000, 2000000, 24).u32(0), 0)));
  Bytes tableShort = InfoHeader(1, 1, 8, 60000);
  tableShort.resize(200, 0);
  EXPECT_TRUE(refused("table-short.bmp", imagetest::BmpFile(tableShort, 0)));
  EXPECT_FALSE(refused("good.bmp", imagetest::BmpFile(dib, 0)));

  // Read from the current position: a file not at its start gives fewer bytes than its length.
  CFile file;
  ASSERT_TRUE(file.Open(imagetest::Wide(dir / "good.bmp").c_str(), CFile::modeRead));
  file.Seek(1, CFile::begin);
  EXPECT_EQ(ReadDIBFile(file), nullptr);
  file.Close();
  // A file that cannot be read (opened for writing only) is refused, not thrown through.
  CFile writeOnly;
  ASSERT_TRUE(writeOnly.Open(imagetest::Wide(dir / "good.bmp").c_str(),
                             CFile::modeWrite | CFile::modeNoTruncate | CFile::modeCreate));
  EXPECT_EQ(ReadDIBFile(writeOnly), nullptr);
}

TEST(DibFromBitmap, SizesOfTheDibsAndFilesMadeFromBitmaps) {
  tovutest::TempDir dir;
  // 100 by 10 at 32 bits: a 24-bit BMP of 54 + 3,000 bytes, rows of 300 bytes, bits at 54.
  CBitmap wide;
  ASSERT_TRUE(wide.CreateBitmap(100, 10, 1, 32, nullptr));
  {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&wide);
    dc.SetPixel(0, 0, RGB(255, 0, 0));
    dc.SelectObject(old);
  }
  const auto path = dir / "wide.bmp";
  EXPECT_EQ(SaveBitmapToFile(wide, imagetest::Wide(path).c_str()), 1);
  const std::string file = Contents(path);
  ASSERT_EQ(file.size(), 54u + 3000u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(At32(file, 2), 3054u);
  EXPECT_EQ(At32(file, 10), 54u);
  EXPECT_EQ(file[28], 24) << "bits per pixel";
  EXPECT_EQ(At32(file, 34), 0u) << "image size left 0";
  // The top-left pixel is in the last row of the file, blue-green-red.
  EXPECT_EQ(file.substr(54 + 9 * 300, 3), std::string("\0\0\xFF", 3));

  struct {
    int bpp;
    int width;
    size_t table;
    size_t row;
  } cases[] = {{1, 33, 8, 8}, {4, 9, 64, 8}, {8, 5, 1024, 8}, {16, 3, 0, 12}, {24, 3, 0, 12}, {32, 100, 0, 300}};
  for (const auto& k : cases) {
    HBITMAP bitmap = CreateBitmap(k.width, 2, 1, static_cast<UINT>(k.bpp), nullptr);
    HDIB dib = Bitmap2Dib(bitmap);
    ASSERT_NE(dib, nullptr) << k.bpp;
    EXPECT_EQ(GlobalSize(reinterpret_cast<HGLOBAL>(dib)), 40 + k.table + 2 * k.row) << k.bpp;
    LPSTR p = static_cast<LPSTR>(GlobalLock(reinterpret_cast<HGLOBAL>(dib)));
    EXPECT_EQ(PaletteSize(p), k.table) << k.bpp;
    EXPECT_EQ(DIBWidth(p), static_cast<DWORD>(k.width));
    GlobalUnlock(reinterpret_cast<HGLOBAL>(dib));
    GlobalFree(reinterpret_cast<HGLOBAL>(dib));
    DeleteObject(bitmap);
  }
  EXPECT_EQ(Bitmap2Dib(nullptr), nullptr);
  EXPECT_EQ(SaveBitmapToFile(nullptr, imagetest::Wide(dir / "none.bmp").c_str()), 0);
  EXPECT_EQ(SaveBitmapToFile(wide, imagetest::Wide(dir / "no" / "such" / "folder.bmp").c_str()), 0);
}

TEST(DibFromBitmap, MemoryThatCannotBeHadIsToldToTheUser) {
  auto& session = standin::Session::Get();
  session.Reset();
  HBITMAP bitmap = CreateBitmap(100, 10, 1, 32, nullptr);
  tovutest::TempDir dir;
  const SIZE_T previous = standin::SetGlobalMemoryLimit(1000);
  EXPECT_EQ(Bitmap2Dib(bitmap), nullptr);
  EXPECT_EQ(SaveBitmapToFile(bitmap, imagetest::Wide(dir / "x.bmp").c_str()), 0);
  standin::SetGlobalMemoryLimit(previous);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.bmp"));
  const auto boxes = session.Journal(standin::JournalKind::MessageBox);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, L"不能分配3040大小的内存,其中bsize=3000;palSize=0;infoSize=40");
  EXPECT_EQ(boxes[0].values, std::vector<double>{MB_OK});
  DeleteObject(bitmap);

  const auto dictionary =
      ZoDtDictionary::Load(std::string(TOVU_SOURCE_DIR) + "/lang/en/TOVUPLATFORM.tsv", L"TOVUPLATFORM");
  ASSERT_NE(dictionary, nullptr);
  const wchar_t* english = dictionary->Lookup(L"不能分配%d大小的内存,其中bsize=%d;palSize=%d;infoSize=%d");
  ASSERT_NE(english, nullptr) << "no English translation of the message";
  size_t count = 0;
  for (size_t at = 0; (at = std::wstring(english).find(L"%d", at)) != std::wstring::npos; at += 2) ++count;
  EXPECT_EQ(count, 4u) << "the translation takes the same four numbers";
}

TEST(DibCopy, CopyHandleDuplicatesTheWholeBlock) {
  EXPECT_EQ(CopyHandle(nullptr), nullptr);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 5);
  std::memcpy(GlobalLock(h), "12345", 5);
  GlobalUnlock(h);
  HGLOBAL copy = CopyHandle(h);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, h);
  EXPECT_EQ(GlobalSize(copy), 5u);
  EXPECT_EQ(std::memcmp(GlobalLock(copy), "12345", 5), 0);
  GlobalUnlock(copy);
  EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u);
  GlobalFree(copy);
  GlobalFree(h);
}

}  // namespace
