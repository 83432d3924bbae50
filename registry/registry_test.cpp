// Settings in the registry: binding objects reading and writing typed values and bound
// variables, the master's paths, objects and group operations, ReadValue, and settings that
// outlive the process.
#include "registry/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/win32/registry.h"
#include "testing/ChildProcess.h"
#include "testing/TempDir.h"

namespace {

struct Raw {
  LONG result = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

// A value as the registry holds it, read past the classes under test.
Raw RawValue(HKEY root, const wchar_t* path, const wchar_t* name) {
  Raw raw;
  HKEY h = nullptr;
  raw.result = RegOpenKeyExW(root, path, 0, KEY_READ, &h);
  if (raw.result != ERROR_SUCCESS) return raw;
  DWORD size = 0;
  raw.result = RegQueryValueExW(h, name, nullptr, &raw.type, nullptr, &size);
  raw.data.resize(size);
  if (raw.result == ERROR_SUCCESS) raw.result = RegQueryValueExW(h, name, nullptr, nullptr, raw.data.data(), &size);
  RegCloseKey(h);
  return raw;
}

std::vector<BYTE> TextBytes(const std::wstring& text) {
  const auto* p = reinterpret_cast<const BYTE*>(text.c_str());
  return std::vector<BYTE>(p, p + (text.size() + 1) * sizeof(wchar_t));
}

std::vector<BYTE> DwordBytes(DWORD d) {
  const auto* p = reinterpret_cast<const BYTE*>(&d);
  return std::vector<BYTE>(p, p + 4);
}

void PutRaw(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const std::vector<BYTE>& data) {
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(h, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
  RegCloseKey(h);
}

bool KeyExists(HKEY root, const wchar_t* path) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

std::wstring ClassOf(HKEY root, const wchar_t* path) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &h) != ERROR_SUCCESS) return L"<no key>";
  wchar_t buffer[256];
  DWORD count = 256;
  RegQueryInfoKeyW(h, buffer, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(h);
  return std::wstring(buffer, count);
}

// Every test has a registry file of its own and a fresh session.
class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TOVU_REGISTRY", m_file.c_str(), 1);
    standin::ResetRegistry();
    standin::Session::Get().Reset();
  }
  void TearDown() override { standin::ResetRegistry(); }

  tovutest::TempDir m_dir;
  std::filesystem::path m_file = m_dir / "registry.reg";
};

const wchar_t kRoot[] = L"Software\\Example";
const wchar_t kColors[] = L"Software\\Example\\Colors";

TEST_F(Settings, InitWritesTheBoundValuesWhereTheKeyIsMissingAndReadsThemWhereItExists) {
  ZoPtRegistry master(kRoot, L"Settings");
  ZoPtRegistryBase colors(L"Colors", false, nullptr, &master, false);
  DWORD dwLayer = 7;
  CString strName(L"墙体");
  colors.AttachValue(&dwLayer, L"Layer");
  colors.AttachValue(&strName, L"Name");
  ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kColors));
  EXPECT_TRUE(colors.Init());
  EXPECT_EQ(colors.GetLastResult(), ERROR_SUCCESS);
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Layer").data, DwordBytes(7));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Name").data, TextBytes(L"墙体"));
  EXPECT_EQ(ClassOf(HKEY_LOCAL_MACHINE, kColors), L"ClassColors") << "a null class name gives Class and the key";
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Example\\Settings")) << "the master's own key is not touched";

  // Where the key exists, Init reads: a missing DWORD (or long) becomes 0, any other missing or
  // mistyped value leaves its variable alone.
  const wchar_t kSizes[] = L"Software\\Example\\Sizes";
  PutRaw(HKEY_LOCAL_MACHINE, kSizes, L"Width", REG_DWORD, DwordBytes(12));
  PutRaw(HKEY_LOCAL_MACHINE, kSizes, L"Offset", REG_DWORD, DwordBytes(0xFFFFFFFFu));
  PutRaw(HKEY_LOCAL_MACHINE, kSizes, L"Show", REG_DWORD, DwordBytes(1));  // the wrong type for a bool
  ZoPtRegistryBase sizes(L"Sizes", false, L"Given", &master, false);
  int nWidth = 0, nDepth = 5;
  bool bShow = false, bHide = true;
  long lOffset = 0, lMissing = 9;
  dwLayer = 7;
  strName = L"kept";
  sizes.AttachValue(&dwLayer, L"Layer");
  sizes.AttachValue(&nWidth, L"Width");
  sizes.AttachValue(&nDepth, L"Depth");
  sizes.AttachValue(&bShow, L"Show");
  sizes.AttachValue(&bHide, L"Hide");
  sizes.AttachValue(&strName, L"Name");
  sizes.AttachValue(&lOffset, L"Offset");
  sizes.AttachValue(&lMissing, L"Missing");
  EXPECT_TRUE(sizes.Init());
  EXPECT_EQ(dwLayer, 0u);
  EXPECT_EQ(nWidth, 12);
  EXPECT_EQ(nDepth, 5);
  EXPECT_FALSE(bShow);
  EXPECT_TRUE(bHide);
  EXPECT_EQ(strName, L"kept");
  EXPECT_EQ(lOffset, -1L);  // a long reads as a Windows long would, whatever its width
  EXPECT_EQ(lMissing, 0L);
  EXPECT_EQ(ClassOf(HKEY_LOCAL_MACHINE, kSizes), L"") << "the key existed: no class given";

  // The key stays open for reading only, so every write of Store fails.
  nWidth = 99;
  EXPECT_TRUE(sizes.Store());  // its result is Exchange's
  EXPECT_EQ(sizes.GetLastResult(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(sizes.SetValue(L"Width", 1));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kSizes, L"Width").data, DwordBytes(12));
  // A fresh object opens for writing, and a reader of its own sees what it wrote.
  ZoPtRegistryBase writer(L"Sizes", false, nullptr, &master, false);
  EXPECT_TRUE(writer.SetValue(L"Width", 99));
  EXPECT_TRUE(sizes.Read());
  EXPECT_EQ(nWidth, 99);
}

