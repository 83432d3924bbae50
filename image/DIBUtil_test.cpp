// The DIB utilities: sizes and colour tables of information and core headers, palettes,
// equal-size versus stretched painting, BMP files read and refused, bitmaps turned into DIBs
// and BMP files, copies of blocks; and the BMP test suite of the shared test data.
#include "image/DIBUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/Localization.h"
#include "standin/host/core/session.h"
#include "standin/win32/globalmem.h"
#include "testing/Canvas.h"
#include "testing/GoldenImage.h"
#include "testing/ImageTest.h"
#include "testing/TempDir.h"

namespace {

using tovutest::BmpFile;
using tovutest::Bytes;
using tovutest::Canvas;
using tovutest::CoreHeader;
using tovutest::FreeDib;
using tovutest::Held;
using tovutest::InfoHeader;
using tovutest::MakeDib;
using tovutest::MatchesGolden;
using tovutest::Numbers;

TEST(Dib, SizesOfInformationAndCoreHeaders) {
  Bytes v4 = InfoHeader(127, 64, 8, 252);
  v4[0] = 108;
  struct {
    Bytes dib;
    WORD colours, table;
    long bits;
    DWORD width, height;
  } cases[] = {
      {InfoHeader(10, 4, 8), 256, 1024, 40 + 1024, 10, 4},
      {InfoHeader(10, 4, 8, 20), 20, 80, 40 + 80, 10, 4},
      {InfoHeader(7, 3, 24, 3), 3, 12, 40 + 12, 7, 3},  // a colours-used field counts at any depth
      // The count and the size are 16-bit values.
      {InfoHeader(1, 1, 8, 0x10000), 0, 0, 40, 1, 1},
      {InfoHeader(1, 1, 8, 20000), 20000, static_cast<WORD>(80000), 40 + static_cast<WORD>(80000), 1, 1},
      {CoreHeader(300, 200, 4), 16, 48, 60, 300, 200},
      // Any header size but 40 is read as a core header: a 108-byte header's 32-bit width shows
      // through as a 16-bit width and a 16-bit height.
      {v4, 0, 0, 108, 127, 0},
      {InfoHeader(5, -64, 24), 0, 0, 40, 5, 0xFFFFFFC0u},
  };
  for (auto& k : cases) {
    const LPSTR p = reinterpret_cast<LPSTR>(k.dib.data());
    SCOPED_TRACE(&k - cases);
    EXPECT_EQ(DIBNumColors(p), k.colours);
    EXPECT_EQ(PaletteSize(p), k.table);
    EXPECT_EQ(FindDIBBits(p) - p, k.bits);
    EXPECT_EQ(DIBWidth(p), k.width);
    EXPECT_EQ(DIBHeight(p), k.height);
  }
}

// The palette CreateDIBPalette makes of the DIB's colour table, flags in the top byte; empty
// when it makes none.
std::vector<COLORREF> PaletteOf(const Bytes& dib) {
  HDIB h = MakeDib(dib);
  CPalette palette;
  std::vector<COLORREF> out;
  if (CreateDIBPalette(h, &palette)) {
    std::vector<PALETTEENTRY> entries(static_cast<size_t>(palette.GetEntryCount()));
    palette.GetPaletteEntries(0, static_cast<UINT>(entries.size()), entries.data());
    for (const PALETTEENTRY& e : entries) out.push_back(RGB(e.peRed, e.peGreen, e.peBlue) | (e.peFlags << 24));
  }
  EXPECT_EQ(out.empty(), palette.m_hObject == nullptr);
  EXPECT_EQ(GlobalFlags(reinterpret_cast<HGLOBAL>(h)) & GMEM_LOCKCOUNT, 0u) << "unlocked again";
  FreeDib(h);
  return out;
}

TEST(Dib, PaletteOfEitherEntrySizeAndOnlyWithAColourTable) {
  CPalette none;
  EXPECT_FALSE(CreateDIBPalette(nullptr, &none));
  using Colours = std::vector<COLORREF>;
  EXPECT_EQ(PaletteOf(InfoHeader(1, 1, 8, 3).u32(0x00102030).u32(0x00405060).u32(0x00708090).u32(0)),
            (Colours{RGB(0x10, 0x20, 0x30), RGB(0x40, 0x50, 0x60), RGB(0x70, 0x80, 0x90)}));
  EXPECT_EQ(PaletteOf(CoreHeader(1, 1, 1).u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u32(0)),
            (Colours{RGB(3, 2, 1), RGB(6, 5, 4)}));
  EXPECT_EQ(PaletteOf(InfoHeader(2, 2, 24).u32(0).u32(0).u32(0).u32(0)), Colours{});
  // A colour table promised past the block's end makes no palette.
  EXPECT_EQ(PaletteOf(InfoHeader(1, 1, 8, 500).u32(0)), Colours{});
  // The fit is measured in each header's own entry size, at the exact boundary: 16384 entries
  // (whose 16-bit palette size wraps to 0) in a block with room for 3 bytes each do not fit an
  // information header's 4-byte entries; a core header's 3-byte entries ending the block do.
  Bytes wraps = InfoHeader(1, 1, 16, 16384);
  wraps.resize(wraps.size() + 16384 * 3, 0);
  EXPECT_EQ(PaletteOf(wraps), Colours{});
  EXPECT_EQ(PaletteOf(CoreHeader(1, 1, 1).u8(1).u8(2).u8(3).u8(4).u8(5).u8(6)), (Colours{RGB(3, 2, 1), RGB(6, 5, 4)}));
}

TEST(Dib, PaintCopiesEqualSizesAndStretchesOthers) {
  // A 1 by 3 bottom-up 24-bit DIB: rows from the top red, green, blue.
  HDIB dib =
      MakeDib(InfoHeader(1, 3, 24).u8(255).u8(0).u8(0).pad(4).u8(0).u8(255).u8(0).pad(4).u8(0).u8(0).u8(255).pad(4));
  Canvas c(4, 4, RGB(9, 9, 9));
  CRect top(0, 0, 1, 1), dest(0, 0, 1, 1), wider(0, 1, 2, 2), all(0, 0, 1, 3), twice(2, 0, 4, 6);
  // Equal sizes: SetDIBitsToDevice, whose source rows the module counts from the top.
  EXPECT_EQ(PaintDIB(c.dc(), dest, dib, top, nullptr), 3);
  EXPECT_EQ(c.Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetStretchBltMode(c.dc()), COLORONCOLOR);
  // One pixel wider: StretchDIBits, which takes the source rectangle's top as a row from the
  // DIB's bottom, so the same rectangle now shows the bottom row.
  EXPECT_NE(PaintDIB(c.dc(), wider, dib, top, nullptr), 0);
  EXPECT_EQ(c.Pixel(0, 1), RGB(0, 0, 255));
  EXPECT_EQ(c.Pixel(1, 1), RGB(0, 0, 255));
  PaintDIB(c.dc(), twice, dib, all, nullptr);
  EXPECT_EQ(c.Pixel(3, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.Pixel(2, 3), RGB(0, 255, 0));
  EXPECT_EQ(PaintDIB(c.dc(), dest, nullptr, top, nullptr), 0);
  FreeDib(dib);

  // The palette is selected only while painting; a palette object without a GDI palette (as
  // after a failed CreateDIBPalette) is skipped.
  HDIB indexed = MakeDib(InfoHeader(1, 1, 8, 2).u32(0x00FF0000).u32(0x000000FF).u8(1).pad(4));
  CPalette palette, empty;
  ASSERT_TRUE(CreateDIBPalette(indexed, &palette));
  const HGDIOBJ before = GetCurrentObject(c.dc(), OBJ_PAL);
  EXPECT_NE(PaintDIB(c.dc(), dest, indexed, top, &palette), 0);
  EXPECT_EQ(c.Pixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PAL), before);
  EXPECT_NE(PaintDIB(c.dc(), dest, indexed, top, &empty), 0);
  FreeDib(indexed);

  // 8 rows promised, 1 there: nothing is painted, at any size.
  HDIB shortBits = MakeDib(InfoHeader(1, 8, 24).u32(0x00FFFFFF));
  c.Fill(RGB(9, 9, 9));
  CRect eight(0, 0, 1, 8), stretched(0, 0, 2, 8);
  EXPECT_EQ(PaintDIB(c.dc(), eight, shortBits, eight, nullptr), 0);
  EXPECT_EQ(PaintDIB(c.dc(), stretched, shortBits, eight, nullptr), 0);
  EXPECT_EQ(c.Count(RGB(9, 9, 9)), 16);
  FreeDib(shortBits);
}

void PaintWithPalette(Canvas& c, HDIB dib, CRect src, CRect dest) {
  CPalette palette;
  CreateDIBPalette(dib, &palette);
  PaintDIB(c.dc(), dest, dib, src, &palette);
}

TEST(Dib, GoldenImagesOfStretchedAndRunLengthDibs) {
  // 24 by 12 pixels of 8 bits over a 256-colour ramp, stretched unevenly (9 by 7.5).
  Bytes ramp = InfoHeader(24, 12, 8);
  for (int i = 0; i < 256; ++i) ramp.u8(i).u8((i * 3) & 0xFF).u8(255 - i).u8(0);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 24; ++x) ramp.u8((x * 10 + y * 21) & 0xFF);
    ramp.pad(4);
  }
  HDIB h = MakeDib(ramp);
  Canvas stretched(240, 120, RGB(192, 192, 192));
  PaintWithPalette(stretched, h, CRect(0, 0, 24, 12), CRect(12, 15, 228, 105));
  EXPECT_TRUE(MatchesGolden(stretched, "image/golden/ramp8_stretched.png"));
  FreeDib(h);

  // RLE8 with runs, an absolute run and deltas, at its size and 8 times as large: what the
  // data skips stays grey.
  Bytes data;
  for (int row = 0; row < 8; ++row) {
    data.u8(3 + row).u8(1 + row % 3).u8(0).u8(3).u8(3).u8(2).u8(1).u8(0);
    if (row % 2) data.u8(0).u8(2).u8(4).u8(0);  // four pixels further right
    data.u8(2).u8(3).u8(0).u8(0);
  }
  data.u8(0).u8(1);
  const Bytes colours = Bytes().u32(0x00000000).u32(0x00E03020).u32(0x002080F0).u32(0x00F0D040);
  h = MakeDib(InfoHeader(20, 10, 8, 4, BI_RLE8, static_cast<DWORD>(data.size())).append(colours).append(data));
  Canvas rle(190, 80, RGB(128, 128, 128));
  PaintWithPalette(rle, h, CRect(0, 0, 20, 10), CRect(0, 0, 20, 10));
  PaintWithPalette(rle, h, CRect(0, 0, 20, 10), CRect(30, 0, 190, 80));
  EXPECT_TRUE(MatchesGolden(rle, "image/golden/rle8_skips.png"));
  FreeDib(h);
}

