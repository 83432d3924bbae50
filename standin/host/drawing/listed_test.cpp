// The entity types of other programs' drawings that the host keeps as their DXF groups (and 3D
// polylines and hatches read from a file): what acdbEntGet lists, their extents, what a crossing
// picks, and how they move.
#include <acedads.h>
#include <dbapserv.h>
#include <dbelipse.h>
#include <dbents.h>
#include <gtest/gtest.h>

#include <cmath>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/dxf.h"
#include "standin/host/drawing/shape.h"
#include "standin/win32/utf8.h"
#include "testing/EntityData.h"

namespace {

using tovutest::ByHandle;
using tovutest::EntityData;
using tovutest::Find;

const char kBlocks[] =
    "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\n*"
    "D0\n10\n0\n20\n0\n0\nLINE\n10\n0\n20\n0\n11\n5\n21\n0\n0\nENDBLK\n0\nENDSEC\n";

const char kEntities[] =
    "0\nSOLID\n5\nA1\n10\n0\n20\n0\n11\n2\n21\n0\n12\n0\n22\n1\n13\n2\n23\n1\n"
    "0\n3DFACE\n5\nA2\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n1\n22\n1\n32\n1\n13\n0\n23\n1\n33\n1\n"
    "0\nELLIPSE\n5\nA3\n10\n10\n20\n0\n11\n2\n21\n0\n40\n0.5\n41\n0\n42\n3.141592653589793\n"
    "0\nSPLINE\n5\nA4\n71\n2\n40\n0\n40\n0\n40\n0\n40\n1\n40\n1\n40\n1\n10\n0\n20\n0\n10\n1\n20\n2\n10\n2\n20\n0\n"
    "0\nRAY\n5\nA5\n10\n0\n20\n0\n11\n1\n21\n0\n"
    "0\nLEADER\n5\nA6\n76\n2\n10\n0\n20\n0\n10\n3\n20\n4\n"
    "0\nMTEXT\n5\nA7\n10\n0\n20\n0\n40\n1\n71\n1\n1\nAB\\PC\n"
    "0\nHATCH\n5\nA8\n10\n0\n20\n0\n30\n0\n2\nSOLID\n70\n1\n71\n0\n91\n1\n92\n1\n93\n4\n72\n1\n10\n0\n20\n0\n11\n4\n21"
    "\n0\n"
    "72\n2\n10\n4\n20\n2\n40\n2\n50\n-"
    "90\n51\n90\n73\n1\n72\n1\n10\n4\n20\n4\n11\n0\n21\n4\n72\n1\n10\n0\n20\n4\n11\n0\n21\n0\n"
    "97\n0\n75\n0\n76\n1\n98\n0\n"
    "0\nDIMENSION\n5\nA9\n2\n*D0\n10\n5\n20\n1\n70\n0\n"
    "0\nPOLYLINE\n5\nAA\n66\n1\n70\n8\n0\nVERTEX\n5\nAB\n10\n0\n20\n0\n30\n0\n70\n32\n0\nVERTEX\n5\nAC\n10\n2\n20\n0\n3"
    "0\n3\n"
    "70\n32\n0\nSEQEND\n5\nAD\n";

class ListedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Session::Get().Reset();
    std::wstring error;
    std::vector<std::wstring> skipped, notes;
    const std::string file = std::string(kBlocks) + "0\nSECTION\n2\nENTITIES\n" + kEntities + "0\nENDSEC\n0\nEOF\n";
    auto db = standin::ReadDxf(file, L"kinds.dxf", error, &skipped, &notes);
    ASSERT_NE(db, nullptr) << standin::ToUtf8(error);
    EXPECT_TRUE(skipped.empty());
    EXPECT_TRUE(notes.empty()) << standin::ToUtf8(notes[0]);
    standin::OpenDrawing(std::move(db));
  }
  void TearDown() override { standin::Session::Get().Reset(); }

  static AcDbExtents Extents(const wchar_t* handle) {
    AcDbObjectId id;
    EXPECT_EQ(acdbGetObjectId(id, ByHandle(handle).n), Acad::eOk);
    AcDbEntity* ent = nullptr;
    AcDbExtents ext;
    if (acdbOpenAcDbEntity(ent, id, AcDb::kForRead) != Acad::eOk) return ext;
    EXPECT_EQ(ent->getGeomExtents(ext), Acad::eOk) << handle;
    ent->close();
    return ext;
  }
  static Acad::ErrorStatus Move(const wchar_t* handle, const AcGeMatrix3d& m) {
    AcDbObjectId id;
    acdbGetObjectId(id, ByHandle(handle).n);
    AcDbEntity* ent = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbEntity(ent, id, AcDb::kForWrite);
    if (es != Acad::eOk) return es;
    es = ent->transformBy(m);
    ent->close();
    return es;
  }
  // The entities a small crossing box around x,y selects.
  static long Crossed(double x, double y) {
    const ads_point a = {x - 0.05, y - 0.05, 0}, b = {x + 0.05, y + 0.05, 0};
    ads_name set;
    long n = 0;
    if (acedSSGet(L"C", a, b, nullptr, set) != RTNORM) return 0;
    acedSSLength(set, &n);
    acedSSFree(set);
    return n;
  }
};

