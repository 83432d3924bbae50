// The geometry stand-in's extents, segments and bulged polylines, and the database module's
// point helpers and background colour.
#include <ZoDisplay.h>
#include <ZoGeBaseLine2d.h>
#include <ZoGeCurve2d.h>
#include <ZoGeExtent.h>
#include <ZoGeMLine2d.h>
#include <ZoGeMatrix.h>
#include <ZoPoints.h>
#include <acedads.h>
#include <gemat3d.h>
#include <gepnt3d.h>
#include <gevec3d.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/views.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectBox(const ZoGeExtent2d& box, double x0, double y0, double x1, double y1) {
  EXPECT_NEAR(box.GetXExtend().GetLow(), x0, 1e-9);
  EXPECT_NEAR(box.GetYExtend().GetLow(), y0, 1e-9);
  EXPECT_NEAR(box.GetXExtend().GetHigh(), x1, 1e-9);
  EXPECT_NEAR(box.GetYExtend().GetHigh(), y1, 1e-9);
}

TEST(GeometryExtent, IntervalsGrowCompareAndOrder) {
  ZoGeExtent e;
  EXPECT_TRUE(e.IsEmpty());
  EXPECT_EQ(e.GetLength(), 0.0);
  EXPECT_FALSE(e.IsIn(0.0));
  e.AddValue(-3);
  EXPECT_FALSE(e.IsEmpty());
  EXPECT_EQ(e.GetLow(), -3);
  EXPECT_EQ(e.GetHigh(), -3);
  e.AddValue(5);
  e.AddValue(1);
  EXPECT_EQ(e.GetLow(), -3);
  EXPECT_EQ(e.GetHigh(), 5);
  EXPECT_EQ(e.GetLength(), 8);

  const ZoGeExtent reversed(5, -3);
  EXPECT_EQ(reversed.GetLow(), -3);
  EXPECT_TRUE(reversed == e);
  EXPECT_TRUE(ZoGeExtent(-3 + 1e-7, 5) == e);  // within g_distZero
  EXPECT_TRUE(ZoGeExtent(-3 + 1e-5, 5) != e);
  EXPECT_TRUE(ZoGeExtent() == ZoGeExtent());
  EXPECT_TRUE(ZoGeExtent() != e);

  EXPECT_TRUE(e.IsIn(5 + 1e-7));
  EXPECT_FALSE(e.IsIn(5.1));
  EXPECT_TRUE(e.IsIntersectWith(ZoGeExtent(5, 9)));
  EXPECT_FALSE(e.IsIntersectWith(ZoGeExtent(5.1, 9)));
  EXPECT_FALSE(e.IsIntersectWith(ZoGeExtent()));

  // By the low end, then the high end.
  EXPECT_TRUE(ZoGeExtent(1, 2) > ZoGeExtent(0, 9));
  EXPECT_TRUE(ZoGeExtent(0, 3) > ZoGeExtent(0, 2));
  EXPECT_TRUE(ZoGeExtent(0, 2) < ZoGeExtent(0, 3));
  EXPECT_FALSE(ZoGeExtent(0, 2) > ZoGeExtent(1e-7, 2));

  ZoGeExtent grown(0, 1);
  grown.AddExtent(ZoGeExtent());
  EXPECT_EQ(grown, ZoGeExtent(0, 1));
  grown.AddExtent(ZoGeExtent(4, 7));
  EXPECT_EQ(grown, ZoGeExtent(0, 7));

  ZoGeExtent2d box;
  EXPECT_TRUE(box.IsEmpty());
  box.AddPoint(ZoGePoint(3, -1, 99));
  box.AddPoint(-2, 4);
  ExpectBox(box, -2, -1, 3, 4);
  EXPECT_TRUE(box.IsIn(ZoGePoint(0, 0)));
  EXPECT_FALSE(box.IsIn(ZoGePoint(0, 5)));
  EXPECT_EQ(box.GetMinPoint().z, 0.0);
  box.SetEmpty();
  EXPECT_TRUE(box.IsEmpty());
}

