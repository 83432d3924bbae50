// Just enough of the Win32 registry, behaving as Windows' does, for settings that persist
// between runs in a file a person can read: the registry editor's export format.
#include "standin/win32/registry.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwctype>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "standin/win32/utf8.h"

static_assert(sizeof(wchar_t) == 4, "the file conversion below maps 32-bit wchar_t text to UTF-16");

namespace {

struct Value {
  std::wstring name;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct Key {
  std::wstring name;
  std::wstring className;
  bool isVolatile = false;
  bool deleted = false;
  Key* parent = nullptr;
  std::map<std::wstring, std::shared_ptr<Key>> subkeys;  // by folded name, the order regedit lists them in
  std::vector<Value> values;                             // in creation order
  FILETIME written = {0, 0};
};

struct Handle {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
  bool wrote = false;
};

const wchar_t* const kRootNames[] = {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_USERS",
                                     L"HKEY_CURRENT_CONFIG"};
constexpr int kRootCount = 5;
const char kHeader[] = "Windows Registry Editor Version 5.00";

// The roots are separate trees here: HKEY_CLASSES_ROOT is not merged from the machine's and
// the user's classes, and HKEY_CURRENT_CONFIG is no link (chosen: nothing needs the views).
// Every root may be written, HKEY_LOCAL_MACHINE too, as by an administrator (chosen: the
// stand-in knows no users or security descriptors).
struct Registry {
  std::mutex mutex;
  bool loaded = false;
  bool atExitRegistered = false;
  bool dirty = false;
  bool canSave = true;
  std::string path;
  std::shared_ptr<Key> roots[kRootCount];
  std::unordered_map<uintptr_t, Handle> handles;
  uintptr_t nextHandle = 0x100;
  std::set<std::string> saidOnce;
};

Registry& State() {
  static Registry* registry = new Registry;  // never destroyed: the at-exit save uses it
  return *registry;
}

void SayOnce(Registry& r, const std::string& what) {
  if (r.saidOnce.insert(what).second) std::fprintf(stderr, "registry: %s\n", what.c_str());
}

// Names compare as Windows compares them, upper-cased character by character with the
// Unicode tables, whatever locale the process has chosen.
wchar_t Fold(wchar_t c) {
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  const auto wc = static_cast<wint_t>(c);
  return static_cast<wchar_t>(unicode ? towupper_l(wc, unicode) : std::towupper(wc));
}

std::wstring Folded(std::wstring_view s) {
  std::wstring out(s);
  for (auto& c : out) c = Fold(c);
  return out;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

FILETIME Now() {
  // 100 ns ticks from 1601 to 1970.
  const uint64_t ticks = static_cast<uint64_t>(std::time(nullptr)) * 10000000ULL + 116444736000000000ULL;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

void Touch(Registry& r, Key& key) {
  key.written = Now();
  if (!key.isVolatile) r.dirty = true;
}

std::shared_ptr<Key> NewRoot(int index) {
  auto root = std::make_shared<Key>();
  root->name = kRootNames[index];
  root->written = Now();
  return root;
}

int RootIndex(HKEY h) {
  if (h == HKEY_CLASSES_ROOT) return 0;
  if (h == HKEY_CURRENT_USER) return 1;
  if (h == HKEY_LOCAL_MACHINE) return 2;
  if (h == HKEY_USERS) return 3;
  if (h == HKEY_CURRENT_CONFIG) return 4;
  return -1;
}

std::shared_ptr<Key> FindChild(const Key& parent, std::wstring_view name) {
  const auto it = parent.subkeys.find(Folded(name));
  return it == parent.subkeys.end() ? nullptr : it->second;
}

Value* FindValue(Key& key, std::wstring_view name) {
  for (auto& v : key.values)
    if (SameName(v.name, name)) return &v;
  return nullptr;
}

void MarkDeleted(Key& key) {
  key.deleted = true;
  for (auto& [folded, child] : key.subkeys) MarkDeleted(*child);
}

// ----- The file ------------------------------------------------------------------------------

std::string DefaultPath() {
  if (const char* p = std::getenv("TOVU_REGISTRY"); p && *p) return p;
  // XDG says a relative XDG_CONFIG_HOME is to be ignored.
  if (const char* p = std::getenv("XDG_CONFIG_HOME"); p && *p == '/') return std::string(p) + "/tovu/registry.reg";
  if (const char* p = std::getenv("HOME"); p && *p) return std::string(p) + "/.config/tovu/registry.reg";
  return std::string();
}

// Where the changes go when the named file cannot be read: beside it, never over it.
std::string BesidePath(const std::string& path) {
  const size_t n = path.size();
  if (n > 4 && strcasecmp(path.c_str() + n - 4, ".reg") == 0) return path.substr(0, n - 4) + ".recovered.reg";
  return path + ".recovered.reg";
}

// Text data of a value as wchar_t units; a trailing partial character counts as a whole one.
std::wstring UnitsOf(const std::vector<BYTE>& data) {
  std::wstring units((data.size() + sizeof(wchar_t) - 1) / sizeof(wchar_t), L'\0');
  if (!data.empty()) std::memcpy(units.data(), data.data(), data.size());
  return units;
}

std::vector<BYTE> BytesOf(std::wstring_view units) {
  std::vector<BYTE> data(units.size() * sizeof(wchar_t));
  if (!units.empty()) std::memcpy(data.data(), units.data(), data.size());
  return data;
}

// The file holds text as UTF-16LE bytes, as Windows stores it.
std::vector<BYTE> ToUtf16Le(std::wstring_view units) {
  std::vector<BYTE> out;
  auto put = [&out](uint32_t u) {
    out.push_back(static_cast<BYTE>(u & 0xFF));
    out.push_back(static_cast<BYTE>(u >> 8));
  };
  for (wchar_t wc : units) {
    auto c = static_cast<uint32_t>(wc);
    if (c > 0x10FFFF) c = 0xFFFD;
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
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

bool IsScalar(wchar_t c) {
  const auto u = static_cast<uint32_t>(c);
  return u <= 0x10FFFF && (u < 0xD800 || u > 0xDFFF);
}

std::string Quoted(std::wstring_view text) {
  std::wstring escaped;
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'"') escaped += L'\\';
    escaped += c;
  }
  return "\"" + standin::ToUtf8(escaped) + "\"";
}

// A REG_SZ is written as "text" only when that form gives back the very same bytes.
bool HasPlainTextForm(const Value& v) {
  if (v.type != REG_SZ || v.data.empty() || v.data.size() % sizeof(wchar_t) != 0) return false;
  const std::wstring units = UnitsOf(v.data);
  if (units.back() != L'\0') return false;
  for (size_t i = 0; i + 1 < units.size(); ++i)
    if (units[i] == L'\0' || units[i] == L'\r' || units[i] == L'\n' || !IsScalar(units[i])) return false;
  return true;
}

void WriteHex(std::string& out, const std::string& prefix, const std::vector<BYTE>& bytes) {
  std::string line = prefix;
  char hex[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
    line += hex;
    if (i + 1 == bytes.size()) break;
    line += ',';
    // The registry editor keeps its lines within 80 columns.
    if (line.size() > 76) {
      out += line + "\\\r\n";
      line = "  ";
    }
  }
  out += line + "\r\n";
}

void WriteValue(std::string& out, const Value& v) {
  const std::string name = v.name.empty() ? "@" : Quoted(v.name);
  if (HasPlainTextForm(v)) {
    const std::wstring units = UnitsOf(v.data);
    out += name + "=" + Quoted(std::wstring_view(units).substr(0, units.size() - 1)) + "\r\n";
  } else if (v.type == REG_DWORD && v.data.size() == 4) {
    DWORD d;
    std::memcpy(&d, v.data.data(), 4);
    char text[16];
    std::snprintf(text, sizeof text, "%08x", d);
    out += name + "=dword:" + text + "\r\n";
  } else if (v.type == REG_BINARY) {
    WriteHex(out, name + "=hex:", v.data);
  } else {
    const bool text = v.type == REG_SZ || v.type == REG_EXPAND_SZ || v.type == REG_MULTI_SZ;
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "=hex(%x):", v.type);
    WriteHex(out, name + prefix, text ? ToUtf16Le(UnitsOf(v.data)) : v.data);
  }
}

bool HasLineBreak(std::wstring_view s) { return s.find_first_of(L"\r\n") != std::wstring_view::npos; }

void WriteKey(Registry& r, std::string& out, const Key& key, const std::wstring& path, bool isRoot) {
  if (key.isVolatile) return;
  if (!isRoot || !key.values.empty()) {
    out += "[" + standin::ToUtf8(path) + "]\r\n";
    // Classes are no part of the export format; a comment keeps them, and an import ignores it.
    if (!key.className.empty() && !HasLineBreak(key.className)) out += ";class=" + Quoted(key.className) + "\r\n";
    // The default value comes first, as the registry editor lists it.
    for (int pass = 0; pass < 2; ++pass)
      for (const auto& v : key.values) {
        if (v.name.empty() != (pass == 0)) continue;
        if (HasLineBreak(v.name)) {
          SayOnce(r, "a value whose name holds a line break cannot be saved: " + standin::ToUtf8(path));
          continue;
        }
        WriteValue(out, v);
      }
    out += "\r\n";
  }
  for (const auto& [folded, child] : key.subkeys) {
    if (HasLineBreak(child->name)) {
      SayOnce(r, "a key whose name holds a line break cannot be saved: " + standin::ToUtf8(path));
      continue;
    }
    WriteKey(r, out, *child, path + L"\\" + child->name, false);
  }
}

std::string Export(Registry& r) {
  std::string out = std::string(kHeader) + "\r\n\r\n";
  for (int i = 0; i < kRootCount; ++i) WriteKey(r, out, *r.roots[i], kRootNames[i], true);
  return out;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// TOVU_REGISTRY_SAVE_HOOK lets tests crash a save at a chosen point, deterministically:
// "kill-while-writing" (half the temporary file written) or "kill-before-rename".
bool SaveHook(const char* point) {
  const char* hook = std::getenv("TOVU_REGISTRY_SAVE_HOOK");
  return hook && std::strcmp(hook, point) == 0;
}

// Temporary files of writers that died before their rename ("<file>.<pid>.tmp"); those of
// processes still running are theirs to finish.
void RemoveStaleTemporaries(const std::string& path) {
  const std::filesystem::path file(path);
  const std::string prefix = file.filename().string() + ".";
  std::error_code ec;
  for (const auto& entry :
       std::filesystem::directory_iterator(file.parent_path().empty() ? "." : file.parent_path(), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - 4, 4, ".tmp") != 0)
      continue;
    const std::string pid = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    if (pid.find_first_not_of("0123456789") != std::string::npos || pid.size() > 9) continue;
    if (::kill(static_cast<pid_t>(std::stol(pid)), 0) != 0 && errno == ESRCH) std::filesystem::remove(entry.path(), ec);
  }
}

bool SaveLocked(Registry& r) {
  if (!r.dirty) return true;
  if (!r.canSave || r.path.empty()) {
    SayOnce(r, "changes are kept in memory only and will be lost at exit");
    return false;
  }
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(r.path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);

  const std::string text = Export(r);
  const std::string temp = r.path + "." + std::to_string(::getpid()) + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    std::fprintf(stderr, "registry: cannot write %s: %s\n", temp.c_str(), std::strerror(errno));
    return false;
  }
  if (SaveHook("kill-while-writing")) {
    WriteAll(fd, text.data(), text.size() / 2);
    ::fsync(fd);
    std::raise(SIGKILL);
  }
  bool ok = WriteAll(fd, text.data(), text.size()) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && SaveHook("kill-before-rename")) std::raise(SIGKILL);
  if (!ok || ::rename(temp.c_str(), r.path.c_str()) != 0) {
    std::fprintf(stderr, "registry: cannot save %s: %s\n", r.path.c_str(), std::strerror(errno));
    ::unlink(temp.c_str());
    return false;
  }
  // The rename itself is made durable with the folder.
  const int dir = ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  r.dirty = false;
  RemoveStaleTemporaries(r.path);
  return true;
}

// ----- Reading the file ----------------------------------------------------------------------

struct ParseError {
  size_t line;
  std::string reason;
};

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

// The file's lines as text: UTF-16LE when it starts with that byte order mark (as the registry
// editor writes it), else UTF-8 with or without one.
bool DecodeLines(const std::string& bytes, std::vector<std::wstring>& lines, ParseError& error) {
  if (bytes.size() >= 2 && static_cast<BYTE>(bytes[0]) == 0xFF && static_cast<BYTE>(bytes[1]) == 0xFE) {
    if (bytes.size() % 2 != 0) {
      error = {1, "a UTF-16 file with an odd number of bytes"};
      return false;
    }
    const std::wstring text = FromUtf16Le(reinterpret_cast<const BYTE*>(bytes.data()) + 2, bytes.size() - 2);
    std::wstringstream in(text);
    for (std::wstring line; std::getline(in, line, L'\n');) lines.push_back(line);
    return true;
  }
  if (bytes.size() >= 2 && static_cast<BYTE>(bytes[0]) == 0xFE && static_cast<BYTE>(bytes[1]) == 0xFF) {
    error = {1, "big-endian UTF-16 is not a registry file encoding"};
    return false;
  }
  const size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  size_t pos = start;
  while (pos <= bytes.size()) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    const std::string_view line(bytes.data() + pos, end - pos);
    if (!standin::IsValidUtf8(line)) {
      error = {lines.size() + 1, "the text is not UTF-8"};
      return false;
    }
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
  const std::wstring all = TrimmedRight(TrimmedLeft(s));
  if (all.empty()) return true;
  size_t pos = 0;
  for (;;) {
    size_t comma = all.find(L',', pos);
    const std::wstring item = TrimmedRight(TrimmedLeft(std::wstring_view(all).substr(pos, comma - pos)));
    DWORD byte;
    if (item.size() > 2 || !ParseHexNumber(item, byte)) return false;
    out.push_back(static_cast<BYTE>(byte));
    if (comma == std::wstring::npos) return true;
    pos = comma + 1;
  }
}

bool ParseData(std::wstring_view s, bool& remove, Value& value, std::string& reason) {
  remove = false;
  if (s == L"-") {
    remove = true;
    return true;
  }
  if (!s.empty() && s[0] == L'"') {
    size_t pos = 0;
    std::wstring text;
    if (!ParseQuoted(s, pos, text) || !TrimmedLeft(s.substr(pos)).empty()) {
      reason = "a malformed quoted text";
      return false;
    }
    value.type = REG_SZ;
    value.data = BytesOf(text + L'\0');
    return true;
  }
  if (s.substr(0, 6) == L"dword:") {
    DWORD d;
    if (!ParseHexNumber(TrimmedRight(s.substr(6)), d)) {
      reason = "dword: wants one to eight hexadecimal digits";
      return false;
    }
    value.type = REG_DWORD;
    value.data.assign(reinterpret_cast<const BYTE*>(&d), reinterpret_cast<const BYTE*>(&d) + 4);
    return true;
  }
  DWORD type = REG_BINARY;
  std::wstring_view list;
  if (s.substr(0, 4) == L"hex:") {
    list = s.substr(4);
  } else if (s.substr(0, 4) == L"hex(") {
    const size_t close = s.find(L"):");
    if (close == std::wstring_view::npos || !ParseHexNumber(s.substr(4, close - 4), type)) {
      reason = "hex(...) wants a hexadecimal type number";
      return false;
    }
    list = s.substr(close + 2);
  } else {
    reason = "the data is none of \"text\", dword:, hex: or hex(n):";
    return false;
  }
  std::vector<BYTE> bytes;
  if (!ParseHexBytes(list, bytes)) {
    reason = "a malformed list of hexadecimal bytes";
    return false;
  }
  value.type = type;
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
    value.data = BytesOf(FromUtf16Le(bytes.data(), bytes.size()));
  else
    value.data = std::move(bytes);
  return true;
}

void SetValueIn(Key& key, Value value) {
  if (Value* old = FindValue(key, value.name)) {
    old->type = value.type;
    old->data = std::move(value.data);
  } else {
    key.values.push_back(std::move(value));
  }
}

std::shared_ptr<Key> CreateChild(Key& parent, const std::wstring& name, bool isVolatile) {
  auto child = std::make_shared<Key>();
  child->name = name;
  child->isVolatile = isVolatile;
  child->parent = &parent;
  child->written = Now();
  parent.subkeys[Folded(name)] = child;
  return child;
}

bool SplitPath(std::wstring_view path, std::vector<std::wstring>& parts) {
  parts.clear();
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find(L'\\', pos);
    if (end == std::wstring_view::npos) end = path.size();
    parts.emplace_back(path.substr(pos, end - pos));
    pos = end + 1;
  }
  for (const auto& p : parts)
    if (p.empty()) return false;
  return true;
}

