// The entity handle: names, ids and opened objects of one entity, the walk through the drawing
// and filters, checked against drawings from an independent writer, and redraws in viewports.
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

std::string TestData(const std::string& name) {
  return std::string(TOVU_SOURCE_DIR) + "/standin/host/drawing/testdata/" + name;
}

Expected ReadExpected(const std::string& name) {
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

TEST_F(EntityTest, NamesIdsAndTheOpenObjectMeetInOneHandle) {
  const ZoAdsEnt none(AcDbObjectId::kNull);
  EXPECT_FALSE(none.IsValid());
  EXPECT_TRUE(none.GetObjectId().isNull());
  EXPECT_EQ(none.GetDXFData(), nullptr);
  EXPECT_EQ(none.Open(AcDb::kForRead), nullptr);

  AcDbLine* pLine = new AcDbLine({0, 0, 0}, {10, 0, 0});
  const ZoAdsEnt line(standin::AddEntity(Db(), pLine, L"DOOR"));
  const AcDbObjectId id = line.GetObjectId();
  ASSERT_FALSE(id.isNull());
  EXPECT_TRUE(ZoAdsEnt(id) == line);
  ZoAdsRBList data(line.GetDXFData());
  ASSERT_FALSE(data.IsEmpty());
  EXPECT_TRUE(ZoAdsEnt(data.Head()->resval.rlname) == line) << "the data begin with the entity's name";
  AcDbEntity* pOpen = line.Open(AcDb::kForWrite);
  ASSERT_NE(pOpen, nullptr);
  EXPECT_EQ(pOpen->objectId(), id);
  pOpen->close();

  // Deleting erases; erased entities have no data and do not open; a second Delete restores.
  line.Delete();
  EXPECT_EQ(line.GetDXFData(), nullptr);
  EXPECT_EQ(line.Open(AcDb::kForRead), nullptr);
  EXPECT_EQ(line.GetObjectId(), id) << "an erased entity keeps its id";
  line.Delete();
  EXPECT_FALSE(ZoAdsRBList(line.GetDXFData()).IsEmpty());

  // Names of a closed drawing name nothing any more.
  standin::OpenEmptyDrawing();
  EXPECT_TRUE(line.GetObjectId().isNull());
  EXPECT_EQ(line.GetDXFData(), nullptr);
}

// The walk and each filter against each entity of drawings written by another program, both
// DXF flavours: the module's own stepping and matching must agree with what the writer put in.
TEST_F(EntityTest, WalkAndFiltersAgreeWithDrawingsFromAnIndependentWriter) {
  ZoAdsEnt none;
  EXPECT_NE(none.MoveToNext(), RTNORM);
  EXPECT_FALSE(none.IsValid());
  EXPECT_TRUE(none.IsMatch(ZoAdsRBList())) << "an empty filter accepts even no name";

  for (const std::string flavour : {"plan_r12", "plan_r2000"}) {
    SCOPED_TRACE(flavour);
    std::wstring error;
    ASSERT_TRUE(standin::OpenDxfDrawing(standin::FromUtf8(TestData(flavour + ".dxf")), error))
        << standin::ToUtf8(error);
    const Expected expected = ReadExpected(flavour + ".expected");
    ASSERT_FALSE(expected.order.empty());

    // The walk visits the main entities with their attributes, vertices and sequence ends, in
    // the file's order, and a failed step at the last one keeps the name.
    ads_name first;
    ASSERT_EQ(acdbEntNext(nullptr, first), RTNORM);
    ZoAdsEnt ent(first);
    std::vector<std::wstring> walk{Handle(ent)};
    while (ent.MoveToNext() == RTNORM && walk.size() < 1000) walk.push_back(Handle(ent));
    EXPECT_EQ(walk, expected.order);
    EXPECT_EQ(Handle(ent), expected.order.back());

    using Pred = std::function<bool(const Expected::Entity&)>;
    const struct {
      const char* what;
      resbuf* filter;
      Pred accepts;
      size_t count;  // how many entities of the file the filter accepts
    } cases[] = {
        {"type LINE", acutBuildList(RTDXF0, L"LINE", 0), [](const Expected::Entity& e) { return e.type == L"LINE"; },
         7},
        {"type alternatives", acutBuildList(RTDXF0, L"ATTRIB,INSERT", 0),
         [](const Expected::Entity& e) { return e.type == L"ATTRIB" || e.type == L"INSERT"; }, 6},
        {"two layer patterns that both hold", acutBuildList(8, L"W*", 8, L"*L", 0),
         [](const Expected::Entity& e) { return e.Field(8) == L"WALL"; }, 8},
        {"two layers no entity has at once", acutBuildList(8, L"WALL", 8, L"DOOR", 0),
         [](const Expected::Entity&) { return false; }, 0},
        {"type and layer", acutBuildList(RTDXF0, L"INSERT", 8, L"WALL", 0),
         [](const Expected::Entity& e) { return e.type == L"INSERT" && e.Field(8) == L"WALL"; }, 1},
        {"attribute value pattern", acutBuildList(1, L"D?", 0),
         [](const Expected::Entity& e) { return e.Field(1) == L"D1" || e.Field(1) == L"D2"; }, 2},
        // BYLAYER is not in an entity's data: the module matches data, not the host's defaults.
        {"colour BYLAYER", acutBuildList(62, 256, 0), [](const Expected::Entity&) { return false; }, 0},
        {"paper space", acutBuildList(67, 1, 0), [](const Expected::Entity& e) { return e.Field(67) == L"1"; }, 1},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.what);
      const ZoAdsRBList filter(c.filter);
      ASSERT_FALSE(filter.IsEmpty());
      size_t accepted = 0;
      ZoAdsEnt at(first);
      do {
        const auto it = expected.entities.find(Handle(at));
        // Vertices and sequence ends, which the file lists by handle only, match none of these.
        const bool wanted = it != expected.entities.end() && c.accepts(it->second);
        EXPECT_EQ(at.IsMatch(filter), wanted) << standin::ToUtf8(Handle(at));
        accepted += wanted;
      } while (at.MoveToNext() == RTNORM);
      EXPECT_EQ(accepted, c.count);
      EXPECT_FALSE(ZoAdsEnt().IsMatch(filter)) << "no name has no data to match";
    }
  }
}

