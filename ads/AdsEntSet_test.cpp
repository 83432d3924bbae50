// Selection sets: who releases the host set, set algebra, filtering, whole-set operations,
// redraws in viewports and the collection of entities created between IncludeBegin and IncludeEnd.
#include "ads/AdsEntSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "containers/DbObjectIdList.h"
#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/interaction/selection.h"
#include "standin/host/view/display.h"
#include "standin/host/view/viewports.h"
#include "testing/DrawingTest.h"
#include "testing/EntityData.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::JournalKind;
using standin::Session;
using tovutest::Handle;
using tovutest::Handles;
using tovutest::SetExists;
using tovutest::TypeOf;
using Strings = std::vector<std::wstring>;
using Redraws = std::vector<std::pair<std::wstring, int>>;

// Every set test runs twice: with the host giving each new set a name never used before, and with
// the host giving released names out again, so that a stale release would free a live set.
class SetNamesTest : public tovutest::DrawingTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    standin::SetSelectionNameReuse(Reused());
  }
  static bool Reused() { return GetParam(); }
};

std::string NameMode(const ::testing::TestParamInfo<bool>& info) { return info.param ? "ReusedNames" : "FreshNames"; }

// A drawing built by code: two lines, a circle and a text on layer A, and a line on the locked
// layer LOCKED, created in this order.
class SetTest : public SetNamesTest {
 protected:
  void SetUp() override {
    SetNamesTest::SetUp();
    standin::OpenEmptyDrawing();
    standin::AddLayer(Db(), L"A");
    standin::AddLayer(Db(), L"LOCKED", 1, true);
    m_line1 = Add(new AcDbLine({0, 0, 0}, {10, 0, 0}), L"A");
    m_circle = Add(new AcDbCircle({20, 0, 0}, AcGeVector3d::kZAxis, 5), L"A");
    m_text = Add(new AcDbText({0, 20, 0}, L"NOTE", AcDbObjectId::kNull, 2), L"A");
    m_line2 = Add(new AcDbLine({0, 10, 0}, {10, 10, 0}), L"LOCKED");
    ASSERT_TRUE(m_line1.IsValid() && m_circle.IsValid() && m_text.IsValid() && m_line2.IsValid());
  }
  ZoAdsEnt Add(AcDbEntity* entity, const wchar_t* layer = nullptr, bool paperSpace = false) {
    return ZoAdsEnt(standin::AddEntity(Db(), entity, layer, paperSpace));
  }
  static void Fill(ZoAdsEntSet& set, std::initializer_list<ZoAdsEnt> ents) {
    for (const ZoAdsEnt& e : ents) set += e;
  }
  static int Sets() { return standin::SelectionSetCount(); }

  ZoAdsEnt m_line1, m_circle, m_text, m_line2;
};

TEST_P(SetTest, ConstructionFlagsDecideWhetherTheHostSetIsCreatedAndReleased) {
  // Flag 1 creates an empty host set at once, else the first entity added does; flag 2 releases it.
  for (const int flags : {0, 1, 2, 3}) {
    ZoAdsName kept;
    {
      ZoAdsEntSet set(flags);
      EXPECT_EQ(set.IsValid(), (flags & 1) != 0) << flags;
      set += ZoAdsEnt();
      EXPECT_EQ(set.GetLength(), 0);
      set += m_line1;
      EXPECT_EQ(Handles(set), Strings{Handle(m_line1)});
      kept = set;
    }
    EXPECT_EQ(SetExists(kept), (flags & 2) == 0) << flags;
    acedSSFree(kept);
  }
  ZoAdsEntSet none(0);
  EXPECT_FALSE(none[0].IsValid());
  none -= m_line1;
  EXPECT_FALSE(none.IsValid());

  // Copies and wrappers of a host set are aliases that never release it; Free releases it
  // whatever the flags, and a later destruction has nothing left to release.
  {
    ZoAdsEntSet owner;
    owner += m_line1;
    {
      ZoAdsEntSet alias(owner);
      EXPECT_TRUE(alias == owner);
      ZoAdsEntSet wrapper(static_cast<const ZoAdsName::Array&>(owner));
      EXPECT_EQ(wrapper.GetLength(), 1);
    }
    EXPECT_TRUE(SetExists(owner));
    ZoAdsEntSet created(ZoAdsEntSet::kCreateSet);
    const ZoAdsName name(created);
    created.Free();
    EXPECT_FALSE(created.IsValid());
    EXPECT_FALSE(SetExists(name));
    const ZoAdsEntSet next(ZoAdsEntSet::kCreateSet | ZoAdsEntSet::kOwnSet);
    EXPECT_EQ(next == name, Reused());
    owner.Free();
    owner.Free();
  }
  EXPECT_EQ(Sets(), 0);
}

