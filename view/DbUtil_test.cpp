// Database utilities: attributed block references, regions and hatches from polylines, groups
// from sets and back, hard references, loaded modules and colours. Every test ends with no
// object of the drawing left open (the fixture checks it, and each call is checked on its own).
#include "view/DbUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "image/ColorToRGB.h"
#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/win32/utf8.h"
#include "testing/DrawingTest.h"
#include "testing/EntityData.h"
#include "testing/TempDir.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

class DbUtilTest : public tovutest::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    standin::OpenEmptyDrawing();
    m_free = standin::FreeObjectCount();
  }
  // Whatever a call made and did not hand back or add to the drawing is deleted again.
  void TearDown() override {
    EXPECT_EQ(standin::FreeObjectCount(), m_free) << "objects outside the drawing were left behind";
    DrawingTest::TearDown();
  }
  // What the module call just done left open; 0 for a well-behaved call.
  int LeftOpen(const wchar_t* operation) { return standin::ReportObjectsLeftOpen(operation); }
  AcDbObjectId Line(double x0, double y0, double x1, double y1) {
    return standin::AddEntity(Db(), new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0)));
  }
  // The members of the named group, in order (none when there is no such group).
  std::vector<AcDbObjectId> Members(const wchar_t* name, bool* selectable = nullptr) {
    std::vector<AcDbObjectId> out;
    AcDbDictionary* dict = nullptr;
    if (Db()->getGroupDictionary(dict, AcDb::kForRead) != Acad::eOk) return out;
    AcDbObjectId id;
    AcDbGroup* group = nullptr;
    if (dict->getAt(name, id) == Acad::eOk && acdbOpenObject(group, id, AcDb::kForRead) == Acad::eOk) {
      AcDbObjectIdArray ids;
      group->allEntityIds(ids);
      for (int i = 0; i < ids.length(); ++i) out.push_back(ids[i]);
      if (selectable) *selectable = group->isSelectable();
      group->close();
    }
    dict->close();
    return out;
  }
  std::vector<std::wstring> GroupNames() {
    std::vector<std::wstring> out;
    AcDbDictionary* dict = nullptr;
    if (Db()->getGroupDictionary(dict, AcDb::kForRead) != Acad::eOk) return out;
    AcDbDictionaryIterator* it = dict->newIterator();
    for (; !it->done(); it->next()) out.push_back(it->name());
    delete it;
    dict->close();
    return out;
  }
  std::vector<AcDbObjectId> Ids(const ZoAdsEntSet& set) {
    std::vector<AcDbObjectId> out;
    for (long i = 0; i < set.GetLength(); ++i) out.push_back(set[i].GetObjectId());
    return out;
  }

  long m_free = 0;
};

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

// --- Attributed block references ---