class RedrawTest : public EntityTest {
 protected:
  void SetUp() override {
    EntityTest::SetUp();
    standin::SetTiledViewports({{2, {0, 0}, {0.5, 1}}, {3, {0.5, 0}, {1, 0.5}}, {4, {0.5, 0.5}, {1, 1}}});
    tovutest::SetShortVar(L"CVPORT", 3);
    ads_name first;
    ASSERT_EQ(acdbEntNext(nullptr, first), RTNORM);
    m_ent = first;
    standin::Session::Get().ClearJournal();
  }
  ZoAdsEnt m_ent;
};

TEST_F(RedrawTest, RedrawAllVisitsEveryTileCurrentFirstButNothingOnALayout) {
  const std::wstring h = Handle(m_ent);
  m_ent.RedrawAll(3);
  EXPECT_EQ(tovutest::Redraws(3), (std::vector<std::pair<std::wstring, int>>{{h, 3}, {h, 2}, {h, 4}}));
  EXPECT_EQ(standin::CurrentViewport(), 3);
  EXPECT_TRUE(standin::DisplayOf(m_ent).highlighted);
  m_ent.Redraw(2);
  EXPECT_EQ(tovutest::Redraws(2), (std::vector<std::pair<std::wstring, int>>{{h, 3}}));
  EXPECT_FALSE(standin::DisplayOf(m_ent).visible);

  // On a layout a single entity is left alone.
  tovutest::SetShortVar(L"TILEMODE", 0);
  tovutest::SetShortVar(L"CVPORT", 1);
  standin::Session::Get().ClearJournal();
  m_ent.RedrawAll(1);
  EXPECT_TRUE(tovutest::Redraws(1).empty());
  EXPECT_EQ(standin::CurrentViewport(), 1);
}

}  // namespace
