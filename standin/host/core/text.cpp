// Text as the host's command line reads it.
#include "standin/host/core/text.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

namespace standin {

namespace {

wchar_t UpperChar(wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); }
bool IsBlank(wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; }

}  // namespace

std::wstring Upper(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = UpperChar(c);
  return upper;
}

std::wstring Trim(std::wstring_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return std::wstring(text.substr(b, e - b));
}

std::vector<std::wstring> Words(std::wstring_view text) {
  std::vector<std::wstring> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    const size_t b = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > b) words.emplace_back(text.substr(b, i - b));
  }
  return words;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

bool SameName(std::wstring_view a, const wchar_t* b) { return b && SameName(a, std::wstring_view(b)); }

bool ParseReal(std::wstring_view text, double& out) {
  const std::wstring s = Trim(text);
  if (s.empty()) return false;
  for (wchar_t c : s)
    if (!std::iswdigit(static_cast<wint_t>(c)) && c != L'.' && c != L'+' && c != L'-' && c != L'e' && c != L'E')
      return false;
  wchar_t* end = nullptr;
  const double value = std::wcstod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(value)) return false;
  out = value;
  return true;
}

bool ParsePointInput(std::wstring_view text, const double base[3], double elevation, double out[3]) {
  std::wstring_view s = text;
  const bool relative = !s.empty() && s[0] == L'@';
  if (relative) s.remove_prefix(1);
  const double origin[3] = {relative ? base[0] : 0, relative ? base[1] : 0, relative ? base[2] : 0};
  double p[3];
  if (relative && Trim(s).empty()) {
    p[0] = origin[0], p[1] = origin[1], p[2] = origin[2];
  } else if (const size_t angle = s.find(L'<'); angle != std::wstring_view::npos) {
    double dist = 0, degrees = 0;
    if (!ParseReal(s.substr(0, angle), dist) || !ParseReal(s.substr(angle + 1), degrees)) return false;
    const double a = degrees * 3.141592653589793 / 180.0;
    p[0] = origin[0] + dist * std::cos(a);
    p[1] = origin[1] + dist * std::sin(a);
    p[2] = relative ? origin[2] : elevation;
  } else {
    const size_t c1 = s.find(L',');
    if (c1 == std::wstring_view::npos) return false;
    const size_t c2 = s.find(L',', c1 + 1);
    double v[3] = {0, 0, relative ? 0.0 : elevation};
    if (!ParseReal(s.substr(0, c1), v[0])) return false;
    if (c2 == std::wstring_view::npos) {
      if (!ParseReal(s.substr(c1 + 1), v[1])) return false;
    } else if (!ParseReal(s.substr(c1 + 1, c2 - c1 - 1), v[1]) || !ParseReal(s.substr(c2 + 1), v[2])) {
      return false;
    }
    if (!relative)
      p[0] = v[0], p[1] = v[1], p[2] = v[2];
    else
      p[0] = origin[0] + v[0], p[1] = origin[1] + v[1], p[2] = origin[2] + v[2];
  }
  if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) return false;
  out[0] = p[0], out[1] = p[1], out[2] = p[2];
  return true;
}

}  // namespace standin
