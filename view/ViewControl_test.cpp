#include "view/ViewControl.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/views.h"
#include "testing/HostTest.h"

namespace {

using ViewControl = tovutest::HostTest;
using Values = std::vector<double>;

// The current view's centre (VIEWCTR), height (VIEWSIZE) and how often it changed. The session's
// view shows (0, 0) to (800, 600).
Values Shown() {
  double center[3] = {0, 0, 0};
  standin::SysVarPoint(L"VIEWCTR", center);
  return {center[X], center[Y], standin::SysVarReal(L"VIEWSIZE", 0),
          static_cast<double>(standin::Session::Get().Journal(standin::JournalKind::ViewChange).size())};
}

TEST_F(ViewControl, PixelsAndTheScreenInDrawingUnits) {
  ASSERT_TRUE(standin::SetSysVarReal(L"VIEWSIZE", 300));
  double width = 0, height = 0;
  GetViewScreenSize(width, height);
  EXPECT_EQ((Values{PixelToWcs(3), width, height, GetPickBoxWcsSize()}), (Values{1.5, 400, 300, 1.5}));
  // The corners are world points, whatever the user's coordinates.
  standin::Ucs ucs;
  ucs.origin[X] = 100;
  ASSERT_TRUE(standin::SetUcs(ucs));
  ZoGePoint lowerLeft, upperRight;
  GetViewScreenCorner(lowerLeft, upperRight);
  EXPECT_TRUE(lowerLeft == ZoGePoint(200, 150) && upperRight == ZoGePoint(600, 450));

  ASSERT_TRUE(standin::SetSysVarInt(L"APERTURE", 4));
  ASSERT_TRUE(standin::SetSysVarInt(L"PICKBOX", -2));
  EXPECT_EQ((Values{GetApertureWcsSize(), GetPickBoxWcsSize()}), (Values{2, 0}));
  const double noHeight[3] = {800, 0, 0};
  ASSERT_TRUE(standin::SetSysVarPoint(L"SCREENSIZE", noHeight));
  EXPECT_EQ(GetApertureWcsSize(), 0.0);
}

TEST_F(ViewControl, AssureViewVisibleLeavesPansOrZoomsExactly) {
  EXPECT_EQ(AssureViewVisible(ZoGePoint(0, 0), ZoGePoint(800, 600)), Acad::eNotApplicable);
  EXPECT_EQ(AssureViewVisible(ZoGePoint(100, 100, 7), ZoGePoint(700, 500, 7)), Acad::eNotApplicable);
  EXPECT_EQ(Shown(), (Values{400, 300, 600, 0}));
  // Smaller but partly outside: centred, same size.
  EXPECT_EQ(AssureViewVisible(ZoGePoint(700, 500), ZoGePoint(900, 700)), Acad::eOk);
  EXPECT_EQ(Shown(), (Values{800, 600, 600, 1}));
  // As wide, wider or taller than the view: its extents exactly, no margin.
  EXPECT_EQ(AssureViewVisible(ZoGePoint(1000, 0), ZoGePoint(1800, 600)), Acad::eOk);
  EXPECT_EQ(Shown(), (Values{1400, 300, 600, 2}));
  EXPECT_EQ(AssureViewVisible(ZoGePoint(-100, 0), ZoGePoint(900, 100)), Acad::eOk);
  EXPECT_EQ(Shown(), (Values{400, 50, 750, 3}));
  EXPECT_EQ(AssureViewVisible(ZoGePoint(0, 0), ZoGePoint(100, 900)), Acad::eOk);
  EXPECT_EQ(Shown(), (Values{50, 450, 900, 4}));
  // The host refuses a view of no size; corners the wrong way round still span a rectangle.
  EXPECT_EQ(ZoomView(ZoGePoint(10, 10), 0.0, 0.0), Acad::eInvalidInput);
  EXPECT_EQ(Shown(), (Values{50, 450, 900, 4}));
  EXPECT_EQ(ZoomView(ZoGePoint(3000, 3000), ZoGePoint(2000, 2000)), Acad::eOk);
  EXPECT_EQ(PanView(ZoGePoint(-500, 100)), Acad::eOk);
  EXPECT_EQ(Shown(), (Values{2000, 2600, 1000, 6}));
}

TEST_F(ViewControl, PushViewVisibleRestoresOnlyWhenAsked) {
  {
    ZoPushViewVisible guard(ZoGePoint(2000, 2000), ZoGePoint(2080, 2060), true);
    EXPECT_EQ(Shown(), (Values{2040, 2030, 600, 1}));
  }
  EXPECT_EQ(Shown(), (Values{400, 300, 600, 2}));
  { ZoPushViewVisible guard(ZoGePoint(-1600, -1200), ZoGePoint(0, 0), false); }
  EXPECT_EQ(Shown(), (Values{-800, -600, 1200, 3}));
}

TEST_F(ViewControl, InitViewTakesClippingAndLensOnlyForAPerspectiveView) {
  // A user coordinate system moved and turned a quarter: TARGET and VIEWDIR are in it.
  standin::Ucs ucs;
  ucs.origin[X] = 10;
  ucs.xAxis[X] = 0, ucs.xAxis[Y] = 1;
  ucs.yAxis[X] = -1, ucs.yAxis[Y] = 0;
  ASSERT_TRUE(standin::SetUcs(ucs));
  const double target[3] = {1, 2, 3};
  ASSERT_TRUE(standin::SetSysVarPoint(L"TARGET", target));
  for (const auto& [name, value] :
       {std::pair<const wchar_t*, double>{L"VIEWTWIST", 0.25}, {L"FRONTZ", 5}, {L"BACKZ", -3}, {L"LENSLENGTH", 80}})
    ASSERT_TRUE(standin::SetSysVarReal(name, value));
  const AcDbViewTableRecord fresh;
  const auto init = [](AcDbViewTableRecord& view, int mode) {
    EXPECT_TRUE(standin::SetSysVarInt(L"VIEWMODE", mode));
    InitView(view);
  };
  AcDbViewTableRecord view, perspective, atEye;
  init(view, 2 | 4 | 16);
  const standin::View shown = standin::CurrentView();
  EXPECT_NEAR(view.centerPoint().x, shown.center[X], 1e-9);
  EXPECT_NEAR(view.centerPoint().y, shown.center[Y], 1e-9);
  EXPECT_EQ((Values{view.width(), view.height(), view.viewTwist()}), (Values{800, 600, 0.25}));
  EXPECT_TRUE(view.viewDirection() == AcGeVector3d(0, 0, 1) && view.target().isEqualTo(AcGePoint3d(8, 1, 3)));
  EXPECT_FALSE(view.isPaperspaceView() || view.perspectiveEnabled() || view.frontClipEnabled() ||
               view.backClipEnabled());
  EXPECT_EQ(view.lensLength(), fresh.lensLength());

  init(perspective, 1 | 2 | 4 | 16);
  EXPECT_TRUE(perspective.perspectiveEnabled() && perspective.frontClipEnabled() && perspective.backClipEnabled());
  EXPECT_FALSE(perspective.frontClipAtEye());
  EXPECT_EQ((Values{perspective.frontClipDistance(), perspective.backClipDistance(), perspective.lensLength()}),
            (Values{5, -3, 80}));

  // Front clipping at the eye takes no FRONTZ; no back clipping. Viewport 1 is paper space.
  ASSERT_TRUE(standin::SetSysVarInt(L"CVPORT", 1));
  init(atEye, 1 | 2);
  EXPECT_TRUE(atEye.frontClipEnabled() && atEye.frontClipAtEye() && !atEye.backClipEnabled());
  EXPECT_EQ(atEye.frontClipDistance(), fresh.frontClipDistance());
  EXPECT_TRUE(atEye.isPaperspaceView());
}

}  // namespace
