// The registry stand-in's tree: keys and values found by their names as Windows compares them,
// in logarithmic time, values kept in creation order, and the registry's one state.
#include "standin/win32/registry_tree.h"

#include <locale.h>

#include <cstdio>
#include <ctime>
#include <cwctype>

namespace standin::registry {

namespace {

wchar_t Fold(wchar_t c) {
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  const auto wc = static_cast<wint_t>(c);
  return static_cast<wchar_t>(unicode ? towupper_l(wc, unicode) : std::towupper(wc));
}

void MarkDeleted(Key& top) {
  std::vector<Key*> pending{&top};
  while (!pending.empty()) {
    Key* key = pending.back();
    pending.pop_back();
    key->deleted = true;
    for (auto& [folded, child] : key->subkeys) pending.push_back(child.get());
  }
}

void TakeSubkeys(Key& key, std::vector<std::shared_ptr<Key>>& into) {
  for (auto& [folded, child] : key.subkeys) into.push_back(std::move(child));
  key.subkeys.clear();
}

}  // namespace

Key::~Key() {
  std::vector<std::shared_ptr<Key>> pending;
  TakeSubkeys(*this, pending);
  while (!pending.empty()) {
    std::shared_ptr<Key> key = std::move(pending.back());
    pending.pop_back();
    // A key that a handle still holds keeps its subkeys until the handle lets go of it.
    if (key.use_count() == 1) TakeSubkeys(*key, pending);
  }
}

const wchar_t* const kRootNames[kRootCount] = {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE",
                                               L"HKEY_USERS", L"HKEY_CURRENT_CONFIG"};

Registry& State() {
  static Registry* registry = new Registry;  // never destroyed: the at-exit save uses it
  return *registry;
}

void SayOnce(Registry& r, const std::string& what) {
  if (r.saidOnce.insert(what).second) std::fprintf(stderr, "registry: %s\n", what.c_str());
}

std::wstring Folded(std::wstring_view s) {
  std::wstring out(s);
  for (auto& c : out) c = Fold(c);
  return out;
}

bool SameName(std::wstring_view a, std::wstring_view b) { return a.size() == b.size() && Folded(a) == Folded(b); }

FILETIME Now() {
  // 100 ns ticks from 1601 to 1970.
  const uint64_t ticks = static_cast<uint64_t>(std::time(nullptr)) * 10000000ULL + 116444736000000000ULL;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

std::shared_ptr<Key> NewRoot(int index) {
  auto root = std::make_shared<Key>();
  root->name = kRootNames[index];
  root->written = Now();
  return root;
}

std::shared_ptr<Key> FindChild(const Key& parent, std::wstring_view name) {
  const auto it = parent.subkeys.find(Folded(name));
  return it == parent.subkeys.end() ? nullptr : it->second;
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

size_t DepthOf(const Key& key) {
  size_t depth = 0;
  for (const Key* k = key.parent; k; k = k->parent) ++depth;
  return depth;
}

void DeleteKey(Key& key) {
  MarkDeleted(key);
  key.parent->subkeys.erase(Folded(key.name));
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

Value* FindValue(Key& key, std::wstring_view name) {
  const auto it = key.valueIndex.find(Folded(name));
  return it == key.valueIndex.end() ? nullptr : &*it->second;
}

void SetValueIn(Key& key, Value value) {
  const auto [it, added] = key.valueIndex.try_emplace(Folded(value.name));
  if (added) {
    it->second = key.values.insert(key.values.end(), std::move(value));
  } else {
    it->second->type = value.type;
    it->second->data = std::move(value.data);
  }
}

bool RemoveValue(Key& key, std::wstring_view name) {
  const auto it = key.valueIndex.find(Folded(name));
  if (it == key.valueIndex.end()) return false;
  key.values.erase(it->second);
  key.valueIndex.erase(it);
  return true;
}

}  // namespace standin::registry
