// Just enough of the host's command-line input functions, behaving as the host's do, for the
// module to ask the scripted user for keywords and points.
#include "standin/host/input.h"

#include <cmath>
#include <cwchar>
#include <cwctype>
#include <mutex>
#include <optional>

#include "standin/host/session.h"
#include "standin/host/sysvars.h"

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

std::wstring Upper(std::wstring_view s) {
  std::wstring u(s);
  for (auto& c : u) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return u;
}

std::wstring Trim(std::wstring_view s) {
  size_t b = 0, e = s.size();
  while (b < e && std::iswspace(static_cast<wint_t>(s[b]))) ++b;
  while (e > b && std::iswspace(static_cast<wint_t>(s[e - 1]))) --e;
  return std::wstring(s.substr(b, e - b));
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

std::vector<Keyword> ParseKeywords(const wchar_t* kwl) {
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

void Cancel() { Session::Get().Print(L"*Cancel*"); }

// The next event of the scripted user, typed text echoed as the host shows it; blank text is
// Enter, as on the host's command line.
InputEvent NextTypedInput() {
  Session& session = Session::Get();
  InputEvent input = session.NextInput();
  if (input.kind == InputKind::Text) {
    session.Print(input.text);
    if (Trim(input.text).empty()) input.kind = InputKind::Enter;
  }
  return input;
}

// A real number as the host's command line reads one: digits with an optional sign, point and
// exponent, nothing else.
bool ParseReal(std::wstring_view text, double& out) {
  const std::wstring s = Trim(text);
  if (s.empty()) return false;
  for (wchar_t c : s)
    if (!std::iswdigit(static_cast<wint_t>(c)) && c != L'.' && c != L'+' && c != L'-' && c != L'e' && c != L'E')
      return false;
  wchar_t* end = nullptr;
  out = std::wcstod(s.c_str(), &end);
  return end == s.c_str() + s.size() && std::isfinite(out);
}

double SysReal(const wchar_t* name) {
  resbuf rb;
  return acedGetVar(name, &rb) == RTNORM && rb.restype == RTREAL ? rb.resval.rreal : 0.0;
}

// Typed coordinates: "x,y[,z]", "@dx,dy[,dz]", "dist<angle", "@dist<angle", "@".
bool ParsePoint(const std::wstring& text, const double* base, double* p) {
  std::wstring_view s(text);
  const bool relative = !s.empty() && s[0] == L'@';
  if (relative) s.remove_prefix(1);
  double origin[3] = {0, 0, 0};
  if (relative) {
    if (base) {
      origin[0] = base[0], origin[1] = base[1], origin[2] = base[2];
    } else {
      resbuf rb;
      if (acedGetVar(L"LASTPOINT", &rb) == RTNORM && rb.restype == RT3DPOINT)
        origin[0] = rb.resval.rpoint[0], origin[1] = rb.resval.rpoint[1], origin[2] = rb.resval.rpoint[2];
    }
    if (s.empty()) {
      p[0] = origin[0], p[1] = origin[1], p[2] = origin[2];
      return true;
    }
  }
  const size_t angle = s.find(L'<');
  if (angle != std::wstring_view::npos) {
    double dist = 0, degrees = 0;
    if (!ParseReal(s.substr(0, angle), dist) || !ParseReal(s.substr(angle + 1), degrees)) return false;
    const double a = degrees * 3.141592653589793 / 180.0;
    p[0] = origin[0] + dist * std::cos(a);
    p[1] = origin[1] + dist * std::sin(a);
    p[2] = relative ? origin[2] : SysReal(L"ELEVATION");
    return true;
  }
  const size_t c1 = s.find(L',');
  if (c1 == std::wstring_view::npos) return false;
  const size_t c2 = s.find(L',', c1 + 1);
  double v[3] = {0, 0, 0};
  if (!ParseReal(s.substr(0, c1), v[0])) return false;
  if (c2 == std::wstring_view::npos) {
    if (!ParseReal(s.substr(c1 + 1), v[1])) return false;
    v[2] = relative ? 0.0 : SysReal(L"ELEVATION");
  } else if (!ParseReal(s.substr(c1 + 1, c2 - c1 - 1), v[1]) || !ParseReal(s.substr(c2 + 1), v[2])) {
    return false;
  }
  for (int i = 0; i < 3; ++i) p[i] = origin[i] + v[i];
  return true;
}

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
  st.pending.keywords = standin::ParseKeywords(kwl);
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
        standin::Cancel();
        return RTCAN;
      case InputKind::Cursor:
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
        if (standin::ParsePoint(typed, pt, p)) {
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
      case InputKind::Pick:
        result[0] = input.point[0], result[1] = input.point[1], result[2] = input.point[2];
        standin::SetLastPoint(input.point);
        return RTNORM;
      case InputKind::Enter:
        if (!(options.flags & RSG_NONULL)) return RTNONE;
        break;
      case InputKind::Esc:
        standin::Cancel();
        return RTCAN;
      case InputKind::Cursor:
        continue;
      case InputKind::Window:
      case InputKind::Crossing:
        break;
    }
    standin::RefuseInput(refusal, prompt);
  }
}