TEST_P(SetTest, AssignmentLeavesEveryHostSetExactlyOneReleaser) {
  ZoAdsName ownerName;
  ZoAdsEntSet bystander;
  {
    ZoAdsEntSet owner;
    Fill(owner, {m_line1, m_circle});
    ownerName = owner;
    {
      // Owning targets keep sets of their own: one from an alias of the owner's set, one that
      // holds a set, whose name and aliases stay.
      ZoAdsEntSet fromAlias, holding;
      holding += m_text;
      const ZoAdsEntSet ownerAlias(owner), holdingAlias(holding);
      fromAlias = ownerAlias;
      holding = owner;
      EXPECT_EQ(Handles(fromAlias), Handles(owner));
      EXPECT_FALSE(fromAlias == owner);
      EXPECT_TRUE(holdingAlias == holding);
      EXPECT_EQ(Handles(holdingAlias), Handles(owner));
      // Non-owning targets name the source's set; a set given its own name, or an alias's, stays.
      ZoAdsEntSet view(0);
      view = owner;
      EXPECT_TRUE(view == owner);
      owner = owner;
      owner = ownerAlias;
    }
    EXPECT_TRUE(SetExists(owner)) << "only its owner releases it";
    bystander += m_line2;  // under a released name, when the host gives them again
  }
  EXPECT_TRUE(SetExists(bystander)) << "a stale release freed another object's set";
  EXPECT_EQ(acedSSFree(ownerName), RTERROR) << "released once, by its owner";

  // A set made to be handed over goes to the first owning target that holds none; a second one
  // takes a set of its own.
  {
    ZoAdsEntSet made(ZoAdsEntSet::kCreateSet);
    made += m_text;
    ZoAdsEntSet taker, second;
    taker = made;
    second = made;
    EXPECT_TRUE(taker == made);
    EXPECT_FALSE(second == made);
    EXPECT_EQ(Handles(second), Strings{Handle(m_text)});
  }
  EXPECT_EQ(Sets(), 1);
  bystander.Free();
}

TEST_P(SetTest, EntitiesIdsAndSetsAreAddedAndRemovedInOrder) {
  ZoAdsEntSet set;
  Fill(set, {m_line1, m_line1, ZoAdsEnt()});
  set += m_circle.GetObjectId();
  set += AcDbObjectId::kNull;
  EXPECT_EQ(Handles(set), (Strings{Handle(m_line1), Handle(m_circle)}));
  EXPECT_TRUE(set.IsInclude(m_line1));
  EXPECT_FALSE(set.IsInclude(m_text));
  EXPECT_FALSE(ZoAdsEntSet(0).IsInclude(m_line1));
  set -= m_text;  // not a member
  set -= m_line1.GetObjectId();
  EXPECT_EQ(Handles(set), Strings{Handle(m_circle)});

  ZoAdsEntSet other, removed;
  Fill(other, {m_text, m_line2, m_circle});
  Fill(removed, {m_line2, m_circle});
  set += other;
  EXPECT_EQ(Handles(set), (Strings{Handle(m_circle), Handle(m_text), Handle(m_line2)}));
  set -= removed;
  set -= ZoAdsEntSet(0);
  EXPECT_EQ(Handles(set), Strings{Handle(m_text)});
  // Adding a set to an object without one creates it.
  ZoAdsEntSet fresh(0);
  fresh += other;
  EXPECT_EQ(Handles(fresh), Handles(other));
  EXPECT_FALSE(fresh == other);
  fresh.Free();

  // A set taken from itself, directly or through an alias, is left empty.
  other += m_line1;
  ASSERT_EQ(other.GetLength(), 4);
  other -= other;
  EXPECT_EQ(other.GetLength(), 0);
  Fill(other, {m_text, m_line2, m_circle});
  other -= ZoAdsEntSet(other);
  EXPECT_EQ(other.GetLength(), 0);
}

