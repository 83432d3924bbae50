// Text as the host's command line reads it: case folding, blanks, words, numbers and typed points.
// One reader of typed points serves every prompt, so "@5,0" means the same wherever it is typed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace standin {

std::wstring Upper(std::wstring_view text);
// Without leading and trailing blanks.
std::wstring Trim(std::wstring_view text);
// The blank-separated words.
std::vector<std::wstring> Words(std::wstring_view text);
// Equal ignoring case, as the host compares names; never equal to a null name.
bool SameName(std::wstring_view a, std::wstring_view b);
bool SameName(std::wstring_view a, const wchar_t* b);

// A real number as the host's command line reads one: digits with an optional sign, point and
// exponent (blanks around it allowed), finite; nothing else.
bool ParseReal(std::wstring_view text, double& out);

// Typed coordinates: "x,y[,z]" (z is elevation when left out), "dist<angle" (degrees, at
// elevation), and relative to base: "@dx,dy[,dz]", "@dist<angle", "@" alone (base itself).
// False (out untouched) for anything else.
bool ParsePointInput(std::wstring_view text, const double base[3], double elevation, double out[3]);

}  // namespace standin
