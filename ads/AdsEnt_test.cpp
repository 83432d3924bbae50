#include "ads/AdsEnt.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/view/display.h"
#include "standin/host/view/viewports.h"
#include "standin/win32/utf8.h"
#include "testing/DrawingTest.h"

namespace {

using standin::JournalKind;
using standin::Session;
using tovutest::Handle;

class EntityTest : public tovutest::DrawingTest {};

// What the independent writer says every entity of its drawing holds ("ENTITY handle type
// code=value ..."), and the order of the drawing's walk ("ORDER handle ...").
struct Expected {
  struct Entity {
    std::wstring type;
    std::map<int, std::wstring> fields;
    std::wstring Field(int code) const {
      const auto it = fields.find(code);
      return it == fields.end() ? L"" : it->second;
    }
  };
  std::map<std::wstring, Entity> entities;
  std::vector<std::wstring> order;
};

std::string TestData(const char* name) {
  return std::string(TOVU_SOURCE_DIR) + "/standin/host/drawing/testdata/" + name;
}

Expected ReadExpected(const char* name) {
  Expected out;
  std::ifstream in(TestData(name));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string kind, word;
    words >> kind;
    if (kind == "ORDER") {
      while (words >> word) out.order.push_back(standin::FromUtf8(word));
    } else if (kind == "ENTITY") {
      std::string handle, type;
      words >> handle >> type;
      Expected::Entity& e = out.entities[standin::FromUtf8(handle)];
      e.type = standin::FromUtf8(type);
      while (words >> word) {
        const size_t eq = word.find('=');
        if (eq != std::string::npos) e.fields[std::stoi(word.substr(0, eq))] = standin::FromUtf8(word.substr(eq + 1));
      }
    }
  }
  return out;
}

// The handles of every entity from the first one on, stepping with MoveToNext.
std::vector<std::wstring> WalkWithMoveToNext(ZoAdsEnt* last = nullptr) {
  std::vector<std::wstring> out;
  ads_name first;
  if (acdbEntNext(nullptr, first) != RTNORM) return out;
  ZoAdsEnt ent(first);
  out.push_back(Handle(ent));
  while (ent.MoveToNext() == RTNORM && out.size() < 1000) out.push_back(Handle(ent));
  if (last) *last = ent;
  return out;
}

TEST_F(EntityTest, NamesIdsAndTheOpenObjectMeetInOneHandle) {
  const ZoAdsEnt none(AcDbObjectId::kNull);
  EXPECT_FALSE(none.IsValid());
  EXPECT_TRUE(none.GetObjectId().isNull());
  EXPECT_EQ(none.GetDXFData(), nullptr);
  EXPECT_EQ(none.Open(AcDb::kForRead), nullptr);

  // The sample's first entity is a wall on the locked layer WALL.
  ads_name first;
  ASSERT_EQ(acdbEntNext(nullptr, first), RTNORM);
  const ZoAdsEnt wall(first);
  const AcDbObjectId id = wall.GetObjectId();
  ASSERT_FALSE(id.isNull());
  EXPECT_TRUE(ZoAdsEnt(id) == wall);
  ZoAdsRBList data(wall.GetDXFData());
  ASSERT_FALSE(data.IsEmpty());
  EXPECT_EQ(data.Head()->Type(), -1);
  EXPECT_TRUE(ZoAdsEnt(data.Head()->resval.rlname) == wall);
  ZoAdsResBuf layer(L"WALL");
  layer.restype = 8;
  EXPECT_TRUE(data.IsMatch(layer));
  layer.Reset();
  data.Release();

  AcDbEntity* pWall = wall.Open(AcDb::kForRead);
  ASSERT_NE(pWall, nullptr);
  EXPECT_STREQ(pWall->isA()->dxfName(), L"LINE");
  EXPECT_EQ(pWall->objectId(), id);
  // While it is open for read, nobody may write it; and a locked layer refuses writing anyway.
  EXPECT_EQ(pWall->close(), Acad::eOk);
  EXPECT_EQ(wall.Open(AcDb::kForWrite), nullptr);

  // Deleting erases; erased entities have no data and do not open; a second Delete restores.
  AcDbLine* pLine = new AcDbLine({0, 0, 0}, {10, 0, 0});
  const ZoAdsEnt line(standin::AddEntity(Db(), pLine, L"DOOR"));
  ASSERT_TRUE(line.IsValid());
  line.Delete();
  EXPECT_EQ(line.GetDXFData(), nullptr);
  EXPECT_EQ(line.Open(AcDb::kForRead), nullptr);
  EXPECT_FALSE(line.GetObjectId().isNull()) << "an erased entity keeps its id";
  line.Delete();
  ZoAdsRBList back(line.GetDXFData());
  EXPECT_FALSE(back.IsEmpty());
  wall.Delete();  // refused by the host: the layer is locked
  ZoAdsRBList still(wall.GetDXFData());
  EXPECT_FALSE(still.IsEmpty());

  // A copy is the same name; names of a closed drawing name nothing any more.
  ZoAdsEnt copy;
  copy = line;
  EXPECT_TRUE(copy == line);
  standin::OpenEmptyDrawing();
  EXPECT_TRUE(copy.GetObjectId().isNull());
  EXPECT_EQ(copy.GetDXFData(), nullptr);
}

