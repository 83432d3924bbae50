// Just enough of the host's command-line input functions, behaving as the host's do, for the
// module to ask the scripted user for keywords and points.
#include "standin/host/interaction/input.h"

#include <aced.h>
#include <acedads.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <mutex>
#include <optional>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/osnap.h"
#include "standin/host/view/views.h"

namespace standin {

const wchar_t* const kInvalidKeyword = L"Invalid option keyword.";
const wchar_t* const kAmbiguous = L"Ambiguous response, please clarify...";
const wchar_t* const kInvalidPoint = L"Invalid point.";
const wchar_t* const kPointOrKeyword = L"Point or option keyword required.";

namespace {

// The host's classic result buffers hold 132 characters with the terminator.
constexpr size_t kMaxInputChars = 131;

struct InputState {
  std::mutex mutex;
  bool armed = false;
  InputOptions pending;
  std::optional<std::wstring> lastInput;
  std::vector<AcedFilterWinMsgFn> filters;  // registered at load: a reset keeps them
};

InputState& State() {
  static InputState* state = new InputState;  // never destroyed, as the session
  return *state;
}

void ResetInput() {
  InputState& st = State();
  std::lock_guard<std::mutex> lock(st.mutex);
  st.armed = false;
  st.pending = InputOptions();
  st.lastInput.reset();
}

const bool g_resetRegistered = (Session::Get().AddResetHandler(&ResetInput), true);

Keyword MakeKeyword(const std::wstring& word) {
  Keyword k;
  const size_t comma = word.find(L',');
  k.local = word.substr(0, comma);
  if (comma != std::wstring::npos) {
    k.abbrev = word.substr(comma + 1);
  } else {
    for (wchar_t c : k.local)
      if (std::iswupper(static_cast<wint_t>(c))) k.abbrev += c;
  }
  k.global = k.local;
  return k;
}

}  // namespace

std::vector<Keyword> ParseKeywordList(const wchar_t* kwl) {
  std::vector<Keyword> local, global;
  bool inGlobal = false;
  for (const std::wstring& w : Words(kwl ? kwl : L"")) {
    if (w == L"_") {
      inGlobal = true;
      continue;
    }
    (inGlobal ? global : local).push_back(MakeKeyword(w));
  }
  if (!inGlobal) return local;
  // Global keywords pair with the local ones by position; unpaired local ones are their own.
  for (size_t i = 0; i < local.size() && i < global.size(); ++i) local[i].global = global[i].local;
  if (local.empty()) return global;
  return local;
}

namespace {

// How many leading characters a prefix must have: through the last capital letter.
size_t RequiredLength(const Keyword& k) {
  size_t n = 1;
  for (size_t i = 0; i < k.local.size(); ++i)
    if (std::iswupper(static_cast<wint_t>(k.local[i]))) n = i + 1;
  return n;
}

KeywordMatch MatchIn(const std::vector<Keyword>& keywords, const std::wstring& typed, bool useGlobal,
                     std::wstring& global) {
  const std::wstring t = Upper(typed);
  const Keyword* prefixMatch = nullptr;
  int prefixCount = 0;
  for (const Keyword& k : keywords) {
    const std::wstring name = Upper(useGlobal ? k.global : k.local);
    const Keyword own = useGlobal ? MakeKeyword(k.global) : k;
    if (t == name || (!own.abbrev.empty() && t == Upper(own.abbrev))) {
      global = k.global;
      return KeywordMatch::Found;
    }
    if (t.size() >= RequiredLength(own) && t.size() < name.size() && name.compare(0, t.size(), t) == 0) {
      if (!prefixMatch) prefixMatch = &k;
      ++prefixCount;
    }
  }
  if (prefixCount == 1) {
    global = prefixMatch->global;
    return KeywordMatch::Found;
  }
  return prefixCount > 1 ? KeywordMatch::Ambiguous : KeywordMatch::None;
}

void CopyOut(const std::wstring& text, ACHAR* out) {
  const size_t n = text.size() < kMaxInputChars ? text.size() : kMaxInputChars;
  std::wmemcpy(out, text.c_str(), n);
  out[n] = L'\0';
}

}  // namespace

void PrintCancel() { Session::Get().Print(L"*Cancel*"); }

InputEvent NextTypedInput() {
  Session& session = Session::Get();
  InputEvent input = NextUserInput();
  if (input.kind == InputKind::Text) {
    session.Print(input.text);
    if (Trim(input.text).empty()) input.kind = InputKind::Enter;
  }
  return input;
}

void SnapClick(const InputOptions& options, double p[3]) {
  if (options.flags & RSG_NOOSNAP) return;
  double world[3], snapped[3];
  Transform(p, 1, 0, false, world);
  {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    if (!RunningSnap(world, SysVarInt(L"OSMODE", 0), snapped)) return;
  }
  Transform(snapped, 0, 1, false, p);
}

namespace {

void SetLastPoint(const double* p) {
  resbuf rb;
  rb.restype = RT3DPOINT;
  rb.resval.rpoint[0] = p[0], rb.resval.rpoint[1] = p[1], rb.resval.rpoint[2] = p[2];
  acedSetVar(L"LASTPOINT", &rb);
}

}  // namespace

InputOptions TakeInputOptions() {
  InputState& st = State();
  std::lock_guard<std::mutex> lock(st.mutex);
  InputOptions options = st.armed ? std::move(st.pending) : InputOptions();
  st.armed = false;
  st.pending = InputOptions();
  st.lastInput.reset();
  return options;
}

KeywordMatch MatchKeyword(const InputOptions& options, std::wstring_view typed, std::wstring& global) {
  std::wstring t = Trim(typed);
  const bool useGlobal = !t.empty() && t[0] == L'_';
  if (useGlobal) t.erase(0, 1);
  if (t.empty() || options.keywords.empty()) return KeywordMatch::None;
  return MatchIn(options.keywords, t, useGlobal, global);
}

void SetLastInput(std::wstring_view text) {
  InputState& st = State();
  std::lock_guard<std::mutex> lock(st.mutex);
  st.lastInput = std::wstring(text);
}

namespace {

// Hands a typed line to the message filters as the host's window gets it: one WM_CHAR per
// character, then the Enter. Takes out the swallowed characters; true when the Enter was
// swallowed, which drops the line.
bool FilterTyped(std::wstring& text) {
  std::vector<AcedFilterWinMsgFn> filters;
  {
    InputState& st = State();
    std::lock_guard<std::mutex> lock(st.mutex);
    filters = st.filters;
  }
  if (filters.empty()) return false;
  auto swallowed = [&filters](wchar_t c) {
    MSG msg{};
    msg.message = WM_CHAR;
    msg.wParam = static_cast<WPARAM>(c);
    msg.lParam = 1;  // one keystroke
    for (AcedFilterWinMsgFn filter : filters)
      if (filter(&msg)) return true;
    return false;
  };
  std::wstring kept;
  for (wchar_t c : text)
    if (!swallowed(c)) kept += c;
  text = kept;
  return swallowed(L'\r');
}

}  // namespace

InputEvent NextUserInput() {
  for (;;) {
    InputEvent e = Session::Get().NextInput();
    if (e.kind != InputKind::Text || !FilterTyped(e.text)) return e;
  }
}

InputEvent NextMeaningfulInput() {
  for (;;) {
    InputEvent e = NextUserInput();
    if (e.kind != InputKind::Cursor) return e;
  }
}

bool TypedPoint(const std::wstring& text, const double* base, double point[3]) {
  double last[3] = {0, 0, 0};
  if (!base) {
    SysVarPoint(L"LASTPOINT", last);
    base = last;
  }
  return ParsePointInput(text, base, SysVarReal(L"ELEVATION", 0), point);
}

void RefuseInput(const wchar_t* message, const wchar_t* prompt) {
  Session& session = Session::Get();
  session.Print(std::wstring(L"\n") + message);
  if (prompt && *prompt) {
    if (*prompt != L'\n') session.Print(L"\n");
    session.Print(prompt);
  }
}

}  // namespace standin

