// Conformance of the registry: keys, values and handles as the Win32 registry API behaves.
// Compiled twice: against the stand-in on Linux and against the real Win32 under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "standin/win32/utf8.h"
#include "testing/RegistryValues.h"
#include "testing/Win32Conformance.h"

namespace {

using namespace tovutest::reg;

// Every test works below a key of its own process, removed with everything in it at the end,
// so that test processes sharing one registry never meet.
class RegistryApi : public ::testing::Test {
 protected:
  void SetUp() override {
    static const std::wstring process = std::to_wstring(std::random_device()());
    m_base = L"Software\\Tovu Test " + process;
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, m_base.c_str()); }

  // A path below the test's own key.
  std::wstring Path(const std::wstring& below) const { return m_base + L"\\" + below; }
  HKEY Create(const std::wstring& below, REGSAM sam = KEY_ALL_ACCESS) {
    HKEY h = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path(below).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, sam, nullptr,
                              &h, nullptr),
              ERROR_SUCCESS)
        << standin::ToUtf8(below);
    return h;
  }
  HKEY Open(const std::wstring& below, REGSAM sam = KEY_READ) {
    HKEY h = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Path(below).c_str(), 0, sam, &h), ERROR_SUCCESS)
        << standin::ToUtf8(below);
    return h;
  }
  LONG OpenResult(const std::wstring& below) {
    HKEY h = nullptr;
    const LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, Path(below).c_str(), 0, KEY_READ, &h);
    if (result == ERROR_SUCCESS) RegCloseKey(h);
    return result;
  }

  std::wstring m_base;
};

