// Conformance of hatches and regions (patterns, loops, evaluation, regions from curves), of the
// list of loaded applications, of hard-reference counts through groups, and of the report of
// objects a command leaves open.
#include <acarray.h>
#include <dbapserv.h>
#include <dbcurve.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbhatch.h>
#include <dbpl.h>
#include <dbregion.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "standin/host/core/session.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/hatch.h"
#include "standin/win32/utf8.h"
#include "testing/EntityData.h"
#include "testing/TempDir.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

class RegionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Session::Get().Reset();
    standin::OpenEmptyDrawing();
  }
  void TearDown() override {
    EXPECT_EQ(standin::OpenObjectCount(), 0) << standin::ToUtf8(standin::OpenObjectsReport());
    standin::Session::Get().Reset();
  }
  AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }
};

AcGePoint2dArray Points(std::initializer_list<AcGePoint2d> pts) {
  AcGePoint2dArray out;
  for (const AcGePoint2d& p : pts) out.append(p);
  return out;
}

AcGeDoubleArray Bulges(std::initializer_list<double> values) {
  AcGeDoubleArray out;
  for (double v : values) out.append(v);
  return out;
}

double Area(const AcDbRegion* region) {
  double area = -1;
  region->getArea(area);
  return area;
}

// Deletes what createFromCurves handed back.
struct Regions {
  AcDbVoidPtrArray items;
  ~Regions() {
    for (int i = 0; i < items.length(); ++i) delete static_cast<AcDbRegion*>(items[i]);
  }
  AcDbRegion* at(int i) { return static_cast<AcDbRegion*>(items[i]); }
};

TEST_F(RegionsTest, HatchPatternsStyleAndScaleAreCheckedAsTheHostDoes) {
  AcDbHatch hatch;
  EXPECT_EQ(hatch.patternType(), AcDbHatch::kPreDefined);
  EXPECT_EQ(hatch.setPattern(AcDbHatch::kPreDefined, L""), Acad::eInvalidInput);
  EXPECT_EQ(hatch.setPattern(AcDbHatch::kPreDefined, nullptr), Acad::eInvalidInput);
  EXPECT_EQ(hatch.setPattern(static_cast<AcDbHatch::HatchPatternType>(7), L"ANSI31"), Acad::eInvalidInput);
  EXPECT_STREQ(hatch.patternName(), L"");
  EXPECT_EQ(hatch.setPatternScale(0), Acad::eInvalidInput);
  EXPECT_EQ(hatch.setPatternScale(-2), Acad::eInvalidInput);
  EXPECT_DOUBLE_EQ(hatch.patternScale(), 1);
  EXPECT_EQ(hatch.setHatchStyle(static_cast<AcDbHatch::HatchStyle>(3)), Acad::eInvalidInput);
  EXPECT_EQ(hatch.setHatchStyle(AcDbHatch::kOuter), Acad::eOk);
  EXPECT_EQ(hatch.hatchStyle(), AcDbHatch::kOuter);

  EXPECT_EQ(hatch.setPattern(AcDbHatch::kPreDefined, L"Solid"), Acad::eOk);
  EXPECT_TRUE(hatch.isSolidFill());
  EXPECT_EQ(hatch.setPattern(AcDbHatch::kPreDefined, L"SOLIDS"), Acad::eOk) << "kept; evaluation refuses it";
  EXPECT_FALSE(hatch.isSolidFill());

  for (const wchar_t* name : {L"ANSI31", L"ar-conc", L"ACAD_ISO02W100", L"ZIGZAG", L"EARTH"})
    EXPECT_TRUE(standin::IsPredefinedHatchPattern(name)) << standin::ToUtf8(name);
  for (const wchar_t* name : {L"ANSI3", L"ANSI311", L"", L"ANSI31 "})
    EXPECT_FALSE(standin::IsPredefinedHatchPattern(name));
  EXPECT_FALSE(standin::IsPredefinedHatchPattern(nullptr));
  EXPECT_GT(standin::PredefinedHatchPatterns().size(), 60u);
}