TEST_F(Settings, NumbersAndFlagsAreStoredInTheirOwnEncodings) {
  ZoPtRegistry master(kRoot, L"Settings");
  ZoPtRegistryBase values(L"Colors", false, nullptr, &master, false);
  ASSERT_TRUE(values.SetValue(L"Pi", 3.14159265));
  ASSERT_TRUE(values.SetValue(L"Big", 1234567.0));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Pi").type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Pi").data, TextBytes(L"3.14159"));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Big").data, TextBytes(L"1.23457e+06"));
  double d = 0;
  EXPECT_TRUE(values.GetValue(L"Big", d));
  EXPECT_DOUBLE_EQ(d, 1234570.0);

  ASSERT_TRUE(values.SetValue(L"On", true));
  ASSERT_TRUE(values.SetValue(L"Off", false));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"On").type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"On").data, std::vector<BYTE>{1});
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Off").data, std::vector<BYTE>{0});
  bool b = true;
  EXPECT_TRUE(values.GetValue(L"Off", b));
  EXPECT_FALSE(b);

  ASSERT_TRUE(values.SetValue(L"Count", DWORD{5}));
  ASSERT_TRUE(values.SetValue(L"Minus", -5));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Minus").type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Minus").data, DwordBytes(0xFFFFFFFBu));
  int n = 0;
  EXPECT_TRUE(values.GetValue(L"Minus", n));
  EXPECT_EQ(n, -5);

  // A value of another type is refused and, but for a DWORD, leaves the variable alone.
  b = true;
  EXPECT_FALSE(values.GetValue(L"Count", b));
  EXPECT_TRUE(b);
  d = 2.5;
  EXPECT_FALSE(values.GetValue(L"Count", d));
  EXPECT_EQ(d, 2.5);
  n = 4;
  EXPECT_FALSE(values.GetValue(L"Pi", n));
  EXPECT_EQ(n, 4);
  DWORD dw = 8;
  EXPECT_FALSE(values.GetValue(L"On", dw));
  EXPECT_EQ(dw, 0u);
  dw = 8;
  EXPECT_FALSE(values.GetValue(L"Nothing", dw));
  EXPECT_EQ(dw, 0u);
  EXPECT_EQ(values.GetLastResult(), ERROR_FILE_NOT_FOUND);
  // A REG_DWORD of fewer than four bytes is not read past its end.
  PutRaw(HKEY_LOCAL_MACHINE, kColors, L"Short", REG_DWORD, {1, 2});
  ZoPtRegistryBase reader(L"Colors", false, nullptr, &master, false);
  dw = 8;
  EXPECT_FALSE(reader.GetValue(L"Short", dw));
  EXPECT_EQ(dw, 0u);
}

