#include "drag/SelectJig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "testing/DatabaseTest.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using Values = std::vector<double>;

// The captured point, rounded to 1e-9 so that it compares exactly.
Values Capture(const ads_point base, double x, double y, double z = 0) {
  const ads_point pt = {x, y, z};
  ads_point out = {-1, -1, -1};
  ZoPtCapturePoint(base, pt, out);
  return {std::round(out[X] * 1e9) / 1e9, std::round(out[Y] * 1e9) / 1e9, std::round(out[Z] * 1e9) / 1e9};
}

void SetPoint(const wchar_t* name, double x, double y) {
  const double pt[3] = {x, y, 0};
  ASSERT_TRUE(standin::SetSysVarPoint(name, pt));
}

using CapturePoint = tovutest::HostTest;

TEST_F(CapturePoint, OrthoTakesTheNearerAxisThroughTheBaseTiesToTheSecond) {
  const ads_point origin = {0, 0, 0}, base = {10, 10, 0};
  ASSERT_TRUE(standin::SetSysVarInt(L"ORTHOMODE", 1));
  EXPECT_EQ(Capture(origin, 3, 2, 5), (Values{3, 0, 5}));
  EXPECT_EQ(Capture(origin, 2, 3, 5), (Values{0, 3, 5}));
  EXPECT_EQ(Capture(origin, 3, 3, 5), (Values{0, 3, 5}));  // an exact tie
  EXPECT_EQ(Capture(nullptr, 2, 3, 5), (Values{2, 3, 5}));
  ASSERT_TRUE(standin::SetSysVarReal(L"SNAPANG", M_PI / 4));
  EXPECT_EQ(Capture(base, 13, 14), (Values{13.5, 13.5, 0}));
}

TEST_F(CapturePoint, GridSnapRoundsAlongTheSnapAxesAnExactHalfDown) {
  ASSERT_TRUE(standin::SetSysVarInt(L"SNAPMODE", 1));
  EXPECT_EQ(Capture(nullptr, 14, 26, 1), (Values{10, 30, 1}));  // SNAPUNIT 10, 10
  EXPECT_EQ(Capture(nullptr, 15, 25), (Values{10, 20, 0}));
  SetPoint(L"SNAPBASE", 5, 5);
  EXPECT_EQ(Capture(nullptr, 14, 26), (Values{15, 25, 0}));
  // Turned a quarter, the x unit runs along the world's y axis; a unit of zero does not round.
  SetPoint(L"SNAPBASE", 0, 0);
  SetPoint(L"SNAPUNIT", 10, 20);
  ASSERT_TRUE(standin::SetSysVarReal(L"SNAPANG", M_PI / 2));
  EXPECT_EQ(Capture(nullptr, -14, 26), (Values{-20, 30, 0}));
  SetPoint(L"SNAPUNIT", 0, 20);
  EXPECT_EQ(Capture(nullptr, -14, 26.25), (Values{-20, 26.25, 0}));

  // Ortho before snap (the other way round gives a tie and (0, 10)); isometric snap takes the
  // point as it is, result written over the input.
  ads_point origin = {0, 0, 0}, pt = {14, 9, 3};
  SetPoint(L"SNAPUNIT", 10, 10);
  ASSERT_TRUE(standin::SetSysVarReal(L"SNAPANG", 0));
  ASSERT_TRUE(standin::SetSysVarInt(L"ORTHOMODE", 1));
  EXPECT_EQ(Capture(origin, 14, 9), (Values{10, 0, 0}));
  ASSERT_TRUE(standin::SetSysVarInt(L"SNAPSTYL", 1));
  ZoPtCapturePoint(origin, pt, pt);
  EXPECT_EQ((Values{pt[X], pt[Y], pt[Z]}), (Values{14, 9, 3}));
}