bool Parse(const std::vector<std::wstring>& lines, std::shared_ptr<Key> (&roots)[kRootCount], ParseError& error) {
  size_t first = 0;
  while (first < lines.size() && TrimmedRight(lines[first]).empty()) ++first;
  if (first == lines.size()) return true;  // an empty file is an empty registry
  if (first != 0 || TrimmedRight(lines[0]) != L"Windows Registry Editor Version 5.00") {
    error = {first + 1, "the file does not start with \"" + std::string(kHeader) + "\""};
    return false;
  }
  std::shared_ptr<Key> current;
  bool inDeletedKey = false;
  for (size_t i = 1; i < lines.size(); ++i) {
    const size_t lineNo = i + 1;
    std::wstring line = TrimmedRight(TrimmedLeft(lines[i]));
    if (line.empty()) continue;
    if (line[0] == L';') {
      std::wstring className;
      size_t pos = 7;
      if (current && line.compare(0, 7, L";class=") == 0 && ParseQuoted(line, pos, className) && pos == line.size())
        current->className = className;
      continue;
    }
    if (line[0] == L'[') {
      if (line.back() != L']') {
        error = {lineNo, "a key line must end with ]"};
        return false;
      }
      std::wstring_view path = std::wstring_view(line).substr(1, line.size() - 2);
      const bool remove = !path.empty() && path[0] == L'-';
      if (remove) path.remove_prefix(1);
      std::vector<std::wstring> parts;
      if (!SplitPath(path, parts)) {
        error = {lineNo, "a key path with an empty name in it"};
        return false;
      }
      int root = -1;
      for (int r = 0; r < kRootCount; ++r)
        if (SameName(parts[0], kRootNames[r])) root = r;
      if (root < 0) {
        error = {lineNo, "unknown root key \"" + standin::ToUtf8(parts[0]) + "\""};
        return false;
      }
      std::shared_ptr<Key> key = roots[root];
      for (size_t k = 1; key && k < parts.size(); ++k) {
        auto child = FindChild(*key, parts[k]);
        key = child || remove ? child : CreateChild(*key, parts[k], false);
      }
      current = remove ? nullptr : key;
      inDeletedKey = remove;
      if (remove && key && key->parent) {
        key->parent->subkeys.erase(Folded(key->name));
      } else if (remove && key) {
        error = {lineNo, "a root key cannot be deleted"};
        return false;
      }
      continue;
    }
    if (line[0] != L'"' && line[0] != L'@') {
      error = {lineNo, "a line that is neither a key, a value nor a comment"};
      return false;
    }
    // Long hexadecimal lists go on over lines that end with a backslash.
    while (!line.empty() && line.back() == L'\\' && i + 1 < lines.size()) {
      line.pop_back();
      line += TrimmedRight(TrimmedLeft(lines[++i]));
    }
    if (!current) {
      error = {lineNo, inDeletedKey ? "a value in a deleted key" : "a value before the first key"};
      return false;
    }
    Value value;
    size_t pos = 0;
    if (line[0] == L'@') {
      pos = 1;
    } else if (!ParseQuoted(line, pos, value.name)) {
      error = {lineNo, "a malformed value name"};
      return false;
    }
    while (pos < line.size() && (line[pos] == L' ' || line[pos] == L'\t')) ++pos;
    if (pos >= line.size() || line[pos] != L'=') {
      error = {lineNo, "= expected after the value name"};
      return false;
    }
    bool remove;
    std::string reason;
    if (!ParseData(TrimmedLeft(std::wstring_view(line).substr(pos + 1)), remove, value, reason)) {
      error = {lineNo, reason};
      return false;
    }
    if (remove) {
      auto& values = current->values;
      values.erase(
          std::remove_if(values.begin(), values.end(), [&](const Value& v) { return SameName(v.name, value.name); }),
          values.end());
    } else {
      SetValueIn(*current, std::move(value));
    }
  }
  return true;
}