TEST_F(Settings, TextsBuffersBlocksAndLists) {
  ZoPtRegistry master(kRoot, L"Settings");
  ZoPtRegistryBase values(L"Colors", false, nullptr, &master, false);
  ASSERT_TRUE(values.SetValue(L"Plain", L"abcdef"));
  ASSERT_TRUE(values.SetValue(L"Expand", L"%TEMP%\\x", true));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Expand").type, static_cast<DWORD>(REG_EXPAND_SZ));
  CString s;
  bool bExpanded = true;
  EXPECT_TRUE(values.GetValue(L"Plain", s, &bExpanded));
  EXPECT_EQ(s, L"abcdef");
  EXPECT_FALSE(bExpanded);
  EXPECT_TRUE(values.GetValue(L"Expand", s, &bExpanded));
  EXPECT_EQ(s, L"%TEMP%\\x");  // not expanded
  EXPECT_TRUE(bExpanded);

  // A buffer too small gets the text cut and terminated inside it; the rest stays untouched.
  wchar_t buffer[8];
  std::wmemset(buffer, L'#', 8);
  EXPECT_TRUE(values.GetValue(L"Plain", buffer, 4));
  EXPECT_EQ(std::wstring(buffer), L"abc");
  EXPECT_EQ(buffer[4], L'#');
  EXPECT_TRUE(values.GetValue(L"Plain", buffer, 7, &bExpanded));
  EXPECT_EQ(std::wstring(buffer), L"abcdef");
  EXPECT_FALSE(values.GetValue(L"Plain", buffer, 0));

  // Stored text without its terminator still reads as text; a number is no text.
  const wchar_t raw[] = {L'x', L'y'};
  PutRaw(HKEY_LOCAL_MACHINE, kColors, L"Unended", REG_SZ,
         std::vector<BYTE>(reinterpret_cast<const BYTE*>(raw), reinterpret_cast<const BYTE*>(raw) + sizeof raw));
  ZoPtRegistryBase reader(L"Colors", false, nullptr, &master, false);
  EXPECT_TRUE(reader.GetValue(L"Unended", s));
  EXPECT_EQ(s, L"xy");
  ASSERT_TRUE(values.SetValue(L"Number", 3));
  EXPECT_FALSE(values.GetValue(L"Number", s, &bExpanded));
  EXPECT_EQ(s, L"xy");
  EXPECT_FALSE(bExpanded);

  BYTE block[] = {9, 8, 7, 6, 5};
  ASSERT_TRUE(values.SetValue(L"Block", block, 5));
  BYTE out[8];
  std::memset(out, 0xAA, sizeof out);
  EXPECT_TRUE(values.GetValue(L"Block", out, 3));
  EXPECT_EQ(std::vector<BYTE>(out, out + 4), std::vector<BYTE>({9, 8, 7, 0xAA}));
  EXPECT_TRUE(values.GetValue(L"Block", out, 8));
  EXPECT_EQ(std::vector<BYTE>(out, out + 6), std::vector<BYTE>({9, 8, 7, 6, 5, 0xAA}));
  EXPECT_FALSE(values.GetValue(L"Plain", out, 8));

  // Lists: each text with its zero and one more at the end. An empty text cannot be stored: a
  // list holding one is refused and the value keeps what it held.
  const wchar_t* list[] = {L"one", L"two", nullptr, L"never"};
  ASSERT_TRUE(values.SetValue(L"List", list));
  const Raw stored = RawValue(HKEY_LOCAL_MACHINE, kColors, L"List");
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(stored.data, TextBytes(std::wstring(L"one\0two\0", 8)));
  const wchar_t* holed[] = {L"one", L"", L"two", nullptr};
  EXPECT_FALSE(values.SetValue(L"List", holed));
  EXPECT_EQ(values.GetLastResult(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"List").data, stored.data);
  const wchar_t* empty[] = {nullptr};
  ASSERT_TRUE(values.SetValue(L"Empty", empty));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Empty").data, TextBytes(L""));

  // The empty name is the key's default value.
  ASSERT_TRUE(values.SetValue(L"", L"default"));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, nullptr).data, TextBytes(L"default"));
  EXPECT_TRUE(values.GetValue(L"", s));
  EXPECT_EQ(s, L"default");
}

