// The views of the stand-in host: the view variables follow the view and the user coordinate
// system, acedSetCurrentView refuses what the host refuses, acedTrans and the pixel conversions
// agree with each other for any view, and a scripted zoom moves the view whatever call waits.
#include <acedads.h>
#include <aced.h>
#include <dbsymtb.h>
#include <gtest/gtest.h>
#include <rxmfcapi.h>

#include <cmath>
#include <random>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/viewports.h"
#include "standin/host/view/views.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

class ViewsTest : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override { Session::Get().Reset(); }
};

void Point(const wchar_t* name, double p[3]) { ASSERT_TRUE(standin::SysVarPoint(name, p)) << name; }

resbuf Code(short code) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = code;
  return rb;
}

TEST_F(ViewsTest, SetCurrentViewShowsInTheVariablesAndRefusesWhatTheHostRefuses) {
  AcDbViewTableRecord view;
  view.setCenterPoint(AcGePoint2d(50, 40));
  view.setHeight(100);
  view.setWidth(400);  // wider than 800 x 600 shows at height 100: the height grows to fit it
  ASSERT_EQ(acedSetCurrentView(&view, nullptr), Acad::eOk);
  double p[3];
  Point(L"VIEWCTR", p);
  EXPECT_DOUBLE_EQ(p[0], 50);
  EXPECT_DOUBLE_EQ(p[1], 40);
  EXPECT_DOUBLE_EQ(standin::SysVarReal(L"VIEWSIZE", 0), 300);
  ASSERT_EQ(Session::Get().Journal(standin::JournalKind::ViewChange).size(), 1u);
  EXPECT_EQ(Session::Get().Journal(standin::JournalKind::ViewChange)[0].values[4], 400);  // width shown

  view.setHeight(0);
  EXPECT_EQ(acedSetCurrentView(&view, nullptr), Acad::eInvalidInput);
  view.setHeight(10);
  view.setViewDirection(AcGeVector3d(0, 0, 0));
  EXPECT_EQ(acedSetCurrentView(&view, nullptr), Acad::eInvalidInput);
  view.setViewDirection(AcGeVector3d(0, 0, 1));
  view.setCenterPoint(AcGePoint2d(NAN, 0));
  EXPECT_EQ(acedSetCurrentView(&view, nullptr), Acad::eInvalidInput);
  view.setCenterPoint(AcGePoint2d(0, 0));
  view.setIsPaperspaceView(true);
  EXPECT_EQ(acedSetCurrentView(&view, nullptr), Acad::eNotInPaperspace);
  EXPECT_EQ(acedSetCurrentView(nullptr, nullptr), Acad::eNullObjectPointer);
  EXPECT_DOUBLE_EQ(standin::SysVarReal(L"VIEWSIZE", 0), 300);  // nothing refused changed the view
  EXPECT_EQ(Session::Get().Journal(standin::JournalKind::ViewChange).size(), 1u);

  // On a layout, paper space takes only paper views and a floating viewport only model views.
  ASSERT_TRUE(standin::SetSysVarInt(L"TILEMODE", 0));
  ASSERT_EQ(acedSetCurrentVPort(1), Acad::eOk);
  EXPECT_EQ(acedSetCurrentView(&view, nullptr), Acad::eOk);
  ASSERT_EQ(acedSetCurrentVPort(2), Acad::eOk);
  EXPECT_EQ(acedSetCurrentView(&view, nullptr), Acad::eBadPaperspaceView);
}

TEST_F(ViewsTest, EachViewportKeepsItsViewAndTheVariablesShowTheCurrentOne) {
  standin::SetTiledViewports({{2, {0, 0}, {0.5, 1}}, {3, {0.5, 0}, {1, 1}}});
  ASSERT_EQ(acedSetCurrentVPort(3), Acad::eOk);
  const double center[3] = {1000, 1000, 0};
  ASSERT_TRUE(standin::ZoomTo(center, 50));
  double screen[3];
  Point(L"SCREENSIZE", screen);
  EXPECT_EQ(screen[0], 400);
  EXPECT_EQ(screen[1], 600);
  // Viewport 3 covers the right half of the drawing view: its centre pixel shows its view's centre.
  acedDwgPoint w;
  ASSERT_TRUE(acedCoordFromPixelToWorld(3, CPoint(600, 300), w));
  EXPECT_DOUBLE_EQ(w[0], 1000);
  EXPECT_DOUBLE_EQ(w[1], 1000);
  ASSERT_EQ(acedSetCurrentVPort(2), Acad::eOk);
  EXPECT_DOUBLE_EQ(standin::SysVarReal(L"VIEWSIZE", 0), 600);  // viewport 2 kept its own view
  ASSERT_TRUE(acedCoordFromPixelToWorld(3, CPoint(600, 300), w));
  EXPECT_DOUBLE_EQ(w[0], 1000);
  EXPECT_FALSE(acedCoordFromPixelToWorld(7, CPoint(0, 0), w));

  // The host moving its own view through a variable moves the pixel mapping with it.
  const double moved[3] = {10, 20, 0};
  ASSERT_TRUE(standin::SetSysVarPoint(L"VIEWCTR", moved));
  ASSERT_TRUE(acedCoordFromPixelToWorld(2, CPoint(200, 300), w));
  EXPECT_DOUBLE_EQ(w[0], 10);
  EXPECT_DOUBLE_EQ(w[1], 20);
}

