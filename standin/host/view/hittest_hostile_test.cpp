// Hit-testing and selection against drawings made to break them: angles far outside one turn,
// blocks nested to ask for billions of entities, transforms that overflow, and the hand-made files
// that found those faults.
#include <acedads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/view/hittest.h"
#include "standin/host/view/views.h"
#include "standin/win32/utf8.h"

namespace {

using standin::Session;
using standin::Shape;

class HostileGeometryTest : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override { Session::Get().Reset(); }
};

AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }

// How many entities acedSSGet finds with the mode over the box of a and b (0 when it refuses),
// zoomed first to show the box, as windows select only what the view shows.
long Selected(const wchar_t* mode, double ax, double ay, double bx, double by) {
  const double a[3] = {ax, ay, 0}, b[3] = {bx, by, 0};
  const double center[3] = {(ax + bx) / 2, (ay + by) / 2, 0};
  standin::ZoomTo(center, 1.1 * std::max(std::fabs(by - ay), std::fabs(bx - ax) * 0.75));
  ads_name ss;
  if (acedSSGet(mode, a, b, nullptr, ss) != RTNORM) return 0;
  long n = 0;
  acedSSLength(ss, &n);
  acedSSFree(ss);
  return n;
}

Shape ShapeOf(AcDbObjectId id) {
  AcDbEntity* ent = nullptr;
  Shape shape;
  if (acdbOpenAcDbEntity(ent, id, AcDb::kForRead) != Acad::eOk) return shape;
  standin::DbAccess::ShapeOf(ent, shape);
  ent->close();
  return shape;
}

// The angle in [0, 2 pi).
double InTurn(double a) {
  const double r = std::fmod(a, 2 * standin::kPi);
  return r < 0 ? r + 2 * standin::kPi : r;
}

TEST_F(HostileGeometryTest, ArcAnglesOfAnySizeTakeOneTurnAtMost) {
  standin::OpenEmptyDrawing();
  // Seen from below (normal -Z) an arc runs clockwise in the world: the arc from s to e is the
  // mirror image of the world arc from pi - e to pi - s.
  const double angles[][2] = {{1e20, 0}, {0, 1e9}, {-7e15, 3}, {2, 2 + 1e12}, {0.5, 0.5 + 4 * standin::kPi}};
  for (const auto& [start, end] : angles) {
    const AcDbObjectId below =
        standin::AddEntity(Db(), new AcDbArc(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, -1), 1, start, end));
    const AcDbObjectId above = standin::AddEntity(
        Db(), new AcDbArc(AcGePoint3d(0, 0, 0), 1, standin::kPi - InTurn(end), standin::kPi - InTurn(start)));
    const Shape s = ShapeOf(below);
    EXPECT_LE(s.segments.size(), static_cast<size_t>(standin::kStepsPerTurn)) << start << " " << end;
    AcDbExtents e1, e2;
    ASSERT_TRUE(s.Extents(e1));
    ASSERT_TRUE(ShapeOf(above).Extents(e2));
    for (const auto& [a, b] :
         {std::make_pair(e1.minPoint(), e2.minPoint()), std::make_pair(e1.maxPoint(), e2.maxPoint())}) {
      EXPECT_NEAR(a.x, b.x, 1e-3) << start << " " << end;
      EXPECT_NEAR(a.y, b.y, 1e-3) << start << " " << end;
    }
  }
  // A window around them all takes every one, and ends at once.
  EXPECT_EQ(Selected(L"W", -2, -2, 2, 2), 10);
}

// A chain of blocks: L0 holds the leaf (within 0,0 and 1,1), each next one ten references to the
// one below side by side; the last one's name.
std::wstring FanOut(int levels, AcDbEntity* leaf) {
  AcDbObjectId lower = standin::AddBlock(Db(), L"L0", {leaf});
  double step = 2;
  std::wstring name = L"L0";
  for (int level = 1; level <= levels; ++level, step *= 10) {
    std::vector<AcDbEntity*> refs;
    for (int i = 0; i < 10; ++i) refs.push_back(new AcDbBlockReference(AcGePoint3d(i * step, 0, 0), lower));
    name = L"L" + std::to_wstring(level);
    lower = standin::AddBlock(Db(), name.c_str(), refs);
  }
  return name;
}

