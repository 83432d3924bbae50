// The simulated session of the stand-in host: transcript, journal and scripted user, standing in
// for the running host and the person at its keyboard.
#include "standin/host/core/session.h"

#include <acutads.h>
#include <windows.h>

#include <cstdarg>

#include "standin/win32/utf8.h"
#if !defined(_WIN32)
#include "standin/win32/observer.h"
#endif

namespace standin {

#if !defined(_WIN32)
namespace {

// Message boxes and timers shown by the Win32 stand-in go into the journal.
class JournalObserver : public Win32Observer {
 public:
  void OnMessageBox(const wchar_t* text, const wchar_t*, unsigned type) override {
    Session::Get().Record(JournalKind::MessageBox, text, {static_cast<double>(type)});
  }
  void OnTimerStart(unsigned id, unsigned delay, unsigned resolution, unsigned event) override {
    Session::Get().Record(JournalKind::TimerStart, L"",
                          {static_cast<double>(id), static_cast<double>(delay), static_cast<double>(resolution),
                           static_cast<double>(event)});
  }
  void OnTimerStop(unsigned id) override {
    Session::Get().Record(JournalKind::TimerStop, L"", {static_cast<double>(id)});
  }
  void OnInvalidateRect(const wchar_t* window, const tagRECT* rect, int erase) override {
    std::vector<double> values = {static_cast<double>(erase)};
    if (rect)
      values.insert(values.end(), {static_cast<double>(rect->left), static_cast<double>(rect->top),
                                   static_cast<double>(rect->right), static_cast<double>(rect->bottom)});
    Session::Get().Record(JournalKind::Invalidate, window, std::move(values));
  }
  void OnKeyInput(WORD key, DWORD flags) override {
    Session::Get().Record(JournalKind::KeyInput, L"", {static_cast<double>(key), static_cast<double>(flags)});
  }
};

}  // namespace
#endif

InputEvent InputEvent::Typed(std::wstring text) {
  InputEvent e;
  e.kind = InputKind::Text;
  e.text = std::move(text);
  return e;
}

InputEvent InputEvent::Key(InputKind kind) {
  InputEvent e;
  e.kind = kind;
  return e;
}

InputEvent InputEvent::At(InputKind kind, double x, double y, double z) {
  InputEvent e;
  e.kind = kind;
  e.point[0] = x, e.point[1] = y, e.point[2] = z;
  return e;
}

Session& Session::Get() {
  static Session* session = [] {
#if !defined(_WIN32)
    // Real Win32 reports to no one: under Windows the journal holds the host's own entries only.
    static JournalObserver observer;
    SetWin32Observer(&observer);
#endif
    return new Session;  // never destroyed: modules may print while the process exits
  }();
  return *session;
}

// The session exists from the moment the host library is loaded, as the host does.
const bool g_sessionReady = (Session::Get(), true);

void Session::Reset() {
  std::vector<std::function<void()>> handlers;
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_transcript.clear();
    m_journal.clear();
    m_queue.clear();
    m_queueHead = 0;
    m_source = nullptr;
    m_faultSink = nullptr;
    handlers = m_resetHandlers;
  }
  // Outside the lock: a handler takes its own area's lock.
  for (const auto& handler : handlers) handler();
}

void Session::AddResetHandler(std::function<void()> handler) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_resetHandlers.push_back(std::move(handler));
}

void Session::Print(std::wstring_view text) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_transcript.append(text);
  if (m_sink) m_sink(text);
}

std::wstring Session::Transcript() const {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  return m_transcript;
}

void Session::ClearTranscript() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_transcript.clear();
}

void Session::SetTranscriptSink(std::function<void(std::wstring_view)> sink) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_sink = std::move(sink);
}

void Session::Record(JournalKind kind, std::wstring text, std::vector<double> values) {
  std::function<void(const JournalEntry&)> sink;
  JournalEntry entry{kind, std::move(text), std::move(values)};
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_journal.push_back(entry);
    sink = m_journalSink;
  }
  if (sink) sink(entry);
}

void Session::SetJournalSink(std::function<void(const JournalEntry&)> sink) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_journalSink = std::move(sink);
}

std::vector<JournalEntry> Session::Journal() const {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  return m_journal;
}

std::vector<JournalEntry> Session::Journal(JournalKind kind) const {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  std::vector<JournalEntry> out;
  for (const auto& e : m_journal)
    if (e.kind == kind) out.push_back(e);
  return out;
}

void Session::ClearJournal() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_journal.clear();
}

void Session::Queue(InputEvent event) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_queue.push_back(std::move(event));
}

void Session::Queue(std::initializer_list<InputEvent> events) {
  for (const auto& e : events) Queue(e);
}

void Session::QueueFront(InputEvent event) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_queue.insert(m_queue.begin() + static_cast<std::ptrdiff_t>(m_queueHead), std::move(event));
}

void Session::QueueText(std::initializer_list<const wchar_t*> lines) {
  for (const wchar_t* line : lines) Queue(InputEvent::Typed(line));
}

void Session::SetInputSource(std::function<std::optional<InputEvent>()> source) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_source = std::move(source);
}

size_t Session::PendingInput() const {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  return m_queue.size() - m_queueHead;
}

std::optional<InputEvent> Session::TakeLocked() {
  if (m_queueHead == m_queue.size()) {
    m_queue.clear();
    m_queueHead = 0;
    if (!m_source) return std::nullopt;
    std::optional<InputEvent> next = m_source();
    if (!next) m_source = nullptr;  // a source that has ended stays ended
    return next;
  }
  return std::move(m_queue[m_queueHead++]);
}

std::optional<InputEvent> Session::TakeChecked() {
  std::optional<InputEvent> next;
  std::function<std::wstring(const InputEvent&)> check;
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    next = TakeLocked();
    check = m_check;
  }
  // Outside the lock: the check reads the drawing, which takes its own lock.
  const std::wstring fault = next && check ? check(*next) : std::wstring();
  if (fault.empty()) return next;
  std::function<void(const InputEvent&, const std::wstring&)> sink;
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_queue.clear();
    m_queueHead = 0;
    m_source = nullptr;
    sink = m_faultSink;
  }
  if (sink)
    sink(*next, fault);
  else
    Print(L" <" + fault + L">");
  return std::nullopt;
}

std::optional<InputEvent> Session::TakeWatched() {
  for (;;) {
    std::optional<InputEvent> next = TakeChecked();
    std::function<bool(const InputEvent&)> watch;
    {
      std::lock_guard<std::recursive_mutex> lock(m_mutex);
      watch = m_watch;
    }
    if (!next || !watch || !watch(*next)) return next;
  }
}

std::optional<InputEvent> Session::TryNextInput() { return TakeWatched(); }

InputEvent Session::NextInput() {
  if (std::optional<InputEvent> next = TakeWatched()) return std::move(*next);
  Print(L" <no more input>");
  return InputEvent::Key(InputKind::Esc);
}

void Session::SetInputCheck(std::function<std::wstring(const InputEvent&)> check) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_check = std::move(check);
}

void Session::SetInputWatch(std::function<bool(const InputEvent&)> watch) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_watch = std::move(watch);
}

void Session::SetInputFaultSink(std::function<void(const InputEvent&, const std::wstring&)> sink) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_faultSink = std::move(sink);
}

}  // namespace standin

int acutPrintf(const ACHAR* format, ...) {
  va_list args;
  va_start(args, format);
  const std::wstring text = standin::FormatWideV(format, args);
  va_end(args);
  standin::Session::Get().Print(text);
  return static_cast<int>(text.size());
}
