// The slide vector list: extents of lines and polygons, the fit into a pixel rectangle, copies
// and the comparisons that never match.
#include "image/ImageList.h"

#include <gtest/gtest.h>

#include "platform/Host.h"

namespace {

ZoGeMLine2d Outline(std::initializer_list<ZoGePoint> points) {
  ZoGeMLine2d line(0, false);
  for (const ZoGePoint& p : points) line.AppendVertex(p, 0.0);
  return line;
}

void ExpectPoint(const ZoGePoint& p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
  EXPECT_EQ(p.z, 0.0);
}

TEST(ImageList, ExtentsCoverLinesAndPolygons) {
  ZoPtImageList list;
  EXPECT_TRUE(list.IsEmpty());
  ZoGePoint lo(-7, -7, -7), hi(7, 7, 7);
  EXPECT_EQ(list.GetExtend(lo, hi), RTERROR);
  EXPECT_EQ(lo, ZoGePoint(-7, -7, -7));
  EXPECT_EQ(hi, ZoGePoint(7, 7, 7));

  // One polygon and no line: not empty, its own box.
  list.AppendHatch(3, Outline({{5, 1, 9}, {2, 8, 9}, {4, -3, 9}}));
  EXPECT_FALSE(list.IsEmpty());
  ASSERT_EQ(list.GetExtend(lo, hi), RTNORM);
  ExpectPoint(lo, 2, -3);
  ExpectPoint(hi, 5, 8);

  // A line drawn right to left and downwards still has its box the right way round.
  ZoPtImageLine line(ZoGePoint(30, 20, 4), ZoGePoint(-10, 6, 4), 1);
  line.GetExtend(lo, hi);
  ExpectPoint(lo, -10, 6);
  ExpectPoint(hi, 30, 20);

  // Lines come first in the walk, but every element grows the box.
  list.Append(new ZoPtImageLine(line));
  list.Append(new ZoPtImageLine(ZoGePoint(0, 0), ZoGePoint(1, 1), 2));
  ASSERT_EQ(list.GetExtend(lo, hi), RTNORM);
  ExpectPoint(lo, -10, -3);
  ExpectPoint(hi, 30, 20);

  ZoPtImageHatch hatch(4);
  EXPECT_EQ(hatch.GetVertexNum(), 0);
  hatch.AppendVertex(ZoGePoint(-1, -2));
  hatch.GetExtend(lo, hi);
  ExpectPoint(lo, -1, -2);
  ExpectPoint(hi, -1, -2);
}

TEST(ImageList, WcsToDcsFitsCentresAndFlips) {
  // Lines from (0, 0) to (100, 50) into 220 by 120 with margin 10: scale 2, no centring offset.
  ZoPtImageList list;
  list.Append(new ZoPtImageLine(ZoGePoint(0, 0), ZoGePoint(100, 50), 1));
  list.Append(new ZoPtImageLine(ZoGePoint(50, 25), ZoGePoint(100, 0), 1));
  list.AppendHatch(2, Outline({{0, 50}, {100, 50}, {50, 0}}));
  list.WcsToDcs(220, 120, 10);
  ExpectPoint(list.GetPData(0).m_ptStart, 10, 110);
  ExpectPoint(list.GetPData(0).m_ptEnd, 210, 10);
  ExpectPoint(list.GetPData(1).m_ptStart, 110, 60);
  ExpectPoint(list.GetPData(1).m_ptEnd, 210, 110);
  const ZoPtImageHatch& hatch = list.GetHatchList().GetPData(0);
  ExpectPoint(hatch.GetVertex(0), 10, 10);
  ExpectPoint(hatch.GetVertex(2), 110, 110);

  // The narrower axis decides the scale and the other axis is centred.
  ZoPtImageList tall;
  tall.Append(new ZoPtImageLine(ZoGePoint(10, 10, 3), ZoGePoint(20, 40, 3), 1));
  tall.WcsToDcs(100, 100, 5);  // W = H = 90, sx = 9, sy = 3: s = 3, ox = 30
  ExpectPoint(tall.GetPData(0).m_ptStart, 35, 95);
  ExpectPoint(tall.GetPData(0).m_ptEnd, 65, 5);

  // A horizontal line has no y extent: that axis's scale is 1 (width 120, height 70, margin 10).
  ZoPtImageList flat;
  flat.Append(new ZoPtImageLine(ZoGePoint(0, 0), ZoGePoint(10, 0), 1));
  flat.WcsToDcs(120, 70, 10);
  ExpectPoint(flat.GetPData(0).m_ptStart, 55, 35);
  ExpectPoint(flat.GetPData(0).m_ptEnd, 65, 35);
  // Nor x: a vertical line 200 long in 120 by 70 takes the height's scale, 0.25.
  ZoPtImageList upright;
  upright.Append(new ZoPtImageLine(ZoGePoint(3, 0), ZoGePoint(3, 200), 1));
  upright.WcsToDcs(120, 70, 10);
  ExpectPoint(upright.GetPData(0).m_ptStart, 60, 60);
  ExpectPoint(upright.GetPData(0).m_ptEnd, 60, 10);
  // A single point lands in the middle of the inset rectangle.
  ZoPtImageList dot;
  dot.AppendHatch(1, Outline({{40, 40}}));
  dot.WcsToDcs(120, 70, 10);
  ExpectPoint(dot.GetHatchList().GetPData(0).GetVertex(0), 60, 35);

  // An empty list is left alone.
  ZoPtImageList empty;
  empty.WcsToDcs(100, 100, 5);
  EXPECT_TRUE(empty.IsEmpty());
}

TEST(ImageList, CopiesOwnTheirOwnLinesAndPolygons) {
  ZoPtImageList source;
  source.Append(new ZoPtImageLine(ZoGePoint(1, 1), ZoGePoint(2, 2), 1));
  source.Append(new ZoPtImageLine(ZoGePoint(3, 3), ZoGePoint(4, 4), 2));
  source.AppendHatch(5, Outline({{0, 0}, {1, 0}, {1, 1}}));

  ZoPtImageList copy(source);
  ASSERT_EQ(copy.GetLength(), 2);
  EXPECT_EQ(copy.GetPData(1).m_nColor, 2);
  EXPECT_NE(&copy.GetPData(0), &source.GetPData(0));
  ASSERT_EQ(copy.GetHatchList().GetLength(), 1);
  EXPECT_NE(&copy.GetHatchList().GetPData(0), &source.GetHatchList().GetPData(0));
  EXPECT_EQ(copy.GetHatchList().GetPData(0).m_nColor, 5);

  // Assignment empties the target first.
  ZoPtImageList target;
  target.Append(new ZoPtImageLine(ZoGePoint(9, 9), ZoGePoint(9, 9), 9));
  target.AppendHatch(9, Outline({{9, 9}}));
  target = source;
  ASSERT_EQ(target.GetLength(), 2);
  EXPECT_EQ(target.GetPData(0).m_nColor, 1);
  EXPECT_EQ(target.GetHatchList().GetLength(), 1);

  // The copies are apart from the source: changing or emptying one leaves the other.
  copy.WcsToDcs(100, 100, 0);
  EXPECT_EQ(source.GetPData(0).m_ptStart, ZoGePoint(1, 1));
  EXPECT_EQ(source.GetHatchList().GetPData(0).GetVertex(1), ZoGePoint(1, 0));
  source.Reset();
  EXPECT_TRUE(source.IsEmpty());
  EXPECT_EQ(target.GetLength(), 2);
  EXPECT_EQ(target.GetPData(1).m_ptEnd, ZoGePoint(4, 4));
  EXPECT_EQ(target.GetHatchList().GetPData(0).GetVertexNum(), 3);

  // Assigning a list to itself keeps it.
  ZoPtImageList& same = target;
  target = same;
  EXPECT_EQ(target.GetLength(), 2);
  EXPECT_EQ(target.GetHatchList().GetLength(), 1);

  // Reset through the base empties the polygons too.
  ZoPDList<ZoPtImageLine>& base = target;
  base.Reset();
  EXPECT_TRUE(target.IsEmpty());
}

TEST(ImageList, LinesAndPolygonsNeverMatch) {
  const ZoPtImageLine a(ZoGePoint(1, 1), ZoGePoint(2, 2), 1), b(a);
  EXPECT_FALSE(a == b);
  EXPECT_FALSE(a != b);
  EXPECT_FALSE(a < b);
  EXPECT_FALSE(a > b);
  ZoPtImageLine c(ZoGePoint(), ZoGePoint(), 0);
  c = a;
  EXPECT_EQ(c.m_ptEnd, ZoGePoint(2, 2));
  EXPECT_EQ(c.m_nColor, 1);

  ZoPtImageList list;
  list.Append(new ZoPtImageLine(a));
  EXPECT_EQ(list.FindData(a), -1);
  EXPECT_EQ(list.FindDataOrAppend(a), 1);
  EXPECT_EQ(list.FindDataOrAppend(a), 2);
  EXPECT_EQ(list.GetLength(), 3);
  EXPECT_EQ(list.FindDataDel(a), 0);

  ZoPtImageHatch h(1, Outline({{0, 0}})), k(h);
  EXPECT_FALSE(h == k);
  EXPECT_FALSE(h != k);
  EXPECT_FALSE(h < k);
  EXPECT_FALSE(h > k);
  ZoPtImageHatch m(2);
  m = h;
  EXPECT_EQ(m.m_nColor, 1);
  EXPECT_EQ(m.GetVertexNum(), 1);
}

}  // namespace
