// Writes the seed corpora of the fuzzers (fuzz/run.sh) under TOVU_BINARY_DIR/fuzz/seeds/: slides
// of every record kind in both byte orders and BMP files of every depth and compression the
// module paints, each read back through the module first, so that every seed is a file the
// readers take.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "image/DIBUtil.h"
#include "image/ImageList.h"
#include "image/image_test_support.h"
#include "image/slide_test_support.h"
#include "platform/Host.h"

namespace {

using imagetest::Bytes;
using imagetest::CoreHeader;
using imagetest::InfoHeader;
using slidetest::SlideWriter;

std::filesystem::path SeedDir(const char* kind) {
  const auto dir = std::filesystem::path(TOVU_BINARY_DIR) / "fuzz" / "seeds" / kind;
  std::filesystem::create_directories(dir);
  return dir;
}

void Save(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(FuzzSeeds, SlidesOfEveryRecordKind) {
  const auto dir = SeedDir("slide");
  std::vector<std::pair<std::string, std::string>> seeds;
  for (bool big : {false, true}) {
    SlideWriter all(big, big ? 1 : 2);
    all.Color(240)
        .Vector(100, 100, 200, 200)
        .OffsetVector(-1, 2, 3, -4)
        .CommonEndpoint(-128, 127)
        .Color(3)
        .Polygon({{10, 20}, {30, 20}, {30, 40}})
        .Fill(3, -1)
        .Fill(0, 0)
        .Fill(10, 0)
        .Fill(10, 10)
        .Fill(0, -1)
        .Vector(5, 5, 5, 5)
        .End();
    seeds.emplace_back(big ? "records_be.sld" : "records_le.sld", all.bytes());
  }
  SlideWriter fan;
  for (int k = 0; k < 10; ++k) fan.Color(10 * k).Polygon({{0, 0}, {100, 10 * k}, {100, 10 * k + 9}});
  seeds.emplace_back("fan.sld", fan.End().bytes());
  seeds.emplace_back("one_dot.sld", SlideWriter().Vector(7, 7, 7, 7).End().bytes());
  std::ifstream sample(std::filesystem::path(TOVU_SOURCE_DIR) / "examples" / "floorplan.sld", std::ios::binary);
  seeds.emplace_back("floorplan.sld", std::string(std::istreambuf_iterator<char>(sample), {}));

  for (const auto& [name, bytes] : seeds) {
    const auto path = dir / name;
    Save(path, bytes);
    ZoPtImageList list;
    EXPECT_EQ(list.ReadSlideFile(path.wstring().c_str()), RTNORM) << name;
    EXPECT_FALSE(list.IsEmpty()) << name;
  }
}

TEST(FuzzSeeds, BmpFilesOfEveryDepth) {
  const auto dir = SeedDir("dib");
  std::vector<std::pair<std::string, Bytes>> seeds;
  auto rows = [](Bytes dib, int width, int height, int bpp) {
    const int stride = ((width * bpp + 31) / 32) * 4;
    for (int i = 0; i < stride * height; ++i) dib.u8((i * 37) & 0xFF);
    return dib;
  };
  auto table = [](Bytes dib, int entries, int size) {
    for (int i = 0; i < entries; ++i) {
      dib.u8(i * 5).u8(255 - i).u8(i * 3);
      if (size == 4) dib.u8(0);
    }
    return dib;
  };
  seeds.emplace_back("pal1.bmp", rows(table(InfoHeader(13, 5, 1), 2, 4), 13, 5, 1));
  seeds.emplace_back("pal4.bmp", rows(table(InfoHeader(9, 6, 4), 16, 4), 9, 6, 4));
  seeds.emplace_back("pal8_used20.bmp", rows(table(InfoHeader(7, 7, 8, 20), 20, 4), 7, 7, 8));
  seeds.emplace_back("pal8_topdown.bmp", rows(table(InfoHeader(8, -4, 8), 256, 4), 8, 4, 8));
  seeds.emplace_back("rgb16.bmp", rows(InfoHeader(5, 3, 16), 5, 3, 16));
  seeds.emplace_back("rgb24.bmp", rows(InfoHeader(6, 4, 24), 6, 4, 24));
  seeds.emplace_back("rgb32.bmp", rows(InfoHeader(4, 4, 32), 4, 4, 32));
  seeds.emplace_back("core4.bmp", rows(table(CoreHeader(10, 3, 4), 16, 3), 10, 3, 4));
  seeds.emplace_back("core24.bmp", rows(CoreHeader(3, 3, 24), 3, 3, 24));
  Bytes rle8;
  rle8.u8(4).u8(1).u8(0).u8(3).u8(2).u8(3).u8(1).u8(0).u8(0).u8(2).u8(1).u8(1).u8(0).u8(0).u8(2).u8(3).u8(0).u8(1);
  seeds.emplace_back("rle8.bmp",
                     table(InfoHeader(8, 3, 8, 4, BI_RLE8, static_cast<DWORD>(rle8.size())), 4, 4).append(rle8));
  Bytes rle4;
  rle4.u8(6).u8(0x12).u8(0).u8(4).u8(0x34).u8(0x56).u8(0).u8(0).u8(3).u8(0x77).u8(0).u8(1);
  seeds.emplace_back("rle4.bmp",
                     table(InfoHeader(8, 2, 4, 16, BI_RLE4, static_cast<DWORD>(rle4.size())), 16, 4).append(rle4));

  for (const auto& [name, dib] : seeds) {
    const auto path = dir / name;
    const Bytes file = imagetest::BmpFile(dib, 0);
    Save(path, std::string(reinterpret_cast<const char*>(file.data()), file.size()));
    HDIB h = imagetest::ReadBmp(path);
    EXPECT_NE(h, nullptr) << name;
    if (h) GlobalFree(reinterpret_cast<HGLOBAL>(h));
  }
}

}  // namespace