TEST(GeometryLineSeg2d, ExtentsLengthReverseAndCopies) {
  ZoGeLineSeg2d seg(ZoGePoint(10, 2, 7), ZoGePoint(-4, 6, 0));
  ZoGeExtent2d box;
  EXPECT_TRUE(seg.GetExtent2d(box));
  ExpectBox(box, -4, 2, 10, 6);
  EXPECT_DOUBLE_EQ(seg.GetLength(), std::hypot(14, 4));
  EXPECT_FALSE(seg.IsClosed());

  // A segment whose ends coincide still has its point as extent.
  ZoGeLineSeg2d dot(ZoGePoint(5, 5), ZoGePoint(5, 5));
  EXPECT_TRUE(dot.GetExtent2d(box));
  ExpectBox(box, 5, 5, 5, 5);
  EXPECT_EQ(dot.GetLength(), 0);

  seg.Reverse();
  EXPECT_EQ(seg.GetStartPoint(), ZoGePoint(-4, 6, 0));
  EXPECT_EQ(seg.GetEndPoint(), ZoGePoint(10, 2, 7));
  seg.Move(1, -1);
  EXPECT_EQ(seg.GetStartPoint(), ZoGePoint(-3, 5, 0));

  std::unique_ptr<ZoGeObject> clone(seg.Clone());
  EXPECT_STREQ(clone->GetRxClassName(), L"ZoGeLineSeg2d");
  EXPECT_TRUE(dot.CopyFrom(*clone));
  EXPECT_EQ(dot.GetEndPoint(), seg.GetEndPoint());
  ZoGeMLine2d line;
  EXPECT_FALSE(dot.CopyFrom(line));
  EXPECT_EQ(dot.GetEndPoint(), seg.GetEndPoint());

  // Objects order by the lower-left corner of their extents; no extent comes first.
  EXPECT_TRUE(ZoGeLineSeg2d(ZoGePoint(0, 9), ZoGePoint(1, 1)) < ZoGeLineSeg2d(ZoGePoint(2, 0), ZoGePoint(3, 3)));
  EXPECT_TRUE(ZoGeLineSeg2d(ZoGePoint(0, 1), ZoGePoint(1, 1)) < ZoGeLineSeg2d(ZoGePoint(0, 2), ZoGePoint(0, 3)));
  EXPECT_TRUE(line < seg);
  EXPECT_FALSE(seg < line);
  EXPECT_TRUE(seg > line);
}