void ExpectBox(const AcDbExtents& ext, double x0, double y0, double z0, double x1, double y1, double z1) {
  EXPECT_NEAR(ext.minPoint().x, x0, 1e-6);
  EXPECT_NEAR(ext.minPoint().y, y0, 1e-6);
  EXPECT_NEAR(ext.minPoint().z, z0, 1e-6);
  EXPECT_NEAR(ext.maxPoint().x, x1, 1e-6);
  EXPECT_NEAR(ext.maxPoint().y, y1, 1e-6);
  EXPECT_NEAR(ext.maxPoint().z, z1, 1e-6);
}

TEST_F(ListedTest, DataListsTheFilesGroupsUnderTheTypesMarker) {
  const auto ellipse = EntityData(ByHandle(L"A3"));
  ASSERT_FALSE(ellipse.empty());
  EXPECT_EQ(Find(ellipse, 0)->text, L"ELLIPSE");
  EXPECT_EQ(Find(ellipse, 100, 1)->text, L"AcDbEllipse");
  EXPECT_EQ(Find(ellipse, 11)->point[0], 2);
  EXPECT_EQ(Find(ellipse, 40)->real, 0.5);
  const auto spline = EntityData(ByHandle(L"A4"));
  EXPECT_EQ(Find(spline, 71)->integer, 2);
  EXPECT_EQ(Find(spline, 10, 1)->point[1], 2);
  EXPECT_EQ(Find(spline, 40, 5)->real, 1);
  EXPECT_EQ(Find(EntityData(ByHandle(L"A7")), 1)->text, L"AB\\PC");
  EXPECT_EQ(Find(EntityData(ByHandle(L"A9")), 2)->text, L"*D0");
  // The hatch's edges arrive as one polyline path: the arc as a bulge of a half turn.
  const auto hatch = EntityData(ByHandle(L"A8"));
  EXPECT_EQ(Find(hatch, 2)->text, L"SOLID");
  EXPECT_EQ(Find(hatch, 93)->integer, 4);
  EXPECT_NEAR(Find(hatch, 42, 1)->real, 1, 1e-12);
  // The 3D polyline walks through its vertices to its sequence end.
  EXPECT_EQ(Find(EntityData(ByHandle(L"AC")), 100, 2)->text, L"AcDb3dPolylineVertex");
  EXPECT_EQ(Find(EntityData(ByHandle(L"AC")), 10)->point[2], 3);
  EXPECT_EQ(Find(EntityData(ByHandle(L"AD")), 0)->text, L"SEQEND");
}

