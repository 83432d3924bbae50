// Regions and hatches from 2D polylines: arcs from the polyline's included angles, the pattern
// argument's optional scale factor, and nothing left behind when the host refuses.
#include "db/RegionUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

#include "standin/win32/utf8.h"
#include "testing/DatabaseTest.h"
#include "testing/EntityData.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

using RegionUtil = tovutest::DatabaseTest;

ZoGePolyline2d Poly(std::initializer_list<std::pair<ZoGePoint, double>> vertices, bool closed) {
  ZoGePolyline2d poly(0, false);
  for (const auto& [pt, angle] : vertices) poly.AppendVertex(pt, angle);
  poly.SetClosed(closed, 0.0);
  return poly;
}

// A 2 x 2 square whose bottom side bulges downwards in a half circle (included angle pi).
ZoGePolyline2d Tombstone() {
  return Poly({{ZoGePoint(0, 0), kPi}, {ZoGePoint(2, 0), 0}, {ZoGePoint(2, 2), 0}, {ZoGePoint(0, 2), 0}}, true);
}

TEST_F(RegionUtil, RegionsComeOnlyFromClosedPolylinesArcsIncluded) {
  std::unique_ptr<AcDbRegion> region(CreateRegionFromPoly2d(Tombstone()));
  ASSERT_NE(region, nullptr);
  EXPECT_TRUE(region->objectId().isNull()) << "the caller's, in no drawing";
  double area = 0;
  region->getArea(area);
  EXPECT_NEAR(area, 4 + kPi / 2, 1e-9) << "the half circle bulges outwards";

  // The same outline left open, even with its ends together, gives nothing.
  ZoGePolyline2d open = Tombstone();
  open.SetClosed(false);
  open.AppendVertex(ZoGePoint(0, 0));
  EXPECT_EQ(CreateRegionFromPoly2d(open), nullptr);
  // A closed outline with no area gives nothing either (and deletes its polyline).
  EXPECT_EQ(CreateRegionFromPoly2d(Poly({{ZoGePoint(0, 0), 0}, {ZoGePoint(1, 1), 0}, {ZoGePoint(2, 2), 0}}, true)),
            nullptr);
  EXPECT_EQ(CreateRegionFromPoly2d(ZoGePolyline2d(0, true)), nullptr);
  EXPECT_EQ(LeftOpen(L"CreateRegionFromPoly2d"), 0);
  EXPECT_EQ(tovutest::Walk().size(), 0u) << "nothing joined the drawing";
}

TEST_F(RegionUtil, HatchPatternArgumentsGiveTheNameAndScale) {
  const struct {
    const wchar_t* argument;
    const wchar_t* name;
    double scale;
  } cases[] = {{L"ANSI31:2", L"ANSI31", 20},  {L"ANSI31:0", L"ANSI31", 10},   {L"ANSI31", L"ANSI31", 10},
               {L"ANSI31:0.5", L"ANSI31", 5}, {L"AR-CONC:x", L"AR-CONC", 10}, {L"net:3:4", L"net", 30}};
  for (const auto& c : cases) {
    std::unique_ptr<AcDbHatch> hatch(CreateHatchFromPoly2d(Tombstone(), c.argument, 10, 0.25));
    ASSERT_NE(hatch, nullptr) << standin::ToUtf8(c.argument);
    EXPECT_STREQ(hatch->patternName(), c.name);
    EXPECT_DOUBLE_EQ(hatch->patternScale(), c.scale) << standin::ToUtf8(c.argument);
  }
  std::unique_ptr<AcDbHatch> hatch(CreateHatchFromPoly2d(Tombstone(), L"ANSI31", 1, 0.25));
  ASSERT_NE(hatch, nullptr);
  EXPECT_DOUBLE_EQ(hatch->patternAngle(), 0.25);
  EXPECT_EQ(hatch->patternType(), AcDbHatch::kPreDefined);
  EXPECT_EQ(hatch->hatchStyle(), AcDbHatch::kNormal);
  EXPECT_FALSE(hatch->associative());
  EXPECT_TRUE(hatch->objectId().isNull());
}

TEST_F(RegionUtil, HatchLoopsCarryBulgesAsQuarterAngleTangents) {
  ZoGePolyline2d poly = Tombstone();
  poly.SetBulge(2, -kPi / 2);  // the top side bows inwards by a quarter turn
  std::unique_ptr<AcDbHatch> hatch(CreateHatchFromPoly2d(poly, L"SOLID", 1, 0));
  ASSERT_NE(hatch, nullptr);
  ASSERT_EQ(hatch->numLoops(), 1);
  Adesk::Int32 type = 0;
  AcGePoint2dArray vertices;
  AcGeDoubleArray bulges;
  ASSERT_EQ(hatch->getLoopAt(0, type, vertices, bulges), Acad::eOk);
  EXPECT_EQ(type, 7) << "external, polyline, derived";
  ASSERT_EQ(vertices.length(), 5) << "the first vertex repeats at the end";
  ASSERT_EQ(bulges.length(), 5);
  EXPECT_EQ(vertices[4], vertices[0]);
  EXPECT_EQ(vertices[2], AcGePoint2d(2, 2));
  EXPECT_NEAR(bulges[0], 1.0, 1e-12) << "a half circle";
  EXPECT_EQ(bulges[1], 0.0);
  EXPECT_NEAR(bulges[2], std::tan(-kPi / 8), 1e-12);
  EXPECT_EQ(bulges[4], 0.0);
  double area = 0;
  ASSERT_EQ(hatch->getArea(area), Acad::eOk) << "evaluated";
  const double quarterSegment = 2.0 * (kPi / 2 - 1) / 2;  // r = sqrt 2, angle pi / 2
  EXPECT_NEAR(area, 4 + kPi / 2 - quarterSegment, 1e-9);

  // Two vertices joined by two half circles enclose an area even when the polyline is open.
  std::unique_ptr<AcDbHatch> disc(
      CreateHatchFromPoly2d(Poly({{ZoGePoint(0, 0), kPi}, {ZoGePoint(2, 0), kPi}}, false), L"ansi31", 1, 0));
  EXPECT_NE(disc, nullptr) << "pattern names ignore case; hatch loops are closed whatever the polyline says";
}

TEST_F(RegionUtil, RefusedHatchesAreDeletedAndNothingIsLeft) {
  // An unknown pattern, an empty name, an outline without area, no outline at all.
  EXPECT_EQ(CreateHatchFromPoly2d(Tombstone(), L"NO_SUCH_PATTERN", 1, 0), nullptr);
  EXPECT_EQ(CreateHatchFromPoly2d(Tombstone(), L":2", 1, 0), nullptr);
  EXPECT_EQ(CreateHatchFromPoly2d(Poly({{ZoGePoint(0, 0), 0}, {ZoGePoint(3, 0), 0}, {ZoGePoint(6, 0), 0}}, true),
                                  L"ANSI31", 1, 0),
            nullptr);
  EXPECT_EQ(CreateHatchFromPoly2d(ZoGePolyline2d(0, false), L"ANSI31", 1, 0), nullptr);
  EXPECT_EQ(LeftOpen(L"CreateHatchFromPoly2d"), 0);
  EXPECT_TRUE(tovutest::Walk().empty());
}

}  // namespace
