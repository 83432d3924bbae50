// The simulated session of the stand-in host: transcript, journal, scripted user and the
// command prompt, standing in for the running host and the person at its keyboard.
#include "standin/host/session.h"

#include <cmath>
#include <cstdarg>
#include <cwchar>
#include <cwctype>

#include "standin/host/acutads.h"
#include "standin/host/drawing.h"
#include "standin/host/rx.h"
#include "standin/host/selection.h"
#include "standin/win32/gdi.h"
#include "standin/win32/observer.h"
#include "standin/win32/utf8.h"

namespace standin {

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
    if (rect) values.insert(values.end(), {static_cast<double>(rect->left), static_cast<double>(rect->top),
                                           static_cast<double>(rect->right), static_cast<double>(rect->bottom)});
    Session::Get().Record(JournalKind::Invalidate, window, std::move(values));
  }
};

std::wstring Upper(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return s;
}

std::wstring Trim(std::wstring_view s) {
  size_t b = 0, e = s.size();
  while (b < e && std::iswspace(static_cast<wint_t>(s[b]))) ++b;
  while (e > b && std::iswspace(static_cast<wint_t>(s[e - 1]))) --e;
  return std::wstring(s.substr(b, e - b));
}

}  // namespace

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
    static JournalObserver observer;
    SetWin32Observer(&observer);
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
    m_lastCommand.clear();
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
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_journal.push_back({kind, std::move(text), std::move(values)});
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

std::optional<InputEvent> Session::TryNextInput() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  return TakeLocked();
}

InputEvent Session::NextInput() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (std::optional<InputEvent> next = TakeLocked()) return std::move(*next);
  Print(L" <no more input>");
  return InputEvent::Key(InputKind::Esc);
}

bool Session::RunCommand(const std::wstring& name) {
  AcEdCommandStack* stack = acedRegCmds;
  AcEdCommand* cmd = stack ? stack->lookupCmd(name.c_str(), true) : nullptr;
  if (!cmd && stack) cmd = stack->lookupCmd(name.c_str(), false);
  if (!cmd) {
    Print(L"\nUnknown command \"" + Upper(name) + L"\".  Press F1 for help.");
    return false;
  }
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_lastCommand = cmd->globalName();
  }
  Record(JournalKind::CommandRun, cmd->globalName());
  CommandStarting(cmd->commandFlags());
  // A command that throws would end the real host; here it only ends the command.
  try {
    cmd->functionAddr()();
  } catch (...) {
    Print(L"\n; error: the command " + std::wstring(cmd->globalName()) + L" ended with an exception");
  }
  CommandEnded(cmd->commandFlags());
  ReportObjectsLeftOpen(cmd->globalName());
  return true;
}

bool Session::RunCommandPrompt() {
  Print(L"\nCommand: ");
  std::optional<InputEvent> input = TryNextInput();
  if (!input) return false;
  switch (input->kind) {
    case InputKind::Text: {
      const std::wstring name = Trim(input->text);
      Print(input->text);
      if (!name.empty()) {
        RunCommand(name);
        break;
      }
      [[fallthrough]];
    }
    case InputKind::Enter: {
      std::wstring last;
      {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        last = m_lastCommand;
      }
      if (!last.empty()) RunCommand(last);
      break;
    }
    case InputKind::Esc:
      Print(L"*Cancel*");
      ClearPickfirst();
      break;
    case InputKind::Cursor:
      break;  // moving the cursor at the command prompt does nothing
    case InputKind::Point:
    case InputKind::Pick:
    case InputKind::Window:
    case InputKind::Crossing:
      // What the user selects before a command becomes the pickfirst set.
      SelectAtCommandPrompt(*input);
      break;
  }
  return true;
}

void Session::RunCommandLoop() {
  while (RunCommandPrompt()) {
  }
}

