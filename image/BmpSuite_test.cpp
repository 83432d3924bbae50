// The real BMP test suite read and painted through the module. Files whose header is 40 or 12
// bytes and whose bits follow the colour table (the module's own rule) must paint with the
// pixel values an independent decoder gave (SOURCES.md); every other file is painted or
// refused, never read out of bounds or sized from a lying header.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "image/DIBUtil.h"
#include "image/image_test_support.h"
#include "standin/win32/globalmem.h"
#include "testing/Canvas.h"

namespace {

using tovutest::Canvas;

struct Reference {
  int width = 0, height = 0;
  struct Sample {
    int x, y;
    COLORREF color;
  };
  std::vector<Sample> samples;
};

// The numbers in a text, in order.
std::vector<int> Numbers(const std::string& text) {
  std::vector<int> out;
  for (size_t i = 0; i < text.size();) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
    out.push_back(std::stoi(text.substr(i, end - i)));
    i = end;
  }
  return out;
}

// The "Reference pixels" table of SOURCES.md: file | size | (0,0) | centre | centre RGB |
// top-right | bottom-left | agreement.
std::map<std::string, Reference> ReadReferences(const std::filesystem::path& sources) {
  std::ifstream in(sources);
  std::string line;
  bool inTable = false;
  std::map<std::string, Reference> out;
  while (std::getline(in, line)) {
    if (line.rfind("## ", 0) == 0) inTable = line.find("Reference pixels") != std::string::npos;
    if (!inTable || line.rfind("| ", 0) != 0 || line.find(".bmp") == std::string::npos) continue;
    std::vector<std::string> fields;
    std::stringstream cells(line.substr(1));
    for (std::string cell; std::getline(cells, cell, '|');) fields.push_back(cell);
    if (fields.size() < 7) continue;
    const std::vector<int> size = Numbers(fields[1]), origin = Numbers(fields[2]), centre = Numbers(fields[3]),
                           centreRgb = Numbers(fields[4]), topRight = Numbers(fields[5]),
                           bottomLeft = Numbers(fields[6]);
    if (size.size() != 2 || origin.size() != 3 || centre.size() != 2 || centreRgb.size() != 3 || topRight.size() != 3 ||
        bottomLeft.size() != 3)
      continue;  // a file no decoder read
    Reference ref;
    ref.width = size[0];
    ref.height = size[1];
    auto rgb = [](const std::vector<int>& v) { return RGB(v[0], v[1], v[2]); };
    ref.samples = {{0, 0, rgb(origin)},
                   {centre[0], centre[1], rgb(centreRgb)},
                   {ref.width - 1, 0, rgb(topRight)},
                   {0, ref.height - 1, rgb(bottomLeft)}};
    std::string file = fields[0];
    file.erase(0, file.find_first_not_of(' '));
    file.erase(file.find_last_not_of(' ') + 1);
    out[file] = ref;
  }
  return out;
}