// Two candidates for the result, so that it cannot be built in its caller's place.
ZoAdsEntSet EitherSet(bool first, const ZoAdsEnt& a, const ZoAdsEnt& b) {
  ZoAdsEntSet one, other;
  one += a;
  other += b;
  if (first) return one;
  return other;
}

TEST_P(SetTest, AMovedSetTakesItsHostSetAndMarkerAlong) {
  {
    ZoAdsEntSet got = EitherSet(false, m_line1, m_circle);
    EXPECT_EQ(Handles(got), Strings{Handle(m_circle)});
    EXPECT_EQ(Sets(), 1);
    ZoAdsEntSet moved(std::move(got));
    EXPECT_FALSE(got.IsValid());  // NOLINT(bugprone-use-after-move): what a move leaves
    EXPECT_EQ(Handles(moved), Strings{Handle(m_circle)});
    EXPECT_EQ(moved.m_nFlags, ZoAdsEntSet::kOwnSet);
  }
  EXPECT_EQ(Sets(), 0);

  // The include marker goes along too. An end without a begin does nothing; a begin repeated
  // restarts, the first marker gone.
  ZoAdsEntSet none(0), including;
  none.IncludeEnd();
  EXPECT_FALSE(none.IsValid());
  const size_t before = tovutest::Walk().size();
  including.IncludeBegin();
  including.IncludeBegin();
  EXPECT_EQ(tovutest::Walk().size(), before + 1);
  ZoAdsEntSet taken(std::move(including));
  const ZoAdsEnt line(standin::AddEntity(Db(), new AcDbLine({0, 0, 0}, {1, 1, 0})));
  including.IncludeEnd();  // NOLINT(bugprone-use-after-move): nothing left to end
  EXPECT_FALSE(including.IsValid());
  taken.IncludeEnd();
  EXPECT_EQ(Handles(taken), Strings{Handle(line)});
  EXPECT_EQ(tovutest::Walk().size(), before + 1);
}

TEST_P(SetTest, FilterAndExcludeKeepTheOldOrderInANewSet) {
  const ZoAdsRBList lines(acutBuildList(RTDXF0, L"LINE", 0));
  ZoAdsEntSet set, rest;
  Fill(set, {m_text, m_line2, m_circle, m_line1});
  Fill(rest, {m_text, m_line2, m_circle, m_line1});
  EXPECT_FALSE(set.IsMatch(lines));
  const ZoAdsName old(set);
  set.Filter(lines);
  EXPECT_EQ(Handles(set), (Strings{Handle(m_line2), Handle(m_line1)}));
  EXPECT_TRUE(set.IsMatch(lines));
  EXPECT_FALSE(SetExists(old)) << "the old set is released";
  EXPECT_EQ(set.m_nFlags, ZoAdsEntSet::kOwnSet);
  rest.Exclude(lines);
  EXPECT_EQ(Handles(rest), (Strings{Handle(m_text), Handle(m_circle)}));

  // An empty filter keeps everything in a new set, or excludes everything.
  const ZoAdsName before(rest);
  rest.Filter(ZoAdsRBList());
  EXPECT_EQ(Handles(rest), (Strings{Handle(m_text), Handle(m_circle)}));
  EXPECT_FALSE(SetExists(before));
  rest.Exclude(ZoAdsRBList());
  EXPECT_TRUE(rest.IsValid());
  EXPECT_EQ(rest.GetLength(), 0);
  EXPECT_TRUE(rest.IsMatch(lines)) << "an empty set matches anything";
  EXPECT_EQ(Sets(), 2);

  // An object that owns nothing still gives up its old set, and keeps not owning the new one.
  ZoAdsEntSet created(ZoAdsEntSet::kCreateSet);
  created += m_line1;
  const ZoAdsName oldCreated(created);
  created.Filter(lines);
  EXPECT_FALSE(SetExists(oldCreated));
  EXPECT_EQ(created.m_nFlags, ZoAdsEntSet::kCreateSet);
  EXPECT_EQ(Handles(created), Strings{Handle(m_line1)});
  created.Free();

  // An alias filters the set it shares in place: the owner keeps its set and the release of it.
  {
    const ZoAdsName ownerName(set);
    ZoAdsEntSet alias(set);
    Fill(alias, {m_text, m_circle});
    alias.Exclude(lines);
    EXPECT_TRUE(alias == ownerName);
    ZoAdsEntSet(set).Filter(ZoAdsRBList(acutBuildList(RTDXF0, L"TEXT", 0)));
  }
  EXPECT_EQ(Handles(set), Strings{Handle(m_text)});
  EXPECT_EQ(Sets(), 2);
}