TEST_F(DbUtilTest, AttributesComeFromTheDefinitionsAtTheTransformedPlaces) {
  auto* number = new AcDbAttributeDefinition(AcGePoint3d(2, 1, 0), L"D1", L"NO", L"Door number");
  number->setHeight(0.5);
  auto* width = new AcDbAttributeDefinition(AcGePoint3d(0, 3, 0), L"900", L"WIDTH", L"Width");
  width->setHeight(0.25);
  width->setRotation(0.1);
  auto* erased = new AcDbAttributeDefinition(AcGePoint3d(5, 5, 0), L"X", L"GONE", L"");
  const AcDbObjectId block = standin::AddBlock(
      Db(), L"DOOR", {new AcDbLine(AcGePoint3d(1, 1, 0), AcGePoint3d(3, 1, 0)), number, width, erased},
      AcGePoint3d(1, 1, 0));
  AcDbBlockTableRecord* rec = nullptr;
  ASSERT_EQ(acdbOpenObject(rec, block, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecordIterator* it = nullptr;
  rec->newIterator(it);
  AcDbObjectId erasedId;
  for (; !it->done(); it->step()) it->getEntityId(erasedId);
  delete it;
  rec->close();
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, erasedId, AcDb::kForWrite), Acad::eOk);
  ent->erase();
  ent->close();

  CreateAttributeBlock(block, AcGePoint3d(100, 50, 0), AcGeScale3d(2, 2, 1), kPi / 2);
  EXPECT_EQ(LeftOpen(L"CreateAttributeBlock"), 0);

  ads_name last;
  ASSERT_EQ(acdbEntLast(last), RTNORM);
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, ZoAdsEnt(last).GetObjectId(), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(ref->blockTableRecord(), block);
  EXPECT_EQ(ref->position(), AcGePoint3d(100, 50, 0));
  EXPECT_EQ(ref->scaleFactors(), AcGeScale3d(2, 2, 1));
  EXPECT_DOUBLE_EQ(ref->rotation(), kPi / 2);
  EXPECT_EQ(ref->blockId(), Db()->currentSpaceId());

  // Block point p lands at the insertion point + R(90 degrees) * 2 * (p - origin).
  struct Want {
    const wchar_t* tag;
    const wchar_t* value;
    double x, y, height, rotation;
  };
  const Want want[] = {{L"NO", L"D1", 100, 52, 1.0, kPi / 2}, {L"WIDTH", L"900", 96, 48, 0.5, kPi / 2 + 0.1}};
  AcDbObjectIterator* atts = ref->attributeIterator();
  size_t n = 0;
  for (; !atts->done(); atts->step(), ++n) {
    AcDbAttribute* att = nullptr;
    ASSERT_EQ(acdbOpenObject(att, atts->objectId(), AcDb::kForRead), Acad::eOk);
    ASSERT_LT(n, 2u) << "one attribute per live definition";
    EXPECT_STREQ(att->tagConst(), want[n].tag);
    EXPECT_STREQ(att->textStringConst(), want[n].value);
    EXPECT_NEAR(att->position().x, want[n].x, 1e-9);
    EXPECT_NEAR(att->position().y, want[n].y, 1e-9);
    EXPECT_NEAR(att->height(), want[n].height, 1e-12);
    EXPECT_NEAR(att->rotation(), want[n].rotation, 1e-12);
    EXPECT_EQ(att->ownerId(), ref->objectId());
    att->close();
  }
  EXPECT_EQ(n, 2u);
  delete atts;
  ref->close();
}

TEST_F(DbUtilTest, AReferenceStaysWithoutAttributesWhenTheBlockHasNoneOrCannotBeRead) {
  const AcDbObjectId plain =
      standin::AddBlock(Db(), L"PLAIN", {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0))});
  auto countRefs = [&] {
    int refs = 0, atts = 0;
    for (const std::wstring& handle : tovutest::Walk()) {
      const std::wstring type = tovutest::TypeOf(ZoAdsEnt(tovutest::ByHandle(handle.c_str())));
      refs += type == L"INSERT";
      atts += type == L"ATTRIB";
    }
    return std::make_pair(refs, atts);
  };
  CreateAttributeBlock(plain, AcGePoint3d(5, 5, 0), AcGeScale3d(1), 0);
  EXPECT_EQ(LeftOpen(L"CreateAttributeBlock"), 0);
  EXPECT_EQ(countRefs(), std::make_pair(1, 0));

  // A block definition open for write elsewhere cannot be read: the reference stays alone.
  const AcDbObjectId tagged =
      standin::AddBlock(Db(), L"TAGGED", {new AcDbAttributeDefinition(AcGePoint3d(0, 0, 0), L"1", L"N", L"")});
  AcDbBlockTableRecord* busy = nullptr;
  ASSERT_EQ(acdbOpenObject(busy, tagged, AcDb::kForWrite), Acad::eOk);
  CreateAttributeBlock(tagged, AcGePoint3d(7, 7, 0), AcGeScale3d(1), 0);
  EXPECT_EQ(LeftOpen(L"CreateAttributeBlock"), 1) << "only the definition held by the test";
  busy->close();
  EXPECT_EQ(countRefs(), std::make_pair(2, 0));

  CreateAttributeBlock(tagged, AcGePoint3d(9, 9, 0), AcGeScale3d(1), 0);
  EXPECT_EQ(LeftOpen(L"CreateAttributeBlock"), 0);
  EXPECT_EQ(countRefs(), std::make_pair(3, 1));
}