namespace {

bool ParseNumber(std::wstring_view text, double& out) {
  const std::wstring s(text);
  if (s.empty()) return false;
  wchar_t* end = nullptr;
  out = std::wcstod(s.c_str(), &end);
  return end == s.c_str() + s.size() && std::isfinite(out);
}

// "x,y" or "x,y,z"; z defaults to 0.
bool ParsePoint(std::wstring_view text, double* p) {
  const size_t c1 = text.find(L',');
  if (c1 == std::wstring_view::npos) return false;
  const size_t c2 = text.find(L',', c1 + 1);
  p[2] = 0;
  if (!ParseNumber(text.substr(0, c1), p[0])) return false;
  if (c2 == std::wstring_view::npos) return ParseNumber(text.substr(c1 + 1), p[1]);
  return ParseNumber(text.substr(c1 + 1, c2 - c1 - 1), p[1]) && ParseNumber(text.substr(c2 + 1), p[2]);
}

std::vector<std::wstring> Words(std::wstring_view text) {
  std::vector<std::wstring> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
    const size_t b = i;
    while (i < text.size() && !std::iswspace(static_cast<wint_t>(text[i]))) ++i;
    if (i > b) words.emplace_back(text.substr(b, i - b));
  }
  return words;
}

}  // namespace

bool ParseScriptLine(std::wstring_view line, std::optional<InputEvent>& event, std::wstring& error) {
  event.reset();
  error.clear();
  if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
  if (line.empty()) {
    event = InputEvent::Key(InputKind::Enter);
    return true;
  }
  if (line.front() == L';') return true;
  if (line.substr(0, 2) == L"<<") {
    event = InputEvent::Typed(std::wstring(line.substr(1)));
    return true;
  }
  if (line.front() != L'<') {
    event = InputEvent::Typed(std::wstring(line));
    return true;
  }
  if (line.back() != L'>') {
    error = L"an input directive must end with '>' (type \"<<\" for text that starts with '<')";
    return false;
  }
  const std::vector<std::wstring> words = Words(line.substr(1, line.size() - 2));
  const std::wstring verb = words.empty() ? L"" : Upper(words[0]);
  const size_t args = words.size() - (words.empty() ? 0 : 1);
  InputEvent e;
  auto need = [&](const wchar_t* usage) {
    error = std::wstring(L"expected ") + usage;
    return false;
  };
  if (verb == L"ENTER" || verb == L"ESC") {
    if (args != 0) return need(verb == L"ENTER" ? L"<enter>" : L"<esc>");
    e.kind = verb == L"ENTER" ? InputKind::Enter : InputKind::Esc;
  } else if (verb == L"POINT") {
    e.kind = InputKind::Point;
    if (args != 1 || !ParsePoint(words[1], e.point)) return need(L"<point x,y[,z]>");
  } else if (verb == L"PICK") {
    e.kind = InputKind::Pick;
    if (args < 1 || args > 2 || (args == 2 && !ParsePoint(words[2], e.point)))
      return need(L"<pick HANDLE [x,y[,z]]>");
    e.text = Upper(words[1]);
    for (wchar_t c : e.text)
      if (!std::iswxdigit(static_cast<wint_t>(c))) return need(L"a hexadecimal entity handle in <pick HANDLE>");
  } else if (verb == L"WINDOW" || verb == L"CROSSING") {
    e.kind = verb == L"WINDOW" ? InputKind::Window : InputKind::Crossing;
    if (args != 2 || !ParsePoint(words[1], e.point) || !ParsePoint(words[2], e.corner))
      return need(verb == L"WINDOW" ? L"<window x,y x,y>" : L"<crossing x,y x,y>");
  } else if (verb == L"CURSOR") {
    e.kind = InputKind::Cursor;
    double px[3];
    if (args < 1 || args > 2 || !ParsePoint(words[1], e.point) || (args == 2 && !ParsePoint(words[2], px)))
      return need(L"<cursor x,y[,z] [px,py]>");
    if (args == 2) {
      if (px[0] != std::floor(px[0]) || px[1] != std::floor(px[1]) || std::fabs(px[0]) > 1e9 ||
          std::fabs(px[1]) > 1e9)
        return need(L"whole pixel coordinates in <cursor x,y px,py>");
      e.hasPixel = true;
      e.pixel[0] = static_cast<long>(px[0]), e.pixel[1] = static_cast<long>(px[1]);
    }
  } else {
    error = L"unknown input directive <" + (words.empty() ? std::wstring() : words[0]) +
            L">; known: <enter> <esc> <point> <pick> <window> <crossing> <cursor>";
    return false;
  }
  event = std::move(e);
  return true;
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