TEST(GeometryMLine2d, VerticesBulgesAndExtents) {
  ZoGeMLine2d empty(0, false);
  ZoGeExtent2d box;
  box.AddPoint(1, 1);
  EXPECT_FALSE(empty.GetExtent2d(box));
  EXPECT_TRUE(box.IsEmpty());
  EXPECT_EQ(empty.GetVertexNum(), 0);
  EXPECT_EQ(empty.GetLength(), 0);
  EXPECT_EQ(empty.GetStartPoint(), ZoGePoint());

  // A counter-clockwise half turn from (0, 0) to (2, 0) runs below the chord.
  ZoGeMLine2d arc(4, false);
  arc.AppendVertex(ZoGePoint(0, 0), kPi);
  arc.AppendVertex(ZoGePoint(2, 0));
  ASSERT_TRUE(arc.GetExtent2d(box));
  ExpectBox(box, 0, -1, 2, 0);
  EXPECT_NEAR(arc.GetLength(), kPi, 1e-12);
  // Clockwise, above.
  arc.SetBulge(0, -kPi);
  ASSERT_TRUE(arc.GetExtent2d(box));
  ExpectBox(box, 0, 0, 2, 1);

  // A quarter turn counter-clockwise from (1, 0) to (0, 1) about the origin reaches no axis
  // point beyond its ends; three quarters the other way reach (-1, 0) and (0, -1).
  ZoGeMLine2d quarter;
  quarter.AppendVertex(ZoGePoint(1, 0), kPi / 2);
  quarter.AppendVertex(ZoGePoint(0, 1));
  ASSERT_TRUE(quarter.GetExtent2d(box));
  ExpectBox(box, 0, 0, 1, 1);
  EXPECT_NEAR(quarter.GetLength(), kPi / 2, 1e-12);
  quarter.SetBulge(0, -3 * kPi / 2);
  ASSERT_TRUE(quarter.GetExtent2d(box));
  ExpectBox(box, -1, -1, 1, 1);
  EXPECT_NEAR(quarter.GetLength(), 3 * kPi / 2, 1e-12);

  // The closing segment's bulge counts only when the polyline is closed.
  ZoGeMLine2d square(0, false);
  square.AppendVertex(ZoGePoint(0, 0));
  square.AppendVertex(ZoGePoint(2, 0));
  square.AppendVertex(ZoGePoint(2, 2));
  square.AppendVertex(ZoGePoint(0, 2), kPi);
  ASSERT_TRUE(square.GetExtent2d(box));
  ExpectBox(box, 0, 0, 2, 2);
  EXPECT_NEAR(square.GetLength(), 6, 1e-12);
  EXPECT_EQ(square.GetEndPoint(), ZoGePoint(0, 2));
  square.SetClosed(true);
  ASSERT_TRUE(square.GetExtent2d(box));
  ExpectBox(box, -1, 0, 2, 2);
  EXPECT_NEAR(square.GetLength(), 6 + kPi, 1e-12);
  EXPECT_EQ(square.GetEndPoint(), ZoGePoint(0, 0));

  // Reversing keeps the shape: the same box, the arc still bulging outwards.
  ZoGeMLine2d reversed = square;
  reversed.Reverse();
  EXPECT_EQ(reversed.GetVertex(0), ZoGePoint(0, 2));
  EXPECT_DOUBLE_EQ(reversed.GetBulge(0), 0.0);
  EXPECT_DOUBLE_EQ(reversed.GetBulge(3), -kPi);
  ZoGeExtent2d back;
  ASSERT_TRUE(reversed.GetExtent2d(back));
  EXPECT_EQ(back, box);
  ZoGeMLine2d open = square;
  open.SetClosed(false);
  open.Reverse();
  ASSERT_TRUE(open.GetExtent2d(back));
  ExpectBox(back, 0, 0, 2, 2);
  // The arc was the closing segment, so the reversed open line has none.
  EXPECT_NEAR(open.GetLength(), 6, 1e-12);
  ZoGeMLine2d bent;
  bent.AppendVertex(ZoGePoint(0, 0), kPi);
  bent.AppendVertex(ZoGePoint(2, 0));
  bent.AppendVertex(ZoGePoint(2, 5));
  bent.Reverse();
  EXPECT_EQ(bent.GetVertex(0), ZoGePoint(2, 5));
  EXPECT_DOUBLE_EQ(bent.GetBulge(1), -kPi);
  ASSERT_TRUE(bent.GetExtent2d(back));
  ExpectBox(back, 0, -1, 2, 5);
}

TEST(GeometryMLine2d, CopiesAreIndependentAndCompareByValue) {
  ZoGeMLine2d a(0, true);
  a.AppendVertex(ZoGePoint(1, 2), 0.5);
  a.AppendVertex(ZoGePoint(3, 4));
  a.SetElevation(7);
  ZoGeMLine2d b(a);
  EXPECT_TRUE(b == a);
  EXPECT_EQ(b.GetElevation(), 7);
  b[0].x = 9;
  EXPECT_EQ(a.GetVertex(0).x, 1);
  EXPECT_TRUE(b != a);
  b = a;
  EXPECT_TRUE(b == a);
  b.SetBulge(0, 0.5 + 1e-6);
  EXPECT_TRUE(b != a);
  b = a;
  b.SetClosed(false);
  EXPECT_TRUE(b != a);

  std::unique_ptr<ZoGeObject> clone(a.Clone());
  ZoGeMLine2d c;
  ASSERT_TRUE(c.CopyFrom(*clone));
  EXPECT_TRUE(c == a);
  EXPECT_TRUE(c.IsClosed());
  EXPECT_FALSE(c.CopyFrom(ZoGeLineSeg2d()));
  EXPECT_TRUE(c == a);
  c.Move(1, 1);
  EXPECT_EQ(c.GetStartPoint(), ZoGePoint(2, 3));
  c.RemoveAll();
  EXPECT_EQ(c.GetVertexNum(), 0);
  EXPECT_STREQ(c.GetRxClassName(), L"ZoGeMLine2d");

  // Allocation units only reserve room.
  ZoGeMLine2d many(3, false);
  for (int i = 0; i < 10; ++i) many.AppendVertex(ZoGePoint(i, -i));
  EXPECT_EQ(many.GetVertexNum(), 10);
  EXPECT_EQ(many.GetVertex(9), ZoGePoint(9, -9));
}