// Each filter against each entity of drawings written by another program, both DXF flavours:
// the module's own matching must agree with what the writer put into the file.
TEST_F(EntityTest, FiltersMatchTheDataOfDrawingsFromAnIndependentWriter) {
  for (const char* flavour : {"plan_r12", "plan_r2000"}) {
    SCOPED_TRACE(flavour);
    std::wstring error;
    ASSERT_TRUE(standin::OpenDxfDrawing(standin::FromUtf8(TestData((std::string(flavour) + ".dxf").c_str())), error))
        << standin::ToUtf8(error);
    const Expected expected = ReadExpected((std::string(flavour) + ".expected").c_str());
    ASSERT_FALSE(expected.order.empty());

    // The walk visits the main entities with their attributes, vertices and sequence ends, in
    // the file's order, and stops at the last one.
    ZoAdsEnt last;
    EXPECT_EQ(WalkWithMoveToNext(&last), expected.order);
    EXPECT_EQ(Handle(last), expected.order.back());
    const ZoAdsEnt before(last);
    EXPECT_NE(last.MoveToNext(), RTNORM);
    EXPECT_TRUE(last == before) << "a failed step keeps the name";

    // An empty filter accepts every entity, sub-entities included, and even no name.
    const ZoAdsRBList none;
    EXPECT_TRUE(ZoAdsEnt().IsMatch(none));
    ads_name first;
    ASSERT_EQ(acdbEntNext(nullptr, first), RTNORM);
    size_t all = 0;
    for (ZoAdsEnt ent(first);; ++all) {
      EXPECT_TRUE(ent.IsMatch(none));
      if (ent.MoveToNext() != RTNORM) break;
    }
    EXPECT_EQ(all + 1, expected.order.size());

    using Pred = std::function<bool(const Expected::Entity&)>;
    const ads_point centre = {200, 400, 0};
    const struct {
      const char* what;
      resbuf* filter;
      Pred accepts;
      size_t count;  // how many entities of the file the filter accepts
    } cases[] = {
        {"type LINE", acutBuildList(RTDXF0, L"LINE", 0), [](const Expected::Entity& e) { return e.type == L"LINE"; },
         7},
        {"type pattern *LINE", acutBuildList(RTDXF0, L"*LINE", 0),
         [](const Expected::Entity& e) {
           return e.type == L"LINE" || e.type == L"LWPOLYLINE" || e.type == L"POLYLINE";
         },
         8},
        {"type alternatives", acutBuildList(RTDXF0, L"ATTRIB,INSERT", 0),
         [](const Expected::Entity& e) { return e.type == L"ATTRIB" || e.type == L"INSERT"; }, 6},
        // Patterns are the host's wild cards, which respect case (unlike its selection filters).
        {"type in lower case", acutBuildList(RTDXF0, L"line", 0), [](const Expected::Entity&) { return false; }, 0},
        {"two layer patterns that both hold", acutBuildList(8, L"W*", 8, L"*L", 0),
         [](const Expected::Entity& e) { return e.Field(8) == L"WALL"; }, 8},
        {"two layers no entity has at once", acutBuildList(8, L"WALL", 8, L"DOOR", 0),
         [](const Expected::Entity&) { return false; }, 0},
        {"type and layer", acutBuildList(RTDXF0, L"INSERT", 8, L"WALL", 0),
         [](const Expected::Entity& e) { return e.type == L"INSERT" && e.Field(8) == L"WALL"; }, 1},
        {"attribute tag", acutBuildList(2, L"NO", 0),
         [](const Expected::Entity& e) { return e.type == L"ATTRIB" && e.Field(2) == L"NO"; }, 2},
        {"attribute value pattern", acutBuildList(1, L"D?", 0),
         [](const Expected::Entity& e) { return e.Field(1) == L"D1" || e.Field(1) == L"D2"; }, 2},
        {"colour 4", acutBuildList(62, 4, 0), [](const Expected::Entity& e) { return e.Field(62) == L"4"; }, 1},
        // BYLAYER is not in an entity's data: the module matches data, not the host's defaults.
        {"colour BYLAYER", acutBuildList(62, 256, 0), [](const Expected::Entity&) { return false; }, 0},
        {"radius within 1e-8", acutBuildList(40, 40.0 + 5e-9, 0),
         [](const Expected::Entity& e) { return e.type == L"CIRCLE"; }, 1},
        {"centre point", acutBuildList(10, centre, 0),
         [](const Expected::Entity& e) { return e.Field(10) == L"200.0,400.0,0.0"; }, 1},
        {"paper space", acutBuildList(67, 1, 0), [](const Expected::Entity& e) { return e.Field(67) == L"1"; }, 1},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.what);
      const ZoAdsRBList filter(c.filter);
      ASSERT_FALSE(filter.IsEmpty());
      size_t accepted = 0;
      ZoAdsEnt ent(first);
      do {
        const auto it = expected.entities.find(Handle(ent));
        // Vertices and sequence ends, which the file lists by handle only, match none of these.
        const bool wanted = it != expected.entities.end() && c.accepts(it->second);
        EXPECT_EQ(ent.IsMatch(filter), wanted) << standin::ToUtf8(Handle(ent));
        accepted += wanted;
      } while (ent.MoveToNext() == RTNORM);
      EXPECT_EQ(accepted, c.count);
      EXPECT_FALSE(ZoAdsEnt().IsMatch(filter)) << "no name has no data to match";
    }
  }
}

