// Conformance of the module loader: file names of loaded modules and their buffer rules, load
// counts, symbols and refusals.
// Compiled twice: against the stand-in on Linux and against the real Win32 under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "testing/TempDir.h"
#include "testing/Win32Conformance.h"

namespace {

TEST(ModuleLoader, FileNameOfALoadedModuleFollowsTheBufferRules) {
  tovutest::TempDir dir;
  // A name outside ASCII comes back whole.
  const auto file = dir.Copy(TOVU_FIXTURE_MODULE, "模块.arx");
  const HMODULE h = LoadLibraryW(tovutest::WidePath(file).c_str());
  ASSERT_NE(h, nullptr);
  const std::wstring expected = tovutest::WidePath(std::filesystem::canonical(file));
  ASSERT_NE(expected.find(L"模块.arx"), std::wstring::npos);

  wchar_t buf[1024];
  std::fill(std::begin(buf), std::end(buf), L'#');
  const DWORD n = GetModuleFileNameW(h, buf, 1024);
  EXPECT_EQ(n, expected.size());
  EXPECT_EQ(std::wstring(buf), expected);

  std::fill(std::begin(buf), std::end(buf), L'#');
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(h, buf, 5), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  // Wine fills the whole buffer and leaves out the terminator, as Windows XP did.
  if (!tovutest::UnderWine()) {
    EXPECT_EQ(std::wstring(buf), expected.substr(0, 4));
  }
  EXPECT_EQ(std::wstring(buf, 4), expected.substr(0, 4));
  EXPECT_EQ(buf[5], L'#');

  std::fill(std::begin(buf), std::end(buf), L'#');
  EXPECT_EQ(GetModuleFileNameW(h, buf, 0), 0u);
  EXPECT_EQ(buf[0], L'#');

  ASSERT_GT(GetModuleFileNameW(nullptr, buf, 1024), 0u);
  EXPECT_EQ(std::filesystem::path(std::wstring(buf)).stem(), "win32_test");

  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(0x10), buf, 1024), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(h));
}
TEST(ModuleLoader, LoadCountsSymbolsAndRefusals) {
  tovutest::TempDir dir;
  const auto file = dir.Copy(TOVU_FIXTURE_MODULE, "fixture.dll");
  const HMODULE h1 = LoadLibraryW(tovutest::WidePath(file).c_str());
  const HMODULE h2 = LoadLibraryW(tovutest::WidePath(file).c_str());
  ASSERT_NE(h1, nullptr);
  EXPECT_EQ(h1, h2);
  EXPECT_EQ(GetModuleHandleW(L"FIXTURE"), h1);  // base name, any case, ".dll" implied

  const auto marker =
      reinterpret_cast<int (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(h1, "tovu_fixture_marker")));
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker(), 42);
  EXPECT_EQ(GetProcAddress(h1, "no_such_export"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));

  EXPECT_TRUE(FreeLibrary(h1));
  EXPECT_NE(GetModuleHandleW(L"fixture.dll"), nullptr);  // still held once
  EXPECT_TRUE(FreeLibrary(h1));
  EXPECT_EQ(GetModuleHandleW(L"fixture.dll"), nullptr);
  EXPECT_FALSE(FreeLibrary(h1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

  EXPECT_EQ(LoadLibraryW(tovutest::WidePath(dir / "missing.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  const auto text = dir.Write("text.dll", "not a module");
  EXPECT_EQ(LoadLibraryW(tovutest::WidePath(text).c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
  EXPECT_EQ(LoadLibraryW(L""), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

}  // namespace
