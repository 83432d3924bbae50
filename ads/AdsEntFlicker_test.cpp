#include "ads/AdsEntFlicker.h"

#include <gtest/gtest.h>
#include <rxdlinkr.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/interaction/selection.h"
#include "standin/host/view/display.h"
#include "standin/win32/timer.h"
#include "standin/win32/utf8.h"

namespace {

using standin::JournalKind;
using standin::Session;
using Events = std::vector<std::wstring>;

// Three lines A, B and C in an empty drawing, and the flicker singleton, on the virtual clock
// unless a test asks for the real one.
class FlickerTest : public ::testing::Test {
 protected:
  explicit FlickerTest(bool virtualClock = true) : m_virtual(virtualClock) {}

  void SetUp() override {
    Session::Get().Reset();
    standin::SetVirtualTimerClock(m_virtual);
    standin::OpenEmptyDrawing();
    m_ids.clear();
    m_names.clear();
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    for (const wchar_t* name : {L"A", L"B", L"C"}) {
      const double y = static_cast<double>(m_ids.size()) * 10;
      const AcDbObjectId id = standin::AddEntity(db, new AcDbLine({0, y, 0}, {10, y, 0}));
      ASSERT_FALSE(id.isNull());
      m_ids[name] = id;
      m_names[standin::HandleOf(Ent(name))] = name;
    }
    m_flicker = ZoAdsEntFlicker::GetFlickerInstance();
    ASSERT_NE(m_flicker, nullptr);
    Session::Get().ClearJournal();
  }

  void TearDown() override {
    ZoPtEndFlicterEnt();
    m_sets.clear();
    EXPECT_EQ(standin::TimerCount(), 0) << "a timer was left running";
    EXPECT_LE(standin::SelectionSetCount(), 1) << "sets other than the flicker's own were left behind";
    standin::SetVirtualTimerClock(false);
    Session::Get().Reset();
  }

  ZoAdsEnt Ent(const wchar_t* name) { return ZoAdsEnt(m_ids.at(name)); }
  // A set of the named entities, owned by the test (a set copied out of a function would be an
  // alias of one already freed).
  const ZoAdsEntSet& Set(std::initializer_list<const wchar_t*> names) {
    ZoAdsEntSet& set = m_sets.emplace_back();
    for (const wchar_t* name : names) set += Ent(name);
    return set;
  }
  bool Shown(const wchar_t* name) { return standin::DisplayOf(Ent(name)).visible; }

  // What happened since the last call, in short: "A2" entity A redrawn with mode 2, "view" the
  // drawing view repainted without erasing, "start" and "stop" of the flicker's timer.
  Events Take() {
    Events out;
    for (const standin::JournalEntry& e : Session::Get().Journal()) {
      switch (e.kind) {
        case JournalKind::Redraw:
          out.push_back(m_names[e.text] + std::to_wstring(static_cast<int>(e.values.at(0))));
          break;
        case JournalKind::Invalidate:
          EXPECT_EQ(e.text, L"drawing view");
          EXPECT_EQ(e.values, std::vector<double>{0}) << "the whole view, background kept";
          out.push_back(L"view");
          break;
        case JournalKind::TimerStart:
          EXPECT_EQ(e.values, (std::vector<double>{e.values.at(0), 500, 10, TIME_PERIODIC | TIME_KILL_SYNCHRONOUS}));
          out.push_back(L"start");
          break;
        case JournalKind::TimerStop:
          out.push_back(L"stop");
          break;
        default:
          break;
      }
    }
    Session::Get().ClearJournal();
    return out;
  }

  // Advances the virtual clock and says what happened meanwhile.
  Events After(DWORD ms) {
    EXPECT_GE(standin::AdvanceTimerClock(ms), 0);
    return Take();
  }

