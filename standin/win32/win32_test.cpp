// Conformance of the Win32 and MFC stand-ins: CString, wide formatting, UTF-8, the module
// loader, the MFC extension-module chain and the CRT extras.
#include <afxstr.h>
#include <afxwin.h>
#include <gtest/gtest.h>
#include <io.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "standin/host/core/session.h"
#include "standin/win32/module.h"
#include "standin/win32/utf8.h"
#include "testing/TempDir.h"

namespace {

TEST(CString, PositionsAndCountsAreClampedAsMfcDoes) {
  const CString s(L"abcdef");
  EXPECT_EQ(s.Mid(-2, 3), L"abc");
  EXPECT_EQ(s.Mid(4, 100), L"ef");
  EXPECT_EQ(s.Mid(9), L"");
  EXPECT_EQ(s.Mid(2, -1), L"");
  EXPECT_EQ(s.Left(-1), L"");
  EXPECT_EQ(s.Left(99), L"abcdef");
  EXPECT_EQ(s.Right(2), L"ef");
  EXPECT_EQ(s.Right(99), L"abcdef");

  CString d(L"abcdef");
  EXPECT_EQ(d.Delete(-3, 2), 4);  // a negative index deletes from the start
  EXPECT_EQ(d, L"cdef");
  EXPECT_EQ(d.Delete(3, 10), 3);
  EXPECT_EQ(d, L"cde");
  EXPECT_EQ(d.Delete(7), 3);
  EXPECT_EQ(d.Delete(1, 0), 3);
}

TEST(CString, SearchesReturnMinusOneWhenNothingIsFound) {
  const CString s(L"C:\\dir\\file.name.arx");
  EXPECT_EQ(s.Find(L'.'), 11);
  EXPECT_EQ(s.Find(L'.', 12), 16);
  EXPECT_EQ(s.Find(L'.', 17), -1);
  EXPECT_EQ(s.Find(L'.', -1), -1);
  EXPECT_EQ(s.Find(L'.', 99), -1);
  EXPECT_EQ(s.Find(L"name"), 12);
  EXPECT_EQ(s.Find(L"zzz"), -1);
  EXPECT_EQ(s.ReverseFind(L'\\'), 6);
  EXPECT_EQ(s.ReverseFind(L'/'), -1);
  EXPECT_EQ(CString().ReverseFind(L'x'), -1);
}

TEST(CString, CaseComparisonAndBuffers) {
  CString s(L"Tovu平台.arx");
  s.MakeUpper();
  EXPECT_EQ(s, L"TOVU平台.ARX");
  EXPECT_TRUE(CString(L"abc") < CString(L"abd"));
  EXPECT_EQ(CString(L"ABC").CompareNoCase(L"abc"), 0);
  EXPECT_NE(CString(L"ABC"), L"abc");
  EXPECT_EQ(CString(L"x") + L"y" + CString(L"z") + L'!', L"xyz!");

  CString b;
  wchar_t* p = b.GetBuffer(10);
  wcscpy(p, L"hello");
  b.ReleaseBuffer();
  EXPECT_EQ(b.GetLength(), 5);
  EXPECT_EQ(b, L"hello");
  b.GetBuffer(3);
  b.ReleaseBuffer(2);
  EXPECT_EQ(b, L"he");
}

TEST(FormatWide, PercentSAndCAreWideAsOnWindows) {
  CString s;
  s.Format(L"%s|%c|%S|%d|%5.2f|%I64d|%%|%ls", L"宽", L'字', "narrow", -7, 3.14159, 1LL << 40, L"x");
  EXPECT_EQ(s, L"宽|字|narrow|-7| 3.14|1099511627776|%|x");

  // Longer than the first buffer: the formatter grows it.
  const std::wstring longText(5000, L'y');
  s.Format(L"<%s>", longText.c_str());
  EXPECT_EQ(s.GetLength(), 5002);

  // %n never writes through its argument.
  int victim = 1234;
  s.Format(L"ab%ncd", &victim);
  EXPECT_EQ(victim, 1234);
  EXPECT_EQ(s, L"abcd");

  EXPECT_EQ(standin::TranslateWideFormat(L"%-10s %hs %S %C %5c"), L"%-10ls %s %s %c %5lc");
}

TEST(Utf8, MalformedTextBecomesReplacementCharacters) {
  EXPECT_EQ(standin::ToUtf8(L"选择 a"), "\xE9\x80\x89\xE6\x8B\xA9 a");
  EXPECT_EQ(standin::FromUtf8("\xE9\x80\x89\xE6\x8B\xA9 a"), L"选择 a");
  EXPECT_EQ(standin::FromUtf8("\xF0\x9F\x98\x80"), std::wstring(1, static_cast<wchar_t>(0x1F600)));

  const std::wstring bad = standin::FromUtf8(
      "a\xC0\xAF"
      "b\xED\xA0\x80"
      "c\xE9\x80");
  EXPECT_EQ(bad,
            L"a\xFFFD\xFFFD"
            L"b\xFFFD\xFFFD\xFFFD"
            L"c\xFFFD\xFFFD");
  EXPECT_FALSE(standin::IsValidUtf8("\xC0\xAF"));
  EXPECT_FALSE(standin::IsValidUtf8("\xE9\x80"));
  EXPECT_TRUE(standin::IsValidUtf8("plain \xE9\x80\x89"));

  std::wstring notScalar;
  notScalar += static_cast<wchar_t>(0xD800);
  notScalar += static_cast<wchar_t>(0x110000);
  EXPECT_EQ(standin::ToUtf8(notScalar), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(ModuleLoader, FileNameOfALoadedModuleFollowsTheBufferRules) {
  tovutest::TempDir dir;
  // File names leave the process as UTF-8, whatever the locale.
  const auto file = dir.Copy(TOVU_FIXTURE_MODULE, "模块.arx");
  const HMODULE h = LoadLibraryW(standin::FromUtf8(file.string()).c_str());
  ASSERT_NE(h, nullptr);
  const std::wstring expected = standin::FromUtf8(std::filesystem::canonical(file).string());
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
  EXPECT_EQ(std::wstring(buf), expected.substr(0, 4));
  EXPECT_EQ(buf[5], L'#');

  std::fill(std::begin(buf), std::end(buf), L'#');
  EXPECT_EQ(GetModuleFileNameW(h, buf, 0), 0u);
  EXPECT_EQ(buf[0], L'#');

  ASSERT_GT(GetModuleFileNameW(nullptr, buf, 1024), 0u);
  EXPECT_EQ(std::filesystem::path(standin::ToUtf8(buf)).filename(), "win32_test");

  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(0x10), buf, 1024), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(h));
}

TEST(ModuleLoader, LoadCountsSymbolsAndRefusals) {
  tovutest::TempDir dir;
  const auto file = dir.Copy(TOVU_FIXTURE_MODULE, "fixture.dll");
  const HMODULE h1 = LoadLibraryW(file.wstring().c_str());
  const HMODULE h2 = LoadLibraryW(file.wstring().c_str());
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
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  EXPECT_EQ(LoadLibraryW((dir / "missing.dll").wstring().c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  const auto text = dir.Write("text.dll", "not a module");
  EXPECT_EQ(LoadLibraryW(text.wstring().c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
  EXPECT_EQ(LoadLibraryW(L""), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(MfcExtensionModule, ChainAndResourceHandle) {
  const auto h1 = reinterpret_cast<HMODULE>(0x1000);
  const auto h2 = reinterpret_cast<HMODULE>(0x2000);
  AFX_EXTENSION_MODULE none = {FALSE, nullptr, nullptr};
  EXPECT_FALSE(AfxInitExtensionModule(none, nullptr));
  EXPECT_FALSE(none.bInitialized);

  AFX_EXTENSION_MODULE m1 = {FALSE, nullptr, nullptr}, m2 = {FALSE, nullptr, nullptr};
  ASSERT_TRUE(AfxInitExtensionModule(m1, h1));
  ASSERT_TRUE(AfxInitExtensionModule(m2, h2));
  EXPECT_TRUE(AfxInitExtensionModule(m1, h1));  // a second call succeeds again
  EXPECT_EQ(m1.hModule, h1);
  EXPECT_EQ(m1.hResource, h1);

  auto* lib1 = new CDynLinkLibrary(m1);
  auto* lib2 = new CDynLinkLibrary(m2);
  AFX_MODULE_STATE* state = AfxGetModuleState();
  ASSERT_EQ(state->m_libraryList, lib2);  // newest first
  ASSERT_EQ(lib2->m_pNextDLL, lib1);

  AfxTermExtensionModule(m1);  // deletes only m1's library
  EXPECT_EQ(state->m_libraryList, lib2);
  EXPECT_EQ(lib2->m_pNextDLL, nullptr);
  new CDynLinkLibrary(m1);
  AfxTermExtensionModule(m2, TRUE);  // deletes every library
  EXPECT_EQ(state->m_libraryList, nullptr);

  const HINSTANCE before = AfxGetResourceHandle();
  AfxSetResourceHandle(h2);
  EXPECT_EQ(AfxGetResourceHandle(), h2);
  AfxSetResourceHandle(before);
}

TEST(MfcMessageBox, IsRecordedAndAnsweredWithTheFirstButton) {
  standin::Session::Get().Reset();
  EXPECT_EQ(AfxMessageBox(L"不能分配", MB_OK), IDOK);
  EXPECT_EQ(AfxMessageBox(L"Sure?", MB_YESNO | MB_ICONQUESTION), IDYES);
  const auto boxes = standin::Session::Get().Journal(standin::JournalKind::MessageBox);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, L"不能分配");
  EXPECT_EQ(boxes[1].values.at(0), static_cast<double>(MB_YESNO | MB_ICONQUESTION));
}

TEST(Crt, WideStringExtras) {
  EXPECT_EQ(_wcsdup(nullptr), nullptr);
  wchar_t* copy = _wcsdup(L"复制");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, L"复制");
  free(copy);

  EXPECT_EQ(_wcsicmp(L"Sample", L"SAMPLE"), 0);
  EXPECT_LT(_wcsicmp(L"abc", L"ABD"), 0);
  EXPECT_GT(_wcsicmp(L"abcd", L"ABC"), 0);
  EXPECT_LT(_wcsicmp(L"_", L"a"), 0);  // folded to lower case first, as the CRT does
  EXPECT_EQ(_wcsnicmp(L"abcX", L"ABCy", 3), 0);

  EXPECT_DOUBLE_EQ(_wtof(L"  3.5abc"), 3.5);
  EXPECT_DOUBLE_EQ(_wtof(L"x"), 0.0);
  EXPECT_DOUBLE_EQ(_wtof(nullptr), 0.0);
  EXPECT_EQ(_wtoi(L"-42z"), -42);
}

TEST(Crt, WideFileOpenAndLength) {
  tovutest::TempDir dir;
  const std::wstring path = standin::FromUtf8(dir.Write("幻灯片.sld", std::string("AB\r\nCD\0E", 9)).string());
  EXPECT_EQ(_wfopen(path.c_str(), L"rx"), nullptr);
  EXPECT_EQ(errno, EINVAL);
  EXPECT_EQ(_wfopen(nullptr, L"rb"), nullptr);
  EXPECT_EQ(_wfopen(standin::FromUtf8((dir.path() / "missing").string()).c_str(), L"rb"), nullptr);
  EXPECT_EQ(errno, ENOENT);
  FILE* f = _wfopen(path.c_str(), L"rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(_filelength(_fileno(f)), 9);
  char buf[16] = {};
  EXPECT_EQ(fread(buf, 1, sizeof buf, f), 9u);
  EXPECT_EQ(std::string(buf, 9), std::string("AB\r\nCD\0E", 9));
  fclose(f);
  EXPECT_EQ(_fileno(nullptr), -1);
  EXPECT_EQ(_filelength(-1), -1);
  EXPECT_EQ(errno, EBADF);
}

}  // namespace
