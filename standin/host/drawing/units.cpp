// Just enough of the host's reading of distances in its linear units, behaving as the host's
// does, for the module to take a typed distance or angle.
#include <acutads.h>

#include <cmath>
#include <cwctype>
#include <string>
#include <string_view>

#include "standin/host/core/text.h"
#include "standin/host/drawing/sysvars.h"

namespace {

bool Digits(std::wstring_view s) {
  if (s.empty()) return false;
  for (wchar_t c : s)
    if (!std::iswdigit(static_cast<wint_t>(c))) return false;
  return true;
}

// "N/D" with whole numbers and D not 0.
bool Fraction(std::wstring_view s, double& out) {
  const size_t slash = s.find(L'/');
  if (slash == std::wstring_view::npos || !Digits(s.substr(0, slash)) || !Digits(s.substr(slash + 1))) return false;
  const double d = std::wcstod(std::wstring(s.substr(slash + 1)).c_str(), nullptr);
  if (d == 0) return false;
  out = std::wcstod(std::wstring(s.substr(0, slash)).c_str(), nullptr) / d;
  return true;
}

// A number with an optional fraction: "3", "3.5", "1/2", "3-1/2", "3 1/2"; a sign leads.
bool Mixed(std::wstring_view s, double& out) {
  bool negative = false;
  if (!s.empty() && (s[0] == L'-' || s[0] == L'+')) {
    negative = s[0] == L'-';
    s.remove_prefix(1);
  }
  double value = 0;
  const size_t gap = s.find_first_of(L"- ");
  if (gap != std::wstring_view::npos) {
    double part = 0;
    if (!Digits(s.substr(0, gap)) || !Fraction(s.substr(gap + 1), part)) return false;
    value = std::wcstod(std::wstring(s.substr(0, gap)).c_str(), nullptr) + part;
  } else if (!Fraction(s, value) && !(s.find_first_of(L"+-") == std::wstring_view::npos &&
                                      standin::ParseReal(s, value) && value >= 0)) {
    return false;
  }
  out = negative ? -value : value;
  return true;
}

// Feet and inches: F', F'I", F'-I", I" or bare inches, the value in inches.
bool FeetInches(std::wstring_view s, double& out) {
  bool negative = false;
  if (!s.empty() && s[0] == L'-') {
    negative = true;
    s.remove_prefix(1);
  }
  double feet = 0, inches = 0;
  const size_t mark = s.find(L'\'');
  if (mark != std::wstring_view::npos) {
    if (!standin::ParseReal(s.substr(0, mark), feet) || feet < 0) return false;
    s.remove_prefix(mark + 1);
    if (!s.empty() && s[0] == L'-') s.remove_prefix(1);
  }
  if (!s.empty() && s.back() == L'"') s.remove_suffix(1);
  if (!s.empty() && (!Mixed(s, inches) || inches < 0)) return false;
  if (s.empty() && mark == std::wstring_view::npos) return false;
  out = (negative ? -1 : 1) * (feet * 12 + inches);
  return true;
}

}  // namespace

int acdbDisToF(const ACHAR* str, int unit, ads_real* v) {
  if (!str || !v) return RTERROR;
  if (unit == -1) unit = standin::SysVarInt(L"LUNITS", 2);
  const std::wstring text = standin::Trim(str);
  double value = 0;
  bool ok = false;
  switch (unit) {
    case 1:
    case 2:
      ok = standin::ParseReal(text, value);
      break;
    case 3:
    case 4:
      ok = FeetInches(text, value);
      break;
    case 5:
      ok = Mixed(text, value);
      break;
    default:
      return RTERROR;
  }
  if (!ok || !std::isfinite(value)) return RTERROR;
  *v = value;
  return RTNORM;
}