TEST_F(Settings, ReadsNeverCreateTheKeyAndAnObjectWithoutMasterOpensNothing) {
  ZoPtRegistry master(kRoot, L"Settings");
  ZoPtRegistryBase values(L"Colors", false, nullptr, &master, false);
  CString s(L"kept");
  EXPECT_FALSE(values.GetValue(L"Name", s));
  EXPECT_EQ(values.GetLastResult(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(s, L"kept");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kColors));
  EXPECT_TRUE(values.SetValue(L"Name", L"made"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kColors));

  ZoPtRegistryBase loose(L"Loose", false, nullptr, nullptr, false);
  EXPECT_EQ(loose.GetMasterKey(), L"");
  EXPECT_FALSE(loose.SetValue(L"v", 1));
  EXPECT_EQ(loose.GetLastResult(), ERROR_BAD_PATHNAME);
  EXPECT_FALSE(loose.GetValue(L"v", s));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Loose"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Example\\Loose"));
}

TEST_F(Settings, KeysLieBelowTheRootPathWithOrWithoutTheVersion) {
  ZoPtRegistry master(kRoot, L"Settings", 2.0);
  ASSERT_TRUE(master.SetValue(L"Own", 1));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, L"Software\\Example\\2.000000\\Settings", L"Own").data, DwordBytes(1));
  EXPECT_EQ(ClassOf(HKEY_LOCAL_MACHINE, L"Software\\Example\\2.000000\\Settings"), L"ClassSettings");

  const ZoPtRegHandle plain = master.CreateSubKey(L"Colors", false);
  const ZoPtRegHandle versioned = master.CreateSubKey(L"Colors", true, L"MyClass");
  ASSERT_TRUE(master.GetRegObject(plain)->SetValue(L"Where", L"plain"));
  ASSERT_TRUE(master.GetRegObject(versioned)->SetValue(L"Where", L"versioned"));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Where").data, TextBytes(L"plain"));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, L"Software\\Example\\2.000000\\Colors", L"Where").data,
            TextBytes(L"versioned"));
  EXPECT_EQ(ClassOf(HKEY_LOCAL_MACHINE, L"Software\\Example\\2.000000\\Colors"), L"MyClass");

  // Without a version the master's key is not versioned, and the version text is 0.000000.
  ZoPtRegistry unversioned(kRoot, L"Settings");
  EXPECT_EQ(unversioned.GetVersion(), L"0.000000");
  ASSERT_TRUE(unversioned.SetValue(L"Own", 2));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, L"Software\\Example\\Settings", L"Own").data, DwordBytes(2));

  // A changed root moves the objects' keys but not the master's versioned flag; the top root
  // key decides the tree.
  master.SetRootKey(L"Software\\Other", 0.5);
  EXPECT_EQ(master.GetRootKey(true), L"Software\\Other\\0.500000");
  ZoPtRegistryBase user(L"User", false, nullptr, &master, false);
  user.SetTopRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(user.SetValue(L"v", 3));
  EXPECT_EQ(RawValue(HKEY_CURRENT_USER, L"Software\\Other\\User", L"v").data, DwordBytes(3));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Other\\User"));
}

