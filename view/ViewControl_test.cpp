#include "view/ViewControl.h"

#include <gtest/gtest.h>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/views.h"
#include "testing/HostTest.h"

namespace {

using ViewControl = tovutest::HostTest;

void SetPoint(const wchar_t* name, double x, double y, double z = 0) {
  const double pt[3] = {x, y, z};
  ASSERT_TRUE(standin::SetSysVarPoint(name, pt));
}

// The host's current view (centre and height) and how often it changed.
void ExpectView(double x, double y, double size, size_t changes) {
  double center[3] = {0, 0, 0};
  ASSERT_TRUE(standin::SysVarPoint(L"VIEWCTR", center));
  EXPECT_NEAR(center[X], x, 1e-9);
  EXPECT_NEAR(center[Y], y, 1e-9);
  EXPECT_NEAR(standin::SysVarReal(L"VIEWSIZE", 0), size, 1e-9);
  EXPECT_EQ(standin::Session::Get().Journal(standin::JournalKind::ViewChange).size(), changes);
}

TEST_F(ViewControl, PixelsAndTheScreenInDrawingUnits) {
  ASSERT_TRUE(standin::SetSysVarReal(L"VIEWSIZE", 300));
  EXPECT_DOUBLE_EQ(PixelToWcs(3), 1.5);
  double width = 0, height = 0;
  GetViewScreenSize(width, height);
  EXPECT_DOUBLE_EQ(width, 400);
  EXPECT_DOUBLE_EQ(height, 300);
  // The corners are in world coordinates, whatever the user's.
  standin::Ucs ucs;
  ucs.origin[X] = 100;
  ucs.origin[Y] = 50;
  ASSERT_TRUE(standin::SetUcs(ucs));
  ZoGePoint lowerLeft, upperRight;
  GetViewScreenCorner(lowerLeft, upperRight);
  EXPECT_EQ(lowerLeft, ZoGePoint(200, 150, 0));
  EXPECT_EQ(upperRight, ZoGePoint(600, 450, 0));

  EXPECT_DOUBLE_EQ(GetPickBoxWcsSize(), 1.5);  // PICKBOX 3
  ASSERT_TRUE(standin::SetSysVarInt(L"APERTURE", 4));
  EXPECT_DOUBLE_EQ(GetApertureWcsSize(), 2);
  ASSERT_TRUE(standin::SetSysVarInt(L"PICKBOX", 0));
  EXPECT_EQ(GetPickBoxWcsSize(), 0.0);
  // No screen height: no size rather than a division by zero.
  SetPoint(L"SCREENSIZE", 800, 0);
  EXPECT_EQ(PixelToWcs(3), 0.0);
  EXPECT_EQ(GetApertureWcsSize(), 0.0);
}

// The session's view shows (0, 0) to (800, 600).
TEST_F(ViewControl, AssureViewVisibleLeavesPansOrZooms) {
  EXPECT_EQ(AssureViewVisible(ZoGePoint(0, 0), ZoGePoint(800, 600)), Acad::eNotApplicable);
  EXPECT_EQ(AssureViewVisible(ZoGePoint(100, 100, 7), ZoGePoint(700, 500, 7)), Acad::eNotApplicable);
  ExpectView(400, 300, 600, 0);

  // Smaller but partly outside: centred, same size.
  EXPECT_EQ(AssureViewVisible(ZoGePoint(700, 500), ZoGePoint(900, 700)), Acad::eOk);
  ExpectView(800, 600, 600, 1);
  // As wide as the view is not narrower: shown exactly, from edge to edge.
  EXPECT_EQ(AssureViewVisible(ZoGePoint(1000, 0), ZoGePoint(1800, 600)), Acad::eOk);
  ExpectView(1400, 300, 600, 2);
  // Wider, or taller: zoomed out to it, no margin.
  EXPECT_EQ(AssureViewVisible(ZoGePoint(-100, 0), ZoGePoint(900, 100)), Acad::eOk);
  ExpectView(400, 50, 750, 3);
  EXPECT_EQ(AssureViewVisible(ZoGePoint(0, 0), ZoGePoint(100, 700)), Acad::eOk);
  ExpectView(50, 350, 700, 4);
}

TEST_F(ViewControl, PushViewVisibleRestoresOnlyWhenAsked) {
  {
    ZoPushViewVisible guard(ZoGePoint(2000, 2000), ZoGePoint(2080, 2060), true);
    ExpectView(2040, 2030, 600, 1);
  }
  ExpectView(400, 300, 600, 2);
  { ZoPushViewVisible guard(ZoGePoint(-1600, -1200), ZoGePoint(0, 0), false); }
  ExpectView(-800, -600, 1200, 3);
}

TEST_F(ViewControl, ZoomAndPanReturnTheHostsRefusal) {
  EXPECT_EQ(ZoomView(ZoGePoint(10, 10), 0.0, 0.0), Acad::eInvalidInput);
  // Corners given the wrong way round zoom to a negative size.
  EXPECT_EQ(AssureViewVisible(ZoGePoint(3000, 3000), ZoGePoint(2000, 2000)), Acad::eInvalidInput);
  ExpectView(400, 300, 600, 0);
  EXPECT_EQ(ZoomView(ZoGePoint(3000, 3000), ZoGePoint(2000, 2000)), Acad::eOk);
  ExpectView(2500, 2500, 1000, 1);
  EXPECT_EQ(PanView(ZoGePoint(-500, 100)), Acad::eOk);
  ExpectView(2000, 2600, 1000, 2);
}

TEST_F(ViewControl, InitViewTakesClippingAndLensOnlyForAPerspectiveView) {
  // A user coordinate system turned a quarter about z and moved: TARGET and VIEWDIR are in it.
  standin::Ucs ucs;
  ucs.origin[X] = 10;
  ucs.xAxis[X] = 0, ucs.xAxis[Y] = 1;
  ucs.yAxis[X] = -1, ucs.yAxis[Y] = 0;
  ASSERT_TRUE(standin::SetUcs(ucs));
  SetPoint(L"TARGET", 1, 2, 3);
  ASSERT_TRUE(standin::SetSysVarReal(L"VIEWTWIST", 0.25));
  ASSERT_TRUE(standin::SetSysVarReal(L"FRONTZ", 5));
  ASSERT_TRUE(standin::SetSysVarReal(L"BACKZ", -3));
  ASSERT_TRUE(standin::SetSysVarReal(L"LENSLENGTH", 80));
  const AcDbViewTableRecord fresh;
  {
    ASSERT_TRUE(standin::SetSysVarInt(L"VIEWMODE", 2 | 4 | 16));
    AcDbViewTableRecord view;
    InitView(view);
    const standin::View shown = standin::CurrentView();
    EXPECT_NEAR(view.centerPoint().x, shown.center[X], 1e-9);
    EXPECT_NEAR(view.centerPoint().y, shown.center[Y], 1e-9);
    EXPECT_DOUBLE_EQ(view.width(), 800);
    EXPECT_DOUBLE_EQ(view.height(), 600);
    EXPECT_TRUE(view.viewDirection() == AcGeVector3d(0, 0, 1));
    EXPECT_DOUBLE_EQ(view.viewTwist(), 0.25);
    EXPECT_TRUE(view.target().isEqualTo(AcGePoint3d(8, 1, 3)));
    EXPECT_FALSE(view.isPaperspaceView());
    EXPECT_FALSE(view.perspectiveEnabled() || view.frontClipEnabled() || view.backClipEnabled());
    EXPECT_EQ(view.lensLength(), fresh.lensLength());
  }
  {
    ASSERT_TRUE(standin::SetSysVarInt(L"VIEWMODE", 1 | 2 | 4 | 16));
    AcDbViewTableRecord view;
    InitView(view);
    EXPECT_TRUE(view.perspectiveEnabled() && view.frontClipEnabled() && view.backClipEnabled());
    EXPECT_FALSE(view.frontClipAtEye());
    EXPECT_DOUBLE_EQ(view.frontClipDistance(), 5);
    EXPECT_DOUBLE_EQ(view.backClipDistance(), -3);
    EXPECT_DOUBLE_EQ(view.lensLength(), 80);
  }
  {
    // Front clipping at the eye: FRONTZ is not taken; no back clipping.
    ASSERT_TRUE(standin::SetSysVarInt(L"CVPORT", 1));
    ASSERT_TRUE(standin::SetSysVarInt(L"VIEWMODE", 1 | 2));
    AcDbViewTableRecord view;
    InitView(view);
    EXPECT_TRUE(view.frontClipEnabled() && view.frontClipAtEye());
    EXPECT_FALSE(view.backClipEnabled());
    EXPECT_EQ(view.frontClipDistance(), fresh.frontClipDistance());
    EXPECT_TRUE(view.isPaperspaceView());
  }
}

}  // namespace