// --- Regions ---

TEST_F(DbUtilTest, RegionsComeOnlyFromClosedPolylinesArcsIncluded) {
  std::unique_ptr<AcDbRegion> region(CreateRegionFromPoly2d(Tombstone()));
  ASSERT_NE(region, nullptr);
  EXPECT_TRUE(region->objectId().isNull()) << "the caller's, in no drawing";
  double area = 0;
  region->getArea(area);
  EXPECT_NEAR(area, 4 + kPi / 2, 1e-9) << "the half circle bulges outwards";
  AcDbExtents ext;
  ASSERT_EQ(region->getGeomExtents(ext), Acad::eOk);
  EXPECT_NEAR(ext.minPoint().y, -1, 1e-9);

  // A circle as two half turns.
  region.reset(CreateRegionFromPoly2d(Poly({{ZoGePoint(0, 0), kPi}, {ZoGePoint(4, 0), kPi}}, true)));
  ASSERT_NE(region, nullptr);
  region->getArea(area);
  EXPECT_NEAR(area, 4 * kPi, 1e-9);

  // The same outline left open, even with its ends together, gives nothing.
  EXPECT_EQ(CreateRegionFromPoly2d(Poly({{ZoGePoint(0, 0), 0}, {ZoGePoint(2, 0), 0}, {ZoGePoint(2, 2), 0}}, false)),
            nullptr);
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

// --- Hatches ---

TEST_F(DbUtilTest, HatchPatternArgumentsScaleAndName) {
  struct Case {
    const wchar_t* argument;
    const wchar_t* name;
    double scale;
  };
  const Case cases[] = {{L"ANSI31:2", L"ANSI31", 20},  {L"ANSI31:0", L"ANSI31", 10},   {L"ANSI31", L"ANSI31", 10},
                        {L"ANSI31:0.5", L"ANSI31", 5}, {L"AR-CONC:x", L"AR-CONC", 10}, {L"net:3:4", L"net", 30}};
  for (const Case& c : cases) {
    std::unique_ptr<AcDbHatch> hatch(CreateHatchFromPoly2d(Tombstone(), c.argument, 10, 0.25));
    ASSERT_NE(hatch, nullptr) << standin::ToUtf8(c.argument);
    EXPECT_STREQ(hatch->patternName(), c.name);
    EXPECT_DOUBLE_EQ(hatch->patternScale(), c.scale) << standin::ToUtf8(c.argument);
    EXPECT_DOUBLE_EQ(hatch->patternAngle(), 0.25);
    EXPECT_EQ(hatch->patternType(), AcDbHatch::kPreDefined);
    EXPECT_EQ(hatch->hatchStyle(), AcDbHatch::kNormal);
    EXPECT_FALSE(hatch->associative());
    EXPECT_TRUE(hatch->objectId().isNull());
  }
}

TEST_F(DbUtilTest, HatchLoopsCarryBulgesAsQuarterAngleTangents) {
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
}

TEST_F(DbUtilTest, RefusedHatchesAreDeletedAndNothingIsLeft) {
  // An unknown pattern, an empty name, outlines without area, no outline at all.
  EXPECT_EQ(CreateHatchFromPoly2d(Tombstone(), L"NO_SUCH_PATTERN", 1, 0), nullptr);
  EXPECT_EQ(CreateHatchFromPoly2d(Tombstone(), L":2", 1, 0), nullptr);
  EXPECT_EQ(CreateHatchFromPoly2d(Tombstone(), L"", 1, 0), nullptr);
  EXPECT_EQ(CreateHatchFromPoly2d(Poly({{ZoGePoint(0, 0), 0}, {ZoGePoint(3, 0), 0}, {ZoGePoint(6, 0), 0}}, true),
                                  L"ANSI31", 1, 0),
            nullptr);
  EXPECT_EQ(CreateHatchFromPoly2d(Poly({{ZoGePoint(1, 1), 0}}, true), L"ANSI31", 1, 0), nullptr);
  EXPECT_EQ(CreateHatchFromPoly2d(ZoGePolyline2d(0, false), L"ANSI31", 1, 0), nullptr);
  // Two vertices joined by two half circles do enclose an area.
  std::unique_ptr<AcDbHatch> disc(
      CreateHatchFromPoly2d(Poly({{ZoGePoint(0, 0), kPi}, {ZoGePoint(2, 0), kPi}}, false), L"ansi31", 1, 0));
  EXPECT_NE(disc, nullptr) << "pattern names ignore case; hatch loops are closed whatever the polyline says";
  EXPECT_EQ(LeftOpen(L"CreateHatchFromPoly2d"), 0);
  EXPECT_TRUE(tovutest::Walk().empty());
}

// --- Hard references ---

TEST_F(DbUtilTest, HardReferencesAreCountedInTheGivenOrWorkingDrawing) {
  const AcDbObjectId used = standin::AddLayer(Db(), L"USED");
  const AcDbObjectId unused = standin::AddLayer(Db(), L"UNUSED");
  const AcDbObjectId block = standin::AddBlock(Db(), L"B", {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0))});
  const AcDbObjectId lonely = standin::AddBlock(Db(), L"LONELY", {});
  const AcDbObjectId line = standin::AddEntity(Db(), new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), L"USED");
  const AcDbObjectId loose = Line(0, 1, 1, 1);
  standin::AddBlockReference(Db(), L"B", AcGePoint3d(5, 5, 0), 0);

  EXPECT_TRUE(IsHardReferenced(used));
  EXPECT_FALSE(IsHardReferenced(unused));
  EXPECT_TRUE(IsHardReferenced(block, Db()));
  EXPECT_FALSE(IsHardReferenced(lonely, Db()));
  EXPECT_FALSE(IsHardReferenced(line));
  EXPECT_FALSE(IsHardReferenced(AcDbObjectId::kNull));

  // A group holds its members by hard references.
  ZoAdsEntSet set;
  set += line;
  ASSERT_TRUE(MakeGroup(set, L"KEEP", false));
  EXPECT_TRUE(IsHardReferenced(line));
  EXPECT_FALSE(IsHardReferenced(loose));
  // Once the only referring entity is erased, the layer is free again.
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, line, AcDb::kForWrite), Acad::eOk);
  ent->erase();
  ent->close();
  EXPECT_FALSE(IsHardReferenced(used));
  EXPECT_EQ(LeftOpen(L"IsHardReferenced"), 0);
}

