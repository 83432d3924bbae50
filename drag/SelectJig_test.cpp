#include "drag/SelectJig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "standin/host/drawing/sysvars.h"
#include "testing/HostTest.h"

namespace {

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
