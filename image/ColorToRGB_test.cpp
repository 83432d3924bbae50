// Colour numbers to screen colours through the host's palette.
#include "image/ColorToRGB.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

std::tuple<int, int, int> Rgb(int index) {
  int r = -1, g = -1, b = -1;
  ColorToRGB(index, r, g, b);
  return {r, g, b};
}

TEST(ColorToRGB, TheHostsPaletteSplitIntoChannels) {
  // The standard colours, from the host's documentation.
  EXPECT_EQ(Rgb(1), std::make_tuple(255, 0, 0));
  EXPECT_EQ(Rgb(2), std::make_tuple(255, 255, 0));
  EXPECT_EQ(Rgb(3), std::make_tuple(0, 255, 0));
  EXPECT_EQ(Rgb(4), std::make_tuple(0, 255, 255));
  EXPECT_EQ(Rgb(5), std::make_tuple(0, 0, 255));
  EXPECT_EQ(Rgb(6), std::make_tuple(255, 0, 255));
  EXPECT_EQ(Rgb(7), std::make_tuple(255, 255, 255));
  EXPECT_EQ(Rgb(8), std::make_tuple(128, 128, 128));
  EXPECT_EQ(Rgb(9), std::make_tuple(192, 192, 192));
  // Samples of the hue block and the greys, as the host's colour dialog shows them.
  EXPECT_EQ(Rgb(10), std::make_tuple(255, 0, 0));
  EXPECT_EQ(Rgb(11), std::make_tuple(255, 127, 127));
  EXPECT_EQ(Rgb(12), std::make_tuple(204, 0, 0));
  EXPECT_EQ(Rgb(23), std::make_tuple(204, 127, 102));
  EXPECT_EQ(Rgb(30), std::make_tuple(255, 127, 0));
  EXPECT_EQ(Rgb(45), std::make_tuple(153, 133, 76));
  EXPECT_EQ(Rgb(61), std::make_tuple(223, 255, 127));
  EXPECT_EQ(Rgb(96), std::make_tuple(0, 127, 0));
  EXPECT_EQ(Rgb(141), std::make_tuple(127, 223, 255));
  EXPECT_EQ(Rgb(150), std::make_tuple(0, 127, 255));
  EXPECT_EQ(Rgb(174), std::make_tuple(0, 0, 153));
  EXPECT_EQ(Rgb(221), std::make_tuple(255, 127, 223));
  EXPECT_EQ(Rgb(239), std::make_tuple(76, 38, 57));
  EXPECT_EQ(Rgb(248), std::make_tuple(76, 0, 19));
  EXPECT_EQ(Rgb(250), std::make_tuple(51, 51, 51));
  EXPECT_EQ(Rgb(251), std::make_tuple(91, 91, 91));
  EXPECT_EQ(Rgb(254), std::make_tuple(214, 214, 214));
  EXPECT_EQ(Rgb(255), std::make_tuple(255, 255, 255));
  EXPECT_EQ(Rgb(-1), std::make_tuple(0, 0, 0));
  EXPECT_EQ(Rgb(256), std::make_tuple(0, 0, 0));

  // The 240 hue entries are all different colours.
  std::set<std::tuple<int, int, int>> hues;
  for (int i = 10; i < 250; ++i) hues.insert(Rgb(i));
  EXPECT_EQ(hues.size(), 240u);
}

}  // namespace