// --- Groups ---

TEST_F(DbUtilTest, MakeGroupCreatesAddsOrReplacesMembers) {
  const AcDbObjectId a = Line(0, 0, 1, 0), b = Line(0, 1, 1, 1), c = Line(0, 2, 1, 2), d = Line(0, 3, 1, 3);
  ZoAdsEntSet ab;
  ab += a;
  ab += b;
  bool selectable = true;
  ASSERT_TRUE(MakeGroup(ab, L"WALLS", false));
  EXPECT_EQ(LeftOpen(L"MakeGroup"), 0);
  EXPECT_EQ(Members(L"WALLS", &selectable), (std::vector<AcDbObjectId>{a, b}));
  EXPECT_FALSE(selectable);
  EXPECT_EQ(GroupNames(), std::vector<std::wstring>{L"WALLS"});

  // Without clear the set joins the members; one already there is no failure.
  ZoAdsEntSet bc;
  bc += b;
  bc += c;
  ASSERT_TRUE(MakeGroup(bc, L"walls", false));
  EXPECT_EQ(Members(L"WALLS"), (std::vector<AcDbObjectId>{a, b, c}));
  EXPECT_EQ(GroupNames().size(), 1u) << "the existing group was used";

  // An existing selectable group is made not selectable; with clear it holds exactly the set.
  AcDbGroup* group = nullptr;
  AcDbObjectId groupId;
  AcDbDictionary* dict = nullptr;
  ASSERT_EQ(Db()->getGroupDictionary(dict, AcDb::kForRead), Acad::eOk);
  dict->getAt(L"WALLS", groupId);
  dict->close();
  ASSERT_EQ(acdbOpenObject(group, groupId, AcDb::kForWrite), Acad::eOk);
  group->setSelectable(true);
  group->close();
  ZoAdsEntSet dc;
  dc += d;
  dc += c;
  ASSERT_TRUE(MakeGroup(dc, L"WALLS", true));
  EXPECT_EQ(Members(L"WALLS", &selectable), (std::vector<AcDbObjectId>{d, c}));
  EXPECT_FALSE(selectable);
  EXPECT_EQ(LeftOpen(L"MakeGroup"), 0);

  // An empty set still makes the group.
  ZoAdsEntSet none;
  EXPECT_TRUE(MakeGroup(none, L"EMPTY", false));
  EXPECT_TRUE(Members(L"EMPTY").empty());
  EXPECT_EQ(GroupNames().size(), 2u);
}

