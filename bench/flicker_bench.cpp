// The flicker's clock: the real period of 100 ticks of a periodic multimedia timer (the flicker's
// 500 ms, and 50 ms to show that the deviations do not depend on the period), as median and
// worst deviation from the period. Baseline, measured at the same time: a thread that sleeps
// until each mark of its own (std::this_thread::sleep_until), the best a plain thread does here.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Win32.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTicks = 100;

struct Ticks {
  std::mutex mutex;
  std::condition_variable done;
  std::vector<Clock::time_point> at;
};

void CALLBACK OnTick(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* ticks = reinterpret_cast<Ticks*>(user);
  const Clock::time_point now = Clock::now();
  std::lock_guard<std::mutex> lock(ticks->mutex);
  ticks->at.push_back(now);
  if (ticks->at.size() == kTicks) ticks->done.notify_all();
}

// Deviations of each period from 500 ms, in milliseconds, sorted.
std::vector<double> Deviations(Clock::time_point start, const std::vector<Clock::time_point>& at, double periodMs) {
  std::vector<double> out;
  Clock::time_point previous = start;
  for (const Clock::time_point& t : at) {
    out.push_back(std::fabs(std::chrono::duration<double, std::milli>(t - previous).count() - periodMs));
    previous = t;
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The tick (1 for the first) whose period deviates most.
double WorstTick(Clock::time_point start, const std::vector<Clock::time_point>& at, double periodMs) {
  double worst = -1;
  size_t index = 0;
  Clock::time_point previous = start;
  for (size_t i = 0; i < at.size(); ++i) {
    const double d = std::fabs(std::chrono::duration<double, std::milli>(at[i] - previous).count() - periodMs);
    if (d > worst) worst = d, index = i + 1;
    previous = at[i];
  }
  return static_cast<double>(index);
}

double Median(const std::vector<double>& sorted) {
  const size_t n = sorted.size();
  return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

void BM_FlickerTimerPeriod(benchmark::State& state) {
  const auto period = static_cast<UINT>(state.range(0));
  for (auto _ : state) {
    Ticks ticks;
    std::vector<Clock::time_point> slept;
    const Clock::time_point start = Clock::now();
    const MMRESULT id =
        timeSetEvent(period, 10, OnTick, reinterpret_cast<DWORD_PTR>(&ticks), TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
    if (id == 0) {
      state.SkipWithError("timeSetEvent refused the timer");
      return;
    }
    std::thread baseline([&] {
      Clock::time_point mark = start;
      for (int i = 0; i < kTicks; ++i) {
        mark += std::chrono::milliseconds(period);
        std::this_thread::sleep_until(mark);
        slept.push_back(Clock::now());
      }
    });
    {
      std::unique_lock<std::mutex> lock(ticks.mutex);
      ticks.done.wait(lock, [&] { return ticks.at.size() >= kTicks; });
    }
    timeKillEvent(id);
    baseline.join();

    const std::vector<double> timer = Deviations(start, ticks.at, period), plain = Deviations(start, slept, period);
    state.counters["timer_median_dev_ms"] = Median(timer);
    state.counters["timer_worst_dev_ms"] = timer.back();
    state.counters["sleep_median_dev_ms"] = Median(plain);
    state.counters["sleep_worst_dev_ms"] = plain.back();
    state.counters["median_ratio"] = Median(plain) > 0 ? Median(timer) / Median(plain) : 0;
    state.counters["timer_worst_tick"] = WorstTick(start, ticks.at, period);
    state.counters["sleep_worst_tick"] = WorstTick(start, slept, period);
    state.counters["worst_ratio"] = plain.back() > 0 ? timer.back() / plain.back() : 0;
  }
}
BENCHMARK(BM_FlickerTimerPeriod)->Arg(500)->Arg(50)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
