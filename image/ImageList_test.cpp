// The slide vector list: extents of lines and polygons, the fit into a pixel rectangle, copies
// and the comparisons that never match.
#include "image/ImageList.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/Host.h"
#include "testing/ImageTest.h"

namespace {

using tovutest::Lines;
using tovutest::Polygons;
using tovutest::Strings;
using tovutest::Text;

ZoGeMLine2d Outline(std::initializer_list<ZoGePoint> points) {
  ZoGeMLine2d line(0, false);
  for (const ZoGePoint& p : points) line.AppendVertex(p, 0.0);
  return line;
}

// "(lo)-(hi)" of a box.
template <class T>
std::string Box(const T& element) {
  ZoGePoint lo(-7, -7, -7), hi(7, 7, 7);
  element.GetExtend(lo, hi);
  return Text(lo) + "-" + Text(hi);
}

std::string Box(ZoPtImageList& list) {
  ZoGePoint lo(-7, -7, -7), hi(7, 7, 7);
  return list.GetExtend(lo, hi) == RTNORM ? Text(lo) + "-" + Text(hi) : "RTERROR " + Text(lo) + "-" + Text(hi);
}

TEST(ImageList, ExtentsCoverLinesAndPolygons) {
  ZoPtImageList list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(Box(list), "RTERROR (-7,-7,-7)-(7,7,7)");
  // One polygon and no line: not empty, its own box, z 0.
  list.AppendHatch(3, Outline({{5, 1, 9}, {2, 8, 9}, {4, -3, 9}}));
  EXPECT_FALSE(list.IsEmpty());
  EXPECT_EQ(Box(list), "(2,-3)-(5,8)");
  // A line drawn right to left and downwards still has its box the right way round.
  const ZoPtImageLine line(ZoGePoint(30, 20, 4), ZoGePoint(-10, 6, 4), 1);
  EXPECT_EQ(Box(line), "(-10,6)-(30,20)");
  // Lines come first in the walk, but every element grows the box.
  list.Append(new ZoPtImageLine(line));
  list.Append(new ZoPtImageLine(ZoGePoint(0, 0), ZoGePoint(1, 1), 2));
  EXPECT_EQ(Box(list), "(-10,-3)-(30,20)");
  ZoPtImageHatch hatch(4);
  hatch.AppendVertex(ZoGePoint(-1, -2));
  EXPECT_EQ(Box(hatch), "(-1,-2)-(-1,-2)");
}

TEST(ImageList, WcsToDcsFitsCentresAndFlips) {
  auto fitted = [](std::initializer_list<ZoPtImageLine> lines, std::initializer_list<ZoGePoint> polygon, int width,
                   int height, int margin) {
    ZoPtImageList list;
    for (const ZoPtImageLine& line : lines) list.Append(new ZoPtImageLine(line));
    if (polygon.size()) list.AppendHatch(2, Outline(polygon));
    list.WcsToDcs(width, height, margin);
    Strings all = Lines(list), polygons = Polygons(list);
    all.insert(all.end(), polygons.begin(), polygons.end());
    return all;
  };
  // Lines from (0, 0) to (100, 50) into 220 by 120 with margin 10: scale 2, no centring offset.
  EXPECT_EQ(fitted({{{0, 0}, {100, 50}, 1}, {{50, 25}, {100, 0}, 1}}, {{0, 50}, {100, 50}, {50, 0}}, 220, 120, 10),
            (Strings{"c1 (10,110)-(210,10)", "c1 (110,60)-(210,110)", "c2 (10,10) (210,10) (110,110)"}));
  // The narrower axis decides the scale (90 / 30) and the other axis is centred; z becomes 0.
  EXPECT_EQ(fitted({{{10, 10, 3}, {20, 40, 3}, 1}}, {}, 100, 100, 5), Strings{"c1 (35,95)-(65,5)"});
  // An axis without extent takes the scale 1: a horizontal line 10 long, then a vertical
  // line 200 long that takes the height's scale 0.25, in 120 by 70 with margin 10.
  EXPECT_EQ(fitted({{{0, 0}, {10, 0}, 1}}, {}, 120, 70, 10), Strings{"c1 (55,35)-(65,35)"});
  EXPECT_EQ(fitted({{{3, 0}, {3, 200}, 1}}, {}, 120, 70, 10), Strings{"c1 (60,60)-(60,10)"});
  // A single point lands in the middle of the inset rectangle; an empty list is left alone.
  EXPECT_EQ(fitted({}, {{40, 40}}, 120, 70, 10), Strings{"c2 (60,35)"});
  EXPECT_EQ(fitted({}, {}, 100, 100, 5), Strings{});
}

TEST(ImageList, CopiesOwnTheirOwnLinesAndPolygons) {
  ZoPtImageList source;
  source.Append(new ZoPtImageLine(ZoGePoint(1, 1), ZoGePoint(2, 2), 1));
  source.Append(nullptr);  // an empty node is copied as one, so the nodes keep their indices
  source.Append(new ZoPtImageLine(ZoGePoint(3, 3), ZoGePoint(4, 4), 2));
  source.AppendHatch(5, Outline({{0, 0}, {1, 0}, {1, 1}}));
  const Strings lines = Lines(source), polygons = Polygons(source);

  ZoPtImageList copy(source);
  EXPECT_EQ(Lines(copy), lines);
  EXPECT_EQ(Polygons(copy), polygons);
  // Assignment empties the target first.
  ZoPtImageList target;
  target.Append(new ZoPtImageLine(ZoGePoint(9, 9), ZoGePoint(9, 9), 9));
  target.AppendHatch(9, Outline({{9, 9}}));
  target = source;
  // The copies are apart from the source: changing or emptying one leaves the others.
  copy.WcsToDcs(100, 100, 0);
  EXPECT_NE(&copy.GetPData(0), &source.GetPData(0));
  EXPECT_EQ(Lines(source), lines);
  EXPECT_EQ(Polygons(source), polygons);
  source.Reset();
  EXPECT_TRUE(source.IsEmpty());
  EXPECT_EQ(Lines(target), lines);
  EXPECT_EQ(Polygons(target), polygons);
  EXPECT_EQ(copy.GetLength(), 3);
  EXPECT_EQ(copy.GetHatchList().GetLength(), 1);

  // Assigning a list to itself keeps it.
  ZoPtImageList& same = target;
  target = same;
  EXPECT_EQ(Lines(target), lines);
  // Reset through the base empties the polygons too.
  static_cast<ZoPDList<ZoPtImageLine>&>(target).Reset();
  EXPECT_TRUE(target.IsEmpty());
}

TEST(ImageList, LinesAndPolygonsNeverMatch) {
  const ZoPtImageLine a(ZoGePoint(1, 1), ZoGePoint(2, 2), 1), b(a);
  EXPECT_FALSE(a == b || a != b || a < b || a > b);
  const ZoPtImageHatch h(1, Outline({{0, 0}})), k(h);
  EXPECT_FALSE(h == k || h != k || h < k || h > k);
  // So a search by value finds nothing, and "find or append" always appends.
  ZoPtImageList list;
  list.Append(new ZoPtImageLine(a));
  EXPECT_EQ(list.FindData(a), -1);
  EXPECT_EQ(list.FindDataOrAppend(a), 1);
  EXPECT_EQ(list.GetLength(), 2);
}

// Lines, their nodes and polygons come from pools that hand blocks between threads: a list
// filled on one thread and emptied on another, across several chunks, and lists made meanwhile
// never share a block.
TEST(ImageList, RecordsFreedOnAnyThreadAreReusedWithoutOverlap) {
  constexpr int kLines = 6000;
  auto fill = [](ZoPtImageList& list, int color) {
    for (int i = 0; i < kLines; ++i) list.Append(new ZoPtImageLine(ZoGePoint(i, color), ZoGePoint(color, i), color));
    list.AppendHatch(color, Outline({{0, 0}, {1.0, static_cast<double>(color)}}));
  };
  auto intact = [](const ZoPtImageList& list, int color) {
    int i = 0;
    for (ZoPtImageLine* const* p = list.GetFirst(); p; p = list.GetNext(p), ++i)
      if ((*p)->m_nColor != color || (*p)->m_ptStart.x != i || (*p)->m_ptEnd.y != i) return false;
    return i == kLines && list.GetHatchList().GetPData(0).m_nColor == color;
  };
  auto first = std::make_unique<ZoPtImageList>();
  std::thread([&] { fill(*first, 1); }).join();
  ZoPtImageList second;
  fill(second, 2);
  first.reset();
  ZoPtImageList third;
  std::thread([&] { fill(third, 3); }).join();
  fill(*(first = std::make_unique<ZoPtImageList>()), 4);
  EXPECT_TRUE(intact(second, 2));
  EXPECT_TRUE(intact(third, 3));
  EXPECT_TRUE(intact(*first, 4));

  // A line taken off the list is the taker's to delete; a larger class derived from a record
  // comes from the heap, and goes back there through the record's delete.
  second.MoveToFirst();
  delete second.TakeOffCur();
  struct Tagged : ZoPtImageHatch {
    Tagged() : ZoPtImageHatch(6) {}
    char tag[100] = {};
  };
  ZoPtImageHatch* tagged = new Tagged;
  tagged->AppendVertex(ZoGePoint(1, 1));
  delete tagged;
  EXPECT_EQ(second.GetLength(), kLines - 1);
}

}  // namespace