enum class LoadResult { Loaded, Missing, Failed };

bool ReadWhole(int fd, std::string& content) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return false;
  if (!S_ISREG(st.st_mode)) {
    errno = EISDIR;
    return false;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    content.append(buffer, static_cast<size_t>(n));
  }
}

LoadResult LoadFile(const std::string& path, std::shared_ptr<Key> (&roots)[kRootCount]) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) return LoadResult::Missing;
  std::string content;
  const bool read = fd >= 0 && ReadWhole(fd, content);
  const int readError = errno;
  if (fd >= 0) ::close(fd);
  if (!read) {
    std::fprintf(stderr, "registry: cannot read %s: %s\n", path.c_str(), std::strerror(readError));
    return LoadResult::Failed;
  }
  std::shared_ptr<Key> fresh[kRootCount];
  for (int i = 0; i < kRootCount; ++i) fresh[i] = NewRoot(i);
  std::vector<std::wstring> lines;
  ParseError error{0, std::string()};
  if (!DecodeLines(content, lines, error) || !Parse(lines, fresh, error)) {
    std::fprintf(stderr, "registry: %s, line %zu: %s\n", path.c_str(), error.line, error.reason.c_str());
    return LoadResult::Failed;
  }
  for (int i = 0; i < kRootCount; ++i) roots[i] = fresh[i];
  return LoadResult::Loaded;
}

