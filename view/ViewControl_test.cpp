#include "view/ViewControl.h"

#include <gtest/gtest.h>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "testing/HostTest.h"

namespace {

using ViewControl = tovutest::HostTest;

void SetRealVar(const wchar_t* name, double value) {
  resbuf rb = {};
  rb.restype = RTREAL;
  rb.resval.rreal = value;
  ASSERT_TRUE(standin::SetSystemVariable(name, rb));
}

void SetPointVar(const wchar_t* name, double x, double y, double z = 0) {
  resbuf rb = {};
  rb.restype = RT3DPOINT;
  rb.resval.rpoint[X] = x;
  rb.resval.rpoint[Y] = y;
  rb.resval.rpoint[Z] = z;
  ASSERT_TRUE(standin::SetSystemVariable(name, rb));
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
  SetRealVar(L"VIEWSIZE", 300);
  EXPECT_DOUBLE_EQ(PixelToWcs(3), 1.5);
  double width = 0, height = 0;
  GetViewScreenSize(width, height);
  EXPECT_DOUBLE_EQ(width, 400);
  EXPECT_DOUBLE_EQ(height, 300);
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
  SetPointVar(L"SCREENSIZE", 800, 0);
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
  SetRealVar(L"FRONTZ", 5);
  SetRealVar(L"BACKZ", -3);
  SetRealVar(L"LENSLENGTH", 80);
  SetRealVar(L"VIEWTWIST", 0.25);
  SetPointVar(L"TARGET", 1, 2, 3);
  {
    ASSERT_TRUE(standin::SetSysVarInt(L"VIEWMODE", 2 | 4 | 16));
    AcDbViewTableRecord view;
    InitView(view);
    EXPECT_EQ(view.centerPoint(), AcGePoint2d(400, 300));
    EXPECT_DOUBLE_EQ(view.width(), 800);
    EXPECT_DOUBLE_EQ(view.height(), 600);
    EXPECT_EQ(view.viewDirection(), AcGeVector3d(0, 0, 1));
    EXPECT_DOUBLE_EQ(view.viewTwist(), 0.25);
    EXPECT_EQ(view.target(), AcGePoint3d(1, 2, 3));
    EXPECT_FALSE(view.isPaperspaceView());
    EXPECT_FALSE(view.perspectiveEnabled() || view.frontClipEnabled() || view.backClipEnabled());
    EXPECT_EQ(view.lensLength(), AcDbViewTableRecord().lensLength());
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
    ASSERT_TRUE(standin::SetSysVarInt(L"VIEWMODE", 1 | 2));
    ASSERT_TRUE(standin::SetSysVarInt(L"CVPORT", 1));
    AcDbViewTableRecord view;
    InitView(view);
    EXPECT_TRUE(view.frontClipEnabled() && view.frontClipAtEye());
    EXPECT_FALSE(view.backClipEnabled());
    EXPECT_EQ(view.frontClipDistance(), AcDbViewTableRecord().frontClipDistance());
    EXPECT_TRUE(view.isPaperspaceView());
  }
}

}  // namespace
