// Just enough text conversion, behaving as Windows' UTF-8 code page does, for the stand-ins.
#include "standin/win32/utf8.h"

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace standin {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

bool IsScalar(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

void Append(std::string& out, char32_t c) {
  if (!IsScalar(c)) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one sequence at text[i]; returns its length, or 0 when malformed.
size_t Decode(std::string_view text, size_t i, char32_t& c) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  size_t len;
  char32_t min;
  if (b0 < 0x80) {
    c = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, min = 0x80, c = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, min = 0x800, c = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, min = 0x10000, c = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  return (c >= min && IsScalar(c)) ? len : 0;
}
}  // namespace

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    // A UTF-16 build hands us surrogate pairs; join them.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      const auto low = static_cast<char32_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    Append(out, c);
  }
  return out;
}

std::wstring FromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c;
    const size_t len = Decode(text, i, c);
    if (len == 0) {
      out += static_cast<wchar_t>(kReplacement);
      ++i;
    } else {
      out += static_cast<wchar_t>(c);
      i += len;
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    char32_t c;
    const size_t len = Decode(text, i, c);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::wstring TranslateWideFormat(const wchar_t* format) {
  std::wstring out;
  if (!format) return out;
  for (const wchar_t* p = format; *p;) {
    if (*p != L'%') {
      out += *p++;
      continue;
    }
    out += *p++;
    if (*p == L'%') {
      out += *p++;
      continue;
    }
    while (*p && std::wcschr(L"-+ #0'", *p)) out += *p++;
    while (*p && (std::iswdigit(*p) || *p == L'*' || *p == L'.')) out += *p++;
    std::wstring length;
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
      length = L"ll", p += 3;
    } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
      p += 3;
    } else if (*p == L'I') {
      length = L"z", ++p;
    } else {
      while (*p && std::wcschr(L"hlLqjzt", *p)) length += *p++;
    }
    const wchar_t conv = *p;
    if (!conv) break;
    ++p;
    if ((conv == L's' || conv == L'c') && length.empty()) {
      out += L'l';
      out += conv;
    } else if ((conv == L's' || conv == L'c') && length == L"h") {
      out += conv;  // %hs is narrow on both sides
    } else if ((conv == L'S' || conv == L'C') && length.empty()) {
      out += static_cast<wchar_t>(conv == L'S' ? L's' : L'c');
    } else if (conv == L'n') {
      // %n writes through its argument: consume the pointer without touching it.
      out += L".0ls";
    } else {
      out += length;
      out += conv;
    }
  }
  return out;
}

std::wstring FormatWideV(const wchar_t* format, va_list args) {
  const std::wstring fmt = TranslateWideFormat(format);
  std::vector<wchar_t> buffer(256);
  // vswprintf reports both "too small" and encoding errors as -1, so growth is bounded.
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vswprintf(buffer.data(), buffer.size(), fmt.c_str(), copy);
    va_end(copy);
    if (n >= 0) return std::wstring(buffer.data(), static_cast<size_t>(n));
    if (buffer.size() >= (size_t{1} << 24)) return std::wstring();
    buffer.resize(buffer.size() * 4);
  }
}

std::wstring FormatWide(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring s = FormatWideV(format, args);
  va_end(args);
  return s;
}

}  // namespace standin
