// Just enough of the Win32 multimedia timer, behaving as winmm's does: one timer thread runs the
// callbacks of every timer in turn, on the real clock or on a virtual one that tests advance.
#include "standin/win32/timer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

#include "standin/win32/observer.h"

namespace standin {

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr int64_t kMicrosPerMs = 1000;
constexpr UINT kMinDelay = 1, kMaxDelay = 1000000;

struct Timer {
  UINT delay = 0;
  UINT resolution = 0;
  UINT event = 0;
  LPTIMECALLBACK proc = nullptr;
  DWORD_PTR user = 0;
  int64_t due = 0;     // microseconds on the service's clock
  uint64_t order = 0;  // start order, which breaks ties between timers due at once
  bool ended = false;  // killed, or a one-shot timer that has fired; gone once its stop is reported
};

// Times are microseconds since the service started, on the real clock (shifted by offset, so that
// leaving the virtual clock never turns time back) or on the virtual one.
class Service {
 public:
  static Service& Get() {
    static Service* service = new Service;  // never destroyed: the timer thread outlives main
    return *service;
  }

  MMRESULT Start(UINT delay, UINT resolution, LPTIMECALLBACK proc, DWORD_PTR user, UINT event) {
    UINT id = 0;
    int64_t called = 0;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      // The first tick is due a delay after the call, as winmm's is: the journal's report of the
      // start and the timer thread's creation below must not push every tick later.
      called = NowLocked();
      do id = m_nextId++;
      while (id == 0 || m_timers.count(id));
    }
    // Reported before the timer exists, so the start is in the journal before any of its ticks.
    if (Win32Observer* observer = GetWin32Observer()) observer->OnTimerStart(id, delay, resolution, event);
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      StartThreadLocked();
      Timer& t = m_timers[id];
      t.delay = delay, t.resolution = resolution, t.event = event, t.proc = proc, t.user = user;
      t.due = called + delay * kMicrosPerMs;
      t.order = m_nextOrder++;
    }
    m_work.notify_all();
    return id;
  }

  MMRESULT Kill(UINT id) {
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      const auto it = m_timers.find(id);
      if (it == m_timers.end()) return MMSYSERR_INVALPARAM;
      const bool ended = it->second.ended;
      const bool synchronous = (it->second.event & TIME_KILL_SYNCHRONOUS) != 0;
      it->second.ended = true;
      m_work.notify_all();
      // Only the timer thread runs callbacks, so a kill from it comes from inside a callback.
      if (synchronous && std::this_thread::get_id() != m_threadId) m_done.wait(lock, [&] { return m_running != id; });
      // A one-shot timer that has fired is gone, though its last callback is still waited for.
      if (ended) return MMSYSERR_INVALPARAM;
    }
    ReportStop(id);
    return TIMERR_NOERROR;
  }

  DWORD Time() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<DWORD>(static_cast<uint64_t>(NowLocked() / kMicrosPerMs));
  }

  void SetVirtual(bool on) {
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      if (std::this_thread::get_id() == m_threadId) return;  // a callback cannot switch the clock under itself
      m_done.wait(lock, [&] { return m_advanceTo < 0; });
      if (on == m_virtual) return;
      if (on)
        m_virtualNow = RealNowLocked();
      else
        m_offset += m_virtualNow - RealNowLocked();
      m_virtual = on;
    }
    m_work.notify_all();
  }

  bool IsVirtual() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_virtual;
  }

  int Advance(DWORD ms) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_virtual || std::this_thread::get_id() == m_threadId) return -1;
    m_done.wait(lock, [&] { return m_advanceTo < 0; });  // one advance at a time
    StartThreadLocked();
    m_advanceTo = m_virtualNow + static_cast<int64_t>(ms) * kMicrosPerMs;
    m_ran = 0;
    m_work.notify_all();
    m_done.wait(lock, [&] { return m_advanceTo < 0; });
    return m_ran;
  }

  int Count() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_timers.size());
  }

 private:
  Service() = default;

  int64_t RealNowLocked() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - m_epoch).count() + m_offset;
  }
  int64_t NowLocked() const { return m_virtual ? m_virtualNow : RealNowLocked(); }

  void StartThreadLocked() {
    if (m_threadStarted) return;
    std::thread thread([this] { Run(); });
    m_threadId = thread.get_id();
    thread.detach();
    m_threadStarted = true;
  }

  // The timer due first (then started first), or none.
  std::map<UINT, Timer>::iterator NextLocked() {
    auto next = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
      if (it->second.ended) continue;
      if (next == m_timers.end() || it->second.due < next->second.due ||
          (it->second.due == next->second.due && it->second.order < next->second.order))
        next = it;
    }
    return next;
  }

  void Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      const auto next = NextLocked();
      if (m_virtual) {
        if (m_advanceTo < 0) {
          m_work.wait(lock);
          continue;
        }
        if (next == m_timers.end() || next->second.due > m_advanceTo) {
          m_virtualNow = m_advanceTo;
          m_advanceTo = -1;
          m_done.notify_all();
          continue;
        }
        if (next->second.due > m_virtualNow) m_virtualNow = next->second.due;
      } else {
        if (next == m_timers.end()) {
          m_work.wait(lock);
          continue;
        }
        const int64_t wait = next->second.due - RealNowLocked();
        if (wait > 0) {
          m_work.wait_for(lock, std::chrono::microseconds(wait));
          continue;
        }
      }
      Fire(next->first, next->second, lock);
    }
  }

  void Fire(UINT id, Timer& t, std::unique_lock<std::mutex>& lock) {
    const LPTIMECALLBACK proc = t.proc;
    const DWORD_PTR user = t.user;
    if (t.event & TIME_PERIODIC) {
      const int64_t now = NowLocked(), period = t.delay * kMicrosPerMs;
      t.due += period;
      if (t.due <= now) t.due += (now - t.due) / period * period + period;
    } else {
      t.ended = true;
    }
    const bool oneShot = t.ended;
    m_running = id;
    lock.unlock();
    proc(id, 0, user, 0, 0);
    if (oneShot) ReportStop(id);
    lock.lock();
    m_running = 0;
    ++m_ran;
    m_done.notify_all();
  }

  // The stop goes into the journal before the timer leaves the count, so whoever sees the count
  // fall also finds the stop recorded.
  void ReportStop(UINT id) {
    if (Win32Observer* observer = GetWin32Observer()) observer->OnTimerStop(id);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_timers.erase(id);
  }

  std::mutex m_mutex;
  std::condition_variable m_work;  // the timer thread waits here for a timer or an advance
  std::condition_variable m_done;  // killers and advancers wait here for a callback or advance to end
  std::map<UINT, Timer> m_timers;
  UINT m_nextId = 1;
  uint64_t m_nextOrder = 0;
  UINT m_running = 0;  // the timer whose callback runs now
  bool m_threadStarted = false;
  std::thread::id m_threadId;
  const SteadyClock::time_point m_epoch = SteadyClock::now();
  int64_t m_offset = 0;
  bool m_virtual = false;
  int64_t m_virtualNow = 0;
  int64_t m_advanceTo = -1;  // while an advance is under way: the virtual time it goes to
  int m_ran = 0;
};