using standin::InputKind;
using standin::KeywordMatch;
using standin::Session;

int acedInitGet(int val, const ACHAR* kwl) {
  standin::InputState& st = standin::State();
  std::lock_guard<std::mutex> lock(st.mutex);
  st.armed = true;
  st.pending.flags = val;
  st.pending.keywords = standin::ParseKeywordList(kwl);
  return RTNORM;
}

int acedGetKword(const ACHAR* prompt, ACHAR* result) {
  const standin::InputOptions options = standin::TakeInputOptions();
  if (!result || (options.keywords.empty() && !(options.flags & RSG_OTHER))) return RTERROR;
  Session& session = Session::Get();
  if (prompt) session.Print(prompt);
  for (;;) {
    const standin::InputEvent input = standin::NextTypedInput();
    const wchar_t* refusal = standin::kInvalidKeyword;
    switch (input.kind) {
      case InputKind::Text: {
        const std::wstring typed = standin::Trim(input.text);
        std::wstring keyword;
        const KeywordMatch match = standin::MatchKeyword(options, typed, keyword);
        if (match == KeywordMatch::None && (options.flags & RSG_OTHER))
          keyword = typed;
        else if (match == KeywordMatch::Ambiguous)
          refusal = standin::kAmbiguous;
        if (match == KeywordMatch::Found || (match == KeywordMatch::None && (options.flags & RSG_OTHER))) {
          standin::CopyOut(keyword, result);
          standin::SetLastInput(keyword);
          return RTNORM;
        }
        break;
      }
      case InputKind::Enter:
        // Refused null input gets the same message as any other unusable input.
        if (!(options.flags & RSG_NONULL)) return RTNONE;
        break;
      case InputKind::Esc:
        standin::PrintCancel();
        return RTCAN;
      case InputKind::Cursor:
      case InputKind::Zoom:  // carried out by the view before it gets here
        continue;
      case InputKind::Point:
      case InputKind::Pick:
      case InputKind::Window:
      case InputKind::Crossing:
        break;
    }
    standin::RefuseInput(refusal, prompt);
  }
}

