#include "drag/SelectJig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "testing/DatabaseTest.h"

namespace {

using tovutest::DatabaseTest;
using tovutest::HostTest;

void SetPointVar(const wchar_t* name, double x, double y) {
  resbuf rb = {};
  rb.restype = RTPOINT;
  rb.resval.rpoint[X] = x;
  rb.resval.rpoint[Y] = y;
  ASSERT_TRUE(standin::SetSystemVariable(name, rb));
}

void SetRealVar(const wchar_t* name, double value) {
  resbuf rb = {};
  rb.restype = RTREAL;
  rb.resval.rreal = value;
  ASSERT_TRUE(standin::SetSystemVariable(name, rb));
}

// The captured point, as a ZoGePoint for comparison within the tolerance.
ZoGePoint Capture(const ads_point base, double x, double y, double z) {
  const ads_point pt = {x, y, z};
  ads_point result = {-1, -1, -1};
  ZoPtCapturePoint(base, pt, result);
  return ZoGePoint(result[X], result[Y], result[Z]);
}

void ExpectPoint(const ZoGePoint& actual, double x, double y, double z) {
  EXPECT_NEAR(actual.x, x, 1e-9);
  EXPECT_NEAR(actual.y, y, 1e-9);
  EXPECT_NEAR(actual.z, z, 1e-9);
}

using CapturePoint = HostTest;

TEST_F(CapturePoint, OrthoTakesTheNearerAxisTiesGoingToTheSecond) {
  const ads_point origin = {0, 0, 0};
  ASSERT_TRUE(standin::SetSysVarInt(L"ORTHOMODE", 1));
  ExpectPoint(Capture(origin, 3, 2, 5), 3, 0, 5);
  ExpectPoint(Capture(origin, 2, 3, 5), 0, 3, 5);
  ExpectPoint(Capture(origin, 2, 2, 5), 0, 2, 5);
  // The axes run through the base point at the snap angle.
  const ads_point base = {10, 10, 0};
  SetRealVar(L"SNAPANG", M_PI / 4);
  ExpectPoint(Capture(base, 13, 14, 0), 13.5, 13.5, 0);
  // Without a base point there is nothing to be orthogonal to.
  ExpectPoint(Capture(nullptr, 13, 14, 2), 13, 14, 2);
  // The result may be the input itself.
  SetRealVar(L"SNAPANG", 0);
  ads_point pt = {3, 2, 5};
  ZoPtCapturePoint(origin, pt, pt);
  ExpectPoint(ZoGePoint(pt[X], pt[Y], pt[Z]), 3, 0, 5);
}

TEST_F(CapturePoint, GridSnapRoundsAlongTheSnapAxesAnExactHalfDown) {
  ASSERT_TRUE(standin::SetSysVarInt(L"SNAPMODE", 1));
  SetPointVar(L"SNAPUNIT", 10, 10);
  ExpectPoint(Capture(nullptr, 14, 26, 1), 10, 30, 1);
  ExpectPoint(Capture(nullptr, 15, 25, 0), 10, 20, 0);
  ExpectPoint(Capture(nullptr, -14, -26, 0), -10, -30, 0);

  // The grid starts at the snap base.
  SetPointVar(L"SNAPBASE", 5, 5);
  ExpectPoint(Capture(nullptr, 14, 26, 0), 15, 25, 0);

  // Turned a quarter: the x unit runs along the world's y axis, the y unit against its x axis.
  SetPointVar(L"SNAPBASE", 0, 0);
  SetPointVar(L"SNAPUNIT", 10, 20);
  SetRealVar(L"SNAPANG", M_PI / 2);
  ExpectPoint(Capture(nullptr, -14, 26, 0), -20, 30, 0);

  // A unit of zero leaves that axis unrounded.
  SetRealVar(L"SNAPANG", 0);
  SetPointVar(L"SNAPUNIT", 0, 10);
  ExpectPoint(Capture(nullptr, 14.25, 26, 0), 14.25, 30, 0);

  // Ortho first, then snap: the other way round would give a tie and (0, 10).
  const ads_point origin = {0, 0, 0};
  ASSERT_TRUE(standin::SetSysVarInt(L"ORTHOMODE", 1));
  SetPointVar(L"SNAPUNIT", 10, 10);
  ExpectPoint(Capture(origin, 14, 9, 0), 10, 0, 0);

  // Isometric snap takes the point as it is, whatever else is on.
  ASSERT_TRUE(standin::SetSysVarInt(L"SNAPSTYL", 1));
  ExpectPoint(Capture(origin, 14, 9, 3), 14, 9, 3);
}

// The rectangles the jig showed: the linetype and the first four vertices of each.
struct Shown {
  std::wstring linetype;
  std::vector<double> corners;
  bool operator==(const Shown& o) const { return linetype == o.linetype && corners == o.corners; }
};

std::vector<Shown> TakeShown() {
  std::vector<Shown> out;
  for (const standin::JournalEntry& e : standin::Session::Get().Journal(standin::JournalKind::Jig)) {
    Shown shown;
    shown.linetype = e.text;
    shown.corners.assign(e.values.begin(), e.values.begin() + std::min<size_t>(8, e.values.size()));
    out.push_back(shown);
  }
  standin::Session::Get().ClearJournal();
  return out;
}

standin::InputEvent At(standin::InputKind kind, double x, double y) { return standin::InputEvent::At(kind, x, y); }

class SelectJig : public DatabaseTest {
 protected:
  // The first drag: the window's first corner chosen at (x, y); nothing is drawn.
  void ChooseFirstCorner(ZoPtSelectJig& jig, double x, double y) {
    standin::Session::Get().Queue({At(Cursor, x + 50, y), At(Cursor, x, y), At(Click, x, y)});
    ASSERT_EQ(jig.drag(), AcEdJig::kNormal);
    EXPECT_EQ(jig.m_ptFirstCorner, ZoGePoint(x, y));
    EXPECT_EQ(jig.m_ptCurrent, ZoGePoint(x, y));
    EXPECT_TRUE(TakeShown().empty());
    jig.m_bWindowMode = 1;
  }
  static constexpr standin::InputKind Cursor = standin::InputKind::Cursor;
  static constexpr standin::InputKind Click = standin::InputKind::Point;
};

// The session's view shows world (0, 0) to (800, 600) in pixels (0, 600) to (800, 0).
TEST_F(SelectJig, WindowIsContinuousCrossingDashedAndTheCornersComeBackInPixels) {
  ZoPtSelectJig jig;
  ChooseFirstCorner(jig, 100, 100);
  standin::Session::Get().Queue({At(Cursor, 300, 200), At(Cursor, 50, 250), At(Cursor, 100, 400), At(Click, 300, 200)});
  EXPECT_EQ(jig.drag(), AcEdJig::kNormal);
  const std::wstring window = L"AcDbPolyline CONTINUOUS closed", crossing = L"AcDbPolyline DASH closed";
  // Bottom-left, bottom-right, top-right, top-left.
  EXPECT_EQ(TakeShown(), (std::vector<Shown>{{window, {100, 100, 300, 100, 300, 200, 100, 200}},
                                             {crossing, {50, 100, 100, 100, 100, 250, 50, 250}},
                                             {window, {100, 100, 100, 100, 100, 400, 100, 400}},
                                             {window, {100, 100, 300, 100, 300, 200, 100, 200}}}));
  EXPECT_EQ(jig.m_ptFirstPixel.x, 100);
  EXPECT_EQ(jig.m_ptFirstPixel.y, 500);
  EXPECT_EQ(jig.m_ptCurrentPixel.x, 300);
  EXPECT_EQ(jig.m_ptCurrentPixel.y, 400);
  EXPECT_EQ(jig.m_ptCurrent, ZoGePoint(300, 200));
  EXPECT_EQ(jig.m_ptFirstCorner, ZoGePoint(100, 100));
}

TEST_F(SelectJig, DrawsOnlyMovesAwayFromTheFirstCornerAndPassesTheRestBack) {
  ZoPtSelectJig jig;
  ChooseFirstCorner(jig, 100, 100);
  // The same point twice is one change; back on the first corner nothing is drawn.
  standin::Session::Get().Queue({At(Cursor, 200, 200), At(Cursor, 200, 200), At(Cursor, 100, 100),
                                 standin::InputEvent::Key(standin::InputKind::Enter)});
  EXPECT_EQ(jig.drag(), AcEdJig::kNull);
  EXPECT_EQ(TakeShown().size(), 1u);
  EXPECT_EQ(jig.m_ptCurrent, ZoGePoint(100, 100));
  // Esc touches nothing.
  standin::Session::Get().Queue({standin::InputEvent::Key(standin::InputKind::Esc)});
  EXPECT_EQ(jig.drag(), AcEdJig::kCancel);
  EXPECT_EQ(jig.m_ptCurrent, ZoGePoint(100, 100));
  EXPECT_EQ(jig.m_ptCurrentPixel.x, 100);
}

using PolygonPointList = HostTest;

TEST_F(PolygonPointList, ListsTheVerticesAndClosesOnTheFirst) {
  ZoGePolyline2d polygon;
  EXPECT_EQ(ZoPtPolygonPointList(polygon, true), nullptr);
  const ZoGePoint corners[4] = {{0, 0, 1}, {4, 0, 1}, {4, 3, 1}, {0, 3, 1}};
  for (const ZoGePoint& pt : corners) polygon.AppendVertex(pt);

  for (const bool bClose : {true, false}) {
    resbuf* list = ZoPtPolygonPointList(polygon, bClose);
    std::vector<ZoGePoint> points;
    for (const resbuf* rb = list; rb; rb = rb->rbnext) {
      EXPECT_EQ(rb->restype, RTPOINT);
      points.emplace_back(rb->resval.rpoint[X], rb->resval.rpoint[Y], rb->resval.rpoint[Z]);
    }
    acutRelRb(list);
    ASSERT_EQ(points.size(), bClose ? 5u : 4u);
    for (size_t i = 0; i < points.size(); ++i) ExpectPoint(points[i], corners[i % 4].x, corners[i % 4].y, 1);
  }
}

}  // namespace