  const bool m_virtual;
  ZoAdsEntFlicker* m_flicker = nullptr;
  std::map<std::wstring, AcDbObjectId> m_ids;
  std::map<std::wstring, std::wstring> m_names;  // handle -> name
  std::deque<ZoAdsEntSet> m_sets;
};

TEST_F(FlickerTest, AFiniteCountMakesAnEvenNumberOfStepsHalfASecondApartAndEndsDrawn) {
  m_flicker->SetEntity(Set({L"A", L"B"}));
  Take();
  m_flicker->Flicker(3);
  EXPECT_EQ(Take(), Events{L"start"});
  EXPECT_EQ(After(499), Events{});
  EXPECT_EQ(After(1), (Events{L"A2", L"B2", L"view"}));  // 0.5 s
  EXPECT_FALSE(Shown(L"A"));
  EXPECT_FALSE(Shown(L"B"));
  EXPECT_EQ(After(500), (Events{L"A1", L"B1", L"view"}));  // 1.0 s
  EXPECT_TRUE(Shown(L"A"));
  EXPECT_EQ(After(500), (Events{L"A2", L"B2", L"view"}));  // 1.5 s
  EXPECT_EQ(After(499), Events{});
  EXPECT_EQ(After(1), (Events{L"A1", L"B1", L"view"}));  // 2.0 s
  EXPECT_EQ(standin::TimerCount(), 1);
  EXPECT_EQ(After(500), (Events{L"A1", L"B1", L"stop"}));  // 2.5 s: the flicker ends itself
  EXPECT_EQ(standin::TimerCount(), 0);
  EXPECT_TRUE(Shown(L"A"));
  EXPECT_TRUE(Shown(L"B"));
  EXPECT_EQ(After(5000), Events{});

  // Counts 1, 2 and 4 make 2, 2 and 4 steps.
  for (const int count : {1, 2, 4}) {
    m_flicker->Flicker(count);
    int steps = 0;
    for (const std::wstring& e : After(10000)) steps += e == L"view";
    EXPECT_EQ(steps, count + count % 2) << "Flicker(" << count << ")";
    EXPECT_EQ(standin::TimerCount(), 0);
    EXPECT_TRUE(Shown(L"A"));
  }
}

// Ended by EndFlicker, by a count of 0 (which does nothing while no flicker runs), or by a new
// flicker, which then runs on one timer.
TEST_F(FlickerTest, AnEndlessFlickerRunsUntilEndedAndEndsDrawnAtAnOddOrAnEvenStep) {
  m_flicker->SetEntity(Set({L"A", L"B"}));
  Take();
  m_flicker->Flicker(0);
  EXPECT_EQ(After(2000), Events{});
  for (const int steps : {3, 4, 1}) {
    m_flicker->Flicker(-1);
    EXPECT_EQ(Take(), Events{L"start"});
    int made = 0;
    for (const std::wstring& e : After(500 * steps)) made += e == L"view";
    EXPECT_EQ(made, steps);
    EXPECT_EQ(Shown(L"A"), steps % 2 == 0);
    EXPECT_EQ(standin::TimerCount(), 1);

    if (steps == 3)
      m_flicker->EndFlicker();
    else
      m_flicker->Flicker(steps == 4 ? 0 : 2);
    EXPECT_EQ(Take(), (steps == 1 ? Events{L"A1", L"B1", L"stop", L"start"} : Events{L"A1", L"B1", L"stop"}))
        << "ended after " << steps << " steps";
    EXPECT_TRUE(Shown(L"A"));
    EXPECT_TRUE(Shown(L"B"));
  }
  EXPECT_EQ(standin::TimerCount(), 1);
  EXPECT_EQ(After(3000), (Events{L"A2", L"B2", L"view", L"A1", L"B1", L"view", L"A1", L"B1", L"stop"}));
  EXPECT_EQ(standin::TimerCount(), 0);
}

// A copy (public, for the family's applications) is not ticked by the original's timer, so it
// must not kill it either.
TEST_F(FlickerTest, ACopyLeavesTheTimerToTheObjectItTicks) {
  m_flicker->SetEntity(Set({L"A"}));
  m_flicker->Flicker(-1);
  Take();
  {
    ZoAdsEntFlicker copy(*m_flicker);
    copy = *m_flicker;
  }
  EXPECT_EQ(Take(), Events{L"A1"}) << "the copy's end draws its entities and stops nothing";
  EXPECT_EQ(standin::TimerCount(), 1);
  EXPECT_EQ(After(500), (Events{L"A2", L"view"}));
  m_flicker->EndFlicker();
  EXPECT_EQ(Take(), (Events{L"A1", L"stop"}));
}

TEST_F(FlickerTest, AnEmptySetStopsTheFlickerButKeepsTheEntitiesAndAFullOneReplacesThem) {
  m_flicker->SetEntity(Set({L"A", L"B"}));
  m_flicker->Flicker(-1);
  EXPECT_EQ(After(500), (Events{L"start", L"A2", L"B2", L"view"}));

  m_flicker->SetEntity(ZoAdsEntSet());
  EXPECT_EQ(Take(), (Events{L"A1", L"B1", L"stop"}));
  m_flicker->Flicker(-1);
  EXPECT_EQ(After(500), (Events{L"start", L"A2", L"B2", L"view"}));

  m_flicker->SetEntity(Set({L"C"}));
  EXPECT_EQ(Take(), (Events{L"A1", L"B1", L"stop"}));
  m_flicker->Flicker(-1);
  EXPECT_EQ(After(1000), (Events{L"start", L"C2", L"view", L"C1", L"view"}));
}

// A flicker started through the functions ends the one that runs, whose entities end drawn.
TEST_F(FlickerTest, TheFunctionsEndTheRunningFlickerAndLeaveOutIdsThatDoNotConvert) {
  AcArray<AcDbObjectId> ids;
  ids.append(m_ids[L"C"]);
  ids.append(AcDbObjectId::kNull);
  ids.append(m_ids[L"A"]);
  EXPECT_EQ(ZoPtFlicterEnt(ids), 1);
  Take();
  EXPECT_EQ(After(500), (Events{L"C2", L"A2", L"view"}));
  EXPECT_EQ(ZoPtFlicterEnt(m_ids[L"B"]), 1);
  EXPECT_EQ(After(500), (Events{L"C1", L"A1", L"stop", L"C1", L"A1", L"start", L"B2", L"view"}));
  EXPECT_EQ(ZoPtFlicterEnt(Set({L"C"})), 1);
  EXPECT_EQ(After(1000), (Events{L"B1", L"stop", L"B1", L"start", L"C2", L"view", L"C1", L"view"}));

  // Ids that do not convert leave an empty set, so the entities held before blink again.
  EXPECT_EQ(ZoPtFlicterEnt(AcDbObjectId::kNull), 1);
  EXPECT_EQ(After(500), (Events{L"C1", L"stop", L"C1", L"start", L"C2", L"view"}));
  EXPECT_EQ(ZoPtFlicterEnt(AcArray<AcDbObjectId>()), 1);
  EXPECT_EQ(After(500), (Events{L"C1", L"stop", L"C1", L"start", L"C2", L"view"}));
  ZoPtEndFlicterEnt();
  EXPECT_EQ(Take(), (Events{L"C1", L"stop"}));
  ZoPtEndFlicterEnt();  // a second end only draws again
  EXPECT_EQ(Take(), Events{L"C1"});
}

// Moves the virtual clock on by a flicker period every millisecond, from a thread of its own.
class FastClock {
 public:
  ~FastClock() {
    m_on = false;
    m_thread.join();
  }