TEST_P(SetTest, GetExtentUnitesOnlyEntitiesThatHaveExtents) {
  const AcDbExtents start({-1, -1, -1}, {1, 1, 1});
  AcDbExtents ext = start;
  EXPECT_FALSE(ZoAdsEntSet(0).GetExtent(ext));
  ZoAdsEntSet set;
  set += Add(new AcDbPolyline, L"A");  // no vertices, no extents
  EXPECT_FALSE(set.GetExtent(ext));
  EXPECT_EQ(ext.minPoint(), start.minPoint());
  EXPECT_EQ(ext.maxPoint(), start.maxPoint());
  // The first extents replace what ext held; the others enlarge them; erased entities add nothing.
  Fill(set, {m_line1, m_circle, m_line2});
  ASSERT_TRUE(set.GetExtent(ext));
  EXPECT_EQ(ext.minPoint(), AcGePoint3d(0, -5, 0));
  EXPECT_EQ(ext.maxPoint(), AcGePoint3d(25, 10, 0));
  m_circle.Delete();
  ASSERT_TRUE(set.GetExtent(ext));
  EXPECT_EQ(ext.minPoint(), AcGePoint3d(0, 0, 0));
  EXPECT_EQ(ext.maxPoint(), AcGePoint3d(10, 10, 0));
  m_circle.Delete();
}

// The anonymous groups of the drawing: each one's members, in the dictionary's order.
std::vector<std::vector<AcDbObjectId>> AnonymousGroups(AcDbDatabase* db) {
  std::vector<std::vector<AcDbObjectId>> out;
  AcDbDictionary* dict = nullptr;
  if (db->getGroupDictionary(dict, AcDb::kForRead) != Acad::eOk) return out;
  AcDbDictionaryIterator* it = dict->newIterator();
  for (; !it->done(); it->next()) {
    AcDbGroup* group = nullptr;
    if (acdbOpenObject(group, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
    if (group->isAnonymous()) {
      EXPECT_TRUE(group->isSelectable());
      EXPECT_EQ(it->name()[0], L'*');
      AcDbObjectIdArray ids;
      group->allEntityIds(ids);
      out.emplace_back(ids.asArrayPtr(), ids.asArrayPtr() + ids.length());
    }
    group->close();
  }
  delete it;
  dict->close();
  return out;
}

TEST_P(SetTest, MakeAnonymousGroupFilesTheMembersInTheSetsOrder) {
  ZoAdsEntSet set, failing;
  Fill(set, {m_line2, m_line1});
  EXPECT_EQ(set.MakeAnonymousGroup(), RTNORM);
  EXPECT_EQ(ZoAdsEntSet(0).MakeAnonymousGroup(), RTNORM);
  // An entity that cannot join ends it with RTERROR; the group keeps the ones before.
  Fill(failing, {m_text, m_circle, m_line1});
  m_circle.Delete();
  EXPECT_EQ(failing.MakeAnonymousGroup(), RTERROR);
  m_circle.Delete();

  const auto groups = AnonymousGroups(Db());
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0], (std::vector<AcDbObjectId>{m_line2.GetObjectId(), m_line1.GetObjectId()}));
  EXPECT_TRUE(groups[1].empty());
  EXPECT_EQ(groups[2], std::vector<AcDbObjectId>{m_text.GetObjectId()});
}