int acedGetInput(ACHAR* str) {
  standin::InputState& st = standin::State();
  std::lock_guard<std::mutex> lock(st.mutex);
  if (!str || !st.lastInput) return RTERROR;
  standin::CopyOut(*st.lastInput, str);
  return RTNORM;
}

int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result) {
  const standin::InputOptions options = standin::TakeInputOptions();
  if (!result) return RTERROR;
  Session& session = Session::Get();
  const wchar_t* unusable = options.keywords.empty() ? standin::kInvalidPoint : standin::kPointOrKeyword;
  if (prompt) session.Print(prompt);
  for (;;) {
    const standin::InputEvent input = standin::NextTypedInput();
    const wchar_t* refusal = unusable;
    switch (input.kind) {
      case InputKind::Text: {
        const std::wstring typed = standin::Trim(input.text);
        double p[3];
        if (standin::TypedPoint(typed, pt, p)) {
          result[0] = p[0], result[1] = p[1], result[2] = p[2];
          standin::SetLastPoint(p);
          return RTNORM;
        }
        std::wstring keyword;
        const KeywordMatch match = standin::MatchKeyword(options, typed, keyword);
        if (match == KeywordMatch::Found || (match == KeywordMatch::None && (options.flags & RSG_OTHER))) {
          standin::SetLastInput(match == KeywordMatch::Found ? keyword : typed);
          return RTKWORD;
        }
        if (match == KeywordMatch::Ambiguous) refusal = standin::kAmbiguous;
        break;
      }
      case InputKind::Point:
      case InputKind::Pick: {
        double p[3] = {input.point[0], input.point[1], input.point[2]};
        if (input.kind == InputKind::Point) standin::SnapClick(options, p);
        result[0] = p[0], result[1] = p[1], result[2] = p[2];
        standin::SetLastPoint(p);
        return RTNORM;
      }
      case InputKind::Enter:
        if (!(options.flags & RSG_NONULL)) return RTNONE;
        break;
      case InputKind::Esc:
        standin::PrintCancel();
        return RTCAN;
      case InputKind::Cursor:
      case InputKind::Zoom:  // carried out by the view before it gets here
        continue;
      case InputKind::Window:
      case InputKind::Crossing:
        break;
    }
    standin::RefuseInput(refusal, prompt);
  }
}

bool acedRegisterFilterWinMsg(const AcedFilterWinMsgFn pfn) {
  standin::InputState& st = standin::State();
  std::lock_guard<std::mutex> lock(st.mutex);
  if (!pfn || std::find(st.filters.begin(), st.filters.end(), pfn) != st.filters.end()) return false;
  st.filters.push_back(pfn);
  return true;
}

bool acedRemoveFilterWinMsg(const AcedFilterWinMsgFn pfn) {
  standin::InputState& st = standin::State();
  std::lock_guard<std::mutex> lock(st.mutex);
  const auto it = std::find(st.filters.begin(), st.filters.end(), pfn);
  if (it == st.filters.end()) return false;
  st.filters.erase(it);
  return true;
}