void SaveAtExit() {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (r.loaded) SaveLocked(r);
}

void EnsureLoaded(Registry& r) {
  if (r.loaded) return;
  r.loaded = true;
  r.dirty = false;
  r.canSave = true;
  for (int i = 0; i < kRootCount; ++i) r.roots[i] = NewRoot(i);
  if (!r.atExitRegistered) {
    std::atexit(SaveAtExit);
    r.atExitRegistered = true;
  }
  r.path = DefaultPath();
  if (r.path.empty()) {
    SayOnce(r, "neither TOVU_REGISTRY nor HOME is set, so nothing is saved");
    r.canSave = false;
    return;
  }
  if (LoadFile(r.path, r.roots) != LoadResult::Failed) return;
  // A file we cannot read is somebody's data: it is never written over. The changes of this
  // run go to the file beside it, which is read too when an earlier run made it.
  const std::string beside = BesidePath(r.path);
  std::fprintf(stderr, "registry: %s is left untouched; changes are saved to %s\n", r.path.c_str(), beside.c_str());
  r.path = beside;
  if (LoadFile(r.path, r.roots) == LoadResult::Failed) {
    std::fprintf(stderr, "registry: %s is left untouched too; changes will not be saved\n", beside.c_str());
    r.canSave = false;
  }
}

