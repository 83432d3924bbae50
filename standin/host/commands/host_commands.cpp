// The host's own commands as a module runs them with acedCommand: the tokens go into the journal,
// then run as a user typing them would. The one command the stand-in knows is UNDO, over the
// bits of "UNDOCTL" (1 on, 2 one command only, 4 auto, 8 group open, 16 and 32 combining).
#include <acedads.h>
#include <acutads.h>
#include <adscodes.h>

#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "standin/host/core/resbuf.h"
#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/input.h"

namespace {

enum : int { kOn = 1, kOne = 2, kAuto = 4, kGroup = 8, kCombineZoom = 16, kCombineLayer = 32 };

// A token as the command line shows it: numbers and points as typed, Enter as "".
std::wstring TokenText(const resbuf& rb) {
  wchar_t buf[96];
  switch (standin::ResbufValueKind(rb.restype)) {
    case standin::RbValue::String:
      return rb.resval.rstring;
    case standin::RbValue::Short:
      return std::to_wstring(rb.resval.rint);
    case standin::RbValue::Long:
      return std::to_wstring(rb.resval.rlong);
    case standin::RbValue::Real:
      std::swprintf(buf, 96, L"%.16g", rb.resval.rreal);
      return buf;
    case standin::RbValue::Point:
      std::swprintf(buf, 96, L"%.16g,%.16g,%.16g", rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
      return buf;
    default:
      return std::wstring();
  }
}

// The tokens of one call, each answering the prompt that is showing; none left cancels.
class Tokens {
 public:
  explicit Tokens(std::vector<std::wstring> tokens) : m_tokens(std::move(tokens)) {}
  bool Done() const { return m_next >= m_tokens.size(); }
  const std::wstring& Next() { return m_tokens[m_next++]; }

  // Shows prompt and matches the next token against the keywords ("" takes the default); an
  // invalid answer gets the host's message and the prompt again. False when the tokens run out.
  // With numbers, a whole number answers too.
  bool Choose(const wchar_t* prompt, const wchar_t* keywords, const wchar_t* byDefault, std::wstring& chosen,
              bool numbers = false) {
    standin::InputOptions options;
    options.keywords = standin::ParseKeywordList(keywords);
    standin::Session& session = standin::Session::Get();
    for (session.Print(prompt); !Done();) {
      const std::wstring& typed = Next();
      session.Print(typed);
      if (typed.empty()) {
        chosen = byDefault;
        return true;
      }
      if (numbers && typed.find_first_not_of(L"0123456789") == std::wstring::npos) {
        chosen = typed;
        return true;
      }
      if (standin::MatchKeyword(options, typed, chosen) == standin::KeywordMatch::Found) return true;
      standin::RefuseInput(standin::kInvalidKeyword, prompt);
    }
    session.Print(L"*Cancel*");
    return false;
  }

 private:
  std::vector<std::wstring> m_tokens;
  size_t m_next = 0;
};

int UndoControl() { return standin::SysVarInt(L"UNDOCTL", 0); }
void SetUndoControl(int bits) { standin::SetSysVarInt(L"UNDOCTL", bits); }

bool YesNo(Tokens& tokens, const wchar_t* prompt, int bit) {
  std::wstring answer;
  if (!tokens.Choose(prompt, L"Yes No", L"Yes", answer)) return false;
  SetUndoControl(answer == L"Yes" ? UndoControl() | bit : UndoControl() & ~bit);
  return true;
}

// Control None turns undo off and forgets its data, the open group with it; One keeps one step.
bool Control(Tokens& tokens) {
  std::wstring option;
  if (!tokens.Choose(L"\nEnter an UNDO control option [All/None/One/Combine/Layer] <All>: ",
                     L"All None One Combine Layer", L"All", option))
    return false;
  const int bits = UndoControl();
  if (option == L"All") SetUndoControl((bits | kOn) & ~kOne);
  if (option == L"None") SetUndoControl(bits & ~(kOn | kOne | kGroup));
  if (option == L"One") SetUndoControl((bits | kOn | kOne) & ~kGroup);
  if (option == L"Combine") return YesNo(tokens, L"\nCombine zoom and pan operations? [Yes/No] <Yes>: ", kCombineZoom);
  if (option == L"Layer") return YesNo(tokens, L"\nCombine layer property operations? [Yes/No] <Yes>: ", kCombineLayer);
  return true;
}

// With undo off only the control options are offered; with one-command undo, no auto, group or
// mark. The stand-in keeps no undo history, so it cannot step back (a number, Back).
int Undo(Tokens& tokens) {
  standin::Session& session = standin::Session::Get();
  const int bits = UndoControl();
  session.Print(std::wstring(L"\nCurrent settings: Auto = ") + (bits & kAuto ? L"On" : L"Off") + L", Control = " +
                (!(bits & kOn) ? L"None"
                 : bits & kOne ? L"One"
                               : L"All") +
                L", Combine = " + (bits & kCombineZoom ? L"Yes" : L"No") + L", Layer = " +
                (bits & kCombineLayer ? L"Yes" : L"No"));
  if (!(bits & kOn)) return Control(tokens) ? RTNORM : RTCAN;
  std::wstring option;
  const bool one = bits & kOne;
  if (!tokens.Choose(one ? L"\nEnter the number of operations to undo or [Control/Back] <1>: "
                         : L"\nEnter the number of operations to undo or [Auto/Control/BEgin/End/Mark/Back] <1>: ",
                     one ? L"Control Back" : L"Auto Control BEgin End Mark Back", L"1", option, true))
    return RTCAN;
  if (option == L"Control") return Control(tokens) ? RTNORM : RTCAN;
  if (option == L"BEgin") SetUndoControl(bits | kGroup);
  if (option == L"End") SetUndoControl(bits & ~kGroup);
  if (option == L"Mark") return RTNORM;
  if (option == L"Auto") {
    std::wstring mode;
    if (!tokens.Choose(L"\nEnter UNDO Auto mode [ON/OFF] <On>: ", L"ON OFF", L"ON", mode)) return RTCAN;
    SetUndoControl(mode == L"ON" ? bits | kAuto : bits & ~kAuto);
  }
  if (option == L"Back" || std::iswdigit(option[0])) {
    std::fputs("stand-in host: it keeps no undo history; UNDO cannot step back\n", stderr);
    return RTERROR;
  }
  return RTNORM;
}

// "_" (global name) and "." (not redefined) may lead a command name, in either order.
std::wstring CommandName(const std::wstring& token) {
  size_t at = 0;
  while (at < token.size() && at < 2 && (token[at] == L'_' || token[at] == L'.')) ++at;
  return standin::Upper(std::wstring_view(token).substr(at));
}

int Run(Tokens& tokens) {
  standin::Session& session = standin::Session::Get();
  while (!tokens.Done()) {
    const std::wstring& token = tokens.Next();
    session.Print(L"\nCommand: " + token);
    const std::wstring name = CommandName(token);
    if (name.empty()) continue;
    if (name != L"UNDO") {
      session.Print(L"\nUnknown command \"" + name + L"\".  Press F1 for help.");
      return RTERROR;
    }
    const int rc = Undo(tokens);
    if (rc != RTNORM) return rc;
  }
  return RTNORM;
}

int CommandV(int rtype, va_list args) {
  resbuf* chain = standin::BuildList(rtype, args);
  if (!chain && rtype != 0 && rtype != RTNONE) {
    std::fputs("stand-in host: acedCommand was given a value it cannot read\n", stderr);
    return RTERROR;
  }
  std::vector<std::wstring> tokens;
  std::wstring line;
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    tokens.push_back(TokenText(*rb));
    line += (line.empty() ? L"" : L" ") + (tokens.back().empty() ? std::wstring(L"\"\"") : tokens.back());
  }
  acutRelRb(chain);
  standin::Session::Get().Record(standin::JournalKind::Command, line);
  Tokens reader(std::move(tokens));
  return Run(reader);
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