std::string FileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

uint32_t At32(const std::string& s, size_t at) {
  uint32_t v = 0;
  if (s.size() < at + 4) return v;
  std::memcpy(&v, s.data() + at, 4);
  return v;
}

TEST(Dib, BitmapsBecomeDibsAndBmpFiles) {
  auto& session = standin::Session::Get();
  session.Reset();
  tovutest::TempDir dir;
  // 100 by 10 at 32 bits: a 24-bit BMP of 54 + 3,000 bytes, rows of 300 bytes, bits at 54.
  std::vector<DWORD> pixels(100 * 10);
  pixels[0] = 0x00FF0000;  // red, at the top left
  CBitmap wide;
  ASSERT_TRUE(wide.CreateBitmap(100, 10, 1, 32, pixels.data()));
  const auto path = dir / "wide.bmp";
  EXPECT_EQ(SaveBitmapToFile(wide, path.wstring().c_str()), 1);
  const std::string file = FileBytes(path);
  ASSERT_EQ(file.size(), 54u + 3000u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(At32(file, 2), 3054u);
  EXPECT_EQ(At32(file, 10), 54u);
  EXPECT_EQ(file[28], 24) << "bits per pixel";
  EXPECT_EQ(At32(file, 34), 0u) << "image size left 0";
  // The top-left pixel is in the last row of the file, blue, green, red.
  EXPECT_EQ(file.substr(54 + 9 * 300, 3), std::string("\0\0\xFF", 3));

  struct {
    int bpp, width;
    WORD table;
    size_t row;
  } cases[] = {{1, 33, 8, 8}, {4, 9, 64, 8}, {8, 5, 1024, 8}, {16, 3, 0, 12}, {24, 3, 0, 12}, {32, 100, 0, 300}};
  for (const auto& k : cases) {
    HBITMAP bitmap = CreateBitmap(k.width, 2, 1, static_cast<UINT>(k.bpp), nullptr);
    HDIB dib = Bitmap2Dib(bitmap);
    std::string held = Held(reinterpret_cast<HGLOBAL>(dib));
    EXPECT_EQ(held.size(), 40 + k.table + 2 * k.row) << k.bpp;
    EXPECT_EQ(PaletteSize(held.data()), k.table) << k.bpp;
    FreeDib(dib);
    DeleteObject(bitmap);
  }
  EXPECT_EQ(Bitmap2Dib(nullptr), nullptr);
  EXPECT_EQ(SaveBitmapToFile(nullptr, (dir / "none.bmp").wstring().c_str()), 0);
  EXPECT_EQ(SaveBitmapToFile(wide, (dir / "no" / "such" / "folder.bmp").wstring().c_str()), 0);

  // Memory that cannot be had is told to the user, in the user's language.
  const SIZE_T previous = standin::SetGlobalMemoryLimit(1000);
  EXPECT_EQ(Bitmap2Dib(wide), nullptr);
  EXPECT_EQ(SaveBitmapToFile(wide, (dir / "x.bmp").wstring().c_str()), 0);
  standin::SetGlobalMemoryLimit(previous);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.bmp"));
  const auto boxes = session.Journal(standin::JournalKind::MessageBox);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, L"不能分配3040大小的内存,其中bsize=3000;palSize=0;infoSize=40");
  EXPECT_EQ(boxes[0].values, std::vector<double>{MB_OK});
  const auto dictionary =
      ZoDtDictionary::Load(std::string(TOVU_SOURCE_DIR) + "/lang/en/TOVUPLATFORM.tsv", L"TOVUPLATFORM");
  ASSERT_NE(dictionary, nullptr);
  const wchar_t* english = dictionary->Lookup(L"不能分配%d大小的内存,其中bsize=%d;palSize=%d;infoSize=%d");
  ASSERT_NE(english, nullptr) << "no English translation of the message";
  std::wstring rest = english;
  int numbers = 0;
  for (size_t at; (at = rest.find(L"%d")) != std::wstring::npos; rest.erase(0, at + 2)) ++numbers;
  EXPECT_EQ(numbers, 4) << "the translation takes the same four numbers";
}