TEST_F(ListedTest, ExtentsAndPicksFollowTheCurvesDrawn) {
  ExpectBox(Extents(L"A1"), 0, 0, 0, 2, 1, 0);
  ExpectBox(Extents(L"A2"), 0, 0, 0, 1, 1, 1);
  ExpectBox(Extents(L"A3"), 8, 0, 0, 12, 1, 0);  // the upper half of the ellipse
  ExpectBox(Extents(L"A4"), 0, 0, 0, 2, 1, 0);   // the curve reaches half way to its middle control point
  ExpectBox(Extents(L"A5"), 0, 0, 0, 1e8, 0, 0);
  ExpectBox(Extents(L"A6"), 0, 0, 0, 3, 4, 0);
  ExpectBox(Extents(L"A7"), 0, -1 - 5.0 / 3, 0, 2, 0, 0);  // two lines below the top-left corner
  ExpectBox(Extents(L"A8"), 0, 0, 0, 6, 4, 0);
  ExpectBox(Extents(L"A9"), 0, 0, 0, 5, 0, 0);  // its block
  ExpectBox(Extents(L"AA"), 0, 0, 0, 2, 0, 3);
  EXPECT_EQ(Crossed(10, 1), 1);    // the top of the ellipse
  EXPECT_EQ(Crossed(10, 0.5), 0);  // inside it
  EXPECT_EQ(Crossed(1, 0.5), 2);   // the filled solid and an edge of the face; the hatch only by its outline
}

TEST_F(ListedTest, MovesTakeEveryPointDirectionAndBlockAlong) {
  AcGeMatrix3d quarter;  // a quarter turn about the origin, then 10,20 along
  quarter(0, 0) = 0, quarter(0, 1) = -1, quarter(1, 0) = 1, quarter(1, 1) = 0;
  quarter(0, 3) = 10, quarter(1, 3) = 20;
  for (const wchar_t* h : {L"A1", L"A2", L"A3", L"A4", L"A5", L"A6", L"A7", L"A8", L"A9", L"AA"})
    EXPECT_EQ(Move(h, quarter), Acad::eOk) << standin::ToUtf8(h);
  ExpectBox(Extents(L"A1"), 9, 20, 0, 10, 22, 0);
  ExpectBox(Extents(L"A3"), 9, 28, 0, 10, 32, 0);
  ExpectBox(Extents(L"A9"), 10, 20, 0, 10, 25, 0);
  ExpectBox(Extents(L"AA"), 10, 20, 0, 10, 22, 3);
  const auto ellipse = EntityData(ByHandle(L"A3"));
  EXPECT_NEAR(Find(ellipse, 11)->point[1], 2, 1e-12);
  EXPECT_NEAR(Find(EntityData(ByHandle(L"A5")), 11)->point[1], 1, 1e-12);
  EXPECT_NEAR(Find(EntityData(ByHandle(L"A9")), 10)->point[0], 9, 1e-12);

  // A mirror keeps the same half of the ellipse drawn, now on the other side of its axis.
  AcGeMatrix3d mirror;
  mirror(0, 0) = -1;
  ASSERT_EQ(Move(L"A3", mirror), Acad::eOk);
  ExpectBox(Extents(L"A3"), -10, 28, 0, -9, 32, 0);
  // Lengths and angles cannot follow a stretch; corners and vertices can.
  AcGeMatrix3d stretch;
  stretch(0, 0) = 2;
  EXPECT_EQ(Move(L"A3", stretch), Acad::eCannotScaleNonUniformly);
  EXPECT_EQ(Move(L"A7", stretch), Acad::eCannotScaleNonUniformly);
  EXPECT_EQ(Move(L"A2", stretch), Acad::eOk);
  AcGeMatrix3d tilt;  // a quarter turn about X takes planar entities out of their plane
  tilt(1, 1) = 0, tilt(1, 2) = -1, tilt(2, 1) = 1, tilt(2, 2) = 0;
  EXPECT_EQ(Move(L"A1", tilt), Acad::eNotApplicable);
  EXPECT_EQ(Move(L"AA", tilt), Acad::eOk);
}

}  // namespace
