// Conformance of the multimedia timer on the real clock: refusals, kills that wait for a tick
// under way only when asked to, ticks that come on time, and a callback that kills its timer.
// Compiled twice: against the stand-in on Linux and against the real Win32 under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "testing/Win32Conformance.h"

namespace {

void CALLBACK NoTick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

// What timeKillEvent answers for an id that names no timer: Windows documents
// MMSYSERR_INVALPARAM; Wine answers TIMERR_NOCANDO.
MMRESULT NoSuchTimer() { return tovutest::UnderWine() ? TIMERR_NOCANDO : MMSYSERR_INVALPARAM; }

TEST(RealTimer, RefusesBadArgumentsAndUnknownIds) {
  EXPECT_EQ(timeSetEvent(0, 10, NoTick, 0, TIME_PERIODIC), 0u);
  EXPECT_EQ(timeSetEvent(1000001, 10, NoTick, 0, TIME_PERIODIC), 0u);
  // Wine says it killed timer 0.
  if (!tovutest::UnderWine()) {
    EXPECT_EQ(timeKillEvent(0), NoSuchTimer());
  }
  EXPECT_EQ(timeKillEvent(123456), NoSuchTimer());

  // Windows takes delays up to its maximum of 1,000,000 ms; Wine's maximum is 65,535.
  const MMRESULT id =
      timeSetEvent(tovutest::UnderWine() ? 65535 : 1000000, 0, NoTick, 0, TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(timeKillEvent(id), static_cast<MMRESULT>(TIMERR_NOERROR));
  EXPECT_EQ(timeKillEvent(id), NoSuchTimer());  // a double kill is refused
}

// A tick that holds until it is let go.
struct HeldTick {
  std::mutex mutex;
  std::condition_variable changed;
  int entered = 0;
  bool killed = false, released = false, finished = false;

  static void CALLBACK Proc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* self = reinterpret_cast<HeldTick*>(user);
    std::unique_lock<std::mutex> lock(self->mutex);
    ++self->entered;
    self->changed.notify_all();
    self->changed.wait(lock, [self] { return self->released; });
    self->finished = true;
    self->changed.notify_all();
  }
  template <class Condition>
  bool Await(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, timeout, [&] { return condition(*this); });
  }
};

// Without TIME_KILL_SYNCHRONOUS the kill returns while a tick is under way, which runs on after
// it; with it the kill waits for the tick. Either way no tick starts after the kill.
TEST(RealTimer, AKillWaitsForATickUnderWayOnlyWhenTheTimerAskedForIt) {
  for (const UINT kind : {TIME_PERIODIC, TIME_PERIODIC | TIME_KILL_SYNCHRONOUS}) {
    HeldTick tick;
    const MMRESULT id = timeSetEvent(1, 0, HeldTick::Proc, reinterpret_cast<DWORD_PTR>(&tick), kind);
    ASSERT_NE(id, 0u);
    if (!tick.Await([](HeldTick& t) { return t.entered > 0; })) {
      timeKillEvent(id);
      FAIL() << "no tick came";
    }
    // Lets the tick go once the kill has returned, or after a while when the kill waits for it.
    std::thread releaser([&] {
      tick.Await([](HeldTick& t) { return t.killed; }, std::chrono::milliseconds(500));
      std::lock_guard<std::mutex> lock(tick.mutex);
      tick.released = true;
      tick.changed.notify_all();
    });
    EXPECT_EQ(timeKillEvent(id), static_cast<MMRESULT>(TIMERR_NOERROR));
    {
      std::lock_guard<std::mutex> lock(tick.mutex);
      EXPECT_EQ(tick.finished, (kind & TIME_KILL_SYNCHRONOUS) != 0) << "kind " << kind;
      tick.killed = true;
      tick.changed.notify_all();
    }
    EXPECT_EQ(timeKillEvent(id), NoSuchTimer());
    releaser.join();
    ASSERT_TRUE(tick.Await([](HeldTick& t) { return t.finished; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::lock_guard<std::mutex> lock(tick.mutex);
    EXPECT_EQ(tick.entered, 1);
  }
}

// A tick may come as early as the resolution asked for (1 ms here), no earlier.
TEST(RealTimer, TicksComeNoEarlierThanTheResolutionAndASelfKillDoesNotDeadlock) {
  struct Run {
    std::chrono::steady_clock::time_point start;
    std::vector<double> at;  // milliseconds since the start, written by the timer thread only
    UINT id = 0;
    std::atomic<bool> ended{false};
  } run;
  const auto proc = [](UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* r = reinterpret_cast<Run*>(user);
    r->at.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - r->start).count());
    if (r->at.size() == 5) {
      EXPECT_EQ(timeKillEvent(id), static_cast<MMRESULT>(TIMERR_NOERROR));
      r->ended = true;
    }
  };
  run.start = std::chrono::steady_clock::now();
  run.id = timeSetEvent(20, 1, proc, reinterpret_cast<DWORD_PTR>(&run), TIME_PERIODIC);
  ASSERT_NE(run.id, 0u);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!run.ended && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(timeKillEvent(run.id), NoSuchTimer());
  ASSERT_EQ(run.at.size(), 5u);
  for (size_t i = 0; i < run.at.size(); ++i) EXPECT_GE(run.at[i], 20.0 * (i + 1) - 1) << "tick " << i;
}

}  // namespace
