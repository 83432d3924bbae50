// Groups from selection sets and sets from groups, hard references and loaded modules. Every
// call is checked to leave nothing open.
#include "db/GroupUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/win32/utf8.h"
#include "testing/DatabaseTest.h"
#include "testing/TempDir.h"

namespace {

using Ids = std::vector<AcDbObjectId>;

class GroupUtil : public tovutest::DatabaseTest {
 protected:
  // The members of the named group, in order (none when there is no such group).
  Ids Members(const wchar_t* name, bool* selectable = nullptr) {
    Ids out;
    AcDbObjectId id;
    AcDbGroup* group = nullptr;
    if (GroupId(name, id) && acdbOpenObject(group, id, AcDb::kForRead) == Acad::eOk) {
      AcDbObjectIdArray ids;
      group->allEntityIds(ids);
      out.assign(ids.asArrayPtr(), ids.asArrayPtr() + ids.length());
      if (selectable) *selectable = group->isSelectable();
      group->close();
    }
    return out;
  }
  bool GroupId(const wchar_t* name, AcDbObjectId& id) {
    AcDbDictionary* dict = nullptr;
    if (Db()->getGroupDictionary(dict, AcDb::kForRead) != Acad::eOk) return false;
    const bool found = dict->getAt(name, id) == Acad::eOk;
    dict->close();
    return found;
  }
  int GroupCount() {
    AcDbDictionary* dict = nullptr;
    if (Db()->getGroupDictionary(dict, AcDb::kForRead) != Acad::eOk) return -1;
    const int n = static_cast<int>(dict->numEntries());
    dict->close();
    return n;
  }
  static void Fill(ZoAdsEntSet& set, std::initializer_list<AcDbObjectId> ids) {
    for (const AcDbObjectId& id : ids) set += id;
  }
  static Ids IdsOf(const ZoAdsEntSet& set) {
    Ids out;
    for (long i = 0; i < set.GetLength(); ++i) out.push_back(set[i].GetObjectId());
    return out;
  }
  static void Erase(AcDbObjectId id) {
    AcDbEntity* ent = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForWrite), Acad::eOk);
    ent->erase();
    ent->close();
  }
};

TEST_F(GroupUtil, HardReferencesAreCountedInTheGivenOrWorkingDrawing) {
  const AcDbObjectId used = standin::AddLayer(Db(), L"USED");
  const AcDbObjectId unused = standin::AddLayer(Db(), L"UNUSED");
  const AcDbObjectId block = standin::AddBlock(Db(), L"B", {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0))});
  const AcDbObjectId lonely = standin::AddBlock(Db(), L"LONELY", {});
  const AcDbObjectId line = standin::AddEntity(Db(), new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), L"USED");
  standin::AddBlockReference(Db(), L"B", AcGePoint3d(5, 5, 0), 0);
  EXPECT_TRUE(IsHardReferenced(used));
  EXPECT_FALSE(IsHardReferenced(unused));
  EXPECT_TRUE(IsHardReferenced(block, Db()));
  EXPECT_FALSE(IsHardReferenced(lonely, Db()));
  EXPECT_FALSE(IsHardReferenced(line));
  EXPECT_FALSE(IsHardReferenced(AcDbObjectId::kNull));
  EXPECT_EQ(LeftOpen(L"IsHardReferenced"), 0);
}

TEST_F(GroupUtil, MakeGroupCreatesAddsOrReplacesMembers) {
  const AcDbObjectId a = Line(0, 0, 1, 0), b = Line(0, 1, 1, 1), c = Line(0, 2, 1, 2), d = Line(0, 3, 1, 3);
  ZoAdsEntSet ab, bc, dc, none;
  Fill(ab, {a, b});
  Fill(bc, {b, c});
  Fill(dc, {d, c});
  bool selectable = true;
  ASSERT_TRUE(MakeGroup(ab, L"WALLS", false));
  EXPECT_EQ(Members(L"WALLS", &selectable), (Ids{a, b}));
  EXPECT_FALSE(selectable);
  // Without clear the set joins the members; one already there is no failure.
  ASSERT_TRUE(MakeGroup(bc, L"walls", false));
  EXPECT_EQ(Members(L"WALLS"), (Ids{a, b, c}));
  EXPECT_EQ(GroupCount(), 1) << "the existing group was used";
  EXPECT_EQ(LeftOpen(L"MakeGroup"), 0);

  // An existing selectable group is made not selectable; with clear it holds exactly the set.
  AcDbObjectId groupId;
  AcDbGroup* group = nullptr;
  ASSERT_TRUE(GroupId(L"WALLS", groupId));
  ASSERT_EQ(acdbOpenObject(group, groupId, AcDb::kForWrite), Acad::eOk);
  group->setSelectable(true);
  group->close();
  ASSERT_TRUE(MakeGroup(dc, L"WALLS", true));
  EXPECT_EQ(Members(L"WALLS", &selectable), (Ids{d, c}));
  EXPECT_FALSE(selectable);

  // An empty set still makes the group; an anonymous group is always a new one.
  EXPECT_TRUE(MakeGroup(none, L"EMPTY", false));
  EXPECT_TRUE(Members(L"EMPTY").empty());
  EXPECT_TRUE(MakeAnonymousGroup(dc));
  EXPECT_TRUE(MakeAnonymousGroup(dc));
  EXPECT_EQ(GroupCount(), 4);
  EXPECT_EQ(LeftOpen(L"MakeAnonymousGroup"), 0);
}