TEST_P(SetTest, WholeSetOperationsReachEveryEntity) {
  ZoAdsEntSet set;
  Fill(set, {m_line1, m_line2});
  ZoDbObjectIdList list;
  list.Append(AcDbObjectId::kNull);
  set.AsIdList(list);
  ASSERT_EQ(list.GetLength(), 3);
  EXPECT_TRUE(list.GetFirst()->isNull()) << "nothing is cleared first";
  EXPECT_EQ(*list.GetNext(list.GetFirst()), m_line1.GetObjectId());
  AcDbObjectIdArray ids;
  ids.append(m_text.GetObjectId());
  set.AsIdArray(ids);
  EXPECT_EQ(std::vector<AcDbObjectId>(ids.asArrayPtr(), ids.asArrayPtr() + ids.length()),
            (std::vector<AcDbObjectId>{m_text.GetObjectId(), m_line1.GetObjectId(), m_line2.GetObjectId()}));

  // A move of the unlocked line only: the host refuses a set with an entity on a locked layer.
  ZoAdsMatrix move;
  static_cast<ZoAdsMatrix::Array&>(move)[0][3] = 100;
  set.TransformBy(move);
  EXPECT_EQ(tovutest::Find(tovutest::EntityData(m_line1), 10)->point[0], 0);
  set -= m_line2;
  set.TransformBy(move);
  EXPECT_EQ(tovutest::Find(tovutest::EntityData(m_line1), 10)->point[0], 100);
  ZoAdsEntSet(0).TransformBy(move);

  // Erase opens each for write: the locked line stays. Delete toggles what the host lets it.
  Fill(set, {m_line2});
  set.Erase();
  EXPECT_TRUE(tovutest::EntityData(m_line1).empty());
  EXPECT_FALSE(tovutest::EntityData(m_line2).empty());
  set += m_circle;
  set.Delete();
  EXPECT_FALSE(tovutest::EntityData(m_line1).empty()) << "brought back";
  EXPECT_TRUE(tovutest::EntityData(m_circle).empty());
  EXPECT_FALSE(tovutest::EntityData(m_line2).empty());

  // Redraw, entity by entity in the set's order, in the current viewport.
  set -= m_circle;
  Session::Get().ClearJournal();
  set.Redraw(3);
  EXPECT_EQ(tovutest::Redraws(3), (Redraws{{Handle(m_line1), 2}, {Handle(m_line2), 2}}));
  EXPECT_TRUE(standin::DisplayOf(m_line2).highlighted);
}

TEST_P(SetTest, GetTakesTheHostsSelectionIntoTheObject) {
  Session& s = Session::Get();
  InputEvent pick = InputEvent::At(InputKind::Pick, 5, 0);
  pick.text = Handle(m_line1);
  s.Queue({pick, InputEvent::Key(InputKind::Enter)});
  ZoAdsEntSet set;
  EXPECT_EQ(set.Get(nullptr), RTNORM);
  EXPECT_EQ(Handles(set), Strings{Handle(m_line1)});
  set.Free();

  s.Queue({InputEvent::Key(InputKind::Esc)});
  EXPECT_EQ(set.Get(nullptr), RTCAN);
  EXPECT_FALSE(set.IsValid());

  EXPECT_EQ(set.Get(L"X", nullptr, nullptr, ZoAdsRBList(acutBuildList(RTDXF0, L"LINE", 0))), RTNORM);
  EXPECT_EQ(Handles(set), (Strings{Handle(m_line2), Handle(m_line1)}));
  set.Free();

  // Through a point: what the pick box finds there, with the host's filter.
  set.Get(ZoGePoint(5, 0, 0), nullptr);
  EXPECT_EQ(Handles(set), Strings{Handle(m_line1)});
  set.Free();
  set.Get(ZoGePoint(5, 0, 0), ZoAdsRBList(acutBuildList(RTDXF0, L"CIRCLE", 0)));
  EXPECT_FALSE(set.IsValid());
}

TEST_P(SetTest, RedrawAllVisitsEveryViewportTheCurrentOneLast) {
  standin::SetTiledViewports({{2, {0, 0}, {0.5, 1}}, {3, {0.5, 0}, {1, 0.5}}, {4, {0.5, 0.5}, {1, 1}}});
  tovutest::SetShortVar(L"CVPORT", 3);
  const ZoAdsEnt sheet = Add(new AcDbText({10, 10, 0}, L"SHEET", AcDbObjectId::kNull, 5), nullptr, true);
  ZoAdsEntSet set;
  Fill(set, {m_line1, m_circle});
  Session::Get().ClearJournal();
  set.RedrawAll(3);
  const std::wstring l = Handle(m_line1), c = Handle(m_circle), p = Handle(sheet);
  EXPECT_EQ(tovutest::Redraws(3), (Redraws{{l, 2}, {c, 2}, {l, 4}, {c, 4}, {l, 3}, {c, 3}}));
  EXPECT_EQ(standin::CurrentViewport(), 3);

  // On a layout whose paper space is current only there; from a floating viewport paper space
  // first, then back in the floating viewport.
  set -= m_circle;
  set += sheet;
  tovutest::SetShortVar(L"TILEMODE", 0);
  tovutest::SetShortVar(L"CVPORT", 1);
  Session::Get().ClearJournal();
  set.RedrawAll(2);
  EXPECT_EQ(tovutest::Redraws(2), (Redraws{{l, 1}, {p, 1}}));
  EXPECT_EQ(standin::CurrentViewport(), 1);
  tovutest::SetShortVar(L"CVPORT", 2);
  Session::Get().ClearJournal();
  set.RedrawAll(1);
  EXPECT_EQ(tovutest::Redraws(1), (Redraws{{l, 1}, {p, 1}, {l, 2}, {p, 2}}));
  EXPECT_EQ(standin::CurrentViewport(), 2);
  EXPECT_TRUE(standin::DisplayOf(sheet).visible);
}