class SelectJig : public tovutest::DatabaseTest {
 protected:
  // What the jig showed since the last call: linetype and closure, then the first four vertices.
  static std::vector<std::pair<std::wstring, Values>> Shown() {
    std::vector<std::pair<std::wstring, Values>> out;
    for (const standin::JournalEntry& e : standin::Session::Get().Journal(standin::JournalKind::Jig))
      out.emplace_back(e.text, Values(e.values.begin(), e.values.begin() + std::min<size_t>(8, e.values.size())));
    standin::Session::Get().ClearJournal();
    return out;
  }
  static InputEvent Cursor(double x, double y) { return InputEvent::At(InputKind::Cursor, x, y); }
  // The first drag chooses the first corner at (100, 100) and shows no rectangle; the second
  // opens the window. The view shows world (0, 0) to (800, 600) in pixels (0, 600) to (800, 0).
  void SetUp() override {
    DatabaseTest::SetUp();
    standin::Session::Get().Queue({Cursor(150, 100), Cursor(100, 100), InputEvent::At(InputKind::Point, 100, 100)});
    m_jig.drag();
    EXPECT_TRUE(m_jig.m_ptFirstCorner == ZoGePoint(100, 100) && m_jig.m_ptCurrent == ZoGePoint(100, 100));
    for (const auto& shown : Shown()) EXPECT_TRUE(shown.second.empty());
    m_jig.m_bWindowMode = 1;
  }
  ZoPtSelectJig m_jig;
};

TEST_F(SelectJig, WindowContinuousCrossingDashedCornersInPixels) {
  standin::Session::Get().Queue(
      {Cursor(300, 200), Cursor(50, 250), Cursor(100, 400), InputEvent::At(InputKind::Point, 300, 200)});
  EXPECT_EQ(m_jig.drag(), AcEdJig::kNormal);
  const std::wstring window = L"LWPOLYLINE Continuous closed";
  // Bottom-left, bottom-right, top-right, top-left; straight up is a window.
  EXPECT_EQ(Shown(), (std::vector<std::pair<std::wstring, Values>>{
                         {window, {100, 100, 300, 100, 300, 200, 100, 200}},
                         {L"LWPOLYLINE DASH closed", {50, 100, 100, 100, 100, 250, 50, 250}},
                         {window, {100, 100, 100, 100, 100, 400, 100, 400}},
                         {window, {100, 100, 300, 100, 300, 200, 100, 200}}}));
  EXPECT_EQ((Values{double(m_jig.m_ptFirstPixel.x), double(m_jig.m_ptFirstPixel.y), double(m_jig.m_ptCurrentPixel.x),
                    double(m_jig.m_ptCurrentPixel.y)}),
            (Values{100, 500, 300, 400}));
  EXPECT_TRUE(m_jig.m_ptCurrent == ZoGePoint(300, 200) && m_jig.m_ptFirstCorner == ZoGePoint(100, 100));
}

TEST_F(SelectJig, UnmovedCursorAndZeroSizeChangeNothingEscTouchesNothing) {
  standin::Session::Get().Queue(
      {Cursor(200, 200), Cursor(200, 200), Cursor(100, 100), InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(m_jig.drag(), AcEdJig::kNull);
  const auto shown = Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1], shown[0]);
  standin::Session::Get().Queue({InputEvent::Key(InputKind::Esc)});
  EXPECT_EQ(m_jig.drag(), AcEdJig::kCancel);
  EXPECT_TRUE(m_jig.m_ptCurrent == ZoGePoint(100, 100) && m_jig.m_ptCurrentPixel.x == 100);
}

using PolygonPointList = tovutest::HostTest;

TEST_F(PolygonPointList, ListsTheVerticesAndClosesOnTheFirst) {
  ZoGePolyline2d polygon;
  EXPECT_EQ(ZoPtPolygonPointList(polygon, true), nullptr);
  for (const ZoGePoint& pt : {ZoGePoint(0, 0, 1), ZoGePoint(4, 0, 1), ZoGePoint(4, 3, 1), ZoGePoint(0, 3, 1)})
    polygon.AppendVertex(pt);
  for (const bool bClose : {true, false}) {
    resbuf* list = ZoPtPolygonPointList(polygon, bClose);
    Values points;
    for (const resbuf* rb = list; rb; rb = rb->rbnext)
      if (rb->restype == RTPOINT) points.insert(points.end(), rb->resval.rpoint, rb->resval.rpoint + 3);
    acutRelRb(list);
    const Values open = {0, 0, 1, 4, 0, 1, 4, 3, 1, 0, 3, 1};
    Values closed = open;
    closed.insert(closed.end(), {0, 0, 1});
    EXPECT_EQ(points, bClose ? closed : open);
  }
}

}  // namespace
