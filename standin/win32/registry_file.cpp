// The registry file: where it is, the registry editor's export format written from the tree,
// atomic saves, loading at the first call, and the file that takes the changes when the named
// one cannot be read. Reading the text itself is in registry_import.cpp.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>

#include "standin/win32/registry_tree.h"
#include "standin/win32/utf8.h"

static_assert(sizeof(wchar_t) == 4, "the file conversion below maps 32-bit wchar_t text to UTF-16");

namespace standin::registry {

namespace {

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

bool IsScalar(wchar_t c) {
  const auto u = static_cast<uint32_t>(c);
  return u <= 0x10FFFF && (u < 0xD800 || u > 0xDFFF);
}

std::wstring Quoted(std::wstring_view text) {
  std::wstring quoted = L"\"";
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'"') quoted += L'\\';
    quoted += c;
  }
  return quoted + L'"';
}

std::wstring Hex(uint32_t value, int digits) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%0*x", digits, value);
  return text;
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

void WriteHex(std::wstring& out, const std::wstring& prefix, const std::vector<BYTE>& bytes) {
  static const wchar_t kDigits[] = L"0123456789abcdef";
  out += prefix;
  // The registry editor keeps its lines within 80 columns, counted here in bytes of UTF-8.
  size_t column = standin::ToUtf8(prefix).size();
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0xF];
    column += 2;
    if (i + 1 == bytes.size()) break;
    out += L',';
    if (++column > 76) {
      out += L"\\\r\n  ";
      column = 2;
    }
  }
  out += L"\r\n";
}

void WriteValue(std::wstring& out, const Value& v) {
  const std::wstring name = v.name.empty() ? L"@" : Quoted(v.name);
  if (HasPlainTextForm(v)) {
    const std::wstring units = UnitsOf(v.data);
    out += name + L"=" + Quoted(std::wstring_view(units).substr(0, units.size() - 1)) + L"\r\n";
  } else if (v.type == REG_DWORD && v.data.size() == 4) {
    DWORD d;
    std::memcpy(&d, v.data.data(), 4);
    out += name + L"=dword:" + Hex(d, 8) + L"\r\n";
  } else if (v.type == REG_BINARY) {
    WriteHex(out, name + L"=hex:", v.data);
  } else {
    const bool text = v.type == REG_SZ || v.type == REG_EXPAND_SZ || v.type == REG_MULTI_SZ;
    WriteHex(out, name + L"=hex(" + Hex(v.type, 1) + L"):", text ? ToUtf16Le(UnitsOf(v.data)) : v.data);
  }
}

bool HasLineBreak(std::wstring_view s) { return s.find_first_of(L"\r\n") != std::wstring_view::npos; }

// A key's line, its class and its values; a root's only when it has values.
void WriteKeyLines(Registry& r, std::wstring& out, const Key& key, const std::wstring& path, bool isRoot) {
  if (isRoot && key.values.empty()) return;
  out += L"[" + path + L"]\r\n";
  // Classes are no part of the export format; a comment keeps them, and an import ignores it.
  if (!key.className.empty() && !HasLineBreak(key.className)) out += L";class=" + Quoted(key.className) + L"\r\n";
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
  out += L"\r\n";
}

// Every key below a root in the order the registry editor lists them, parents first; walked
// with a stack of its own, so no depth of tree can exhaust the call stack.
void WriteTree(Registry& r, std::wstring& out, const Key& root) {
  struct Level {
    const Key* key;
    std::map<std::wstring, std::shared_ptr<Key>>::const_iterator next;
    size_t pathLength;
  };
  std::wstring path = root.name;
  WriteKeyLines(r, out, root, path, true);
  std::vector<Level> levels{{&root, root.subkeys.begin(), path.size()}};
  while (!levels.empty()) {
    Level& level = levels.back();
    if (level.next == level.key->subkeys.end()) {
      levels.pop_back();
      continue;
    }
    const Key& child = *(level.next++)->second;
    path.resize(level.pathLength);
    if (child.isVolatile) continue;  // and so is every key below it
    if (HasLineBreak(child.name)) {
      SayOnce(r, "a key whose name holds a line break cannot be saved: " + standin::ToUtf8(path));
      continue;
    }
    path += L'\\' + child.name;
    WriteKeyLines(r, out, child, path, false);
    levels.push_back({&child, child.subkeys.begin(), path.size()});
  }
}

// The file is UTF-8 unless it holds a lone surrogate, which only UTF-16 can carry; it is then
// UTF-16LE with its byte order mark, as the registry editor writes every export.
std::string Export(Registry& r) {
  std::wstring text = standin::FromUtf8(kFileHeader) + L"\r\n\r\n";
  for (int i = 0; i < kRootCount; ++i) WriteTree(r, text, *r.roots[i]);
  const bool utf8 = std::none_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; });
  if (utf8) return standin::ToUtf8(text);
  const std::vector<BYTE> units = ToUtf16Le(text);
  return "\xFF\xFE" + std::string(units.begin(), units.end());
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

// The file a save replaces: the one a symbolic link leads to, so the link stays a link. After
// as many links as the system follows, the last one is replaced.
std::string SaveTarget(const std::string& path) {
  std::filesystem::path target(path);
  for (int links = 0; links < 40; ++links) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) break;
    const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
    if (ec) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target.string();
}

}  // namespace

bool SaveLocked(Registry& r) {
  if (!r.dirty) return true;
  if (!r.canSave || r.path.empty()) {
    SayOnce(r, "changes are kept in memory only and will be lost at exit");
    return false;
  }
  const std::string target = SaveTarget(r.path);
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(target).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);

  const std::string text = Export(r);
  const std::string temp = target + "." + std::to_string(::getpid()) + ".tmp";
  struct stat old;
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, replacing ? old.st_mode & 0777 : 0666);
  if (fd < 0) {
    std::fprintf(stderr, "registry: cannot write %s: %s\n", temp.c_str(), std::strerror(errno));
    return false;
  }
  if (replacing) {
    // The new file takes the old one's owner (where privileges allow) and permissions before it
    // holds anything, so a private file never becomes readable by others.
    [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
    ::fchmod(fd, old.st_mode & 07777);
  }
  if (SaveHook("kill-while-writing")) {
    WriteAll(fd, text.data(), text.size() / 2);
    ::fsync(fd);
    std::raise(SIGKILL);
  }
  bool ok = WriteAll(fd, text.data(), text.size()) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && SaveHook("kill-before-rename")) std::raise(SIGKILL);
  if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
    std::fprintf(stderr, "registry: cannot save %s: %s\n", target.c_str(), std::strerror(errno));
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
  RemoveStaleTemporaries(target);
  return true;
}

namespace {

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

LoadResult LoadFile(const std::string& path, Roots& roots) {
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
  Roots fresh;
  for (int i = 0; i < kRootCount; ++i) fresh[i] = NewRoot(i);
  ParseError error{0, std::string()};
  if (!Import(content, fresh, error)) {
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

}  // namespace

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

}  // namespace standin::registry
