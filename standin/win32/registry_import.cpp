// Reading a registry file: the registry editor's export format ("Windows Registry Editor Version
// 5.00"), in UTF-16LE or UTF-8, as the registry editor and people write it. The text is
// untrusted: anything malformed is refused with its line number, and nothing is read then.
#include <cstring>
#include <cwctype>
#include <sstream>
#include <string>
#include <vector>

#include "standin/win32/registry_tree.h"
#include "standin/win32/utf8.h"

namespace standin::registry {

namespace {

// Lines end at line feeds, so a carriage return can still be inside one; a save cannot write such
// a name, so it would be lost.
constexpr char kBreakInName[] = "a carriage return inside a key or value name";

bool Fail(ParseError& error, size_t line, std::string reason) {
  error = {line, std::move(reason)};
  return false;
}

std::wstring TrimmedLeft(std::wstring_view s) {
  size_t b = 0;
  while (b < s.size() && (s[b] == L' ' || s[b] == L'\t')) ++b;
  return std::wstring(s.substr(b));
}

std::wstring TrimmedRight(std::wstring_view s) {
  size_t e = s.size();
  while (e > 0 && (s[e - 1] == L' ' || s[e - 1] == L'\t' || s[e - 1] == L'\r')) --e;
  return std::wstring(s.substr(0, e));
}

std::wstring Trimmed(std::wstring_view s) { return TrimmedRight(TrimmedLeft(s)); }

std::vector<BYTE> BytesOf(std::wstring_view units) {
  std::vector<BYTE> data(units.size() * sizeof(wchar_t));
  if (!units.empty()) std::memcpy(data.data(), units.data(), data.size());
  return data;
}

// Paired surrogates join; a lone one is kept as it is, and an odd last byte becomes a unit.
std::wstring FromUtf16Le(const BYTE* bytes, size_t size) {
  std::wstring out;
  for (size_t i = 0; i < size; i += 2) {
    uint32_t c = bytes[i] | (i + 1 < size ? bytes[i + 1] << 8 : 0);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < size) {
      const uint32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    out += static_cast<wchar_t>(c);
  }
  return out;
}

// The file's lines as text: UTF-16LE when it starts with that byte order mark (as the registry
// editor writes it), else UTF-8 with or without one.
bool DecodeLines(const std::string& bytes, std::vector<std::wstring>& lines, ParseError& error) {
  if (bytes.size() >= 2 && static_cast<BYTE>(bytes[0]) == 0xFF && static_cast<BYTE>(bytes[1]) == 0xFE) {
    if (bytes.size() % 2 != 0) return Fail(error, 1, "a UTF-16 file with an odd number of bytes");
    const std::wstring text = FromUtf16Le(reinterpret_cast<const BYTE*>(bytes.data()) + 2, bytes.size() - 2);
    std::wstringstream in(text);
    for (std::wstring line; std::getline(in, line, L'\n');) lines.push_back(line);
    return true;
  }
  if (bytes.size() >= 2 && static_cast<BYTE>(bytes[0]) == 0xFE && static_cast<BYTE>(bytes[1]) == 0xFF)
    return Fail(error, 1, "big-endian UTF-16 is not a registry file encoding");
  const size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  size_t pos = start;
  while (pos <= bytes.size()) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    const std::string_view line(bytes.data() + pos, end - pos);
    if (!standin::IsValidUtf8(line)) return Fail(error, lines.size() + 1, "the text is not UTF-8");
    lines.push_back(standin::FromUtf8(line));
    pos = end + 1;
  }
  return true;
}

// Reads a quoted text at s[pos]; pos ends after the closing quote.
bool ParseQuoted(std::wstring_view s, size_t& pos, std::wstring& out) {
  if (pos >= s.size() || s[pos] != L'"') return false;
  out.clear();
  for (++pos; pos < s.size(); ++pos) {
    if (s[pos] == L'"') {
      ++pos;
      return true;
    }
    if (s[pos] == L'\\') {
      if (++pos >= s.size() || (s[pos] != L'\\' && s[pos] != L'"')) return false;
    }
    out += s[pos];
  }
  return false;
}

bool ParseHexNumber(std::wstring_view s, DWORD& out) {
  if (s.empty() || s.size() > 8) return false;
  out = 0;
  for (wchar_t c : s) {
    if (c > 0x7F || !std::iswxdigit(static_cast<wint_t>(c))) return false;
    out = out * 16 + static_cast<DWORD>(c <= L'9' ? c - L'0' : (c | 0x20) - L'a' + 10);
  }
  return true;
}

bool ParseHexBytes(std::wstring_view s, std::vector<BYTE>& out) {
  out.clear();
  const std::wstring all = Trimmed(s);
  if (all.empty()) return true;
  size_t pos = 0;
  for (;;) {
    size_t comma = all.find(L',', pos);
    const std::wstring item = Trimmed(std::wstring_view(all).substr(pos, comma - pos));
    DWORD byte;
    if (item.size() > 2 || !ParseHexNumber(item, byte)) return false;
    out.push_back(static_cast<BYTE>(byte));
    if (comma == std::wstring::npos) return true;
    pos = comma + 1;
  }
}

// Null when the data after a value's = is read into the value (or says to delete it), else why not.
const char* ParseData(std::wstring_view s, bool& remove, Value& value) {
  remove = false;
  if (s == L"-") {
    remove = true;
    return nullptr;
  }
  if (!s.empty() && s[0] == L'"') {
    size_t pos = 0;
    std::wstring text;
    if (!ParseQuoted(s, pos, text) || !TrimmedLeft(s.substr(pos)).empty()) return "a malformed quoted text";
    value.type = REG_SZ;
    value.data = BytesOf(text + L'\0');
    return nullptr;
  }
  if (s.substr(0, 6) == L"dword:") {
    DWORD d;
    if (!ParseHexNumber(TrimmedRight(s.substr(6)), d)) return "dword: wants one to eight hexadecimal digits";
    value.type = REG_DWORD;
    value.data.assign(reinterpret_cast<const BYTE*>(&d), reinterpret_cast<const BYTE*>(&d) + 4);
    return nullptr;
  }
  DWORD type = REG_BINARY;
  std::wstring_view list;
  if (s.substr(0, 4) == L"hex:") {
    list = s.substr(4);
  } else if (s.substr(0, 4) == L"hex(") {
    const size_t close = s.find(L"):");
    if (close == std::wstring_view::npos || !ParseHexNumber(s.substr(4, close - 4), type))
      return "hex(...) wants a hexadecimal type number";
    list = s.substr(close + 2);
  } else {
    return "the data is none of \"text\", dword:, hex: or hex(n):";
  }
  std::vector<BYTE> bytes;
  if (!ParseHexBytes(list, bytes)) return "a malformed list of hexadecimal bytes";
  value.type = type;
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
    value.data = BytesOf(FromUtf16Le(bytes.data(), bytes.size()));
  else
    value.data = std::move(bytes);
  return nullptr;
}

bool Parse(const std::vector<std::wstring>& lines, Roots& roots, ParseError& error) {
  size_t first = 0;
  while (first < lines.size() && TrimmedRight(lines[first]).empty()) ++first;
  if (first == lines.size()) return true;  // an empty file is an empty registry
  if (first != 0 || TrimmedRight(lines[0]) != standin::FromUtf8(kFileHeader))
    return Fail(error, first + 1, "the file does not start with \"" + std::string(kFileHeader) + "\"");
  std::shared_ptr<Key> current;
  bool inDeletedKey = false;
  for (size_t i = 1; i < lines.size(); ++i) {
    const size_t lineNo = i + 1;
    std::wstring line = Trimmed(lines[i]);
    if (line.empty()) continue;
    if (line[0] == L';') {
      std::wstring className;
      size_t pos = 7;
      if (current && line.compare(0, 7, L";class=") == 0 && ParseQuoted(line, pos, className) && pos == line.size())
        current->className = className;
      continue;
    }
    if (line[0] == L'[') {
      if (line.back() != L']') return Fail(error, lineNo, "a key line must end with ]");
      std::wstring_view path = std::wstring_view(line).substr(1, line.size() - 2);
      const bool remove = !path.empty() && path[0] == L'-';
      if (remove) path.remove_prefix(1);
      std::vector<std::wstring> parts;
      if (!SplitPath(path, parts)) return Fail(error, lineNo, "a key path with an empty name in it");
      if (path.find(L'\r') != std::wstring_view::npos) return Fail(error, lineNo, kBreakInName);
      if (parts.size() - 1 > kMaxDepth)
        return Fail(error, lineNo, "a key more than " + std::to_string(kMaxDepth) + " levels deep");
      int root = -1;
      for (int r = 0; r < kRootCount; ++r)
        if (SameName(parts[0], kRootNames[r])) root = r;
      if (root < 0) return Fail(error, lineNo, "unknown root key \"" + standin::ToUtf8(parts[0]) + "\"");
      std::shared_ptr<Key> key = roots[root];
      for (size_t k = 1; key && k < parts.size(); ++k) {
        auto child = FindChild(*key, parts[k]);
        key = child || remove ? child : CreateChild(*key, parts[k], false);
      }
      current = remove ? nullptr : key;
      inDeletedKey = remove;
      if (remove && key && !key->parent) return Fail(error, lineNo, "a root key cannot be deleted");
      if (remove && key) DeleteKey(*key);
      continue;
    }
    if (line[0] != L'"' && line[0] != L'@')
      return Fail(error, lineNo, "a line that is neither a key, a value nor a comment");
    // Long hexadecimal lists go on over lines that end with a backslash.
    while (!line.empty() && line.back() == L'\\' && i + 1 < lines.size()) {
      line.pop_back();
      line += Trimmed(lines[++i]);
    }
    if (!current)
      return Fail(error, lineNo, inDeletedKey ? "a value in a deleted key" : "a value before the first key");
    Value value;
    size_t pos = 0;
    if (line[0] == L'@')
      pos = 1;
    else if (!ParseQuoted(line, pos, value.name))
      return Fail(error, lineNo, "a malformed value name");
    if (value.name.find(L'\r') != std::wstring::npos) return Fail(error, lineNo, kBreakInName);
    while (pos < line.size() && (line[pos] == L' ' || line[pos] == L'\t')) ++pos;
    if (pos >= line.size() || line[pos] != L'=') return Fail(error, lineNo, "= expected after the value name");
    bool remove;
    if (const char* reason = ParseData(TrimmedLeft(std::wstring_view(line).substr(pos + 1)), remove, value))
      return Fail(error, lineNo, reason);
    if (remove)
      RemoveValue(*current, value.name);
    else
      SetValueIn(*current, std::move(value));
  }
  return true;
}

}  // namespace

bool Import(const std::string& bytes, Roots& roots, ParseError& error) {
  std::vector<std::wstring> lines;
  return DecodeLines(bytes, lines, error) && Parse(lines, roots, error);
}

}  // namespace standin::registry