TEST(DbObjectPoints, MinMaxAndMidpointAreComponentWise) {
  const ZoGePoint a(1, 5, -2), b(3, -4, -1);
  const ZoGePoint lo = Min(a, b), hi = Max(a, b);
  EXPECT_EQ(lo.x, 1);
  EXPECT_EQ(lo.y, -4);
  EXPECT_EQ(lo.z, -2);
  EXPECT_EQ(hi.x, 3);
  EXPECT_EQ(hi.y, 5);
  EXPECT_EQ(hi.z, -1);
  ZoGePoint mid;
  GetMidPt(a, b, mid);
  EXPECT_EQ(mid.x, 2);
  EXPECT_EQ(mid.y, 0.5);
  EXPECT_EQ(mid.z, -1.5);
  GetMidPt(ZoGePoint(1e308, -1e308, 0), ZoGePoint(1e308, -1e308, 0), mid);
  EXPECT_EQ(mid.x, 1e308) << "the sum of huge coordinates must not overflow";
  EXPECT_EQ(mid.y, -1e308);
}

void ExpectPoint(const ZoGePoint& p, double x, double y, double z) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
  EXPECT_NEAR(p.z, z, 1e-9);
}

TEST(DbObjectPoints, UserCoordinatesGoThroughTheHostBothWays) {
  standin::Session::Get().Reset();
  const ZoGePoint p(3, -4, 2);
  ExpectPoint(UcsToWcs(p), 3, -4, 2);
  ExpectPoint(WcsToUcs(p, 1), 3, -4, 2);

  // Turned 30 degrees about z and moved: x runs along (c, s), y along (-s, c).
  const double c = std::cos(kPi / 6), s = std::sin(kPi / 6);
  standin::Ucs ucs;
  ucs.origin[0] = 100, ucs.origin[1] = 50, ucs.origin[2] = 10;
  ucs.xAxis[0] = c, ucs.xAxis[1] = s;
  ucs.yAxis[0] = -s, ucs.yAxis[1] = c;
  ASSERT_TRUE(standin::SetUcs(ucs));
  ExpectPoint(UcsToWcs(ZoGePoint(2, 0, 0)), 100 + 2 * c, 50 + 2 * s, 10);
  ExpectPoint(UcsToWcs(ZoGePoint(0, 2, 1)), 100 - 2 * s, 50 + 2 * c, 11);
  ExpectPoint(UcsToWcs(ZoGePoint(2, 0, 0), 1), 2 * c, 2 * s, 0);  // a displacement is not moved
  ExpectPoint(WcsToUcs(ZoGePoint(100, 50, 10)), 0, 0, 0);
  ExpectPoint(WcsToUcs(ZoGePoint(-s, c, 0), 1), 0, 1, 0);
  for (const ZoGePoint& q : {p, ZoGePoint(-250, 1e4, -7), ZoGePoint()}) {
    const ZoGePoint w = UcsToWcs(q);
    ExpectPoint(WcsToUcs(w), q.x, q.y, q.z);
    ExpectPoint(UcsToWcs(WcsToUcs(q, 1), 1), q.x, q.y, q.z);
  }
  standin::Session::Get().Reset();
  ExpectPoint(UcsToWcs(p), 3, -4, 2);
}