TEST_F(DbUtilTest, MakeGroupStopsAtTheFirstRefusedEntityAndKeepsThoseBefore) {
  const AcDbObjectId a = Line(0, 0, 1, 0), b = Line(0, 1, 1, 1), c = Line(0, 2, 1, 2);
  ZoAdsEntSet set;
  set += a;
  set += b;
  set += c;
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, b, AcDb::kForWrite), Acad::eOk);
  ent->erase();
  ent->close();
  EXPECT_FALSE(MakeGroup(set, L"PART", false));
  EXPECT_EQ(LeftOpen(L"MakeGroup"), 0);
  EXPECT_EQ(Members(L"PART"), std::vector<AcDbObjectId>{a});
  EXPECT_FALSE(MakeAnonymousGroup(set));
  EXPECT_EQ(LeftOpen(L"MakeAnonymousGroup"), 0);

  // The group dictionary held open elsewhere: nothing is made.
  AcDbDictionary* dict = nullptr;
  ASSERT_EQ(Db()->getGroupDictionary(dict, AcDb::kForWrite), Acad::eOk);
  ZoAdsEntSet one;
  one += a;
  EXPECT_FALSE(MakeGroup(one, L"OTHER", false));
  EXPECT_FALSE(MakeAnonymousGroup(one));
  dict->close();
  EXPECT_TRUE(Members(L"OTHER").empty());
  EXPECT_EQ(GroupNames().size(), 2u) << "PART and the anonymous group of the first try";
  // A name the dictionary refuses.
  EXPECT_FALSE(MakeGroup(one, L"", false));
  EXPECT_EQ(LeftOpen(L"MakeGroup"), 0);
}

TEST_F(DbUtilTest, AnonymousGroupsAreNewSelectableAndNumbered) {
  const AcDbObjectId a = Line(0, 0, 1, 0), b = Line(0, 1, 1, 1);
  ZoAdsEntSet set;
  set += a;
  set += b;
  ASSERT_TRUE(MakeAnonymousGroup(set));
  ZoAdsEntSet none;
  ASSERT_TRUE(MakeAnonymousGroup(none));
  EXPECT_EQ(LeftOpen(L"MakeAnonymousGroup"), 0);
  const std::vector<std::wstring> names = GroupNames();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_NE(names[0], names[1]);
  bool selectable = false;
  for (const std::wstring& name : names) EXPECT_EQ(name[0], L'*');
  EXPECT_EQ(Members(names[0].c_str(), &selectable), (std::vector<AcDbObjectId>{a, b}));
  EXPECT_TRUE(selectable);
  EXPECT_TRUE(Members(names[1].c_str()).empty());
}