TEST(DibFile, BmpFilesOfEveryDepthAreReadWhateverTheirOffsetSays) {
  tovutest::TempDir dir;
  auto rows = [](Bytes dib, int width, int height, int bpp) {
    for (int i = 0; i < ((width * bpp + 31) / 32) * 4 * height; ++i) dib.u8((i * 37) & 0xFF);
    return dib;
  };
  auto table = [](Bytes dib, int entries, int size) {
    for (int i = 0; i < entries; ++i) {
      dib.u8(i * 5).u8(255 - i).u8(i * 3);
      if (size == 4) dib.u8(0);
    }
    return dib;
  };
  Bytes rle8, rle4;
  rle8.u8(4).u8(1).u8(0).u8(3).u8(2).u8(3).u8(1).u8(0).u8(0).u8(2).u8(1).u8(1).u8(0).u8(0).u8(2).u8(3).u8(0).u8(1);
  rle4.u8(6).u8(0x12).u8(0).u8(4).u8(0x34).u8(0x56).u8(0).u8(0).u8(3).u8(0x77).u8(0).u8(1);
  // Every depth and compression the module paints, each file's bits offset 0; they are kept
  // as the seeds of the DIB fuzzer.
  const std::map<std::string, Bytes> files = {
      {"pal1.bmp", rows(table(InfoHeader(13, 5, 1), 2, 4), 13, 5, 1)},
      {"pal4.bmp", rows(table(InfoHeader(9, 6, 4), 16, 4), 9, 6, 4)},
      {"pal8_used20.bmp", rows(table(InfoHeader(7, 7, 8, 20), 20, 4), 7, 7, 8)},
      {"pal8_topdown.bmp", rows(table(InfoHeader(8, -4, 8), 256, 4), 8, 4, 8)},
      {"rgb16.bmp", rows(InfoHeader(5, 3, 16), 5, 3, 16)},
      {"rgb24.bmp", rows(InfoHeader(6, 4, 24), 6, 4, 24)},
      {"rgb32.bmp", rows(InfoHeader(4, 4, 32), 4, 4, 32)},
      {"core4.bmp", rows(table(CoreHeader(10, 3, 4), 16, 3), 10, 3, 4)},
      {"core24.bmp", rows(CoreHeader(3, 3, 24), 3, 3, 24)},
      {"rle8.bmp", table(InfoHeader(8, 3, 8, 4, BI_RLE8, static_cast<DWORD>(rle8.size())), 4, 4).append(rle8)},
      {"rle4.bmp", table(InfoHeader(8, 2, 4, 16, BI_RLE4, static_cast<DWORD>(rle4.size())), 16, 4).append(rle4)},
  };
  for (const auto& [name, dib] : files) {
    const std::string bytes = BmpFile(dib, 0).str();
    tovutest::KeepAsFuzzSeed("dib", name, bytes);
    const HGLOBAL h = reinterpret_cast<HGLOBAL>(tovutest::ReadBmp(dir.Write(name, bytes)));
    ASSERT_NE(h, nullptr) << name;
    // A zeroed block of the file's length, the DIB at its start; CopyHandle copies the whole
    // block and leaves the source unlocked.
    const HGLOBAL copy = CopyHandle(h);
    ASSERT_NE(copy, h);
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u);
    EXPECT_EQ(Held(h), dib.str() + std::string(14, '\0')) << name;
    EXPECT_EQ(Held(copy), Held(h)) << name;
    GlobalFree(copy);
    GlobalFree(h);
  }
  EXPECT_EQ(CopyHandle(nullptr), nullptr);

  // Refused: another type (whatever follows), less than a file header, a DIB without all its
  // colour table or bits, a header that claims more than the file has.
  const Bytes good = files.at("pal8_used20.bmp");
  Bytes wrongType = BmpFile(good, 0), noBits = good, tableShort = InfoHeader(1, 1, 8, 60000);
  wrongType[1] = 'A';
  noBits.resize(noBits.size() - 1);
  tableShort.resize(200, 0);
  for (const Bytes& bad :
       {wrongType, Bytes().u8('B').u8('M').u32(0), BmpFile(InfoHeader(2, 1, 8, 2), 0), BmpFile(noBits, 0),
        BmpFile(InfoHeader(3000000, 2000000, 24).u32(0), 0), BmpFile(tableShort, 0)}) {
    HDIB h = tovutest::ReadBmp(dir.Write("bad.bmp", bad.str()));
    EXPECT_EQ(h, nullptr) << bad.size();
    FreeDib(h);
  }
  // Read from the current position: a file not at its start gives fewer bytes than its length.
  CFile file;
  ASSERT_TRUE(file.Open((dir / "pal1.bmp").wstring().c_str(), CFile::modeRead));
  file.Seek(1, CFile::begin);
  EXPECT_EQ(ReadDIBFile(file), nullptr);
  file.Close();
  // A file that cannot be read (opened for writing only) is refused, not thrown through.
  ASSERT_TRUE(file.Open((dir / "pal1.bmp").wstring().c_str(), CFile::modeWrite | CFile::modeNoTruncate));
  EXPECT_EQ(ReadDIBFile(file), nullptr);
}