TEST_F(EntityTest, MoveToNextStopsAtTheLastEntityThatIsNotErased) {
  standin::OpenEmptyDrawing();
  ZoAdsEnt none;
  EXPECT_NE(none.MoveToNext(), RTNORM);
  EXPECT_FALSE(none.IsValid());

  const ZoAdsEnt a(standin::AddEntity(Db(), new AcDbLine({0, 0, 0}, {1, 0, 0})));
  const ZoAdsEnt b(standin::AddEntity(Db(), new AcDbCircle({5, 5, 0}, AcGeVector3d::kZAxis, 1)));
  const ZoAdsEnt c(standin::AddEntity(Db(), new AcDbPoint({9, 9, 0})));
  ZoAdsEnt at(a);
  EXPECT_EQ(at.MoveToNext(), RTNORM);
  EXPECT_TRUE(at == b);
  EXPECT_EQ(at.MoveToNext(), RTNORM);
  EXPECT_TRUE(at == c);
  EXPECT_NE(at.MoveToNext(), RTNORM);
  EXPECT_TRUE(at == c);

  // With the last one erased, the one before it ends the drawing.
  c.Delete();
  at = b;
  EXPECT_NE(at.MoveToNext(), RTNORM);
  EXPECT_TRUE(at == b);
}

class RedrawTest : public EntityTest {
 protected:
  void SetUp() override {
    EntityTest::SetUp();
    standin::SetTiledViewports({{2, {0, 0}, {0.5, 1}}, {3, {0.5, 0}, {1, 0.5}}, {4, {0.5, 0.5}, {1, 1}}});
    SetShort(L"CVPORT", 3);
    ads_name first;
    ASSERT_EQ(acdbEntNext(nullptr, first), RTNORM);
    m_ent = first;
    Session::Get().ClearJournal();
  }
  static void SetShort(const wchar_t* name, int value) {
    resbuf rb = {};
    rb.restype = RTSHORT;
    rb.resval.rint = static_cast<short>(value);
    ASSERT_EQ(acedSetVar(name, &rb), RTNORM) << standin::ToUtf8(name);
  }
  // The viewports of the journal's redraws, each checked to name the entity with the mode.
  std::vector<int> RedrawnIn(int mode) {
    std::vector<int> out;
    for (const standin::JournalEntry& e : Session::Get().Journal(JournalKind::Redraw)) {
      EXPECT_EQ(e.text, Handle(m_ent));
      EXPECT_EQ(e.values.at(0), mode);
      out.push_back(static_cast<int>(e.values.at(1)));
    }
    return out;
  }
  ZoAdsEnt m_ent;
};

TEST_F(RedrawTest, RedrawAllVisitsEveryTileCurrentFirstAndRestoresCvport) {
  m_ent.RedrawAll(3);
  EXPECT_EQ(RedrawnIn(3), (std::vector<int>{3, 2, 4}));
  EXPECT_EQ(standin::CurrentViewport(), 3);
  EXPECT_TRUE(standin::DisplayOf(m_ent).highlighted);

  Session::Get().ClearJournal();
  m_ent.Redraw(2);
  EXPECT_EQ(RedrawnIn(2), (std::vector<int>{3}));
  EXPECT_FALSE(standin::DisplayOf(m_ent).visible);
}

TEST_F(RedrawTest, OnALayoutASingleEntityIsLeftAlone) {
  SetShort(L"TILEMODE", 0);
  SetShort(L"CVPORT", 1);
  Session::Get().ClearJournal();
  m_ent.RedrawAll(2);
  EXPECT_TRUE(Session::Get().Journal(JournalKind::Redraw).empty());
  EXPECT_TRUE(standin::DisplayOf(m_ent).visible);
  EXPECT_EQ(standin::CurrentViewport(), 1);
}

}  // namespace
