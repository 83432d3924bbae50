// Conformance of the CString stand-in: positions and counts clamped as MFC clamps them, -1 for
// failed searches, case comparison and buffers.
#include <afxstr.h>
#include <gtest/gtest.h>

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

}  // namespace
