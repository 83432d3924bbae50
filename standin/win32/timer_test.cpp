// The multimedia timer stand-in's virtual clock (its behaviour on the real clock is
// timer_conformance_test.cpp's): the order and times of ticks, kills from inside and outside a
// callback, and timers in the session journal.
#include "standin/win32/timer.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "standin/host/core/session.h"

namespace {

using standin::JournalKind;
using standin::Session;

struct Tick {
  UINT id;
  DWORD time;
  DWORD_PTR user;
  std::thread::id thread;
};

std::mutex g_ticksMutex;
std::vector<Tick> g_ticks;

void CALLBACK RecordTick(UINT id, UINT msg, DWORD_PTR user, DWORD_PTR dw1, DWORD_PTR dw2) {
  EXPECT_EQ(msg, 0u);
  EXPECT_EQ(dw1, 0u);
  EXPECT_EQ(dw2, 0u);
  std::lock_guard<std::mutex> lock(g_ticksMutex);
  g_ticks.push_back({id, timeGetTime(), user, std::this_thread::get_id()});
}

std::vector<Tick> TakeTicks() {
  std::lock_guard<std::mutex> lock(g_ticksMutex);
  std::vector<Tick> out;
  out.swap(g_ticks);
  return out;
}

class VirtualTimer : public ::testing::Test {
 protected:
  void SetUp() override {
    Session::Get().Reset();
    standin::SetVirtualTimerClock(true);
    TakeTicks();
  }
  void TearDown() override {
    EXPECT_EQ(standin::TimerCount(), 0) << "timers were left running";
    standin::SetVirtualTimerClock(false);
  }
};

TEST_F(VirtualTimer, PeriodicTicksComeAtTheirTimesOnTheTimerThreadWithTheUserData) {
  // Refused, and not in the journal: what the stand-in does not implement (events, a null callback,
  // unknown flags) as well as what Windows refuses.
  EXPECT_EQ(timeSetEvent(0, 10, RecordTick, 0, TIME_PERIODIC), 0u);
  EXPECT_EQ(timeSetEvent(500, 10, nullptr, 0, TIME_PERIODIC), 0u);
  EXPECT_EQ(timeSetEvent(500, 10, RecordTick, 0, TIME_PERIODIC | TIME_CALLBACK_EVENT_SET), 0u);
  EXPECT_EQ(timeSetEvent(500, 10, RecordTick, 0, 0x8000), 0u);
  const DWORD t0 = timeGetTime();
  const MMRESULT id = timeSetEvent(500, 10, RecordTick, 0xC0FFEE, TIME_PERIODIC);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(standin::TimerCount(), 1);
  EXPECT_EQ(standin::AdvanceTimerClock(499), 0);
  EXPECT_EQ(timeGetTime(), t0 + 499);
  EXPECT_EQ(standin::AdvanceTimerClock(1), 1);
  EXPECT_EQ(standin::AdvanceTimerClock(1600), 3);
  EXPECT_EQ(timeGetTime(), t0 + 2100);

  const std::vector<Tick> ticks = TakeTicks();
  ASSERT_EQ(ticks.size(), 4u);
  for (size_t i = 0; i < ticks.size(); ++i) {
    EXPECT_EQ(ticks[i].id, id);
    EXPECT_EQ(ticks[i].user, 0xC0FFEEu);
    EXPECT_EQ(ticks[i].time, t0 + 500 * (i + 1)) << "tick " << i;
    EXPECT_NE(ticks[i].thread, std::this_thread::get_id());
  }

  EXPECT_EQ(timeKillEvent(id), static_cast<MMRESULT>(TIMERR_NOERROR));
  EXPECT_EQ(standin::AdvanceTimerClock(5000), 0);

  const auto starts = Session::Get().Journal(JournalKind::TimerStart);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].values, (std::vector<double>{static_cast<double>(id), 500, 10, TIME_PERIODIC}));
  const auto stops = Session::Get().Journal(JournalKind::TimerStop);
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_EQ(stops[0].values, std::vector<double>{static_cast<double>(id)});
}

TEST_F(VirtualTimer, TicksDueTogetherRunInOrderOfTimeThenOfStartAndOneShotsExpire) {
  const DWORD t0 = timeGetTime();
  const MMRESULT a = timeSetEvent(300, 0, RecordTick, 1, TIME_PERIODIC);
  const MMRESULT b = timeSetEvent(200, 0, RecordTick, 2, TIME_PERIODIC);
  const MMRESULT c = timeSetEvent(250, 0, RecordTick, 3, TIME_ONESHOT);
  EXPECT_EQ(standin::AdvanceTimerClock(600), 6);
  const std::vector<Tick> ticks = TakeTicks();
  std::vector<std::pair<DWORD_PTR, DWORD>> seen;
  for (const Tick& t : ticks) seen.emplace_back(t.user, t.time - t0);
  EXPECT_EQ(seen,
            (std::vector<std::pair<DWORD_PTR, DWORD>>{{2, 200}, {3, 250}, {1, 300}, {2, 400}, {1, 600}, {2, 600}}));

  EXPECT_EQ(standin::TimerCount(), 2);
  EXPECT_EQ(timeKillEvent(c), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));  // fired and gone
  const auto stops = Session::Get().Journal(JournalKind::TimerStop);
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_EQ(stops[0].values[0], c);
  EXPECT_EQ(timeKillEvent(a), static_cast<MMRESULT>(TIMERR_NOERROR));
  EXPECT_EQ(timeKillEvent(b), static_cast<MMRESULT>(TIMERR_NOERROR));
}

struct Chain {
  UINT self = 0;
  UINT other = 0;
  int ticks = 0;
  MMRESULT selfKill = 1, otherKill = 1;
  UINT started = 0;
};

void CALLBACK KillFromInside(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* chain = reinterpret_cast<Chain*>(user);
  if (++chain->ticks == 2) {
    chain->selfKill = timeKillEvent(chain->self);
    chain->otherKill = timeKillEvent(chain->other);
    chain->started = timeSetEvent(100, 0, RecordTick, 7, TIME_ONESHOT);
    EXPECT_EQ(standin::AdvanceTimerClock(10), -1);  // no advance from inside a tick
  }
}

TEST_F(VirtualTimer, ACallbackKillsItselfAndOthersAndStartsTimersWithoutWaiting) {
  Chain chain;
  chain.other = timeSetEvent(1000, 0, RecordTick, 9, TIME_PERIODIC);
  chain.self = timeSetEvent(100, 0, KillFromInside, reinterpret_cast<DWORD_PTR>(&chain), TIME_PERIODIC);
  const DWORD t0 = timeGetTime();
  // Ticks at 100 and 200 (which kills both and starts a one-shot due at 300), then the one-shot.
  EXPECT_EQ(standin::AdvanceTimerClock(2000), 3);
  EXPECT_EQ(chain.ticks, 2);
  EXPECT_EQ(chain.selfKill, static_cast<MMRESULT>(TIMERR_NOERROR));
  EXPECT_EQ(chain.otherKill, static_cast<MMRESULT>(TIMERR_NOERROR));
  const std::vector<Tick> ticks = TakeTicks();
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0].id, chain.started);
  EXPECT_EQ(ticks[0].time, t0 + 300);
}

}  // namespace
