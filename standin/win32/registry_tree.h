// The registry stand-in's tree of keys and values under its five roots, and the state the API
// (registry.cpp) and the file (registry_file.cpp, registry_import.cpp) share; not part of the
// platform's interface. Everything here is used under Registry::mutex.
#pragma once

#include <winreg.h>

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace standin::registry {

struct Value {
  std::wstring name;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct Key {
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  // Frees the subkeys level by level, so no depth of tree can exhaust the stack.
  ~Key();

  std::wstring name;
  std::wstring className;
  bool isVolatile = false;
  bool deleted = false;
  Key* parent = nullptr;
  std::map<std::wstring, std::shared_ptr<Key>> subkeys;           // by folded name, the order regedit lists them in
  std::list<Value> values;                                        // in creation order
  std::map<std::wstring, std::list<Value>::iterator> valueIndex;  // by folded name
  FILETIME written = {0, 0};
};

struct Handle {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
  bool wrote = false;
};

// Windows keeps a tree within 512 levels below its root; the export format writes every key's
// whole path, so a deeper tree would make a file quadratic in its depth.
constexpr size_t kMaxDepth = 512;

constexpr int kRootCount = 5;
extern const wchar_t* const kRootNames[kRootCount];
using Roots = std::shared_ptr<Key>[kRootCount];

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
  Roots roots;
  std::unordered_map<uintptr_t, Handle> handles;
  uintptr_t nextHandle = 0x100;
  std::set<std::string> saidOnce;
};

Registry& State();
// Says something on standard error once per registry session.
void SayOnce(Registry& r, const std::string& what);

// Names compare as Windows compares them, upper-cased character by character with the
// Unicode tables, whatever locale the process has chosen.
std::wstring Folded(std::wstring_view s);
bool SameName(std::wstring_view a, std::wstring_view b);

FILETIME Now();
std::shared_ptr<Key> NewRoot(int index);
std::shared_ptr<Key> FindChild(const Key& parent, std::wstring_view name);
std::shared_ptr<Key> CreateChild(Key& parent, const std::wstring& name, bool isVolatile);
// How many levels below its root a key is.
size_t DepthOf(const Key& key);
// Takes a key and its subkeys out of the tree; handles to them see ERROR_KEY_DELETED.
void DeleteKey(Key& key);
// A key path's names, false when one of them is empty.
bool SplitPath(std::wstring_view path, std::vector<std::wstring>& parts);
Value* FindValue(Key& key, std::wstring_view name);
// Sets a value, replacing the one of the same name.
void SetValueIn(Key& key, Value value);
// False when the key has no value of that name.
bool RemoveValue(Key& key, std::wstring_view name);

// --- The file ---

constexpr char kFileHeader[] = "Windows Registry Editor Version 5.00";

// Reads the file named by the environment at the first call (registry_file.cpp).
void EnsureLoaded(Registry& r);
// Writes the file when anything changed; false when it could not be written.
bool SaveLocked(Registry& r);

struct ParseError {
  size_t line;
  std::string reason;
};
// Reads the text of a registry file into the roots (registry_import.cpp); false, with the line
// and the reason, for text that is not a registry file.
bool Import(const std::string& bytes, Roots& roots, ParseError& error);

}  // namespace standin::registry