TEST_F(Settings, TheMasterAttachesThroughHandlesOfItsRegisteredObjectsOnly) {
  ZoPtRegistry master(kRoot, L"Settings");
  const ZoPtRegHandle first = master.CreateSubKey(L"Colors", false);
  const ZoPtRegHandle second = master.CreateSubKey(L"Colors", false);
  EXPECT_NE(first, second);
  int index = -1;
  EXPECT_TRUE(master.LookUp(master.GetRegObject(second), &index));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(master.LookUp(second), master.GetRegObject(second));

  ZoPtRegistry other(kRoot, L"Other");
  ZoPtRegistryBase stranger(L"Colors", false, nullptr, &other, false);
  const auto strangerHandle = reinterpret_cast<ZoPtRegHandle>(&stranger);
  EXPECT_EQ(master.LookUp(strangerHandle), nullptr);
  DWORD dw = 1;
  EXPECT_FALSE(master.AttachValue(strangerHandle, &dw, L"Count"));
  master.Register(&master);  // the master is never one of its own objects
  EXPECT_FALSE(master.LookUp(&master));

  // Variables of every kind attached through either handle land in the same key.
  DWORD dwCount = 4;
  long lOffset = -6;
  bool bOn = true;
  int nSize = -11;
  CString strName(L"two");
  EXPECT_TRUE(master.AttachValue(first, &dwCount, L"Count"));
  EXPECT_TRUE(master.AttachValue(first, &lOffset, L"Offset"));
  EXPECT_TRUE(master.AttachValue(second, &bOn, L"On"));
  EXPECT_TRUE(master.AttachValue(second, &nSize, L"Size"));
  EXPECT_TRUE(master.AttachValue(second, &strName, L"Name"));
  EXPECT_TRUE(master.Store());
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Count").data, DwordBytes(4));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Offset").data, DwordBytes(0xFFFFFFFAu));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"On").data, std::vector<BYTE>{1});
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Size").data, DwordBytes(0xFFFFFFF5u));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kColors, L"Name").data, TextBytes(L"two"));
  PutRaw(HKEY_LOCAL_MACHINE, kColors, L"Size", REG_DWORD, DwordBytes(12));
  EXPECT_TRUE(master.Read());
  EXPECT_EQ(nSize, 12);

  // An object its caller deletes leaves the master's list.
  delete master.GetRegObject(first);
  EXPECT_EQ(master.LookUp(first), nullptr);
  EXPECT_TRUE(master.LookUp(master.GetRegObject(second), &index));
  EXPECT_EQ(index, 0);
}

// Counts its destructions and reports the result it is told to.
class Probe : public ZoPtRegistryBase {
 public:
  Probe(const wchar_t* key, ZoPtRegistry* master, bool owned, int* destroyed, bool result = true)
      : ZoPtRegistryBase(key, false, nullptr, master, owned), m_destroyed(destroyed), m_result(result) {
    AttachValue(&m_dwValue, L"Value");  // so that storing creates the key
  }
  ~Probe() override { ++*m_destroyed; }
  bool Exchange(bool storing) override {
    m_calls += storing ? L"S" : L"R";
    return m_result;
  }
  int* m_destroyed;
  bool m_result;
  std::wstring m_calls;
  DWORD m_dwValue = 1;
};

TEST_F(Settings, GroupOperationsReportTheLastObjectOnly) {
  ZoPtRegistry master(kRoot, L"Settings");
  DWORD dwOwn = 7;
  master.AttachValue(&dwOwn, L"Own");
  PutRaw(HKEY_LOCAL_MACHINE, L"Software\\Example\\Settings", L"Own", REG_DWORD, DwordBytes(9));
  EXPECT_TRUE(master.Init());
  EXPECT_TRUE(master.Read());
  EXPECT_EQ(dwOwn, 7u);  // the master's own values are not part of the group

  int destroyed = 0;
  Probe failing(L"A", &master, false, &destroyed, false);
  Probe passing(L"B", &master, false, &destroyed, true);
  EXPECT_TRUE(master.Init());  // A's key is missing: Store; B's too
  EXPECT_EQ(failing.m_calls, L"S");
  EXPECT_TRUE(master.Read());
  EXPECT_TRUE(master.Store());
  EXPECT_EQ(failing.m_calls, L"SRS");
  EXPECT_EQ(passing.m_calls, L"SRS");

  Probe last(L"C", &master, false, &destroyed, false);
  EXPECT_FALSE(master.Read());
  EXPECT_FALSE(master.Store());
  // Init reads where the key exists now.
  EXPECT_FALSE(master.Init());
  EXPECT_EQ(passing.m_calls, L"SRSRSR");
}