TEST_F(DbUtilTest, GetPickSetByGroupAppendsTheLiveMembers) {
  const AcDbObjectId a = Line(0, 0, 1, 0), b = Line(0, 1, 1, 1), c = Line(0, 2, 1, 2), other = Line(0, 3, 1, 3);
  ZoAdsEntSet members;
  members += a;
  members += b;
  members += c;
  ASSERT_TRUE(MakeGroup(members, L"DOORS", false));
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, b, AcDb::kForWrite), Acad::eOk);
  ent->erase();
  ent->close();

  ZoAdsEntSet set;
  set += other;
  EXPECT_TRUE(GetPickSetByGroup(L"doors", set));
  EXPECT_EQ(LeftOpen(L"GetPickSetByGroup"), 0);
  EXPECT_EQ(Ids(set), (std::vector<AcDbObjectId>{other, a, c}));

  EXPECT_FALSE(GetPickSetByGroup(L"WINDOWS", set));
  EXPECT_EQ(Ids(set), (std::vector<AcDbObjectId>{other, a, c}));

  // A group open for write elsewhere cannot be read: the set stays as it was.
  AcDbDictionary* dict = nullptr;
  AcDbObject* group = nullptr;
  ASSERT_EQ(Db()->getGroupDictionary(dict, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(dict->getAt(L"DOORS", group, AcDb::kForWrite), Acad::eOk);
  dict->close();
  ZoAdsEntSet fresh;
  EXPECT_FALSE(GetPickSetByGroup(L"DOORS", fresh));
  EXPECT_EQ(fresh.GetLength(), 0);
  EXPECT_FALSE(fresh.IsValid());
  EXPECT_EQ(LeftOpen(L"GetPickSetByGroup"), 1) << "only the group held by the test";
  group->close();

  // With the dictionary itself held for write, nothing can be read.
  ASSERT_EQ(Db()->getGroupDictionary(dict, AcDb::kForWrite), Acad::eOk);
  EXPECT_FALSE(GetPickSetByGroup(L"DOORS", fresh));
  dict->close();
  EXPECT_EQ(fresh.GetLength(), 0);
}

// --- Loaded modules ---

TEST_F(DbUtilTest, IsArxLoadedComparesFileNamesIgnoringPathAndCase) {
  EXPECT_FALSE(IsArxLoaded(L"Some.arx")) << "nothing is loaded";

  tovutest::TempDir dir;
  const std::wstring path = standin::FromUtf8(dir.Copy(TOVU_TEST_APP, "some.arx").string());
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  ASSERT_TRUE(linker->loadModule(path.c_str(), true)) << standin::ToUtf8(standin::Session::Get().Transcript());
  EXPECT_TRUE(IsArxLoaded(L"Some.arx"));
  EXPECT_TRUE(IsArxLoaded(L"C:\\Program Files\\Tovu\\SOME.ARX"));
  EXPECT_TRUE(IsArxLoaded(L"/opt/elsewhere/Some.arx"));
  EXPECT_TRUE(IsArxLoaded(path.c_str()));
  EXPECT_FALSE(IsArxLoaded(L"Some"));
  EXPECT_FALSE(IsArxLoaded(L"Some.arx.bak"));
  EXPECT_FALSE(IsArxLoaded(L"C:\\Some.arx\\other.arx"));
  EXPECT_FALSE(IsArxLoaded(L"ome.arx"));
  EXPECT_FALSE(IsArxLoaded(L""));
  EXPECT_FALSE(IsArxLoaded(nullptr));
  ASSERT_TRUE(linker->unloadModule(path.c_str()));
  EXPECT_FALSE(IsArxLoaded(L"Some.arx"));
}

// --- Colours ---

TEST_F(DbUtilTest, ColorToRGBSplitsTheHostsPaletteIntoChannels) {
  struct Case {
    int index, r, g, b;
  };
  const Case cases[] = {{1, 255, 0, 0}, {5, 0, 0, 255}, {13, 204, 102, 102}, {40, 255, 191, 0}, {200, 191, 0, 255}};
  for (const Case& c : cases) {
    int r = -1, g = -1, b = -1;
    ColorToRGB(c.index, r, g, b);
    EXPECT_EQ(r, c.r) << c.index;
    EXPECT_EQ(g, c.g) << c.index;
    EXPECT_EQ(b, c.b) << c.index;
  }
}

}  // namespace
