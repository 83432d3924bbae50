// The flicker's clock: the real period of 100 ticks of a 500 ms periodic multimedia timer, as
// median and worst deviation from 500 ms. Baseline, measured at the same time: a thread that
// sleeps until each 500 ms mark of its own (std::this_thread::sleep_until), the best a plain
// thread does on this machine.
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
constexpr double kPeriodMs = 500.0;

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
std::vector<double> Deviations(Clock::time_point start, const std::vector<Clock::time_point>& at) {
  std::vector<double> out;
  Clock::time_point previous = start;
  for (const Clock::time_point& t : at) {
    out.push_back(std::fabs(std::chrono::duration<double, std::milli>(t - previous).count() - kPeriodMs));
    previous = t;
  }
  std::sort(out.begin(), out.end());
  return out;
}

double Median(const std::vector<double>& sorted) {
  const size_t n = sorted.size();
  return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

void BM_FlickerTimerPeriod(benchmark::State& state) {
  for (auto _ : state) {
    Ticks ticks;
    std::vector<Clock::time_point> slept;
    const Clock::time_point start = Clock::now();
    const MMRESULT id =
        timeSetEvent(500, 10, OnTick, reinterpret_cast<DWORD_PTR>(&ticks), TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
    if (id == 0) {
      state.SkipWithError("timeSetEvent refused the timer");
      return;
    }
    std::thread baseline([&] {
      Clock::time_point mark = start;
      for (int i = 0; i < kTicks; ++i) {
        mark += std::chrono::milliseconds(500);
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

    const std::vector<double> timer = Deviations(start, ticks.at), plain = Deviations(start, slept);
    state.counters["timer_median_dev_ms"] = Median(timer);
    state.counters["timer_worst_dev_ms"] = timer.back();
    state.counters["sleep_median_dev_ms"] = Median(plain);
    state.counters["sleep_worst_dev_ms"] = plain.back();
    state.counters["median_ratio"] = Median(plain) > 0 ? Median(timer) / Median(plain) : 0;
    state.counters["worst_ratio"] = plain.back() > 0 ? timer.back() / plain.back() : 0;
  }
}
BENCHMARK(BM_FlickerTimerPeriod)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