// The sample drawing, whose block DOOR has two attribute definitions.
class IncludeTest : public SetNamesTest {};

ZoAdsEnt Add2dPolyline(AcDbDatabase* db, std::initializer_list<AcGePoint3d> points) {
  const AcDbObjectId id = standin::AddEntity(db, new AcDb2dPolyline);
  AcDb2dPolyline* pl = nullptr;
  if (acdbOpenObject(pl, id, AcDb::kForWrite) != Acad::eOk) return ZoAdsEnt();
  for (const AcGePoint3d& pt : points) {
    auto* v = new AcDb2dVertex(pt);
    if (pl->appendVertex(v) == Acad::eOk)
      v->close();
    else
      delete v;
  }
  pl->close();
  return ZoAdsEnt(id);
}

TEST_P(IncludeTest, IncludeEndAddsTheMainEntitiesCreatedSinceAndRemovesTheMarker) {
  ads_name first;
  ASSERT_EQ(acdbEntNext(nullptr, first), RTNORM);
  const ZoAdsEnt wall(first);
  const size_t before = tovutest::Walk().size();

  ZoAdsEntSet set;
  set.IncludeBegin();
  EXPECT_TRUE(set.IsValid()) << "IncludeBegin creates the host set";
  EXPECT_NE(set.m_nFlags & ZoAdsEntSet::kIncludeMarker, 0);
  ads_name last;
  ASSERT_EQ(acdbEntLast(last), RTNORM);
  const ZoAdsEnt marker(last);
  EXPECT_EQ(TypeOf(marker), L"POINT");
  EXPECT_EQ(standin::OpenObjectCount(), 0) << "the marker is closed";

  set += wall;
  const ZoAdsEnt line1(AddToModelSpace(new AcDbLine({0, 0, 0}, {50, 0, 0}), 1));
  const ZoAdsEnt line2(standin::AddEntity(Db(), new AcDbLine({0, 5, 0}, {50, 5, 0})));
  const ZoAdsEnt door(standin::AddBlockReference(Db(), L"DOOR", {300, 300, 0}, 0, {{L"NO", L"D3"}}, L"DOOR"));
  const ZoAdsEnt poly = Add2dPolyline(Db(), {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
  const ZoAdsEnt sheet(
      standin::AddEntity(Db(), new AcDbText({10, 10, 0}, L"SHEET", AcDbObjectId::kNull, 5), nullptr, true));

  set.IncludeEnd();
  EXPECT_EQ(Handles(set),
            (Strings{Handle(wall), Handle(line1), Handle(line2), Handle(door), Handle(poly), Handle(sheet)}));
  EXPECT_EQ(set.m_nFlags & ZoAdsEntSet::kIncludeMarker, 0);
  EXPECT_TRUE(tovutest::EntityData(marker).empty()) << "the marker is erased";
  EXPECT_EQ(tovutest::Walk().size(), before + 12) << "with 2 attributes, 3 vertices and 2 sequence ends";

  // Nothing is left to walk from: a second IncludeEnd changes nothing.
  standin::AddEntity(Db(), new AcDbLine({0, 9, 0}, {50, 9, 0}));
  set.IncludeEnd();
  EXPECT_EQ(set.GetLength(), 6);
}

INSTANTIATE_TEST_SUITE_P(HostSetNames, SetTest, ::testing::Bool(), NameMode);
INSTANTIATE_TEST_SUITE_P(HostSetNames, IncludeTest, ::testing::Bool(), NameMode);

}  // namespace
