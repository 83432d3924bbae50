// The text of a DXF file: values in UTF-8 or the drawing's code page, the \U+XXXX escapes of
// characters a code page cannot hold, and values quoted short in messages.
#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "standin/host/drawing/dxf_reader.h"
#include "standin/win32/utf8.h"

namespace standin::dxf {

namespace {

constexpr size_t kShownChars = 80;

// Text in a Windows code page ("CP936"), through the system's converter; false when it cannot
// convert.
bool FromCodePage(const std::string& page, std::string_view text, std::wstring& out) {
  if (page.empty()) return false;
#if defined(_WIN32)
  const UINT cp = static_cast<UINT>(std::strtoul(page.c_str() + 2, nullptr, 10));
  if (text.empty()) return out.clear(), true;
  if (text.size() > INT_MAX) return false;
  const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return false;
  std::wstring buffer(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), buffer.data(), n);
  out = std::move(buffer);
  return true;
#else
  iconv_t cd = iconv_open("WCHAR_T", page.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string bytes(text);
  std::wstring buffer(bytes.size() + 1, L'\0');
  char* in = bytes.data();
  size_t inLeft = bytes.size();
  char* outPtr = reinterpret_cast<char*>(buffer.data());
  size_t outLeft = buffer.size() * sizeof(wchar_t);
  const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1) || inLeft != 0) return false;
  buffer.resize(buffer.size() - outLeft / sizeof(wchar_t));
  out = std::move(buffer);
  return true;
#endif
}

// The value of a hexadecimal number of exactly n digits at text[at], or -1.
long HexAt(std::wstring_view text, size_t at, size_t n) {
  if (at + n > text.size()) return -1;
  long value = 0;
  for (size_t k = at; k < at + n; ++k) {
    const wchar_t c = text[k];
    const int digit = c >= L'0' && c <= L'9'   ? c - L'0'
                      : c >= L'A' && c <= L'F' ? c - L'A' + 10
                      : c >= L'a' && c <= L'f' ? c - L'a' + 10
                                               : -1;
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

// "\U+XXXX" at text[at] names a character the code page could not hold: how many characters the
// escape takes (0 when there is none) and the character. Characters outside the basic plane come
// as a surrogate pair of escapes, or as eight digits ("\U+0001F642"): four digits below 0011
// name no character anyone escapes, so eight are read then. An escape of no character stays text.
size_t Escape(std::wstring_view text, size_t at, char32_t& c) {
  if (text.compare(at, 3, L"\\U+") != 0) return 0;
  const long high = HexAt(text, at + 3, 4);
  if (high < 0) return 0;
  if (high <= 0x10) {
    const long low = HexAt(text, at + 7, 4);
    if (low >= 0) {
      c = static_cast<char32_t>((high << 16) | low);
      return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF) ? 11 : 0;
    }
  }
  if (high >= 0xD800 && high <= 0xDBFF && text.compare(at + 7, 3, L"\\U+") == 0) {
    const long low = HexAt(text, at + 10, 4);
    if (low >= 0xDC00 && low <= 0xDFFF) {
      c = static_cast<char32_t>(0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
      return 14;
    }
  }
  if (high >= 0xD800 && high <= 0xDFFF) return 0;
  c = static_cast<char32_t>(high);
  return 7;
}

}  // namespace

std::string TrimBlanks(std::string_view s) { return std::string(Trimmed(s)); }

std::wstring Shown(std::wstring_view text) {
  std::wstring out;
  size_t i = 0;
  for (; i < text.size() && out.size() < kShownChars; ++i) {
    const wchar_t c = text[i];
    if (c < 0x20 || c == 0x7F) {
      wchar_t escape[16];
      std::swprintf(escape, 16, L"\\U+%04X", static_cast<unsigned>(c));
      out += escape;
    } else {
      out.push_back(c);
    }
  }
  if (i < text.size()) {
    // A character cut in half (a surrogate pair where wchar_t is 16 bits) is left out whole.
    if (!out.empty() && out.back() >= 0xD800 && out.back() <= 0xDBFF) out.pop_back();
    out += L"...";
  }
  return out;
}

std::wstring Shown(std::string_view bytes) {
  // A prefix of more characters than are shown, however they are encoded, so a cut is still marked.
  return Shown(FromUtf8(bytes.substr(0, 4 * kShownChars + 4)));
}

std::wstring Reader::Text(std::string_view bytes) const {
  std::wstring out;
  if (m_utf8 || IsValidUtf8(bytes)) {
    out = FromUtf8(bytes);
  } else if (!FromCodePage(m_codePage, bytes, out)) {
    // Without a code page the system can convert from, the bytes are read as Latin-1.
    out.clear();
    for (unsigned char c : bytes) out.push_back(static_cast<wchar_t>(c));
  }
  if (out.find(L'\\') == std::wstring::npos) return out;  // no escape in it
  std::wstring decoded;
  for (size_t i = 0; i < out.size();) {
    char32_t c = 0;
    const size_t used = Escape(out, i, c);
    if (used == 0) {
      decoded.push_back(out[i++]);
      continue;
    }
    if constexpr (sizeof(wchar_t) == 2) {
      if (c > 0xFFFF) {
        decoded.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
        c = 0xDC00 + ((c - 0x10000) & 0x3FF);
      }
    }
    decoded.push_back(static_cast<wchar_t>(c));
    i += used;
  }
  return decoded;
}

}  // namespace standin::dxf
