// Conformance of redraws (and what the journal records of them) and of the viewport list.
#include "standin/host/view/display.h"

#include <aced.h>
#include <acedads.h>
#include <acutads.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/selection.h"
#include "standin/host/view/viewports.h"
#include "testing/EntityData.h"

namespace {

using standin::JournalKind;
using standin::Session;
using tovutest::ByHandle;

class GraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override { Session::Get().Reset(); }
};

int SetShort(const wchar_t* name, int value) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = static_cast<short>(value);
  return acedSetVar(name, &rb);
}

int GetShort(const wchar_t* name) {
  resbuf rb{};
  acedGetVar(name, &rb);
  return rb.resval.rint;
}

TEST_F(GraphicsTest, RedrawsChangeWhatTheUserSeesAndGoIntoTheJournal) {
  const auto door = ByHandle(L"1C");
  const auto attribute = ByHandle(L"1D");
  ASSERT_EQ(acedRedraw(door, 3), RTNORM);
  ASSERT_EQ(acedRedraw(door, 2), RTNORM);
  EXPECT_FALSE(standin::DisplayOf(door).visible);
  EXPECT_TRUE(standin::DisplayOf(door).highlighted);
  ASSERT_EQ(acedRedraw(attribute, 1), RTNORM);  // a part redraws its whole block reference
  ASSERT_EQ(acedRedraw(door, 4), RTNORM);
  EXPECT_TRUE(standin::DisplayOf(attribute).visible);
  EXPECT_FALSE(standin::DisplayOf(door).highlighted);
  ASSERT_EQ(acedRedraw(nullptr, 0), RTNORM);

  EXPECT_EQ(acedRedraw(door, 0), RTERROR);  // no mode of the host
  EXPECT_EQ(acedRedraw(door, 5), RTERROR);
  const ads_name nothing = {12345678, 0};
  EXPECT_EQ(acedRedraw(nothing, 1), RTERROR);
  ASSERT_EQ(acdbEntDel(ByHandle(L"27")), RTNORM);
  EXPECT_EQ(acedRedraw(ByHandle(L"27"), 1), RTERROR);

  const auto redraws = Session::Get().Journal(JournalKind::Redraw);
  ASSERT_EQ(redraws.size(), 5u);
  const std::vector<std::vector<double>> values = {{3, 2, 1, 1}, {2, 2, 0, 1}, {1, 2, 1, 1}, {4, 2, 1, 0}, {0, 2}};
  for (size_t i = 0; i < redraws.size(); ++i) {
    EXPECT_EQ(redraws[i].text, i < 4 ? L"1C" : L"all");
    EXPECT_EQ(redraws[i].values, values[i]) << i;
  }
}

TEST_F(GraphicsTest, ViewportsListTheCurrentFirstAndCvportNamesOnlyViewportsInUse) {
  auto list = [] {
    std::vector<std::vector<double>> out;
    resbuf* rb = nullptr;
    EXPECT_EQ(acedVports(&rb), RTNORM);
    for (const resbuf* r = rb; r; r = r->rbnext->rbnext->rbnext->rbnext->rbnext) {
      EXPECT_EQ(r->restype, RTLB);
      EXPECT_EQ(r->rbnext->restype, RTSHORT);
      EXPECT_EQ(r->rbnext->rbnext->restype, RTPOINT);
      EXPECT_EQ(r->rbnext->rbnext->rbnext->rbnext->restype, RTLE);
      const resbuf* ll = r->rbnext->rbnext;
      const resbuf* ur = ll->rbnext;
      out.push_back({static_cast<double>(r->rbnext->resval.rint), ll->resval.rpoint[0], ll->resval.rpoint[1],
                     ur->resval.rpoint[0], ur->resval.rpoint[1]});
    }
    acutRelRb(rb);
    return out;
  };
  EXPECT_EQ(list(), (std::vector<std::vector<double>>{{2, 0, 0, 1, 1}}));
  EXPECT_EQ(acedVports(nullptr), RTERROR);

  standin::SetTiledViewports({{2, {0, 0}, {0.5, 1}}, {3, {0.5, 0}, {1, 0.5}}, {4, {0.5, 0.5}, {1, 1}}});
  ASSERT_EQ(SetShort(L"CVPORT", 4), RTNORM);
  EXPECT_EQ(list()[0][0], 4);
  EXPECT_EQ(list().size(), 3u);
  EXPECT_EQ(SetShort(L"CVPORT", 5), RTERROR);  // no such viewport
  EXPECT_EQ(SetShort(L"CVPORT", 0), RTERROR);
  EXPECT_EQ(GetShort(L"CVPORT"), 4);
  EXPECT_EQ(acedSetCurrentVPort(3), Acad::eOk);
  EXPECT_EQ(GetShort(L"CVPORT"), 3);
  EXPECT_EQ(acedSetCurrentVPort(9), Acad::eInvalidInput);

  // A layout: paper space (1) and its floating viewport (2), paper space current.
  ASSERT_EQ(SetShort(L"TILEMODE", 0), RTNORM);
  ASSERT_EQ(SetShort(L"CVPORT", 1), RTNORM);
  EXPECT_EQ(list(), (std::vector<std::vector<double>>{{1, 0, 0, 420, 297}, {2, 20, 20, 400, 277}}));
  EXPECT_EQ(SetShort(L"CVPORT", 3), RTERROR);  // a tiled viewport is not in use on a layout
  ASSERT_EQ(acedRedraw(ByHandle(L"10"), 3), RTNORM);
  EXPECT_EQ(Session::Get().Journal(JournalKind::Redraw).back().values[1], 1);

  Session::Get().Reset();
  EXPECT_EQ(list(), (std::vector<std::vector<double>>{{2, 0, 0, 1, 1}}));
}

TEST_F(GraphicsTest, RedrawsFromATimerThreadDuringSelection) {
  std::atomic<bool> stop{false};
  std::thread timer([&] {
    const auto door = ByHandle(L"1C");
    for (int i = 0; !stop; ++i) acedRedraw(door, i % 2 ? 1 : 2);
  });
  for (int i = 0; i < 200; ++i) {
    ads_name ss;
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, ss), RTNORM);
    long n = 0;
    acedSSLength(ss, &n);
    EXPECT_EQ(n, 13);
    acedSSFree(ss);
  }
  stop = true;
  timer.join();
}

}  // namespace