TEST_F(RegionsTest, HatchLoopsAreKeptAsGivenAndEvaluatedForArea) {
  AcDbHatch hatch;
  ASSERT_EQ(hatch.setPattern(AcDbHatch::kPreDefined, L"ANSI31"), Acad::eOk);
  EXPECT_EQ(hatch.evaluateHatch(), Acad::eInvalidInput) << "no loop";
  // Loops must be polyline loops with one bulge per vertex, or none.
  const AcGePoint2dArray square = Points({{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}});
  EXPECT_EQ(hatch.appendLoop(AcDbHatch::kExternal, square, Bulges({})), Acad::eInvalidInput);
  EXPECT_EQ(hatch.appendLoop(AcDbHatch::kPolyline, square, Bulges({0, 0})), Acad::eInvalidInput);
  EXPECT_EQ(hatch.appendLoop(AcDbHatch::kPolyline, Points({}), Bulges({})), Acad::eInvalidInput);
  EXPECT_EQ(hatch.numLoops(), 0);
  ASSERT_EQ(hatch.appendLoop(AcDbHatch::kExternal | AcDbHatch::kPolyline, square, Bulges({})), Acad::eOk);
  // An island: a circle of radius 1 as two half turns, given without a closing vertex.
  ASSERT_EQ(hatch.appendLoop(AcDbHatch::kPolyline, Points({{1, 2}, {3, 2}}), Bulges({1, 1})), Acad::eOk);
  Adesk::Int32 type = 0;
  AcGePoint2dArray pts;
  AcGeDoubleArray bulges;
  ASSERT_EQ(hatch.getLoopAt(1, type, pts, bulges), Acad::eOk);
  EXPECT_EQ(type, AcDbHatch::kPolyline);
  EXPECT_EQ(pts.length(), 2);
  EXPECT_EQ(bulges[1], 1.0);
  EXPECT_EQ(hatch.getLoopAt(2, type, pts, bulges), Acad::eInvalidIndex);
  double area = 0;
  EXPECT_EQ(hatch.getArea(area), Acad::eNotApplicable) << "not evaluated yet";
  ASSERT_EQ(hatch.evaluateHatch(), Acad::eOk);
  ASSERT_EQ(hatch.getArea(area), Acad::eOk);
  EXPECT_NEAR(area, 16 - kPi, 1e-9);

  // A change of pattern needs a new evaluation; an unknown predefined name fails it.
  ASSERT_EQ(hatch.setPattern(AcDbHatch::kPreDefined, L"NO-SUCH"), Acad::eOk);
  EXPECT_EQ(hatch.getArea(area), Acad::eNotApplicable);
  EXPECT_EQ(hatch.evaluateHatch(), Acad::eInvalidInput);
  ASSERT_EQ(hatch.setPattern(AcDbHatch::kUserDefined, L"_USER"), Acad::eOk);
  EXPECT_EQ(hatch.evaluateHatch(), Acad::eOk) << "only predefined names are looked up";

  // A loop without area spoils the evaluation.
  ASSERT_EQ(hatch.appendLoop(AcDbHatch::kPolyline, Points({{5, 5}, {6, 6}, {7, 7}}), Bulges({})), Acad::eOk);
  EXPECT_EQ(hatch.evaluateHatch(), Acad::eInvalidInput);
  ASSERT_EQ(hatch.removeLoopAt(2), Acad::eOk);
  EXPECT_EQ(hatch.evaluateHatch(), Acad::eOk);
  const double nan = std::nan("");
  ASSERT_EQ(hatch.appendLoop(AcDbHatch::kPolyline, Points({{0, 0}, {nan, 1}, {1, 1}}), Bulges({})), Acad::eOk);
  EXPECT_EQ(hatch.evaluateHatch(), Acad::eInvalidInput);
}

