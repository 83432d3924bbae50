// The host's predefined hatch patterns, for the stand-in host and its tests.
#pragma once

#include <string>
#include <vector>

namespace standin {
// The names of the host's predefined hatch patterns, in the order of its pattern file.
const std::vector<std::wstring>& PredefinedHatchPatterns();
// Whether the name is one of them (ignoring case).
bool IsPredefinedHatchPattern(const wchar_t* name);
}  // namespace standin
