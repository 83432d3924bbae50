// The host's "Command: " prompt: commands typed by name, Enter repeating the last one, Esc, and
// selections made before a command.
#include "standin/host/commands/command_line.h"

#include <accmd.h>

#include <mutex>

#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/interaction/selection.h"

namespace standin {

namespace {

struct LastCommand {
  std::mutex mutex;
  std::wstring name;
};

LastCommand& Last() {
  static auto* last = new LastCommand;  // never destroyed, as the session
  return *last;
}

const bool g_registered = (Session::Get().AddResetHandler([] {
  std::lock_guard<std::mutex> lock(Last().mutex);
  Last().name.clear();
}),
                           true);

}  // namespace

bool RunCommand(const std::wstring& name) {
  Session& session = Session::Get();
  AcEdCommandStack* stack = acedRegCmds;
  AcEdCommand* cmd = stack ? stack->lookupCmd(name.c_str(), true) : nullptr;
  if (!cmd && stack) cmd = stack->lookupCmd(name.c_str(), false);
  if (!cmd) {
    session.Print(L"\nUnknown command \"" + Upper(name) + L"\".  Press F1 for help.");
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(Last().mutex);
    Last().name = cmd->globalName();
  }
  session.Record(JournalKind::CommandRun, cmd->globalName());
  CommandStarting(cmd->commandFlags());
  // A command that throws would end the real host; here it only ends the command.
  try {
    cmd->functionAddr()();
  } catch (...) {
    session.Print(L"\n; error: the command " + std::wstring(cmd->globalName()) + L" ended with an exception");
  }
  CommandEnded(cmd->commandFlags());
  ReportObjectsLeftOpen(cmd->globalName());
  return true;
}

bool RunCommandPrompt() {
  Session& session = Session::Get();
  session.Print(L"\nCommand: ");
  std::optional<InputEvent> input = session.TryNextInput();
  if (!input) return false;
  switch (input->kind) {
    case InputKind::Text: {
      const std::wstring name = Trim(input->text);
      session.Print(input->text);
      if (!name.empty()) {
        RunCommand(name);
        break;
      }
      [[fallthrough]];
    }
    case InputKind::Enter: {
      std::wstring last;
      {
        std::lock_guard<std::mutex> lock(Last().mutex);
        last = Last().name;
      }
      if (!last.empty()) RunCommand(last);
      break;
    }
    case InputKind::Esc:
      session.Print(L"*Cancel*");
      ClearPickfirst();
      break;
    case InputKind::Cursor:
    case InputKind::Zoom:
      break;  // moving the cursor at the command prompt does nothing; zooms are the view's
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

void RunCommandLoop() {
  while (RunCommandPrompt()) {
  }
}

}  // namespace standin