TEST_F(RegionsTest, AHatchInTheDrawingListsItsGroupsAndMoves) {
  auto* hatch = new AcDbHatch;
  hatch->setPattern(AcDbHatch::kPreDefined, L"ANSI31");
  hatch->setPatternScale(2);
  hatch->setPatternAngle(kPi / 4);
  hatch->appendLoop(AcDbHatch::kExternal | AcDbHatch::kPolyline, Points({{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}}),
                    Bulges({1, 0, 0, 0, 0}));
  ASSERT_EQ(hatch->evaluateHatch(), Acad::eOk);
  const AcDbObjectId id = standin::AddEntity(Db(), hatch);
  ads_name name;
  ASSERT_EQ(acdbGetAdsName(name, id), Acad::eOk);
  const auto data = tovutest::EntityData(name);
  EXPECT_EQ(tovutest::Find(data, 0)->text, L"HATCH");
  EXPECT_EQ(tovutest::Find(data, 2)->text, L"ANSI31");
  EXPECT_EQ(tovutest::Find(data, 71)->integer, 0);
  EXPECT_EQ(tovutest::Find(data, 91)->integer, 1);
  EXPECT_EQ(tovutest::Find(data, 92)->integer, 3);
  EXPECT_EQ(tovutest::Find(data, 72)->integer, 1) << "the loop has bulges";
  EXPECT_EQ(tovutest::Find(data, 93)->integer, 5);
  EXPECT_EQ(tovutest::Find(data, 42)->real, 1.0);
  EXPECT_NEAR(tovutest::Find(data, 52)->real, 45, 1e-9);
  EXPECT_EQ(tovutest::Find(data, 41)->real, 2.0);

  // The arc below the first side reaches y = -1.
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForWrite), Acad::eOk);
  AcDbExtents ext;
  ASSERT_EQ(ent->getGeomExtents(ext), Acad::eOk);
  EXPECT_NEAR(ext.minPoint().y, -1, 1e-9);
  // Doubled and turned a quarter about the origin: the pattern follows.
  AcGeMatrix3d m;
  m(0, 0) = 0, m(0, 1) = -2, m(1, 0) = 2, m(1, 1) = 0;
  ASSERT_EQ(ent->transformBy(m), Acad::eOk);
  auto* moved = AcDbHatch::cast(ent);
  EXPECT_DOUBLE_EQ(moved->patternScale(), 4);
  EXPECT_NEAR(moved->patternAngle(), 3 * kPi / 4, 1e-12);
  double area = 0;
  ASSERT_EQ(moved->getArea(area), Acad::eOk);
  EXPECT_NEAR(area, 4 * (4 + kPi / 2), 1e-9);
  AcGeMatrix3d uneven;
  uneven(0, 0) = 2;
  EXPECT_EQ(ent->transformBy(uneven), Acad::eCannotScaleNonUniformly);
  ent->close();
}

TEST_F(RegionsTest, RegionsComeFromClosedCurvesAndFromChainsThatClose) {
  // A closed polyline with a half circle, a circle, and a chain of a line and an arc (a half disc).
  AcDbPolyline pline;
  pline.addVertexAt(0, {0, 0}, 1);
  pline.addVertexAt(1, {2, 0});
  pline.addVertexAt(2, {2, 2});
  pline.addVertexAt(3, {0, 2});
  pline.setClosed(true);
  pline.setElevation(3);
  AcDbCircle circle(AcGePoint3d(10, 0, 0), AcGeVector3d::kZAxis, 2);
  AcDbArc arc(AcGePoint3d(20, 0, 0), 1, 0, kPi);
  AcDbLine diameter(AcGePoint3d(19, 0, 0), AcGePoint3d(21, 0, 0));
  AcDbLine stray(AcGePoint3d(50, 50, 0), AcGePoint3d(60, 50, 0));
  AcDbVoidPtrArray curves;
  curves.append(static_cast<AcDbCurve*>(&stray));
  curves.append(static_cast<AcDbCurve*>(&arc));
  curves.append(static_cast<AcDbCurve*>(&pline));
  curves.append(static_cast<AcDbCurve*>(&diameter));
  curves.append(static_cast<AcDbCurve*>(&circle));
  Regions regions;
  ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions.items), Acad::eOk);
  ASSERT_EQ(regions.items.length(), 3);
  EXPECT_NEAR(Area(regions.at(0)), 4 + kPi / 2, 1e-9);
  EXPECT_EQ(standin::DbAccess::Elevation(static_cast<AcDbRegion*>(regions.at(0))), 3);
  EXPECT_NEAR(Area(regions.at(1)), 4 * kPi, 1e-9);
  EXPECT_NEAR(Area(regions.at(2)), kPi / 2, 1e-9);
  double perimeter = 0;
  regions.at(2)->getPerimeter(perimeter);
  EXPECT_NEAR(perimeter, 2 + kPi, 1e-9);
  EXPECT_TRUE(regions.at(0)->objectId().isNull());
  EXPECT_FALSE(regions.at(0)->isNull());
  EXPECT_EQ(pline.numVerts(), 4u) << "the curves are left as they were";

  // Nothing closes: open polylines and lone arcs give no region.
  AcDbPolyline open;
  open.addVertexAt(0, {0, 0});
  open.addVertexAt(1, {5, 0});
  open.addVertexAt(2, {5, 5});
  AcDbVoidPtrArray openOnly;
  openOnly.append(static_cast<AcDbCurve*>(&open));
  openOnly.append(static_cast<AcDbCurve*>(&arc));
  Regions none;
  EXPECT_EQ(AcDbRegion::createFromCurves(openOnly, none.items), Acad::eInvalidInput);
  EXPECT_EQ(none.items.length(), 0);
  // ... unless its ends meet.
  open.addVertexAt(3, {0, 0});
  Regions closing;
  EXPECT_EQ(AcDbRegion::createFromCurves(openOnly, closing.items), Acad::eOk);
  ASSERT_EQ(closing.items.length(), 1);
  EXPECT_NEAR(Area(closing.at(0)), 12.5, 1e-9);

  // A closed polyline without area, a null pointer, a curve the stand-in does not follow.
  AcDbPolyline flat;
  flat.addVertexAt(0, {0, 0});
  flat.addVertexAt(1, {1, 0});
  flat.addVertexAt(2, {2, 0});
  flat.setClosed(true);
  AcDbVoidPtrArray bad;
  bad.append(static_cast<AcDbCurve*>(&flat));
  EXPECT_EQ(AcDbRegion::createFromCurves(bad, none.items), Acad::eInvalidInput);
  bad.append(nullptr);
  EXPECT_EQ(AcDbRegion::createFromCurves(bad, none.items), Acad::eInvalidInput);
  AcDb2dPolyline old;
  AcDbVoidPtrArray unsupported;
  unsupported.append(static_cast<AcDbCurve*>(&old));
  EXPECT_EQ(AcDbRegion::createFromCurves(unsupported, none.items), Acad::eNotImplementedYet);
  EXPECT_EQ(none.items.length(), 0);
}