 private:
  std::atomic<bool> m_on{true};
  std::thread m_thread{[this] {
    for (; m_on; std::this_thread::sleep_for(std::chrono::milliseconds(1))) standin::AdvanceTimerClock(500);
  }};
};

// What the module exports, by linker name: the module is a second copy of what this test links.
// A member function takes the object first on this ABI.
template <class Fn>
Fn ModuleExport(const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"TovuPlatform.arx"), name)));
}

// The module itself, loaded into the host and unloaded while its flicker ticks every millisecond
// (restarted once, as an application may): no timer may outlive it, nor any tick reach it.
TEST_F(FlickerTest, UnloadingTheModuleWhileItBlinksEndsTheFlickerBeforeTheModuleGoes) {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  const std::wstring module = standin::FromUtf8(TOVU_MODULE_FILE);
  {
    FastClock clock;
    for (int round = 0; round < 20 && !HasFailure(); ++round) {
      if (!linker->loadModule(module.c_str(), false)) {
        ADD_FAILURE() << standin::ToUtf8(Session::Get().Transcript());
        break;
      }
      const auto flickerIds = ModuleExport<int (*)(const AcDbObjectId&)>("_Z14ZoPtFlicterEntRK12AcDbObjectId");
      const auto instance = ModuleExport<ZoAdsEntFlicker* (*)()>("_ZN15ZoAdsEntFlicker18GetFlickerInstanceEv");
      const auto flicker = ModuleExport<void (*)(ZoAdsEntFlicker*, int)>("_ZN15ZoAdsEntFlicker7FlickerEi");
      if (!flickerIds || !instance || !flicker) {
        ADD_FAILURE() << "the module does not export the flicker";
        linker->unloadModule(L"TovuPlatform.arx");
        break;
      }
      EXPECT_EQ(flickerIds(m_ids[L"A"]), 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(round % 4));
      flicker(instance(), -1);
      std::this_thread::sleep_for(std::chrono::milliseconds(round % 3));
      EXPECT_TRUE(linker->unloadModule(L"TovuPlatform.arx"));
      EXPECT_EQ(standin::TimerCount(), 0);
    }
  }
  EXPECT_EQ(standin::AdvanceTimerClock(5000), 0);
  EXPECT_TRUE(Shown(L"A"));
  Session::Get().ClearJournal();
}