TEST_F(RegistryApi, KeysAreCreatedOnceAndFoundWhateverTheCase) {
  wchar_t cls[] = L"MyClass";
  HKEY h = reinterpret_cast<HKEY>(0x1);
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path(L"Tovu\\Settings").c_str(), 0, cls, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, &h, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_EQ(ClassOf(h), L"MyClass");
  EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);

  // The class is given to a key when it is created, never afterwards; a trailing backslash is taken.
  wchar_t other[] = L"Other";
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path(L"TOVU\\settings\\").c_str(), 0, other, 0, KEY_READ, nullptr, &h,
                            &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  // Wine gives the class to keys that exist and to those made on the way too.
  if (!tovutest::UnderWine()) {
    EXPECT_EQ(ClassOf(h), L"MyClass");
  }
  RegCloseKey(h);

  // The keys on the way were created too, without a class.
  h = Open(L"tovu");
  if (!tovutest::UnderWine()) {
    EXPECT_EQ(ClassOf(h), L"");
  }
  HKEY sub = nullptr;
  EXPECT_EQ(RegOpenKeyExW(h, L"Settings", 0, KEY_READ, &sub), ERROR_SUCCESS);
  RegCloseKey(sub);
  RegCloseKey(h);

  // A failed open leaves no handle behind; a path that starts with a backslash is refused before
  // anything is made, and backslashes after a name count as one.
  h = reinterpret_cast<HKEY>(0x1);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Path(L"Missing").c_str(), 0, KEY_READ, &h), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(OpenResult(L"Tovu\\Settings\\Deeper"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, (L"\\" + Path(L"X")).c_str(), 0, nullptr, 0, KEY_READ, nullptr, &h, nullptr),
      ERROR_BAD_PATHNAME);
  EXPECT_EQ(OpenResult(L"X"), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path(L"Tovu\\\\Twice").c_str(), 0, nullptr, 0, KEY_READ, nullptr, &h,
                            &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  RegCloseKey(h);
  EXPECT_EQ(OpenResult(L"Tovu\\Twice"), ERROR_SUCCESS);

  // The roots are separate trees.
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_base.c_str(), 0, KEY_READ, &h), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApi, QueriesFollowTheSizeProtocolAndWriteNothingOnFailure) {
  HKEY h = Create(L"Q");
  ASSERT_EQ(SetText(h, L"Greeting", L"hello"), ERROR_SUCCESS);
  const DWORD size = 6 * sizeof(wchar_t);

  DWORD type = 0xDEAD, got = 0;
  ASSERT_EQ(RegQueryValueExW(h, L"GREETING", nullptr, &type, nullptr, &got), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(got, size);

  BYTE buffer[64];
  std::memset(buffer, 0xAB, sizeof buffer);
  got = size - 1;
  type = 0xDEAD;
  EXPECT_EQ(RegQueryValueExW(h, L"Greeting", nullptr, &type, buffer, &got), ERROR_MORE_DATA);
  EXPECT_EQ(got, size);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  for (BYTE b : buffer) ASSERT_EQ(b, 0xAB);

  got = sizeof buffer;
  EXPECT_EQ(RegQueryValueExW(h, L"Greeting", nullptr, nullptr, buffer, &got), ERROR_SUCCESS);
  EXPECT_EQ(got, size);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(buffer)), L"hello");
  EXPECT_EQ(buffer[size], 0xAB);

  type = 0xDEAD, got = 77;
  EXPECT_EQ(RegQueryValueExW(h, L"Missing", nullptr, &type, buffer, &got), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(type, 0xDEADu);
  EXPECT_EQ(got, 77u);
  DWORD reserved = 0;
  EXPECT_EQ(RegQueryValueExW(h, L"Greeting", &reserved, nullptr, nullptr, &got), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExW(h, L"Greeting", nullptr, nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);

  // The default value is the empty name; a key starts without one.
  EXPECT_EQ(RegQueryValueExW(h, L"", nullptr, nullptr, nullptr, &got), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(SetText(h, nullptr, L"default"), ERROR_SUCCESS);
  DWORD defType = 0;
  EXPECT_EQ(Query(h, L"", &defType), Text(L"default"));
  EXPECT_EQ(defType, static_cast<DWORD>(REG_SZ));

  // Writing a name again replaces type and data.
  const DWORD seven = 7;
  ASSERT_EQ(RegSetValueExW(h, L"greeting", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), 4), ERROR_SUCCESS);
  EXPECT_EQ(Query(h, L"Greeting", &type), std::vector<BYTE>({7, 0, 0, 0}));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));

  // A failed write stores nothing; a value is deleted by its name in any case, once.
  EXPECT_EQ(RegSetValueExW(h, L"Bad", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
  EXPECT_EQ(RegQueryValueExW(h, L"Bad", nullptr, nullptr, nullptr, &got), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(SetText(h, L"Temp", L"t"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(h, L"TEMP"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(h, L"Temp"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(h, L"temp", nullptr, nullptr, nullptr, &got), ERROR_FILE_NOT_FOUND);
  RegCloseKey(h);
}

// Data is stored as given, whatever its type says.
TEST_F(RegistryApi, ValuesComeBackByteForByteWhateverTheirType) {
  struct Sample {
    const wchar_t* name;
    DWORD type;
    std::vector<BYTE> data;
  };
  const std::vector<Sample> samples = {
      {L"No terminator", REG_SZ, {'a', 0, 'b', 0}},
      {L"Inner zero", REG_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0}},
      {L"Odd dword", REG_DWORD, {1, 2, 3}},
      {L"Empty", REG_BINARY, {}},
      {L"Type 0x1234", 0x1234, {0xAA}},
  };
  HKEY h = Create(L"Round Trip");
  for (const auto& s : samples)
    ASSERT_EQ(RegSetValueExW(h, s.name, 0, s.type, s.data.data(), static_cast<DWORD>(s.data.size())), ERROR_SUCCESS);
  for (const auto& s : samples) {
    // Wine adds the terminator that text was stored without.
    if (tovutest::UnderWine() && s.type == REG_SZ && s.data.size() == 4) continue;
    DWORD type = 0;
    EXPECT_EQ(Query(h, s.name, &type), s.data) << standin::ToUtf8(s.name);
    EXPECT_EQ(type, s.type) << standin::ToUtf8(s.name);
  }
  RegCloseKey(h);
}

TEST_F(RegistryApi, HandlesHaveOnlyTheRightsTheyWereOpenedWith) {
  HKEY all = Create(L"Rights");
  ASSERT_EQ(SetText(all, L"Name", L"kept"), ERROR_SUCCESS);
  RegCloseKey(Create(L"Rights\\Existing"));

  HKEY read = Open(L"Rights");
  EXPECT_EQ(SetText(read, L"Name", L"changed"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(SetText(read, L"New", L"x"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueW(read, L"Name"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Query(read, L"Name"), Text(L"kept"));
  DWORD size;
  EXPECT_EQ(RegQueryValueExW(read, L"New", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  // Creating below a key needs no right of the handle: the key's own security decides.
  HKEY h = nullptr;
  EXPECT_EQ(RegCreateKeyExW(read, L"Fresh", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), ERROR_SUCCESS);
  RegCloseKey(h);
  EXPECT_EQ(OpenResult(L"Rights\\Fresh"), ERROR_SUCCESS);
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(read, L"Existing", 0, nullptr, 0, KEY_READ, nullptr, &h, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  RegCloseKey(h);

  HKEY write = Open(L"Rights", KEY_WRITE);
  EXPECT_EQ(RegQueryValueExW(write, L"Name", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  EXPECT_EQ(SetText(write, L"Name", L"written"), ERROR_SUCCESS);
  EXPECT_EQ(Query(read, L"Name"), Text(L"written"));

  HKEY generic = Open(L"Rights", GENERIC_READ);
  EXPECT_EQ(RegQueryValueExW(generic, L"Name", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(SetText(generic, L"Name", L"no"), ERROR_ACCESS_DENIED);
  for (HKEY k : {all, read, write, generic}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
}

TEST_F(RegistryApi, ClosedHandlesAreRefusedAndPredefinedKeysStay) {
  HKEY first = Create(L"Handles");
  HKEY second = Create(L"Handles");
  EXPECT_NE(first, second);
  EXPECT_EQ(RegCloseKey(first), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetText(first, L"x", L"y"), ERROR_INVALID_HANDLE);
  DWORD size;
  EXPECT_EQ(RegQueryValueExW(first, L"x", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetText(second, L"x", L"y"), ERROR_SUCCESS);  // the other handle lives on
  EXPECT_EQ(RegCloseKey(second), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
  HKEY h;
  EXPECT_EQ(RegOpenKeyExW(reinterpret_cast<HKEY>(0x12345), L"x", 0, KEY_READ, &h), ERROR_INVALID_HANDLE);

  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  h = Open(L"Handles");
  // A null or empty sub key gives a new handle to the same key.
  HKEY again = nullptr;
  ASSERT_EQ(RegOpenKeyExW(h, nullptr, 0, KEY_READ, &again), ERROR_SUCCESS);
  EXPECT_NE(again, h);
  EXPECT_EQ(Query(again, L"x"), Text(L"y"));
  RegCloseKey(again);
  RegCloseKey(h);
}

TEST_F(RegistryApi, DeletingAKeyNeedsItEmptyOfKeysAndInvalidatesItsHandles) {
  HKEY parent = Create(L"Del");
  HKEY child = Create(L"Del\\Child");
  ASSERT_EQ(SetText(child, L"v", L"1"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, Path(L"Del").c_str()), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyW(parent, L"CHILD"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(parent, L"Child"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(SetText(child, L"v", L"2"), ERROR_KEY_DELETED);
  DWORD size;
  EXPECT_EQ(RegQueryValueExW(child, L"v", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);
  HKEY h;
  EXPECT_EQ(RegOpenKeyExW(parent, L"Child", 0, KEY_READ, &h), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, Path(L"Del").c_str()), ERROR_SUCCESS);
  EXPECT_EQ(RegCreateKeyExW(parent, L"New", 0, nullptr, 0, KEY_READ, nullptr, &h, nullptr), ERROR_KEY_DELETED);
  RegCloseKey(parent);

  // A tree goes whole, or only what is below a key.
  HKEY top = Create(L"Tree\\A\\B");
  ASSERT_EQ(SetText(top, L"v", L"1"), ERROR_SUCCESS);
  RegCloseKey(top);
  top = Create(L"Tree");
  ASSERT_EQ(SetText(top, L"w", L"2"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteTreeW(top, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(OpenResult(L"Tree\\A"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(top, L"w", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(top);
  EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, Path(L"Tree").c_str()), ERROR_SUCCESS);
  EXPECT_EQ(OpenResult(L"Tree"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, Path(L"Tree").c_str()), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApi, VolatileKeysHaveOnlyVolatileChildren) {
  RegCloseKey(Create(L"Lasting"));
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path(L"Session").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(SetText(h, L"Pid", L"123"), ERROR_SUCCESS);
  HKEY child = nullptr;
  EXPECT_EQ(
      RegCreateKeyExW(h, L"Lasting", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &child, nullptr),
      ERROR_CHILD_MUST_BE_VOLATILE);
  RegCloseKey(h);
  // Keys made on the way to a volatile key are volatile too.
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path(L"Volatile\\Deep").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_READ, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(h);
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path(L"Volatile\\Lasting").c_str(), 0, nullptr, 0, KEY_READ, nullptr, &h,
                            nullptr),
            ERROR_CHILD_MUST_BE_VOLATILE);
}

}  // namespace