TEST_F(Settings, DestroyingTheMasterDeletesOnlyTheObjectsItOwns) {
  int ownedGone = 0, keptGone = 0;
  auto* kept = new Probe(L"Kept", nullptr, false, &keptGone);
  {
    ZoPtRegistry master(kRoot, L"Settings");
    kept->SetMaster(&master);
    master.Register(kept);
    auto* owned = new Probe(L"Owned", &master, true, &ownedGone);
    master.Register(owned);  // listed twice, deleted once
    // More owned objects: deleting one must not upset the walk over the others.
    new Probe(L"Owned2", &master, true, &ownedGone);
    new Probe(L"Owned3", &master, true, &ownedGone);
    master.CreateSubKey(L"Made", false);
    int early = 0;
    delete new Probe(L"Early", &master, true, &early);  // deleted by its caller first
    EXPECT_EQ(early, 1);
    ASSERT_TRUE(kept->SetValue(L"v", 1));
  }
  EXPECT_EQ(ownedGone, 3);
  EXPECT_EQ(keptGone, 0);
  // The survivor has no master any more: its open key still works, a new one cannot be made.
  EXPECT_EQ(kept->GetMasterKey(), L"");
  EXPECT_TRUE(kept->SetValue(L"v", 2));
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, L"Software\\Example\\Kept", L"v").data, DwordBytes(2));
  delete kept;
  EXPECT_EQ(keptGone, 1);

  Probe* orphan;
  {
    ZoPtRegistry master(kRoot, L"Settings");
    orphan = new Probe(L"Orphan", &master, false, &keptGone);
  }
  EXPECT_FALSE(orphan->SetValue(L"v", 1));
  EXPECT_EQ(orphan->GetLastResult(), ERROR_BAD_PATHNAME);
  delete orphan;
}

TEST_F(Settings, ReadValueShowsRegFailOnlyWhenTheRegistryFails) {
  PutRaw(HKEY_CURRENT_USER, L"Software\\Example\\Direct", L"Data", REG_BINARY, {1, 2, 3, 4});
  PutRaw(HKEY_LOCAL_MACHINE, L"Software\\Example\\Machine", L"Data", REG_BINARY, {5});
  auto messages = [] { return standin::Session::Get().Journal(standin::JournalKind::MessageBox); };

  BYTE buffer[8];
  std::memset(buffer, 0xAA, sizeof buffer);
  // A value fits a buffer of exactly its size.
  EXPECT_TRUE(ZoPtRegistry::ReadValue(HKEY_CURRENT_USER, L"Software\\Example\\Direct", L"Data", buffer, 4));
  EXPECT_EQ(std::vector<BYTE>(buffer, buffer + 5), std::vector<BYTE>({1, 2, 3, 4, 0xAA}));
  EXPECT_TRUE(ZoPtRegistry::ReadValue(HKEY_LOCAL_MACHINE, L"Software\\Example\\Machine", L"Data", buffer, 8));
  EXPECT_EQ(buffer[0], 5);
  std::memset(buffer, 0xAA, sizeof buffer);
  EXPECT_FALSE(ZoPtRegistry::ReadValue(HKEY_CURRENT_USER, L"Software\\Example\\Direct", L"Data", buffer, 3));
  EXPECT_EQ(buffer[0], 0xAA);
  EXPECT_TRUE(messages().empty());

  EXPECT_FALSE(ZoPtRegistry::ReadValue(HKEY_CURRENT_USER, L"Software\\Example\\Missing", L"Data", buffer, 8));
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].text, L"Reg Fail");
  EXPECT_EQ(messages()[0].values, std::vector<double>{MB_OK});
  EXPECT_FALSE(ZoPtRegistry::ReadValue(HKEY_CURRENT_USER, L"Software\\Example\\Direct", L"Nothing", buffer, 8));
  EXPECT_EQ(messages().size(), 2u);
}

TEST_F(Settings, SettingsSurviveTheProcessThatStoredThem) {
  const std::vector<std::string> env = {"TOVU_REGISTRY=" + m_file.string()};
  const auto stored = tovutest::RunChild(TOVU_SETTINGS_HELPER, {"store", "42", "Wall type", "1", "2.75"}, env);
  ASSERT_TRUE(stored.exited && stored.exitStatus == 0);
  const auto read = tovutest::RunChild(TOVU_SETTINGS_HELPER, {"read"}, env);
  ASSERT_TRUE(read.exited && read.exitStatus == 0);
  EXPECT_EQ(read.output, "42\nWall type\n1\n2.75\n");

  // This process finds them where they belong.
  standin::ResetRegistry();
  const wchar_t kApplication[] = L"Software\\Tovu Test\\Application\\1.500000\\";
  EXPECT_EQ(RawValue(HKEY_CURRENT_USER, (std::wstring(kApplication) + L"General").c_str(), L"Scale").data,
            TextBytes(L"2.75"));
  EXPECT_EQ(RawValue(HKEY_CURRENT_USER, (std::wstring(kApplication) + L"Settings").c_str(), L"Count").data,
            DwordBytes(42));
}

}  // namespace
