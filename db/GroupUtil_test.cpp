// Groups from selection sets and sets from groups, hard references and loaded modules. Every
// call is checked to leave nothing open.
#include "db/GroupUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standin/host/session.h"
#include "standin/win32/utf8.h"
#include "testing/DatabaseTest.h"
#include "testing/TempDir.h"

namespace {

class GroupUtil : public tovutest::DatabaseTest {
 protected:
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
  void Erase(AcDbObjectId id) {
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

  // An empty set still makes the group; an anonymous group is always a new one.
  ZoAdsEntSet none;
  EXPECT_TRUE(MakeGroup(none, L"EMPTY", false));
  EXPECT_TRUE(Members(L"EMPTY").empty());
  EXPECT_TRUE(MakeAnonymousGroup(dc));
  EXPECT_TRUE(MakeAnonymousGroup(dc));
  EXPECT_EQ(GroupNames().size(), 4u);
  EXPECT_EQ(LeftOpen(L"MakeAnonymousGroup"), 0);
}

TEST_F(GroupUtil, MakeGroupStopsAtTheFirstRefusedEntityAndKeepsThoseBefore) {
  const AcDbObjectId a = Line(0, 0, 1, 0), b = Line(0, 1, 1, 1), c = Line(0, 2, 1, 2);
  ZoAdsEntSet set;
  set += a;
  set += b;
  set += c;
  Erase(b);
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

TEST_F(GroupUtil, GetPickSetByGroupAppendsTheLiveMembers) {
  const AcDbObjectId a = Line(0, 0, 1, 0), b = Line(0, 1, 1, 1), c = Line(0, 2, 1, 2), other = Line(0, 3, 1, 3);
  ZoAdsEntSet members;
  members += a;
  members += b;
  members += c;
  ASSERT_TRUE(MakeGroup(members, L"DOORS", false));
  Erase(b);

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

TEST_F(GroupUtil, IsArxLoadedComparesFileNamesIgnoringPathAndCase) {
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

}  // namespace