void TellOnce(std::atomic<bool>& told, const char* what) {
  if (told.exchange(true)) return;
  std::fprintf(stderr, "timeSetEvent: %s are not supported by this stand-in\n", what);
}

}  // namespace

void SetVirtualTimerClock(bool on) { Service::Get().SetVirtual(on); }
bool IsVirtualTimerClock() { return Service::Get().IsVirtual(); }
int AdvanceTimerClock(DWORD ms) { return Service::Get().Advance(ms); }
int TimerCount() { return Service::Get().Count(); }

}  // namespace standin

MMRESULT timeSetEvent(UINT uDelay, UINT uResolution, LPTIMECALLBACK lpTimeProc, DWORD_PTR dwUser, UINT fuEvent) {
  static std::atomic<bool> toldEvents{false};
  if (uDelay < standin::kMinDelay || uDelay > standin::kMaxDelay || !lpTimeProc) return 0;
  if (fuEvent & (TIME_CALLBACK_EVENT_SET | TIME_CALLBACK_EVENT_PULSE)) {
    standin::TellOnce(toldEvents, "event-handle timers (TIME_CALLBACK_EVENT_SET, TIME_CALLBACK_EVENT_PULSE)");
    return 0;
  }
  if (fuEvent & ~static_cast<UINT>(TIME_PERIODIC | TIME_KILL_SYNCHRONOUS)) return 0;
  return standin::Service::Get().Start(uDelay, uResolution, lpTimeProc, dwUser, fuEvent);
}

MMRESULT timeKillEvent(UINT uTimerID) { return standin::Service::Get().Kill(uTimerID); }

DWORD timeGetTime() { return standin::Service::Get().Time(); }
