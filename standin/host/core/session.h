// The stand-in host is built in five layers, each including only the layers below it (checked in
// CI): core (this folder: the session, text and typed points, result buffers, run-time classes),
// drawing (system variables, the database and its entities, DXF files, the sample drawing), view
// (viewports, the display, hit-testing), interaction (input calls, selection sets and their
// filters, the "Select objects" dialogue, transforms of sets) and commands (applications, the
// command stack and the "Command: " prompt). A lower layer never calls up: it hands callbacks to
// the session instead (reset handlers, drawing-closed handlers).
//
// The simulated session: one process-wide stand-in for the running host with its command line
// (the transcript), what the user sees happen (the journal) and the scripted user (a queue of
// input events). Every member is safe to call from two threads.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

enum class InputKind {
  Text,      // typed text or keyword, ended by Enter
  Point,     // a click at a world point
  Pick,      // a click on an entity, named by its handle, at a world point
  Window,    // a window from the first to the second corner
  Crossing,  // a crossing window from the first to the second corner
  Cursor,    // the cursor moved to a world point (and pixel)
  Enter,
  Esc,
  Zoom,      // the user zoomed or panned with the mouse: the view's centre at point, its height size
};

struct InputEvent {
  InputKind kind = InputKind::Enter;
  std::wstring text;             // Text: what was typed; Pick: the entity's handle
  double point[3] = {0, 0, 0};   // Point, Pick, Cursor, and the first corner of a window
  double corner[3] = {0, 0, 0};  // the second corner of a window
  bool hasPixel = false;         // Cursor: whether pixel was given (y grows downwards)
  long pixel[2] = {0, 0};
  double size = 0;               // Zoom: the view's height
  int line = 0;  // where the event came from (a script's line), 0 when unknown

  static InputEvent Typed(std::wstring text);
  static InputEvent Key(InputKind kind);  // Enter or Esc
  static InputEvent At(InputKind kind, double x, double y, double z = 0);
};

enum class JournalKind {
  Redraw,          // text: entity handle or "all"; values: mode, viewport, then shown, highlighted
  GrDraw,          // values: from x, y, z, to x, y, z, colour, highlight
  Command,         // text: what the module sent with acedCommand
  ViewChange,      // text: what changed
  MessageBox,      // text: the message; values: the box type
  TimerStart,      // values: timer id, period, resolution, kind (TIME_PERIODIC ...)
  TimerStop,       // values: timer id
  ModuleLoaded,    // text: file name
  ModuleUnloaded,  // text: file name
  CommandRun,      // text: the global name of a command the user ran
  Invalidate,      // text: the window's name; values: erase, then left, top, right, bottom of a rectangle
  LeftOpen,        // text: a command or operation that left objects of the drawing open; values: how many
  Jig,             // text: the class and linetype of what a jig shows, "closed" when it is; values: its vertices x, y
  KeyInput,        // a keystroke a program synthesised; values: virtual key, flags (KEYEVENTF_...)
  Drag,            // a sample of a drag: text the entities' count; values: the 16 matrix values, row by row
};

struct JournalEntry {
  JournalKind kind;
  std::wstring text;
  std::vector<double> values;
};

class Session {
 public:
  static Session& Get();

  // A fresh session: empty transcript, journal and input queue, no input source; then every
  // reset handler runs, in the order they were added.
  void Reset();
  // Each stand-in area with state of its own (system variables, pending input options ...)
  // adds one handler that puts its state back to the host's defaults.
  void AddResetHandler(std::function<void()> handler);

  // --- Command line ---
  void Print(std::wstring_view text);
  std::wstring Transcript() const;
  void ClearTranscript();
  // Also hands every printed text to sink as it is printed (the host program shows it live).
  void SetTranscriptSink(std::function<void(std::wstring_view)> sink);

  // --- Journal ---
  void Record(JournalKind kind, std::wstring text, std::vector<double> values = {});
  std::vector<JournalEntry> Journal() const;
  std::vector<JournalEntry> Journal(JournalKind kind) const;
  void ClearJournal();
  // Also hands every entry to sink as it is recorded, from whatever thread records it (the host
  // program shows the journal live).
  void SetJournalSink(std::function<void(const JournalEntry&)> sink);

  // --- Scripted user ---
  void Queue(InputEvent event);
  void Queue(std::initializer_list<InputEvent> events);
  void QueueText(std::initializer_list<const wchar_t*> lines);
  // Puts the event before everything queued: input a program sends to the command line is read
  // before what the user types after it.
  void QueueFront(InputEvent event);
  // Asked for more input whenever the queue runs dry; returns nothing at the end of input.
  void SetInputSource(std::function<std::optional<InputEvent>()> source);
  size_t PendingInput() const;
  // The next event for an interactive call. When no input is left it says so in the
  // transcript and acts as Esc, so nothing waits for ever.
  InputEvent NextInput();
  // The next event if there is one; nothing (and no message) at the end of input.
  std::optional<InputEvent> TryNextInput();

  // --- Faults of the scripted user ---
  // A check every event passes before an input call gets it: why the event cannot be given (a
  // pick of an entity that does not exist), or "" when it can. The drawing installs it; a
  // reset keeps it.
  void SetInputCheck(std::function<std::wstring(const InputEvent&)> check);
  // Where a refused event is reported (the host program says which line of its script); without
  // one, in the transcript. Either way the input ends there: the event and everything queued
  // after it are dropped, and the input call gets Esc (TryNextInput nothing).
  void SetInputFaultSink(std::function<void(const InputEvent& event, const std::wstring& reason)> sink);
  // Sees every event that passed the check before an input call gets it: the view installs it to
  // move the mouse cursor and to carry out zooms, which it consumes (returns true) as the host
  // does with the mouse wheel, whatever call is waiting. A reset keeps it.
  void SetInputWatch(std::function<bool(const InputEvent&)> watch);

 private:
  Session() = default;
  std::optional<InputEvent> TakeLocked();
  // The next event that passes the input check; a refused one ends the input.
  std::optional<InputEvent> TakeChecked();
  // The next event that passed the check and that the watch did not consume.
  std::optional<InputEvent> TakeWatched();

  mutable std::recursive_mutex m_mutex;
  std::wstring m_transcript;
  std::function<void(std::wstring_view)> m_sink;
  std::function<void(const JournalEntry&)> m_journalSink;
  std::vector<JournalEntry> m_journal;
  std::vector<InputEvent> m_queue;
  size_t m_queueHead = 0;
  std::function<std::optional<InputEvent>()> m_source;
  std::function<std::wstring(const InputEvent&)> m_check;
  std::function<void(const InputEvent&, const std::wstring&)> m_faultSink;
  std::function<bool(const InputEvent&)> m_watch;
  std::vector<std::function<void()>> m_resetHandlers;
};

}  // namespace standin