TEST_F(HostileGeometryTest, NestedBlocksAreSelectedWithoutDrawingEveryEntity) {
  standin::OpenEmptyDrawing();
  // 100,000 lines from x 0 to 2e5: the outline stays well below that, and a window still needs
  // all of them inside.
  const AcDbObjectId lines = standin::AddBlockReference(
      Db(), FanOut(5, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0))).c_str(), AcGePoint3d(0, 0, 0), 0);
  EXPECT_LT(ShapeOf(lines).Pieces(), 60000u);
  EXPECT_EQ(Selected(L"W", -1, -1, 2e5 + 1, 2), 1);
  EXPECT_EQ(Selected(L"W", -1, -1, 1.9e5, 2), 0);
  // The last line, drawn or not, is found by a crossing; the first ones are drawn exactly, so the
  // gap between the first two is empty.
  EXPECT_EQ(Selected(L"C", 199998.4, 0.3, 199998.6, 0.7), 1);
  EXPECT_EQ(Selected(L"C", 1.2, 0.2, 1.8, 0.4), 0);

  // Circles that a scale in x alone turns into chains of segments count as those segments.
  standin::OpenEmptyDrawing();
  const AcDbObjectId circles = standin::AddBlockReference(
      Db(), FanOut(5, new AcDbCircle(AcGePoint3d(0.5, 0.5, 0), AcGeVector3d::kZAxis, 0.5)).c_str(),
      AcGePoint3d(0, 0, 0), 0);
  AcDbBlockReference* stretched = nullptr;
  ASSERT_EQ(acdbOpenObject(stretched, circles, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(stretched->setScaleFactors(AcGeScale3d(2, 1, 1)), Acad::eOk);
  stretched->close();
  EXPECT_LT(ShapeOf(circles).Pieces(), 60000u);
  EXPECT_EQ(Selected(L"W", -1, -1, 4e5 + 1, 2), 1);
  EXPECT_EQ(Selected(L"W", -1, -1, 3.9e5, 2), 0);

  // An ordinary reference is drawn exactly: turned by 45 degrees, an L of two unit lines fits a
  // window its turned extents would not fit, and a pick inside those extents misses it.
  standin::OpenEmptyDrawing();
  standin::AddBlock(Db(), L"ELL",
                    {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)),
                     new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 1, 0))});
  standin::AddBlockReference(Db(), L"ELL", AcGePoint3d(0, 0, 0), standin::kPi / 4);
  EXPECT_EQ(Selected(L"W", -0.8, -0.1, 0.8, 0.8), 1);
  EXPECT_EQ(Selected(L"C", -0.05, 1.1, 0.05, 1.2), 0);
}

TEST_F(HostileGeometryTest, GeometryThatOverflowsIsNeverSelected) {
  standin::OpenEmptyDrawing();
  const AcDbObjectId unit =
      standin::AddBlock(Db(), L"UNIT", {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0))});
  auto* scaled = new AcDbBlockReference(AcGePoint3d(0, 0, 0), unit);
  ASSERT_EQ(scaled->setScaleFactors(AcGeScale3d(1e200, 1e200, 1)), Acad::eOk);
  standin::AddBlock(Db(), L"HUGE", {scaled});
  const AcDbObjectId twice = standin::AddBlockReference(Db(), L"HUGE", AcGePoint3d(0, 0, 0), 0);
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, twice, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(ref->setScaleFactors(AcGeScale3d(1e200, 1e200, 1)), Acad::eOk);
  ref->close();
  const double inf = std::numeric_limits<double>::infinity();
  standin::AddEntity(Db(), new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(inf, 0, 0)));
  standin::AddEntity(Db(), new AcDbPoint(AcGePoint3d(std::nan(""), 0, 0)));
  AcDbExtents ext;
  EXPECT_FALSE(ShapeOf(twice).Extents(ext));
  for (const wchar_t* mode : {L"W", L"C"}) {
    EXPECT_EQ(Selected(mode, -1, -1, 1, 1), 0) << mode;
    EXPECT_EQ(Selected(mode, -1e308, -1e308, 1e308, 1e308), 0) << mode;
  }
}

// The hand-made files that found the faults, with the windows of the scripts that go with them.
TEST_F(HostileGeometryTest, HandMadeDrawingsAreSelectedAtOnce) {
  const std::filesystem::path dir = std::filesystem::path(TOVU_SOURCE_DIR) / "../shared/testdata/hostile";
  if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << dir << " is absent";
  auto open = [&](const char* name) {
    std::wstring error;
    const bool ok = standin::OpenDxfDrawing(standin::FromUtf8((dir / name).string()), error);
    EXPECT_TRUE(ok) << name << ": " << standin::ToUtf8(error);
    return ok;
  };
  for (const char* name : {"dxf_arc_ocs_start_angle_1e20_hang.dxf", "dxf_arc_ocs_end_angle_1e9_memory.dxf",
                           "dxf_block_fanout_10pow9_memory.dxf"})
    if (open(name)) {
      EXPECT_EQ(Selected(L"W", -1e9, -1e9, 1e9, 1e9), 1) << name;
    }
  if (open("dxf_nested_scale_overflow_selected.dxf")) {
    EXPECT_EQ(Selected(L"W", -1, -1, 1, 1), 0);
    EXPECT_EQ(Selected(L"C", -1, -1, 1, 1), 0);
  }
}

}  // namespace
