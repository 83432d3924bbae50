// Conformance of the drawing database: the open and close discipline, ids and names, the
// entity data per type, the walk of the drawing, erasing, tables, groups, extents, transforms.
#include <acedads.h>
#include <dbapserv.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include <gtest/gtest.h>

#include <cmath>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "testing/EntityData.h"

namespace {

using tovutest::ByHandle;
using tovutest::Codes;
using tovutest::EntityData;
using tovutest::Find;

constexpr double kPi = 3.141592653589793;

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override { standin::Session::Get().Reset(); }
  void TearDown() override {
    EXPECT_EQ(standin::OpenObjectCount(), 0) << "a test left objects open";
    standin::Session::Get().Reset();
  }
  AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }
  AcDbObjectId Id(const wchar_t* handle) {
    AcDbObjectId id;
    Db()->getAcDbObjectId(id, false, AcDbHandle(handle));
    return id;
  }
};

TEST_F(DatabaseTest, OpenModesAndCloseFollowTheHostsRules) {
  const AcDbObjectId line = standin::AddEntity(Db(), new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 0, 0)));
  AcDbEntity *r1 = nullptr, *r2 = nullptr, *w = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(r1, line, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenAcDbEntity(r2, line, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(r1, r2);
  EXPECT_EQ(acdbOpenAcDbEntity(w, line, AcDb::kForWrite), Acad::eWasOpenForRead);
  EXPECT_EQ(w, nullptr);
  EXPECT_EQ(r1->upgradeOpen(), Acad::eWasOpenForRead);  // another reader holds it
  EXPECT_EQ(r2->close(), Acad::eOk);
  EXPECT_EQ(r1->upgradeOpen(), Acad::eOk);
  EXPECT_TRUE(r1->isWriteEnabled());
  EXPECT_EQ(acdbOpenAcDbEntity(w, line, AcDb::kForRead), Acad::eWasOpenForWrite);
  EXPECT_EQ(acdbOpenAcDbEntity(w, line, AcDb::kForWrite), Acad::eWasOpenForWrite);
  EXPECT_EQ(r1->downgradeOpen(), Acad::eOk);
  EXPECT_EQ(r1->close(), Acad::eOk);
  EXPECT_EQ(r1->close(), Acad::eNotOpenForRead);

  // Up to 256 readers.
  std::vector<AcDbObject*> readers;
  AcDbObject* obj = nullptr;
  while (acdbOpenAcDbObject(obj, line, AcDb::kForRead) == Acad::eOk) readers.push_back(obj);
  EXPECT_EQ(readers.size(), 256u);
  EXPECT_EQ(acdbOpenAcDbObject(obj, line, AcDb::kForRead), Acad::eAtMaxReaders);
  for (AcDbObject* o : readers) o->close();

  // Erased objects open only when asked for.
  ASSERT_EQ(acdbOpenAcDbEntity(w, line, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(w->erase(), Acad::eOk);
  EXPECT_EQ(w->erase(), Acad::eWasErased);
  w->close();
  EXPECT_EQ(acdbOpenAcDbEntity(w, line, AcDb::kForRead), Acad::eWasErased);
  ASSERT_EQ(acdbOpenAcDbEntity(w, line, AcDb::kForRead, true), Acad::eOk);
  w->close();

  // Walls of the sample lie on the locked layer WALL: readable, not writable.
  EXPECT_EQ(acdbOpenAcDbEntity(w, Id(L"10"), AcDb::kForWrite), Acad::eOnLockedLayer);
  ASSERT_EQ(acdbOpenAcDbEntity(w, Id(L"10"), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(w->upgradeOpen(), Acad::eOnLockedLayer);
  w->close();

  // Class checks leave nothing open.
  EXPECT_EQ(acdbOpenAcDbEntity(w, Db()->layerZero(), AcDb::kForRead), Acad::eNotAnEntity);
  AcDbCircle* circle = nullptr;
  EXPECT_EQ(acdbOpenObject(circle, Id(L"11"), AcDb::kForRead), Acad::eNotThatKindOfClass);
  EXPECT_EQ(circle, nullptr);
  EXPECT_EQ(acdbOpenAcDbObject(obj, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);

  // A new object is the caller's until it joins the drawing; then it is open for write.
  auto* fresh = new AcDbLine;
  EXPECT_TRUE(fresh->isWriteEnabled());
  EXPECT_EQ(fresh->close(), Acad::eNotInDatabase);
  delete fresh;
}

TEST_F(DatabaseTest, ObjectsOfAClosedDrawingAreGoneAndNamesMapToIds) {
  const AcDbObjectId wall = Id(L"10");
  ads_name name = {0, 0};
  ASSERT_EQ(acdbGetAdsName(name, wall), Acad::eOk);
  AcDbObjectId back;
  ASSERT_EQ(acdbGetObjectId(back, name), Acad::eOk);
  EXPECT_EQ(back, wall);
  EXPECT_EQ(acdbGetAdsName(name, AcDbObjectId::kNull), Acad::eNullObjectId);
  const ads_name bogus = {name[0], 1};
  EXPECT_EQ(acdbGetObjectId(back, bogus), Acad::eInvalidAdsName);

  standin::OpenEmptyDrawing();
  EXPECT_FALSE(wall.isValid());
  AcDbObject* obj = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(obj, wall, AcDb::kForRead), Acad::ePermanentlyErased);
  EXPECT_EQ(acdbGetObjectId(back, name), Acad::eInvalidAdsName);
  EXPECT_EQ(acdbEntGet(name), nullptr);
}

TEST_F(DatabaseTest, EntityDataListsTheHostsGroupsPerType) {
  AcDbDatabase* db = Db();
  standin::AddLayer(db, L"P", 1);
  auto* arc = new AcDbArc(AcGePoint3d(1, 2, 0), 3, kPi / 6, kPi);
  arc->setColorIndex(1);
  const AcDbObjectId arcId = standin::AddEntity(db, arc, L"P");
  const AcDbObjectId pointId = standin::AddEntity(db, new AcDbPoint(AcGePoint3d(4, 5, 6)), nullptr, true);

  tovutest::Name n;
  ASSERT_EQ(acdbGetAdsName(n.n, Id(L"10")), Acad::eOk);
  auto line = EntityData(n);
  EXPECT_EQ(Codes(line), (std::vector<short>{-1, 0, 330, 5, 100, 67, 410, 8, 100, 10, 11, 210}));
  EXPECT_EQ(Find(line, -1)->name[0], n.n[0]);
  EXPECT_EQ(Find(line, 0)->text, L"LINE");
  EXPECT_EQ(Find(line, 5)->text, L"10");
  EXPECT_EQ(Find(line, 8)->text, L"WALL");
  EXPECT_EQ(Find(line, 410)->text, L"Model");
  EXPECT_EQ(Find(line, 100, 1)->text, L"AcDbLine");
  EXPECT_EQ(Find(line, 11)->point[0], 200);
  AcDbBlockTable* blocks = nullptr;
  AcDbObjectId modelSpaceId;
  ASSERT_EQ(db->getBlockTable(blocks, AcDb::kForRead), Acad::eOk);
  blocks->getAt(ACDB_MODEL_SPACE, modelSpaceId);
  blocks->close();
  ads_name modelSpace;
  acdbGetAdsName(modelSpace, modelSpaceId);
  EXPECT_EQ(Find(line, 330)->name[0], modelSpace[0]);

  acdbGetAdsName(n.n, arcId);
  auto arcData = EntityData(n);
  EXPECT_EQ(Codes(arcData), (std::vector<short>{-1, 0, 330, 5, 100, 67, 410, 8, 62, 100, 10, 40, 210, 100, 50, 51}));
  EXPECT_EQ(Find(arcData, 62)->integer, 1);
  EXPECT_NEAR(Find(arcData, 50)->real, kPi / 6, 1e-15);  // radians, not degrees

  acdbGetAdsName(n.n, pointId);
  auto point = EntityData(n);
  EXPECT_EQ(Find(point, 67)->integer, 1);
  EXPECT_EQ(Find(point, 410)->text, L"Layout1");
  EXPECT_EQ(Find(point, 10)->point[2], 6);

  // The sample's door: INSERT with 66, its attributes with their tags, the SEQEND naming it.
  auto door = EntityData(ByHandle(L"1C"));
  EXPECT_EQ(Codes(door),
            (std::vector<short>{-1, 0, 330, 5, 100, 67, 410, 8, 100, 66, 2, 10, 41, 42, 43, 50, 70, 71, 44, 45, 210}));
  EXPECT_EQ(Find(door, 2)->text, L"DOOR");
  tovutest::Name at = ByHandle(L"1C"), next;
  std::vector<std::wstring> subs;
  while (acdbEntNext(at, next) == RTNORM) {
    const auto data = EntityData(next);
    EXPECT_EQ(Find(data, 330)->name[0], ByHandle(L"1C").n[0]);
    subs.push_back(Find(data, 0)->text + L":" +
                   (Find(data, 2) ? Find(data, 2)->text + L"=" + Find(data, 1)->text
                                  : std::to_wstring(Find(data, -2)->name[0] == ByHandle(L"1C").n[0])));
    if (Find(data, 0)->text == L"SEQEND") break;
    at = next;
  }
  EXPECT_EQ(subs, (std::vector<std::wstring>{L"ATTRIB:NO=D1", L"ATTRIB:WIDTH=800", L"SEQEND:1"}));
  const auto attrib = EntityData(ByHandle(L"1D"));
  EXPECT_EQ(Find(attrib, 100, 2)->text, L"AcDbAttribute");
  EXPECT_EQ(Find(attrib, 10)->point[0], 210);  // the definition's 10,10 placed at the door's 200,100

  const auto bed = EntityData(ByHandle(L"26"));
  EXPECT_EQ(Find(bed, 90)->integer, 4);
  EXPECT_EQ(Find(bed, 70)->integer, 1);
  EXPECT_EQ(Find(bed, 42, 1)->real, 1.0);
}

TEST_F(DatabaseTest, TheWalkVisitsSubEntitiesSkipsErasedOnesAndEnds) {
  const std::vector<std::wstring> walk = tovutest::Walk();
  EXPECT_EQ(walk, (std::vector<std::wstring>{L"10", L"11", L"12", L"13", L"14", L"15", L"16", L"1C", L"1D", L"1F",
                                             L"1E", L"20", L"21", L"23", L"22", L"24", L"25", L"26", L"27"}));
  ads_name last, next;
  ASSERT_EQ(acdbEntLast(last), RTNORM);
  EXPECT_EQ(standin::HandleOf(last), L"27");
  EXPECT_EQ(acdbEntNext(last, next), RTERROR);

  // Deleting the door takes its attributes out of the walk; a second call brings them back.
  const auto door = ByHandle(L"20");
  ASSERT_EQ(acdbEntDel(door), RTNORM);
  EXPECT_EQ(acdbEntGet(door), nullptr);
  auto without = tovutest::Walk();
  EXPECT_EQ(std::count(without.begin(), without.end(), L"21"), 0);
  EXPECT_EQ(without.size(), walk.size() - 4);
  const auto afterOther = ByHandle(L"1E");  // the first door's SEQEND
  ASSERT_EQ(acdbEntNext(afterOther, next), RTNORM);
  EXPECT_EQ(standin::HandleOf(next), L"24");
  ASSERT_EQ(acdbEntDel(door), RTNORM);
  EXPECT_EQ(tovutest::Walk(), walk);

  // Erasing the last entity moves acdbEntLast back.
  ASSERT_EQ(acdbEntDel(last), RTNORM);
  ASSERT_EQ(acdbEntLast(next), RTNORM);
  EXPECT_EQ(standin::HandleOf(next), L"26");

  EXPECT_EQ(acdbEntDel(ByHandle(L"1D")), RTERROR);  // an attribute
  EXPECT_EQ(acdbEntDel(ByHandle(L"10")), RTERROR);  // a wall on the locked layer
  const ads_name nothing = {0, 0};
  EXPECT_EQ(acdbEntDel(nothing), RTERROR);
  EXPECT_FALSE(EntityData(ByHandle(L"10")).empty());  // the refused wall is still there

  standin::OpenEmptyDrawing();
  EXPECT_EQ(acdbEntNext(nullptr, next), RTERROR);
  EXPECT_EQ(acdbEntLast(next), RTERROR);
}

TEST_F(DatabaseTest, TablesRefuseDuplicatesAndBadNamesAndIterateInOrder) {
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(Db()->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
  auto* dup = new AcDbLayerTableRecord;
  dup->setName(L"wall");
  EXPECT_EQ(layers->add(dup), Acad::eDuplicateRecordName);
  EXPECT_EQ(dup->setName(L"a<b"), Acad::eInvalidSymbolTableName);
  EXPECT_EQ(dup->setName(L""), Acad::eInvalidSymbolTableName);
  delete dup;
  auto* linetype = new AcDbLinetypeTableRecord;
  linetype->setName(L"X");
  EXPECT_EQ(layers->add(linetype), Acad::eWrongObjectType);
  delete linetype;
  layers->close();
  ASSERT_EQ(Db()->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  // Unlocking every locked layer through the typed iterator frees the walls for change.
  AcDbLayerTableIterator* it = nullptr;
  layers->newIterator(it);
  std::vector<std::wstring> names;
  for (; !it->done(); it->step()) {
    AcDbLayerTableRecord* rec = nullptr;
    ASSERT_EQ(it->getRecord(rec, AcDb::kForWrite), Acad::eOk);
    const ACHAR* name = nullptr;
    rec->getName(name);
    names.push_back(name + std::wstring(rec->isLocked() ? L"*" : L""));
    rec->setIsLocked(false);
    rec->close();
  }
  delete it;
  AcDbEntity* wallLine = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(wallLine, Id(L"10"), AcDb::kForWrite), Acad::eOk);
  wallLine->close();
  EXPECT_EQ(names, (std::vector<std::wstring>{L"0", L"WALL*", L"DOOR", L"TEXT", L"FURNITURE"}));
  AcDbLayerTableRecord* wall = nullptr;
  ASSERT_EQ(layers->getAt(L"Wall", wall, AcDb::kForRead), Acad::eOk);
  EXPECT_FALSE(wall->isLocked());
  wall->close();
  EXPECT_EQ(layers->getAt(L"NOPE", wall, AcDb::kForRead), Acad::eKeyNotFound);
  // A renamed record is found by its new name only, and its old name is free again.
  AcDbLayerTableRecord* door = nullptr;
  ASSERT_EQ(layers->getAt(L"DOOR", door, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(door->setName(L"wall"), Acad::eDuplicateRecordName);
  EXPECT_EQ(door->setName(L"Gate"), Acad::eOk);
  const AcDbObjectId doorId = door->objectId();
  door->close();
  AcDbObjectId found;
  EXPECT_EQ(layers->getAt(L"GATE", found), Acad::eOk);
  EXPECT_EQ(found, doorId);
  EXPECT_FALSE(layers->has(L"Door"));
  layers->close();
  ASSERT_EQ(Db()->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
  auto* again = new AcDbLayerTableRecord;
  again->setName(L"door");
  EXPECT_EQ(layers->add(again), Acad::eOk);
  again->close();
  EXPECT_EQ(layers->getAt(L"DOOR", found), Acad::eOk);
  EXPECT_NE(found, doorId);
  layers->close();
}

double PatternLength(AcDbObjectId id) {
  AcDbLinetypeTableRecord* rec = nullptr;
  if (acdbOpenObject(rec, id, AcDb::kForRead) != Acad::eOk) return -1;
  const double length = rec->patternLength();
  rec->close();
  return length;
}

TEST_F(DatabaseTest, LinetypesLoadOnceFromTheStandardLibraryAndEntitiesTakeTheirDrawings) {
  AcDbLinetypeTable* table = nullptr;
  ASSERT_EQ(Db()->getLinetypeTable(table, AcDb::kForRead), Acad::eOk);
  auto count = [table] {
    AcDbLinetypeTableIterator* it = nullptr;
    table->newIterator(it);
    int n = 0;
    for (; !it->done(); it->step()) ++n;
    delete it;
    return n;
  };
  const int standard = count();
  EXPECT_EQ(Db()->loadLineTypeFile(nullptr, L"acad.lin"), Acad::eInvalidInput);
  EXPECT_EQ(Db()->loadLineTypeFile(L"DASHED", nullptr), Acad::eInvalidInput);
  EXPECT_EQ(Db()->loadLineTypeFile(L"", L"acad.lin"), Acad::eInvalidInput);
  EXPECT_EQ(Db()->loadLineTypeFile(L"DASHED", L"acad.lin.bak"), Acad::eFileNotFound);
  EXPECT_EQ(Db()->loadLineTypeFile(L"DASH", L"acad.lin"), Acad::eUndefinedLineType);
  EXPECT_EQ(Db()->loadLineTypeFile(L"Continuous", L"acad.lin"), Acad::eUndefinedLineType);
  EXPECT_EQ(Db()->loadLineTypeFile(L"DASHED", L"acad.lin"), Acad::eWasOpenForRead) << "the table is open";
  table->close();
  ASSERT_EQ(Db()->getLinetypeTable(table, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(count(), standard) << "nothing was added";
  table->close();

  EXPECT_EQ(Db()->loadLineTypeFile(L"dashed", L"C:\\Support\\ACAD.LIN"), Acad::eOk);
  EXPECT_EQ(Db()->loadLineTypeFile(L"DASHED", L"acadiso.lin"), Acad::eDuplicateRecordName);
  EXPECT_EQ(Db()->loadLineTypeFile(L"HIDDEN", L"support/acadiso.lin"), Acad::eOk);
  ASSERT_EQ(Db()->getLinetypeTable(table, AcDb::kForRead), Acad::eOk);
  AcDbObjectId dashed, hidden;
  EXPECT_EQ(table->getAt(L"DASHED", dashed), Acad::eOk);
  EXPECT_EQ(table->getAt(L"HIDDEN", hidden), Acad::eOk);
  EXPECT_EQ(count(), standard + 2);
  table->close();
  EXPECT_DOUBLE_EQ(PatternLength(dashed), 0.75);
  EXPECT_DOUBLE_EQ(PatternLength(hidden), 0.375 * 25.4) << "the millimetre library";
  // "*" adds what is missing and leaves what the drawing has.
  EXPECT_EQ(Db()->loadLineTypeFile(L"*", L"acad.lin"), Acad::eOk);
  EXPECT_EQ(Db()->loadLineTypeFile(L"*", L"acad.lin"), Acad::eDuplicateRecordName);
  ASSERT_EQ(Db()->getLinetypeTable(table, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(count(), standard + 8);
  EXPECT_TRUE(table->has(L"PHANTOM"));
  table->close();
  EXPECT_DOUBLE_EQ(PatternLength(hidden), 0.375 * 25.4) << "a loaded linetype stays as it was";

  // An entity takes a linetype of its own drawing only; acdbEntGet names it in group 6.
  auto* pline = new AcDbPolyline;
  pline->addVertexAt(0, AcGePoint2d(0, 0));
  pline->addVertexAt(1, AcGePoint2d(5, 0));
  const AcDbObjectId plineId = standin::AddEntity(Db(), pline);
  AcDbDatabase other;
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, plineId, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(ent->setLinetype(AcDbObjectId::kNull), Acad::eNullObjectId);
  EXPECT_EQ(ent->setLinetype(Db()->layerZero()), Acad::eWrongObjectType);
  EXPECT_EQ(ent->setLinetype(other.continuousLinetype()), Acad::eWrongDatabase);
  EXPECT_EQ(ent->setLinetype(L"NOSUCH"), Acad::eKeyNotFound);
  EXPECT_EQ(ent->linetypeId(), Db()->byLayerLinetype());
  EXPECT_EQ(ent->setLinetype(dashed), Acad::eOk);
  ent->close();
  ads_name n;
  ASSERT_EQ(acdbGetAdsName(n, plineId), Acad::eOk);
  const auto data = EntityData(n);
  ASSERT_NE(Find(data, 6), nullptr);
  EXPECT_EQ(Find(data, 6)->text, L"DASHED");
}

TEST_F(DatabaseTest, GroupsAreFiledAnonymouslyAndRefuseWhatTheHostRefuses) {
  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(Db()->getGroupDictionary(groups, AcDb::kForWrite), Acad::eOk);
  auto* group = new AcDbGroup(L"doors");
  EXPECT_EQ(group->append(Id(L"1C")), Acad::eNotInDatabase);  // not filed yet
  AcDbObjectId first, second;
  ASSERT_EQ(groups->setAt(L"*U", group, first), Acad::eOk);
  auto* other = new AcDbGroup;
  ASSERT_EQ(groups->setAt(L"*U", other, second), Acad::eOk);
  other->close();
  EXPECT_STREQ(group->name(), L"*U1");
  EXPECT_TRUE(group->isAnonymous());
  EXPECT_TRUE(groups->has(L"*U2"));
  groups->close();

  EXPECT_EQ(group->append(Id(L"1C")), Acad::eOk);
  EXPECT_EQ(group->append(Id(L"20")), Acad::eOk);
  EXPECT_EQ(static_cast<int>(group->append(Id(L"1C"))), 260);
  EXPECT_EQ(group->append(Db()->layerZero()), Acad::eNotAnEntity);
  EXPECT_EQ(group->append(AcDbObjectId::kNull), Acad::eNullObjectId);
  EXPECT_EQ(group->numEntities(), 2u);
  group->close();

  ASSERT_EQ(acdbEntDel(ByHandle(L"20")), RTNORM);
  AcDbGroup* open = nullptr;
  ASSERT_EQ(acdbOpenObject(open, first, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(open->numEntities(), 1u);  // an erased member does not count
  AcDbGroupIterator* it = open->newIterator();
  ASSERT_FALSE(it->done());
  EXPECT_EQ(it->objectId(), Id(L"1C"));
  EXPECT_FALSE(it->next());
  delete it;
  open->close();
  EXPECT_DEATH(open->setSelectable(false), "not open for write");
}

TEST_F(DatabaseTest, ExtentsFollowTheGeometry) {
  auto extentsOf = [](AcDbObjectId id) {
    AcDbEntity* ent = nullptr;
    AcDbExtents ext;
    EXPECT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(ent->getGeomExtents(ext), Acad::eOk);
    ent->close();
    return ext;
  };
  AcDbDatabase* db = Db();
  // An arc from 30 to 200 degrees passes the top (90) and the left (180) of its circle.
  const AcDbExtents arc =
      extentsOf(standin::AddEntity(db, new AcDbArc(AcGePoint3d(0, 0, 0), 10, kPi / 6, kPi * 10 / 9)));
  EXPECT_NEAR(arc.minPoint().x, -10, 1e-12);
  EXPECT_NEAR(arc.maxPoint().y, 10, 1e-12);
  EXPECT_NEAR(arc.maxPoint().x, 10 * std::cos(kPi / 6), 1e-12);
  EXPECT_NEAR(arc.minPoint().y, 10 * std::sin(kPi * 10 / 9), 1e-12);
  // The bed's semicircular head reaches 30 beyond x 620.
  const AcDbExtents bed = extentsOf(Id(L"26"));
  EXPECT_NEAR(bed.maxPoint().x, 650, 1e-9);
  EXPECT_NEAR(bed.minPoint().y, 380, 1e-9);
  // The second door, turned by 90 degrees at 400,260: leaf along -x, swing reaching y 340.
  const AcDbExtents door = extentsOf(Id(L"20"));
  EXPECT_NEAR(door.minPoint().x, 320, 1e-9);
  EXPECT_NEAR(door.maxPoint().y, 340, 1e-9);
  // Text takes its height per character.
  const AcDbExtents text = extentsOf(Id(L"25"));
  EXPECT_NEAR(text.maxPoint().x, 480 + 7 * 20, 1e-9);

  AcDbEntity* empty = nullptr;
  ASSERT_EQ(
      acdbOpenAcDbEntity(empty, standin::AddEntity(db, new AcDbText(AcGePoint3d(0, 0, 0), L"", {}, 1)), AcDb::kForRead),
      Acad::eOk);
  AcDbExtents untouched(AcGePoint3d(1, 1, 1), AcGePoint3d(2, 2, 2));
  EXPECT_EQ(empty->getGeomExtents(untouched), Acad::eInvalidExtents);
  EXPECT_EQ(untouched.minPoint(), AcGePoint3d(1, 1, 1));
  empty->close();
}

TEST_F(DatabaseTest, TransformsFollowMirrorsAndRefuseUnevenScaling) {
  AcDbDatabase* db = Db();
  const AcDbObjectId arcId = standin::AddEntity(db, new AcDbArc(AcGePoint3d(10, 0, 0), 5, 0, kPi / 2));
  AcGeMatrix3d mirror;  // about the y axis
  mirror(0, 0) = -1;
  AcDbArc* arc = nullptr;
  ASSERT_EQ(acdbOpenObject(arc, arcId, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(arc->transformBy(mirror), Acad::eOk);
  EXPECT_NEAR(arc->center().x, -10, 1e-12);
  EXPECT_NEAR(arc->startAngle(), kPi / 2, 1e-12);  // the quarter from 0 to 90 becomes 90 to 180
  EXPECT_NEAR(arc->endAngle(), kPi, 1e-12);
  AcGeMatrix3d stretch;
  stretch(0, 0) = 2;
  EXPECT_EQ(arc->transformBy(stretch), Acad::eCannotScaleNonUniformly);
  EXPECT_NEAR(arc->radius(), 5, 0);
  AcGeMatrix3d tilt;  // a turn about the x axis takes the arc out of its plane
  tilt(1, 1) = 0, tilt(1, 2) = -1, tilt(2, 1) = 1, tilt(2, 2) = 0;
  EXPECT_EQ(arc->transformBy(tilt), Acad::eNotApplicable);
  arc->close();

  // A mirrored block reference turns half a turn with a negative x scale; its attributes move too.
  AcDbBlockReference* door = nullptr;
  ASSERT_EQ(acdbOpenObject(door, Id(L"1C"), AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(door->transformBy(mirror), Acad::eOk);
  EXPECT_EQ(door->scaleFactors().sx, -1);
  EXPECT_NEAR(door->rotation(), 0, 1e-12);
  EXPECT_NEAR(door->position().x, -200, 1e-12);
  door->close();
  const auto attrib = EntityData(ByHandle(L"1D"));
  EXPECT_NEAR(Find(attrib, 10)->point[0], -210, 1e-12);
  EXPECT_EQ(Find(attrib, 71)->integer & 2, 2);  // the text now reads backwards
}

TEST_F(DatabaseTest, DeletingAResidentObjectEndsTheHost) {
  AcDbEntity* wall = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(wall, Id(L"10"), AcDb::kForRead), Acad::eOk);
  EXPECT_DEATH(delete wall, "database-resident object was deleted");
  wall->close();
}

}  // namespace