TEST_F(ViewsTest, UserCoordinatesTurnTheVariablesAndAcedTrans) {
  standin::Ucs ucs;
  ucs.origin[0] = 100, ucs.origin[1] = 50;
  ucs.xAxis[0] = 0, ucs.xAxis[1] = 1;   // x along the world's y
  ucs.yAxis[0] = -1, ucs.yAxis[1] = 0;  // y along the world's -x
  ASSERT_TRUE(standin::SetUcs(ucs));
  double p[3];
  Point(L"VIEWCTR", p);  // the world's (400, 300) in the user's coordinates
  EXPECT_NEAR(p[0], 250, 1e-9);
  EXPECT_NEAR(p[1], -300, 1e-9);
  EXPECT_EQ(standin::SysVarInt(L"WORLDUCS", 1), 0);

  const ads_point world = {110, 70, 5};
  ads_point user, back, disp;
  const resbuf wcs = Code(0), ucsCode = Code(1), dcs = Code(2), bad = Code(4);
  ASSERT_EQ(acedTrans(world, &wcs, &ucsCode, 0, user), RTNORM);
  EXPECT_NEAR(user[0], 20, 1e-9);
  EXPECT_NEAR(user[1], -10, 1e-9);
  EXPECT_NEAR(user[2], 5, 1e-9);
  ASSERT_EQ(acedTrans(world, &wcs, &ucsCode, 1, disp), RTNORM);  // a displacement is not moved
  EXPECT_NEAR(disp[0], 70, 1e-9);
  EXPECT_NEAR(disp[1], -110, 1e-9);
  ASSERT_EQ(acedTrans(user, &ucsCode, &dcs, 0, back), RTNORM);  // plan view: display is world
  EXPECT_NEAR(back[0], 110, 1e-9);
  EXPECT_NEAR(back[1], 70, 1e-9);
  EXPECT_EQ(acedTrans(world, &wcs, &bad, 0, back), RTERROR);
  EXPECT_EQ(acedTrans(world, nullptr, &wcs, 0, back), RTERROR);

  ucs.yAxis[0] = 0, ucs.yAxis[1] = 2;  // parallel to x: refused, the old one stays
  EXPECT_FALSE(standin::SetUcs(ucs));
  Point(L"UCSORG", p);
  EXPECT_EQ(p[0], 100);
}

// For random views (turned, tilted, any scale) and user coordinate systems, a pixel taken to the
// world and back lands within a tenth of a pixel, and acedTrans to display coordinates agrees.
TEST_F(ViewsTest, PixelToWorldAndBackIsExactForAnyViewAndUserCoordinates) {
  std::mt19937 rng(20261206);
  std::uniform_real_distribution<double> unit(-1, 1), scale(-3, 6);
  for (int round = 0; round < 300; ++round) {
    standin::Ucs ucs;
    for (int i = 0; i < 3; ++i) {
      ucs.origin[i] = unit(rng) * 1e4;
      ucs.xAxis[i] = unit(rng);
      ucs.yAxis[i] = unit(rng);
    }
    if (!standin::SetUcs(ucs)) continue;
    standin::View v;
    v.center[0] = unit(rng) * 1e5, v.center[1] = unit(rng) * 1e5;
    v.height = std::pow(10, scale(rng));
    for (int i = 0; i < 3; ++i) v.target[i] = unit(rng) * 1e3, v.direction[i] = unit(rng);
    v.direction[2] = round % 3 == 0 ? 1 : v.direction[2];
    if (round % 3 == 0) v.direction[0] = v.direction[1] = 0;
    v.twist = unit(rng) * 4;
    standin::ShowView(v);
    const CPoint pixel(static_cast<int>((unit(rng) + 1) * 400), static_cast<int>((unit(rng) + 1) * 300));
    acedDwgPoint world;
    ASSERT_TRUE(acedCoordFromPixelToWorld(2, pixel, world));
    double px, py;
    ASSERT_TRUE(standin::WorldToPixel(2, world, px, py));
    EXPECT_NEAR(px, pixel.x, 0.1) << round;
    EXPECT_NEAR(py, pixel.y, 0.1) << round;
    // The pixel's display coordinates are the view's centre offset by pixels times the scale.
    ads_point display;
    const resbuf wcs = Code(0), dcs = Code(2);
    ASSERT_EQ(acedTrans(world, &wcs, &dcs, 0, display), RTNORM);
    const double perPixel = v.height / 600;
    EXPECT_NEAR(display[0], v.center[0] + (pixel.x - 400) * perPixel, 1e-6 * (std::fabs(v.center[0]) + v.height));
    EXPECT_NEAR(display[1], v.center[1] - (pixel.y - 300) * perPixel, 1e-6 * (std::fabs(v.center[1]) + v.height));
    EXPECT_NEAR(display[2], 0, 1e-6 * v.height + 1e-6);
  }
}

TEST_F(ViewsTest, TheScriptedMouseMovesTheCursorAndZoomsWhileACallWaits) {
  Session::Get().Queue({InputEvent::At(InputKind::Cursor, 100, 500)});
  InputEvent zoom = InputEvent::At(InputKind::Zoom, 0, 0);
  zoom.size = 60;
  Session::Get().Queue(zoom);
  Session::Get().Queue({InputEvent::At(InputKind::Point, 3, 4)});
  ads_point p;
  ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
  EXPECT_EQ(p[0], 3);
  EXPECT_DOUBLE_EQ(standin::SysVarReal(L"VIEWSIZE", 0), 60);
  // The click was near the centre of the zoomed view, 10 pixels a unit: (430, 260) in the client
  // area; the cursor reports it in screen coordinates.
  POINT cursor;
  ASSERT_TRUE(GetCursorPos(&cursor));
  ASSERT_TRUE(ScreenToClient(acedGetAcadDwgView()->m_hWnd, &cursor));
  EXPECT_EQ(cursor.x, 430);
  EXPECT_EQ(cursor.y, 260);
}

}  // namespace
