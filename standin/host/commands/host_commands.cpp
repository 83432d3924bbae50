// The host's own commands as a module runs them with acedCommand: the values go into the journal,
// then answer the commands' prompts as a user typing them would.
#include <acedads.h>
#include <acutads.h>
#include <adscodes.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "standin/host/commands/command_input.h"
#include "standin/host/core/resbuf.h"
#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/input.h"

namespace standin {

bool CommandValue::IsPause() const { return type == RTSTR && text == L"\\"; }
bool CommandValue::IsEnter() const { return (type == RTSTR && text.empty()) || type == RTNONE; }

std::wstring CommandValue::Text() const {
  wchar_t buf[96];
  switch (ResbufValueKind(type)) {
    case RbValue::String:
      return text;
    case RbValue::Short:
    case RbValue::Long:
      return std::to_wstring(integer);
    case RbValue::Real:
      std::swprintf(buf, 96, L"%.16g", real);
      return buf;
    case RbValue::Point:
      std::swprintf(buf, 96, L"%.16g,%.16g,%.16g", point[0], point[1], point[2]);
      return buf;
    case RbValue::Name:
      std::swprintf(buf, 96, type == RTPICKS ? L"<Selection set: %lx>" : L"<Entity name: %lx>",
                    static_cast<unsigned long>(name[0]));
      return buf;
    default:
      return std::wstring();
  }
}

CommandInput::CommandInput(std::vector<CommandValue> values)
    : m_values(std::move(values)), m_echo(SysVarInt(L"CMDECHO", 1) != 0) {}

void CommandInput::Echo(const std::wstring& text) const {
  if (m_echo) Session::Get().Print(text);
}

int CommandInput::RunOut() const {
  PrintCancel();
  return RTCAN;
}

bool CommandInput::Choose(const wchar_t* prompt, const wchar_t* keywords, const wchar_t* byDefault,
                          std::wstring& chosen, bool numbers) {
  InputOptions options;
  options.keywords = ParseKeywordList(keywords);
  for (Echo(prompt); !Done();) {
    const CommandValue& value = Next();
    if (value.IsPause()) {
      if (!m_echo) Session::Get().Print(prompt);
      ACHAR answer[512];
      acedInitGet(numbers ? RSG_OTHER : 0, keywords);
      const int rc = acedGetKword(L"", answer);
      if (rc == RTNONE) {
        chosen = byDefault;
        return true;
      }
      if (rc != RTNORM) return false;
      // Without numbers acedGetKword took only a keyword; with them, other text came through too.
      const std::wstring typed = answer;
      if (numbers && MatchKeyword(options, typed, chosen) == KeywordMatch::Found) return true;
      if (!numbers || typed.find_first_not_of(L"0123456789") == std::wstring::npos) {
        chosen = typed;
        return true;
      }
      RefuseInput(kInvalidKeyword, prompt);
      continue;
    }
    const std::wstring typed = value.Text();
    Echo(typed);
    if (typed.empty()) {
      chosen = byDefault;
      return true;
    }
    if (numbers && (value.type == RTSHORT || value.type == RTLONG ||
                    typed.find_first_not_of(L"0123456789") == std::wstring::npos)) {
      chosen = typed;
      return true;
    }
    if (MatchKeyword(options, typed, chosen) == KeywordMatch::Found) return true;
    if (m_echo) RefuseInput(kInvalidKeyword, prompt);
  }
  RunOut();
  return false;
}

HostCommand FindHostCommand(const std::wstring& name) {
  static const struct {
    const wchar_t* name;
    HostCommand command;
  } kCommands[] = {
      {L"UNDO", &UndoCommand}, {L"MOVE", &MoveCommand}, {L"ROTATE", &RotateCommand}, {L"MIRROR", &MirrorCommand}};
  for (const auto& c : kCommands)
    if (name == c.name) return c.command;
  return nullptr;
}

}  // namespace standin

namespace {

// "_" (global name) and "." (not redefined) may lead a command name, in either order.
std::wstring CommandName(const std::wstring& token) {
  size_t at = 0;
  while (at < token.size() && at < 2 && (token[at] == L'_' || token[at] == L'.')) ++at;
  return standin::Upper(std::wstring_view(token).substr(at));
}

int Run(standin::CommandInput& input) {
  standin::Session& session = standin::Session::Get();
  while (!input.Done()) {
    const standin::CommandValue& value = input.Next();
    const std::wstring token = value.Text();
    input.Echo(L"\nCommand: " + token);
    const std::wstring name = CommandName(token);
    if (name.empty()) continue;
    const standin::HostCommand command = standin::FindHostCommand(name);
    if (!command) {
      session.Print(L"\nUnknown command \"" + name + L"\".  Press F1 for help.");
      return RTERROR;
    }
    const int rc = command(input);
    if (rc != RTNORM) return rc;
  }
  return RTNORM;
}

standin::CommandValue ValueOf(const resbuf& rb) {
  standin::CommandValue v;
  v.type = rb.restype;
  switch (standin::ResbufValueKind(rb.restype)) {
    case standin::RbValue::String:
      v.text = rb.resval.rstring ? rb.resval.rstring : L"";
      break;
    case standin::RbValue::Short:
      v.integer = rb.resval.rint;
      break;
    case standin::RbValue::Long:
      v.integer = rb.resval.rlong;
      break;
    case standin::RbValue::Real:
      v.real = rb.resval.rreal;
      break;
    case standin::RbValue::Point:
      for (int i = 0; i < 3; ++i) v.point[i] = rb.resval.rpoint[i];
      if (rb.restype == RTPOINT) v.point[2] = 0;
      break;
    case standin::RbValue::Name:
      v.name[0] = rb.resval.rlname[0], v.name[1] = rb.resval.rlname[1];
      break;
    default:
      break;
  }
  return v;
}

int CommandV(int rtype, va_list args) {
  resbuf* chain = standin::BuildList(rtype, args);
  if (!chain && rtype != 0 && rtype != RTNONE) {
    std::fputs("stand-in host: acedCommand was given a value it cannot read\n", stderr);
    return RTERROR;
  }
  std::vector<standin::CommandValue> values;
  std::wstring line;
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    values.push_back(ValueOf(*rb));
    const std::wstring text = values.back().Text();
    line += (line.empty() ? L"" : L" ") + (text.empty() ? std::wstring(L"\"\"") : text);
  }
  acutRelRb(chain);
  standin::Session::Get().Record(standin::JournalKind::Command, line);
  standin::CommandInput input(std::move(values));
  return Run(input);
}

}  // namespace

int acedCommand(int rtype, ...) {
  va_list args;
  va_start(args, rtype);
  const int rc = CommandV(rtype, args);
  va_end(args);
  return rc;
}

int acedCommandS(int rtype, ...) {
  va_list args;
  va_start(args, rtype);
  const int rc = CommandV(rtype, args);
  va_end(args);
  return rc;
}