std::vector<BYTE> FileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le32(const std::vector<BYTE>& b, size_t at) {
  return b.size() < at + 4 ? 0
                           : b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// A 40- or 12-byte header whose bits start right after the colour table as the module
// counts it.
bool FollowsTheModulesRule(std::vector<BYTE> bytes) {
  if (bytes.size() < 14 + 40) return false;
  const uint32_t header = Le32(bytes, 14);
  if (header != 40 && header != 12) return false;
  return Le32(bytes, 10) == 14 + header + PaletteSize(reinterpret_cast<LPSTR>(bytes.data() + 14));
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Paints the whole DIB into a canvas filled with background, at the natural size (SetDIBitsToDevice)
// or scaled by 2 (StretchDIBits).
void Paint(Canvas& c, HDIB dib, CPalette* palette, int scale, COLORREF background) {
  LPSTR p = static_cast<LPSTR>(GlobalLock(reinterpret_cast<HGLOBAL>(dib)));
  const int w = static_cast<int>(DIBWidth(p));
  const int h = std::abs(static_cast<int>(DIBHeight(p)));
  GlobalUnlock(reinterpret_cast<HGLOBAL>(dib));
  c.Fill(background);
  CRect src(0, 0, w, h), dest(0, 0, w * scale, h * scale);
  PaintDIB(c.dc(), dest, dib, src, palette);
}

TEST(BmpSuite, EveryFilePaintsAsTheIndependentDecoderSaysOrIsRefused) {
  const std::filesystem::path suite = imagetest::BmpSuite();
  if (suite.empty()) GTEST_SKIP() << "the BMP test suite (../shared/testdata/bmp) is not there";
  const auto references = ReadReferences(suite / "SOURCES.md");
  ASSERT_GE(references.size(), 25u) << "SOURCES.md's reference table was not understood";

  // Any allocation sized from a header instead of the file would fail under this limit.
  const SIZE_T previousLimit = standin::SetGlobalMemoryLimit(1 << 20);
  int mustPaint = 0, refused = 0, files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(suite)) {
    if (entry.path().extension() != ".bmp") continue;
    ++files;
    const std::string name = std::filesystem::relative(entry.path(), suite).generic_string();
    SCOPED_TRACE(name);
    const auto reference = references.find(name);
    const bool must =
        reference != references.end() && name.rfind("bad/", 0) != 0 && FollowsTheModulesRule(FileBytes(entry.path()));
    HDIB dib = imagetest::ReadBmp(entry.path());
    if (!dib) {
      EXPECT_FALSE(must) << "refused, but it follows the module's rule";
      ++refused;
      continue;
    }
    CPalette palette;
    CreateDIBPalette(dib, &palette);
    LPSTR p = static_cast<LPSTR>(GlobalLock(reinterpret_cast<HGLOBAL>(dib)));
    // The first colour-table entry (blue, green, red in either entry size).
    const BYTE* table = reinterpret_cast<const BYTE*>(FindDIBBits(p) - PaletteSize(p));
    const COLORREF colourZero = DIBNumColors(p) ? RGB(table[2], table[1], table[0]) : CLR_INVALID;
    const uint32_t compression = Le32(FileBytes(entry.path()), 30);
    const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    GlobalUnlock(reinterpret_cast<HGLOBAL>(dib));

    Canvas first(300, 150), second(300, 150);
    for (int scale : {1, 2}) {
      Paint(first, dib, &palette, scale, RGB(1, 2, 3));
      Paint(second, dib, &palette, scale, RGB(250, 251, 252));
      if (!must) continue;
      const int tolerance = name.find("rgb16") != std::string::npos ? 1 : 0;
      for (const auto& s : reference->second.samples) {
        const COLORREF a = first.Pixel(s.x * scale, s.y * scale), b = second.Pixel(s.x * scale, s.y * scale);
        if (a == RGB(1, 2, 3) && b == RGB(250, 251, 252)) {
          // Left unpainted: GDI does not paint what RLE data skips; the reference decoder
          // filled those pixels with colour 0 instead.
          EXPECT_TRUE(rle) << "(" << s.x << "," << s.y << ") unpainted at scale " << scale;
          EXPECT_EQ(s.color, colourZero) << "(" << s.x << "," << s.y << ")";
          continue;
        }
        EXPECT_TRUE(Near(a, s.color, tolerance))
            << "(" << s.x << "," << s.y << ") at scale " << scale << ": " << std::hex << a << " instead of " << s.color;
      }
    }
    mustPaint += must;
    GlobalFree(reinterpret_cast<HGLOBAL>(dib));
  }
  standin::SetGlobalMemoryLimit(previousLimit);
  std::printf("files %d must %d refused %d\n", files, mustPaint, refused);
  EXPECT_GE(files, 49);
  EXPECT_GE(mustPaint, 20) << "fewer files checked against their reference than expected";
  EXPECT_GE(refused, 5);
}

// Files that cannot be painted from the bytes they have are refused when read.
TEST(BmpSuite, FilesThatLieAboutTheirSizeAreRefused) {
  const std::filesystem::path suite = imagetest::BmpSuite();
  if (suite.empty()) GTEST_SKIP() << "the BMP test suite (../shared/testdata/bmp) is not there";
  for (const char* name : {"bad/reallybig.bmp", "bad/shortfile.bmp", "bad/badbitcount.bmp", "bad/badpalettesize.bmp",
                           "bad/badwidth.bmp"}) {
    HDIB dib = imagetest::ReadBmp(suite / name);
    EXPECT_EQ(dib, nullptr) << name;
    if (dib) GlobalFree(reinterpret_cast<HGLOBAL>(dib));
  }
}

}  // namespace