// ----- Handles -------------------------------------------------------------------------------

// Resolves a handle under the lock: the key and the handle record (null for a predefined key).
LSTATUS Resolve(Registry& r, HKEY h, std::shared_ptr<Key>& key, Handle*& handle) {
  EnsureLoaded(r);
  handle = nullptr;
  if (h == HKEY_PERFORMANCE_DATA) {
    SayOnce(r, "HKEY_PERFORMANCE_DATA is not supported");
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  const int root = RootIndex(h);
  if (root >= 0) {
    key = r.roots[root];
    return ERROR_SUCCESS;
  }
  const auto it = r.handles.find(reinterpret_cast<uintptr_t>(h));
  if (it == r.handles.end()) return ERROR_INVALID_HANDLE;
  handle = &it->second;
  key = handle->key;
  return key->deleted ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

bool Allows(const Handle* handle, REGSAM right) { return !handle || (handle->access & right) == right; }

REGSAM Normalised(REGSAM sam) {
  sam &= ~static_cast<REGSAM>(KEY_WOW64_64KEY | KEY_WOW64_32KEY);
  if (sam & (MAXIMUM_ALLOWED | GENERIC_ALL)) sam |= KEY_ALL_ACCESS;
  if (sam & GENERIC_READ) sam |= KEY_READ;
  if (sam & GENERIC_WRITE) sam |= KEY_WRITE;
  if (sam & GENERIC_EXECUTE) sam |= KEY_EXECUTE;
  return sam;
}

HKEY NewHandle(Registry& r, std::shared_ptr<Key> key, REGSAM access, bool wrote) {
  // Handle values step by 4 as Windows' do, but are never reused.
  const uintptr_t value = r.nextHandle;
  r.nextHandle += 4;
  r.handles[value] = Handle{std::move(key), Normalised(access), wrote};
  return reinterpret_cast<HKEY>(value);
}

// A single trailing backslash is accepted; a leading one or an empty name inside is
// ERROR_BAD_PATHNAME (chosen for the empty name).
LSTATUS SubKeyParts(LPCWSTR lpSubKey, std::vector<std::wstring>& parts) {
  parts.clear();
  if (!lpSubKey || !*lpSubKey) return ERROR_SUCCESS;
  std::wstring_view path(lpSubKey);
  if (path[0] == L'\\') return ERROR_BAD_PATHNAME;
  if (path.back() == L'\\') path.remove_suffix(1);
  return SplitPath(path, parts) ? ERROR_SUCCESS : ERROR_BAD_PATHNAME;
}

void ValueSizes(const Key& key, DWORD& maxName, DWORD& maxData) {
  maxName = maxData = 0;
  for (const auto& v : key.values) {
    maxName = std::max<DWORD>(maxName, static_cast<DWORD>(v.name.size()));
    maxData = std::max<DWORD>(maxData, static_cast<DWORD>(v.data.size()));
  }
}

}  // namespace

// Non-zero reserved arguments are refused with ERROR_INVALID_PARAMETER (chosen; Windows
// documents them as must-be-zero).
LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions, REGSAM samDesired,
                        const LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, PHKEY phkResult,
                        LPDWORD lpdwDisposition) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (!phkResult || Reserved != 0 || !lpSubKey) return ERROR_INVALID_PARAMETER;
  if (dwOptions & (REG_OPTION_CREATE_LINK | REG_OPTION_BACKUP_RESTORE)) {
    SayOnce(r, "symbolic links and backup-restore opening of keys are not supported");
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  if (dwOptions & ~static_cast<DWORD>(REG_OPTION_VOLATILE)) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<Key> key;
  Handle* parent;
  if (LSTATUS status = Resolve(r, hKey, key, parent); status != ERROR_SUCCESS) return status;
  std::vector<std::wstring> parts;
  if (LSTATUS status = SubKeyParts(lpSubKey, parts); status != ERROR_SUCCESS) return status;

  bool created = false;
  for (size_t k = 0; k < parts.size(); ++k) {
    if (auto child = FindChild(*key, parts[k])) {
      key = child;
      continue;
    }
    if (!Allows(parent, KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    const bool isVolatile = (dwOptions & REG_OPTION_VOLATILE) != 0;
    if (key->isVolatile && !isVolatile) return ERROR_CHILD_MUST_BE_VOLATILE;
    Touch(r, *key);
    key = CreateChild(*key, parts[k], isVolatile);
    created = true;
  }
  if (created) {
    key->className = lpClass ? lpClass : L"";
    Touch(r, *key);
  }
  *phkResult = NewHandle(r, key, samDesired, created);
  if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

// Options other than 0 are refused: opening a link itself is not supported.
LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  if (ulOptions == REG_OPTION_OPEN_LINK) SayOnce(r, "opening a symbolic link key is not supported");
  if (ulOptions != 0) return ulOptions == REG_OPTION_OPEN_LINK ? ERROR_CALL_NOT_IMPLEMENTED : ERROR_INVALID_PARAMETER;
  std::shared_ptr<Key> key;
  Handle* parent;
  if (LSTATUS status = Resolve(r, hKey, key, parent); status != ERROR_SUCCESS) return status;
  std::vector<std::wstring> parts;
  if (LSTATUS status = SubKeyParts(lpSubKey, parts); status != ERROR_SUCCESS) return status;
  for (const auto& part : parts) {
    key = FindChild(*key, part);
    if (!key) return ERROR_FILE_NOT_FOUND;
  }
  *phkResult = NewHandle(r, key, samDesired, false);
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                         LPDWORD lpcbData) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<Key> key;
  Handle* handle;
  if (LSTATUS status = Resolve(r, hKey, key, handle); status != ERROR_SUCCESS) return status;
  if (!Allows(handle, KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  const Value* value = FindValue(*key, lpValueName ? lpValueName : L"");
  if (!value) return ERROR_FILE_NOT_FOUND;
  const auto size = static_cast<DWORD>(value->data.size());
  if (lpType) *lpType = value->type;
  if (lpData) {
    if (*lpcbData < size) {
      *lpcbData = size;
      return ERROR_MORE_DATA;
    }
    if (size) std::memcpy(lpData, value->data.data(), size);
  }
  if (lpcbData) *lpcbData = size;
  return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData, DWORD cbData) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (Reserved != 0) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<Key> key;
  Handle* handle;
  if (LSTATUS status = Resolve(r, hKey, key, handle); status != ERROR_SUCCESS) return status;
  if (!Allows(handle, KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  if (!lpData && cbData) return ERROR_NOACCESS;
  Value value;
  value.name = lpValueName ? lpValueName : L"";
  value.type = dwType;
  if (cbData) value.data.assign(lpData, lpData + cbData);
  SetValueIn(*key, std::move(value));
  Touch(r, *key);
  if (handle) handle->wrote = true;
  return ERROR_SUCCESS;
}

LSTATUS RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::shared_ptr<Key> key;
  Handle* handle;
  if (LSTATUS status = Resolve(r, hKey, key, handle); status != ERROR_SUCCESS) return status;
  if (!Allows(handle, KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  const std::wstring name = lpValueName ? lpValueName : L"";
  auto& values = key->values;
  const auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) { return SameName(v.name, name); });
  if (it == values.end()) return ERROR_FILE_NOT_FOUND;
  values.erase(it);
  Touch(r, *key);
  if (handle) handle->wrote = true;
  return ERROR_SUCCESS;
}

// A null or empty lpSubKey is refused with ERROR_INVALID_PARAMETER (chosen).
LSTATUS RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (!lpSubKey || !*lpSubKey) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<Key> key;
  Handle* handle;
  if (LSTATUS status = Resolve(r, hKey, key, handle); status != ERROR_SUCCESS) return status;
  std::vector<std::wstring> parts;
  if (LSTATUS status = SubKeyParts(lpSubKey, parts); status != ERROR_SUCCESS) return status;
  for (const auto& part : parts) {
    key = FindChild(*key, part);
    if (!key) return ERROR_FILE_NOT_FOUND;
  }
  if (!key->subkeys.empty()) return ERROR_ACCESS_DENIED;
  Key& parent = *key->parent;
  MarkDeleted(*key);
  parent.subkeys.erase(Folded(key->name));
  Touch(r, parent);
  if (handle) handle->wrote = true;
  return ERROR_SUCCESS;
}

LSTATUS RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                         LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                         LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                         PFILETIME lpftLastWriteTime) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (lpReserved || (lpClass && !lpcchClass)) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<Key> key;
  Handle* handle;
  if (LSTATUS status = Resolve(r, hKey, key, handle); status != ERROR_SUCCESS) return status;
  if (!Allows(handle, KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  const auto classLength = static_cast<DWORD>(key->className.size());
  if (lpClass) {
    if (*lpcchClass <= classLength) {
      *lpcchClass = classLength;
      return ERROR_MORE_DATA;
    }
    std::wmemcpy(lpClass, key->className.c_str(), classLength + 1);
  }
  if (lpcchClass) *lpcchClass = classLength;
  DWORD maxSubKey = 0, maxClass = 0;
  for (const auto& [folded, child] : key->subkeys) {
    maxSubKey = std::max<DWORD>(maxSubKey, static_cast<DWORD>(child->name.size()));
    maxClass = std::max<DWORD>(maxClass, static_cast<DWORD>(child->className.size()));
  }
  DWORD maxValueName, maxValue;
  ValueSizes(*key, maxValueName, maxValue);
  if (lpcSubKeys) *lpcSubKeys = static_cast<DWORD>(key->subkeys.size());
  if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = maxSubKey;
  if (lpcbMaxClassLen) *lpcbMaxClassLen = maxClass;
  if (lpcValues) *lpcValues = static_cast<DWORD>(key->values.size());
  if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = maxValueName;
  if (lpcbMaxValueLen) *lpcbMaxValueLen = maxValue;
  if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
  if (lpftLastWriteTime) *lpftLastWriteTime = key->written;
  return ERROR_SUCCESS;
}

// A file that cannot be written gives ERROR_CANTWRITE (chosen).
LSTATUS RegFlushKey(HKEY hKey) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::shared_ptr<Key> key;
  Handle* handle;
  if (LSTATUS status = Resolve(r, hKey, key, handle); status != ERROR_SUCCESS) return status;
  return SaveLocked(r) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

LSTATUS RegCloseKey(HKEY hKey) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (RootIndex(hKey) >= 0) return ERROR_SUCCESS;
  const auto it = r.handles.find(reinterpret_cast<uintptr_t>(hKey));
  if (it == r.handles.end()) return ERROR_INVALID_HANDLE;
  const bool wrote = it->second.wrote;
  r.handles.erase(it);
  // Saving cannot fail the close; a failure is reported and retried at the next save.
  if (wrote) SaveLocked(r);
  return ERROR_SUCCESS;
}

namespace standin {

std::wstring RegistryFilePath() {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  EnsureLoaded(r);
  return FromUtf8(r.path);
}

bool SaveRegistry() {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  return !r.loaded || SaveLocked(r);
}

void ResetRegistry() {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.handles.clear();
  for (auto& root : r.roots) root.reset();
  r.loaded = false;
  r.dirty = false;
  r.path.clear();
  r.saidOnce.clear();
}

}  // namespace standin