TEST_F(RegionsTest, ObjectsOutsideTheDrawingAreCounted) {
  const long before = standin::FreeObjectCount();
  auto* hatch = new AcDbHatch;
  auto* line = new AcDbLine;
  EXPECT_EQ(standin::FreeObjectCount(), before + 2);
  delete hatch;
  EXPECT_EQ(standin::FreeObjectCount(), before + 1);
  standin::AddEntity(Db(), line);
  EXPECT_EQ(standin::FreeObjectCount(), before) << "the drawing owns it now";
  standin::OpenEmptyDrawing();
  EXPECT_EQ(standin::FreeObjectCount(), before) << "a closed drawing takes its objects with it";
}

TEST_F(RegionsTest, CurvesAreCurvesAndKnowWhetherTheyClose) {
  AcDbLine line;
  AcDbCircle circle;
  AcDbArc arc;
  AcDbPolyline pline;
  EXPECT_TRUE(line.isKindOf(AcDbCurve::desc()));
  EXPECT_TRUE(arc.isKindOf(AcDbCurve::desc()));
  EXPECT_FALSE(AcDbPoint().isKindOf(AcDbCurve::desc()));
  const AcDbCurve* curves[] = {&line, &circle, &arc, &pline};
  const bool closed[] = {false, true, false, false};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(curves[i]->isClosed(), closed[i]) << i;
  pline.setClosed(true);
  EXPECT_TRUE(static_cast<const AcDbCurve&>(pline).isClosed());
}

TEST_F(RegionsTest, GroupsCountAsHardReferencesOfTheirLiveMembers) {
  const AcDbObjectId a = standin::AddEntity(Db(), new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  const AcDbObjectId b = standin::AddEntity(Db(), new AcDbLine(AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0)));
  AcDbDictionary* dict = nullptr;
  ASSERT_EQ(Db()->getGroupDictionary(dict, AcDb::kForWrite), Acad::eOk);
  for (const wchar_t* key : {L"ONE", L"TWO"}) {
    auto* group = new AcDbGroup;
    AcDbObjectId id;
    ASSERT_EQ(dict->setAt(key, group, id), Acad::eOk);
    group->append(a);
    group->close();
  }
  dict->close();
  AcDbObjectIdArray ids;
  ids.append(a);
  ids.append(b);
  Adesk::UInt32 count = 0;
  ASSERT_EQ(Db()->countHardReferences(ids, &count), Acad::eOk);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(Db()->countHardReferences(ids, nullptr), Acad::eInvalidInput);
}

}  // namespace