// Every file of the suite is painted with the pixel values of the independent decoders
// (SOURCES.md) when its header is 40 or 12 bytes and its bits follow the colour table (the
// module's own rule); any other file is painted or refused, never read out of bounds or sized
// from a lying header. Four files are golden images.
TEST(BmpSuite, EveryFilePaintsAsTheIndependentDecodersSayOrIsRefused) {
  const std::filesystem::path suite = tovutest::SharedTestData("bmp");
  if (suite.empty()) GTEST_SKIP() << "the BMP test suite (../shared/testdata/bmp) is not there";
  // file | size | (0,0) | centre | centre RGB | top-right | bottom-left | agreement: 16 numbers
  // for each file that a decoder read.
  std::map<std::string, std::vector<int>> references;
  for (const auto& row : tovutest::TableRows(suite / "SOURCES.md", "Reference pixels")) {
    std::string cells;
    for (size_t i = 1; i < 7 && i < row.size(); ++i) cells += row[i] + " ";
    if (Numbers(cells).size() == 16) references[row[0]] = Numbers(cells);
  }
  ASSERT_GE(references.size(), 25u) << "SOURCES.md's reference table was not understood";
  const std::map<std::string, std::pair<CRect, const char*>> golden = {
      {"good/pal8.bmp", {CRect(0, 0, 200, 90), "image/golden/bmp_pal8_stretched.png"}},
      {"good/pal4rle.bmp", {CRect(0, 0, 127, 64), "image/golden/bmp_pal4rle.png"}},
      {"good/rgb16.bmp", {CRect(0, 0, 127, 64), "image/golden/bmp_rgb16.png"}},
      {"questionable/pal8rletrns.bmp", {CRect(0, 0, 127, 64), "image/golden/bmp_pal8rletrns.png"}}};
  const std::set<std::string> lying = {"bad/reallybig.bmp", "bad/shortfile.bmp", "bad/badbitcount.bmp",
                                       "bad/badpalettesize.bmp", "bad/badwidth.bmp"};

  // Any allocation sized from a header instead of the file would fail under this limit.
  const SIZE_T previousLimit = standin::SetGlobalMemoryLimit(1 << 20);
  int files = 0, checked = 0, refused = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(suite)) {
    if (entry.path().extension() != ".bmp") continue;
    const std::string name = std::filesystem::relative(entry.path(), suite).generic_string();
    SCOPED_TRACE(name);
    std::string bytes = FileBytes(entry.path());
    const uint32_t header = At32(bytes, 14);
    const auto reference = name.rfind("bad/", 0) == 0 ? references.end() : references.find(name);
    const bool must = reference != references.end() && (header == 40 || header == 12) &&
                      At32(bytes, 10) == 14 + header + PaletteSize(&bytes[14]);
    HDIB dib = tovutest::ReadBmp(entry.path());
    ++files;
    refused += !dib;
    EXPECT_TRUE(dib || !must) << "refused, but it follows the module's rule";
    EXPECT_TRUE(!dib || !lying.count(name)) << "read, but it lies about its size";
    if (!dib) continue;
    const LPSTR p = static_cast<LPSTR>(GlobalLock(reinterpret_cast<HGLOBAL>(dib)));
    const int width = static_cast<int>(DIBWidth(p)), height = std::abs(static_cast<int>(DIBHeight(p)));
    // GDI leaves what RLE data skips unpainted, where the decoders show colour 0: such files
    // are painted over colour 0 (blue, green, red in either entry size), others over a colour
    // no file has.
    const bool rle = At32(bytes, 30) == BI_RLE8 || At32(bytes, 30) == BI_RLE4;
    const BYTE* colourZero = reinterpret_cast<const BYTE*>(p) + header;
    const COLORREF back = rle ? RGB(colourZero[2], colourZero[1], colourZero[0]) : RGB(1, 2, 3);
    GlobalUnlock(reinterpret_cast<HGLOBAL>(dib));
    for (int scale : {1, 2}) {  // SetDIBitsToDevice, then StretchDIBits
      Canvas c(300, 150, back);
      PaintWithPalette(c, dib, CRect(0, 0, width, height), CRect(0, 0, width * scale, height * scale));
      if (!must) continue;
      const std::vector<int>& n = reference->second;
      const int samples[4][3] = {{0, 0, 2}, {n[5], n[6], 7}, {n[0] - 1, 0, 10}, {0, n[1] - 1, 13}};
      for (const auto& [x, y, at] : samples) {
        const COLORREF got = c.Pixel(x * scale, y * scale), want = RGB(n[at], n[at + 1], n[at + 2]);
        const int tolerance = name.find("rgb16") != std::string::npos ? 1 : 0;
        EXPECT_TRUE(std::abs(GetRValue(got) - GetRValue(want)) <= tolerance &&
                    std::abs(GetGValue(got) - GetGValue(want)) <= tolerance &&
                    std::abs(GetBValue(got) - GetBValue(want)) <= tolerance)
            << "(" << x << "," << y << ") at scale " << scale << ": " << std::hex << got << " instead of " << want;
      }
    }
    checked += must;
    const auto g = golden.find(name);
    if (g != golden.end()) {
      Canvas c(g->second.first.Width(), g->second.first.Height(), RGB(128, 128, 128));
      PaintWithPalette(c, dib, CRect(0, 0, 127, 64), g->second.first);
      EXPECT_TRUE(MatchesGolden(c, g->second.second));
    }
    FreeDib(dib);
  }
  standin::SetGlobalMemoryLimit(previousLimit);
  EXPECT_GE(files, 49);
  EXPECT_GE(checked, 20) << "fewer files checked against their reference than expected";
  EXPECT_GE(refused, 5);
}

}  // namespace