class RealTimeFlickerTest : public FlickerTest {
 protected:
  RealTimeFlickerTest() : FlickerTest(false) {}
};

void CALLBACK FastTick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
  ZoAdsEntFlicker::GetFlickerInstance()->EntityFlickerCallBack();
}

// Ticks every millisecond on the timer thread while the main thread replaces, starts and ends
// the flicker as fast as it can; the sanitizers watch the two sides.
TEST_F(RealTimeFlickerTest, MainThreadCallsAndMillisecondTicksDoNotRace) {
  using Clock = std::chrono::steady_clock;
  const ZoAdsEntSet* sets[] = {&Set({L"A", L"B"}), &Set({L"C"}), &Set({}), &Set({L"B", L"C", L"A"})};
  const MMRESULT fast = timeSetEvent(1, 0, FastTick, 0, TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
  ASSERT_NE(fast, 0u);
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(1500);
  long rounds = 0;
  for (; Clock::now() < end; ++rounds) {
    m_flicker->SetEntity(*sets[rounds % 4]);
    m_flicker->Flicker(rounds % 3 == 0 ? 4 : -1);
    if (rounds % 5 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (rounds % 2) m_flicker->EndFlicker();
    if (rounds % 7 == 0) ZoPtFlicterEnt(*sets[(rounds + 1) % 4]);
  }
  // Let the last flicker run a little, then stop everything.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(timeKillEvent(fast), static_cast<MMRESULT>(TIMERR_NOERROR));
  ZoPtEndFlicterEnt();
  EXPECT_EQ(standin::TimerCount(), 0);
  EXPECT_GT(rounds, 10);
  const auto views = Session::Get().Journal(JournalKind::Invalidate);
  EXPECT_GT(views.size(), 10u) << "the ticks did not run alongside";
  for (const wchar_t* name : {L"A", L"B", L"C"}) EXPECT_TRUE(Shown(name)) << name;
  Session::Get().ClearJournal();
}

}  // namespace