void ExpectPoint(const ZoGePoint2d& p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(GeometryBaseLine2d, NearestPointsAndMeetingsAtAnyAngle) {
  for (const double angle : {0.0, kPi / 2, 0.3, 2.5, -1.2, 4 * kPi / 3}) {
    const ZoGeVector2d unit = ZoGeVector2d::CreateFromAngle(angle);
    EXPECT_NEAR(unit.Length(), 1, 1e-12);
    EXPECT_NEAR(std::atan2(unit.y, unit.x), std::remainder(angle, 2 * kPi), 1e-12);
    // A long direction is the same line: the foot of the perpendicular from a point off it.
    const ZoGeBaseLine2d line(ZoGePoint2d(10, 30), ZoGeVector2d(7 * unit.x, 7 * unit.y));
    EXPECT_NEAR(line.GetDirection().Length(), 1, 1e-12);
    const ZoGePoint2d onLine(10 + 4 * unit.x, 30 + 4 * unit.y);
    ExpectPoint(line.GetNearestPoint(ZoGePoint2d(onLine.x - 3 * unit.y, onLine.y + 3 * unit.x)), onLine.x, onLine.y);
    // Crossing at right angles through the same point meets there.
    const ZoGeBaseLine2d across(ZoGePoint2d(onLine.x - 5 * unit.y, onLine.y + 5 * unit.x),
                                ZoGeVector2d(-unit.y, unit.x));
    ZoGePoint2d meet(-1, -1);
    ASSERT_NE(line.IntersectWith(across, meet), 0) << angle;
    ExpectPoint(meet, onLine.x, onLine.y);
    ASSERT_NE(across.IntersectWith(line, meet, true), 0);
    ExpectPoint(meet, onLine.x, onLine.y);
  }

  // The snap case: the axes through the origin, and a grid line at a slant.
  const ZoGeBaseLine2d xAxis(ZoGePoint2d(0, 0), ZoGeVector2d::CreateFromAngle(0));
  const ZoGeBaseLine2d yAxis(ZoGePoint2d(0, 0), ZoGeVector2d::CreateFromAngle(kPi / 2));
  ExpectPoint(xAxis.GetNearestPoint(ZoGePoint2d(12, 7)), 12, 0);
  ExpectPoint(yAxis.GetNearestPoint(ZoGePoint2d(12, 7)), 0, 7);
  ZoGePoint2d meet;
  ASSERT_NE(xAxis.IntersectWith(yAxis, meet), 0);
  ExpectPoint(meet, 0, 0);
  const ZoGeBaseLine2d slant(ZoGePoint2d(10, 30), ZoGeVector2d(1, 1));
  ASSERT_NE(slant.IntersectWith(xAxis, meet), 0);
  ExpectPoint(meet, -20, 0);
  ASSERT_NE(yAxis.IntersectWith(slant, meet), 0);
  ExpectPoint(meet, 0, 20);
}

TEST(GeometryBaseLine2d, ParallelLinesDoNotMeetAndZeroDirectionsAreTheXAxis) {
  const ZoGeBaseLine2d a(ZoGePoint2d(0, 0), ZoGeVector2d(2, 1));
  ZoGePoint2d untouched(5, 5);
  for (const ZoGeBaseLine2d& b :
       {ZoGeBaseLine2d(ZoGePoint2d(0, 3), ZoGeVector2d(-4, -2)), ZoGeBaseLine2d(ZoGePoint2d(4, 2), ZoGeVector2d(2, 1)),
        ZoGeBaseLine2d(ZoGePoint2d(0, 3), ZoGeVector2d(2, 1 + 1e-10))}) {
    EXPECT_EQ(a.IntersectWith(b, untouched), 0);
    ExpectPoint(untouched, 5, 5);
  }
  // Just beyond the angle tolerance the lines meet, far away but finite.
  ZoGePoint2d distant;
  EXPECT_NE(a.IntersectWith(ZoGeBaseLine2d(ZoGePoint2d(0, 3), ZoGeVector2d(2, 1 + 1e-6)), distant), 0);
  EXPECT_TRUE(std::isfinite(distant.x) && std::isfinite(distant.y));

  const double nan = std::nan("");
  for (const ZoGeVector2d& none : {ZoGeVector2d(), ZoGeVector2d(nan, 1), ZoGeVector2d(HUGE_VAL, 0)}) {
    ZoGeBaseLine2d line(ZoGePoint2d(3, 4), ZoGeVector2d(0, 1));
    line.Set(ZoGePoint2d(1, 2), none);
    EXPECT_EQ(line.GetDirection().x, 1);
    EXPECT_EQ(line.GetDirection().y, 0);
    ExpectPoint(line.GetNearestPoint(ZoGePoint2d(7, -3)), 7, 2);
  }
  ExpectPoint(ZoGeBaseLine2d().GetNearestPoint(ZoGePoint2d(-2, 9)), -2, 0);
}

// Turns keep their centre and agree with the host's matrix about the z axis; moves compose with
// them; angles come back within one turn whatever their size.
TEST(GeometryMatrix, TurnsAboutTheirCentreMovesAndStandardAngles) {
  ZoGeMatrix turn;
  turn.CreateRotateMatrix(M_PI / 2, ZoGePoint(10, 20, 5));
  ZoGePoint pt(12, 20, 7);
  turn.Transform(pt);
  ExpectPoint(ZoGePoint2d(pt.x, pt.y), 10, 22);
  EXPECT_DOUBLE_EQ(pt.z, 7);
  AcGeMatrix3d host;
  host.setToRotation(M_PI / 2, AcGeVector3d::kZAxis, AcGePoint3d(10, 20, 5));
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(turn[r][c], host(r, c), 1e-12) << r << c;
  // About the x axis the host turns y into z.
  host.setToRotation(M_PI / 2, AcGeVector3d(2, 0, 0), AcGePoint3d(0, 1, 0));
  EXPECT_NEAR(host(2, 1), 1, 1e-12);
  EXPECT_NEAR(host(2, 3), -1, 1e-12);
  ZoGeMatrix move;
  move.CreateMoveMatrix(ZoGeVector3d(ZoGePoint(1, 1, 1), ZoGePoint(4, 5, 6)));
  move.Transform(pt);
  ExpectPoint(ZoGePoint2d(pt.x, pt.y), 13, 26);
  EXPECT_DOUBLE_EQ(pt.z, 12);

  for (double a : {-1e-300, -7.0, 7.0, 1e300, -1e300, 2 * M_PI, -2 * M_PI}) {
    const double s = GetStdAngle(a);
    EXPECT_TRUE(s >= 0 && s < 2 * M_PI) << a;
    // Beyond a million radians a double holds no meaningful angle, only the range is kept.
    if (std::fabs(a) < 1e6) {
      EXPECT_NEAR(std::cos(s), std::cos(a), 1e-9) << a;
    }
  }
  EXPECT_NEAR(GetStdAngle(-M_PI / 2), 1.5 * M_PI, 1e-15);
  EXPECT_EQ(GetStdAngle(std::nan("")), 0);
  EXPECT_EQ(GetStdAngle(HUGE_VAL), 0);
}

TEST(DbObjectDisplay, BackgroundFollowsTheSpaceOnShow) {
  standin::Session::Get().Reset();
  EXPECT_EQ(GetBackgroundColor(), 0x000000u);
  resbuf var = {};
  var.restype = RTSHORT;
  var.resval.rint = 0;
  ASSERT_EQ(acedSetVar(L"TILEMODE", &var), RTNORM);
  EXPECT_EQ(GetBackgroundColor(), 0xFFFFFFu);
  standin::Session::Get().Reset();
  EXPECT_EQ(GetBackgroundColor(), 0x000000u);
}

}  // namespace
