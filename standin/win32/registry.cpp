// Just enough of the Win32 registry, behaving as Windows' does, for settings that persist
// between runs in a file a person can read: handles and their access rights, the Reg* calls,
// and the control functions. The tree is registry_tree.cpp's, the file registry_file.cpp's.
#include "standin/win32/registry.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "standin/win32/registry_tree.h"
#include "standin/win32/utf8.h"

using namespace standin::registry;

namespace {

// Marks a key written; a handle that wrote saves the file when it is closed.
void Touch(Registry& r, Key& key, Handle* by = nullptr) {
  key.written = Now();
  if (!key.isVolatile) r.dirty = true;
  if (by) by->wrote = true;
}

int RootIndex(HKEY h) {
  if (h == HKEY_CLASSES_ROOT) return 0;
  if (h == HKEY_CURRENT_USER) return 1;
  if (h == HKEY_LOCAL_MACHINE) return 2;
  if (h == HKEY_USERS) return 3;
  if (h == HKEY_CURRENT_CONFIG) return 4;
  return -1;
}

bool Allows(const Handle* handle, REGSAM right) { return !handle || (handle->access & right) == right; }

// Resolves a handle under the lock: the key and the handle record (null for a predefined key),
// which must allow the rights asked for.
LSTATUS Resolve(Registry& r, HKEY h, REGSAM rights, std::shared_ptr<Key>& key, Handle*& handle) {
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
  if (key->deleted) return ERROR_KEY_DELETED;
  return Allows(handle, rights) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

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

// A leading backslash is ERROR_BAD_PATHNAME; backslashes after a name are taken as one, as
// Windows takes them, and a trailing one is ignored.
LSTATUS SubKeyParts(LPCWSTR lpSubKey, std::vector<std::wstring>& parts) {
  parts.clear();
  if (!lpSubKey || !*lpSubKey) return ERROR_SUCCESS;
  const std::wstring_view path(lpSubKey);
  if (path[0] == L'\\') return ERROR_BAD_PATHNAME;
  for (size_t pos = 0; pos < path.size();) {
    const size_t end = std::min(path.find(L'\\', pos), path.size());
    if (end > pos) parts.emplace_back(path.substr(pos, end - pos));
    pos = end + 1;
  }
  return ERROR_SUCCESS;
}

// The key a handle names and the names of the path below it.
LSTATUS ResolvePath(Registry& r, HKEY h, LPCWSTR subKey, std::shared_ptr<Key>& key, Handle*& handle,
                    std::vector<std::wstring>& parts) {
  if (LSTATUS status = Resolve(r, h, 0, key, handle); status != ERROR_SUCCESS) return status;
  return SubKeyParts(subKey, parts);
}

// The key that exists at a path below the key a handle names.
LSTATUS FindPath(Registry& r, HKEY h, LPCWSTR subKey, std::shared_ptr<Key>& key, Handle*& handle) {
  std::vector<std::wstring> parts;
  if (LSTATUS status = ResolvePath(r, h, subKey, key, handle, parts); status != ERROR_SUCCESS) return status;
  for (const auto& part : parts) {
    key = FindChild(*key, part);
    if (!key) return ERROR_FILE_NOT_FOUND;
  }
  return ERROR_SUCCESS;
}

// RegDeleteKeyW and RegDeleteTreeW: the key at the path, which must have no subkeys unless the
// whole tree goes; for a tree without a path, what is below the key.
LSTATUS DeleteAt(HKEY hKey, LPCWSTR lpSubKey, bool tree) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  const bool below = lpSubKey && *lpSubKey;
  if (!tree && !below) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<Key> key;
  Handle* handle;
  if (LSTATUS status = FindPath(r, hKey, lpSubKey, key, handle); status != ERROR_SUCCESS) return status;
  if (below) {
    if (!tree && !key->subkeys.empty()) return ERROR_ACCESS_DENIED;
    Key& parent = *key->parent;
    DeleteKey(*key);
    Touch(r, parent, handle);
    return ERROR_SUCCESS;
  }
  while (!key->subkeys.empty()) {
    const std::shared_ptr<Key> child = key->subkeys.begin()->second;
    DeleteKey(*child);
  }
  key->values.clear();
  key->valueIndex.clear();
  Touch(r, *key, handle);
  return ERROR_SUCCESS;
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
// documents them as must-be-zero), and a key deeper than kMaxDepth with ERROR_BADKEY (chosen).
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
  std::vector<std::wstring> parts;
  if (LSTATUS status = ResolvePath(r, hKey, lpSubKey, key, parent, parts); status != ERROR_SUCCESS) return status;
  if (DepthOf(*key) + parts.size() > kMaxDepth) return ERROR_BADKEY;
  bool created = false;
  for (size_t k = 0; k < parts.size(); ++k) {
    if (auto child = FindChild(*key, parts[k])) {
      key = child;
      continue;
    }
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
  if (LSTATUS status = FindPath(r, hKey, lpSubKey, key, parent); status != ERROR_SUCCESS) return status;
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
  if (LSTATUS status = Resolve(r, hKey, KEY_QUERY_VALUE, key, handle); status != ERROR_SUCCESS) return status;
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
  if (LSTATUS status = Resolve(r, hKey, KEY_SET_VALUE, key, handle); status != ERROR_SUCCESS) return status;
  if (!lpData && cbData) return ERROR_NOACCESS;
  Value value;
  value.name = lpValueName ? lpValueName : L"";
  value.type = dwType;
  if (cbData) value.data.assign(lpData, lpData + cbData);
  SetValueIn(*key, std::move(value));
  Touch(r, *key, handle);
  return ERROR_SUCCESS;
}

LSTATUS RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::shared_ptr<Key> key;
  Handle* handle;
  if (LSTATUS status = Resolve(r, hKey, KEY_SET_VALUE, key, handle); status != ERROR_SUCCESS) return status;
  if (!RemoveValue(*key, lpValueName ? lpValueName : L"")) return ERROR_FILE_NOT_FOUND;
  Touch(r, *key, handle);
  return ERROR_SUCCESS;
}

// A null or empty lpSubKey is refused with ERROR_INVALID_PARAMETER (chosen).
LSTATUS RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) { return DeleteAt(hKey, lpSubKey, false); }

LSTATUS RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) { return DeleteAt(hKey, lpSubKey, true); }

LSTATUS RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                         LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                         LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                         PFILETIME lpftLastWriteTime) {
  Registry& r = State();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (lpReserved || (lpClass && !lpcchClass)) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<Key> key;
  Handle* handle;
  if (LSTATUS status = Resolve(r, hKey, KEY_QUERY_VALUE, key, handle); status != ERROR_SUCCESS) return status;
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
  if (LSTATUS status = Resolve(r, hKey, 0, key, handle); status != ERROR_SUCCESS) return status;
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
