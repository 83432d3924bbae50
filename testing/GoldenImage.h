// Golden-image checks: a painted canvas against a reference PNG committed beside the test.
//
// On a difference (or with no reference yet) the check fails and writes NAME.out.png (what was
// painted) and NAME.diff.png (differing pixels red over a faded copy of the reference) under
// TOVU_BINARY_DIR/golden/, in the reference's own folder, and says where. After a person has
// looked at them, `make bless` (testing/bless-golden.sh) copies every NAME.out.png over its
// reference.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "standin/win32/png.h"
#include "standin/win32/utf8.h"
#include "testing/Canvas.h"

namespace tovutest {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // red, green, blue per pixel, the top row first
};

inline void WritePng(const std::filesystem::path& path, const RgbImage& image) {
  std::filesystem::create_directories(path.parent_path());
  std::wstring error;
  if (!standin::WritePng(path.wstring(), image.width, image.height, image.rgb.data(), &error))
    ADD_FAILURE() << standin::ToUtf8(error);
}

inline RgbImage Snapshot(const Canvas& canvas) {
  RgbImage out;
  out.width = canvas.width();
  out.height = canvas.height();
  for (uint32_t px : canvas.Pixels()) {
    out.rgb.push_back(static_cast<uint8_t>(px >> 16));
    out.rgb.push_back(static_cast<uint8_t>(px >> 8));
    out.rgb.push_back(static_cast<uint8_t>(px));
  }
  return out;
}

// reference: the PNG's path from the source tree's root, e.g. "image/golden/pal8.png".
inline ::testing::AssertionResult MatchesGolden(const RgbImage& actual, const std::string& reference) {
  const std::filesystem::path refPath = std::filesystem::path(TOVU_SOURCE_DIR) / reference;
  std::filesystem::path base = std::filesystem::path(TOVU_BINARY_DIR) / "golden" / reference;
  base.replace_extension();
  const std::filesystem::path outPath = base.string() + ".out.png";
  const std::filesystem::path diffPath = base.string() + ".diff.png";
  std::error_code ec;
  RgbImage expected;
  if (!standin::ReadPng(refPath.wstring(), &expected.width, &expected.height, &expected.rgb, nullptr)) {
    WritePng(outPath, actual);
    return ::testing::AssertionFailure() << "no reference image " << refPath << "; look at " << outPath
                                         << " and bless it with `make bless`";
  }
  std::ostringstream why;
  if (expected.width != actual.width || expected.height != actual.height) {
    why << "size " << actual.width << "x" << actual.height << " instead of " << expected.width << "x"
        << expected.height;
  } else {
    RgbImage diff = expected;
    size_t differing = 0;
    int firstX = -1, firstY = -1;
    for (size_t i = 0; i < actual.rgb.size(); i += 3) {
      const bool same = std::memcmp(&actual.rgb[i], &expected.rgb[i], 3) == 0;
      for (int c = 0; c < 3; ++c)
        diff.rgb[i + c] = same ? static_cast<uint8_t>(192 + expected.rgb[i + c] / 4) : (c == 0 ? 255 : 0);
      if (same) continue;
      if (differing++ == 0) {
        firstX = static_cast<int>((i / 3) % actual.width);
        firstY = static_cast<int>((i / 3) / actual.width);
      }
    }
    if (differing == 0) {
      std::filesystem::remove(outPath, ec);
      std::filesystem::remove(diffPath, ec);
      return ::testing::AssertionSuccess();
    }
    WritePng(diffPath, diff);
    why << differing << " pixels differ, the first at (" << firstX << ", " << firstY << ")";
  }
  WritePng(outPath, actual);
  return ::testing::AssertionFailure() << reference << ": " << why.str() << "; see " << outPath << " and " << diffPath
                                       << "; bless with `make bless` once it looks right";
}

inline ::testing::AssertionResult MatchesGolden(const Canvas& canvas, const std::string& reference) {
  return MatchesGolden(Snapshot(canvas), reference);
}

}  // namespace tovutest