TEST_F(GroupUtil, MakeGroupStopsAtTheFirstRefusedEntityAndKeepsThoseBefore) {
  const AcDbObjectId a = Line(0, 0, 1, 0), b = Line(0, 1, 1, 1), c = Line(0, 2, 1, 2);
  ZoAdsEntSet set, one;
  Fill(set, {a, b, c});
  Fill(one, {a});
  Erase(b);
  EXPECT_FALSE(MakeGroup(set, L"PART", false));
  EXPECT_EQ(Members(L"PART"), Ids{a});
  EXPECT_FALSE(MakeAnonymousGroup(set));
  EXPECT_EQ(LeftOpen(L"MakeAnonymousGroup"), 0);

  // The group dictionary held open elsewhere: nothing is made.
  AcDbDictionary* dict = nullptr;
  ASSERT_EQ(Db()->getGroupDictionary(dict, AcDb::kForWrite), Acad::eOk);
  EXPECT_FALSE(MakeGroup(one, L"OTHER", false));
  EXPECT_FALSE(MakeAnonymousGroup(one));
  dict->close();
  EXPECT_EQ(GroupCount(), 2) << "PART and the anonymous group of the first try";
  // A name the dictionary refuses.
  EXPECT_FALSE(MakeGroup(one, L"", false));
  EXPECT_EQ(LeftOpen(L"MakeGroup"), 0);
}

TEST_F(GroupUtil, GetPickSetByGroupAppendsTheLiveMembers) {
  const AcDbObjectId a = Line(0, 0, 1, 0), b = Line(0, 1, 1, 1), c = Line(0, 2, 1, 2), other = Line(0, 3, 1, 3);
  ZoAdsEntSet members, set, fresh;
  Fill(members, {a, b, c});
  ASSERT_TRUE(MakeGroup(members, L"DOORS", false));
  Erase(b);
  Fill(set, {other});
  EXPECT_TRUE(GetPickSetByGroup(L"doors", set));
  EXPECT_EQ(LeftOpen(L"GetPickSetByGroup"), 0);
  EXPECT_EQ(IdsOf(set), (Ids{other, a, c}));
  EXPECT_FALSE(GetPickSetByGroup(L"WINDOWS", set));
  EXPECT_EQ(IdsOf(set), (Ids{other, a, c}));

  // A group open for write elsewhere cannot be read: the set stays as it was.
  AcDbObjectId groupId;
  AcDbGroup* group = nullptr;
  ASSERT_TRUE(GroupId(L"DOORS", groupId));
  ASSERT_EQ(acdbOpenObject(group, groupId, AcDb::kForWrite), Acad::eOk);
  EXPECT_FALSE(GetPickSetByGroup(L"DOORS", fresh));
  EXPECT_FALSE(fresh.IsValid());
  EXPECT_EQ(LeftOpen(L"GetPickSetByGroup"), 1) << "only the group held by the test";
  group->close();

  // With the dictionary itself held for write, nothing can be read.
  AcDbDictionary* dict = nullptr;
  ASSERT_EQ(Db()->getGroupDictionary(dict, AcDb::kForWrite), Acad::eOk);
  EXPECT_FALSE(GetPickSetByGroup(L"DOORS", fresh));
  dict->close();
  EXPECT_FALSE(fresh.IsValid());
}

TEST_F(GroupUtil, IsArxLoadedComparesFileNamesIgnoringPathAndCase) {
  EXPECT_FALSE(IsArxLoaded(L"Some.arx")) << "nothing is loaded";
  tovutest::TempDir dir;
  const std::wstring path = standin::FromUtf8(dir.Copy(TOVU_TEST_APP, "some.arx").string());
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  ASSERT_TRUE(linker->loadModule(path.c_str(), true)) << standin::ToUtf8(standin::Session::Get().Transcript());
  EXPECT_TRUE(IsArxLoaded(L"Some.arx"));
  EXPECT_TRUE(IsArxLoaded(L"C:\\Program Files\\Tovu\\SOME.ARX"));
  EXPECT_TRUE(IsArxLoaded(L"/opt/elsewhere/Some.arx"));
  EXPECT_FALSE(IsArxLoaded(L"Some"));
  EXPECT_FALSE(IsArxLoaded(L"Some.arx.bak"));
  EXPECT_FALSE(IsArxLoaded(L"C:\\Some.arx\\other.arx"));
  EXPECT_FALSE(IsArxLoaded(L"ome.arx"));
  EXPECT_FALSE(IsArxLoaded(L""));
  EXPECT_FALSE(IsArxLoaded(nullptr));
  ASSERT_TRUE(linker->unloadModule(path.c_str()));
  EXPECT_FALSE(IsArxLoaded(L"Some.arx"));
}

}  // namespace
