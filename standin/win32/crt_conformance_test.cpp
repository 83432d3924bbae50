// Conformance of the C runtime's extras: wide strings, and files opened by wide names.
// Compiled twice: against the stand-in on Linux and against the real Win32 under Wine.
#include <gtest/gtest.h>
#include <io.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "testing/TempDir.h"
#include "testing/Win32Conformance.h"

namespace {

TEST(Crt, WideStringExtras) {
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
  EXPECT_EQ(_wtoi(L"-42z"), -42);
}
TEST(Crt, WideFileOpenAndLength) {
  tovutest::TempDir dir;
  const std::wstring path = tovutest::WidePath(dir.Write("幻灯片.sld", std::string("AB\r\nCD\0E", 9)));
  EXPECT_EQ(_wfopen(tovutest::WidePath(dir / "missing").c_str(), L"rb"), nullptr);
  EXPECT_EQ(errno, ENOENT);
  FILE* f = _wfopen(path.c_str(), L"rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(_filelength(_fileno(f)), 9);
  char buf[16] = {};
  EXPECT_EQ(fread(buf, 1, sizeof buf, f), 9u);
  EXPECT_EQ(std::string(buf, 9), std::string("AB\r\nCD\0E", 9));
  fclose(f);
}

}  // namespace
