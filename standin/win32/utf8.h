// Wide text leaves the process as UTF-8: file names, the terminal, files. These helpers are
// the stand-ins' one conversion, so every stand-in treats malformed text the same way.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace standin {

// Characters that are not Unicode scalar values become U+FFFD.
std::string ToUtf8(std::wstring_view text);
// Malformed sequences become U+FFFD, one per bad byte; never throws.
std::wstring FromUtf8(std::string_view text);
// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// printf-style formatting with the Windows meaning of %s and %c in wide formats (wide
// arguments); %S and %C take narrow ones, %I64 is the 64-bit length modifier.
std::wstring FormatWideV(const wchar_t* format, va_list args);
std::wstring FormatWide(const wchar_t* format, ...);
// The format rewritten for the C library's wide printf.
std::wstring TranslateWideFormat(const wchar_t* format);

}  // namespace standin
