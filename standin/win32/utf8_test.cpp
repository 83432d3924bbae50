// The stand-ins' one text conversion: wide formatting with the Windows meaning of %s and %c, and
// UTF-8 with replacement characters for malformed text.
#include "standin/win32/utf8.h"

#include <afxstr.h>
#include <gtest/gtest.h>

#include <string>

namespace {

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

}  // namespace
