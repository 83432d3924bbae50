// The command-line helpers: keyword arming, typed reads of system variables and LISP symbols,
// the yes/no question, the selection keyword hand-over and keywords from a prompt's options.
#include "input/Prompt.h"

#include <gtest/gtest.h>

#include <string>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/win32/utf8.h"
#include "testing/HostTest.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

class Prompt : public tovutest::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    g_strInitKewords = L"Old";
    g_nInitContral = 8;
    g_strSelKewWord = L"";
    g_IsInputSelectKeyWord = 0;
  }
  static void PutSym(const wchar_t* name, resbuf* value) {
    ASSERT_EQ(acedPutSym(name, value), RTNORM);
    acutRelRb(value);
  }
};

TEST_F(Prompt, InitGetArmsTheHostAndPublishesTheKeywordsForOneScope) {
  {
    ZoPtInitGet guard(1, L"Align Base");
    EXPECT_EQ(g_strInitKewords, L"Align Base");
    EXPECT_EQ(g_nInitContral, 1);
    Session::Get().QueueText({L"b"});
    wchar_t kw[256] = {};
    EXPECT_EQ(acedGetKword(L"\nOption: ", kw), RTNORM);
    EXPECT_STREQ(kw, L"Base") << "armed in the host";
  }
  EXPECT_EQ(g_strInitKewords, L"");
  EXPECT_EQ(g_nInitContral, -1);
  {
    ZoPtInitGet nothing(0, nullptr);
    EXPECT_EQ(g_nInitContral, 0);
  }
  EXPECT_EQ(g_nInitContral, -1);
}

// A read writes its output only when the value has the accepted type.
TEST_F(Prompt, TypedReadsOfVariablesAndSymbols) {
  int n = -1;
  EXPECT_TRUE(ZoPtGetVar(L"OSMODE", n));
  EXPECT_EQ(n, 4133);
  double d = -7.0;
  EXPECT_FALSE(ZoPtGetVar(L"VIEWCTR", d));  // a point is no double
  EXPECT_EQ(d, -7.0);
  EXPECT_TRUE(ZoPtGetVar(L"VIEWSIZE", d));
  EXPECT_EQ(d, 600.0);
  ZoGePoint pt(-1, -1, -1);
  EXPECT_FALSE(ZoPtGetVar(L"VIEWSIZE", pt));
  EXPECT_EQ(pt.x, -1.0);
  EXPECT_TRUE(ZoPtGetVar(L"SCREENSIZE", pt));  // a variable's 2D point is taken
  EXPECT_EQ(pt.x, 800.0);
  EXPECT_EQ(pt.y, 600.0);
  EXPECT_TRUE(ZoPtGetVar(L"VIEWCTR", pt));
  EXPECT_EQ(pt.x, 400.0);
  CString text = L"unset";
  EXPECT_TRUE(ZoPtGetVar(L"CLAYER", text));
  EXPECT_EQ(text, L"0");
  n = 42;
  EXPECT_FALSE(ZoPtGetVar(L"CLAYER", n));  // the host's copy of the text is freed all the same (ASan)
  EXPECT_FALSE(ZoPtGetVar(L"OSMODE", text));
  EXPECT_FALSE(ZoPtGetVar(L"NOSUCHVAR", n));
  EXPECT_FALSE(ZoPtGetVar(nullptr, n));
  EXPECT_EQ(n, 42);
  EXPECT_EQ(text, L"0");
  resbuf negative = {};
  negative.restype = RTSHORT;
  negative.resval.rint = -2;
  ASSERT_TRUE(standin::SetSystemVariable(L"DBMOD", negative));
  EXPECT_TRUE(ZoPtGetVar(L"DBMOD", n));
  EXPECT_EQ(n, -2);  // sign-extended

  // A symbol's value is a list; its first node counts, and a point must be 3D.
  EXPECT_FALSE(ZoPtGetSym(L"unbound", text));
  EXPECT_FALSE(ZoPtGetSym(nullptr, text));
  EXPECT_EQ(text, L"0");
  PutSym(L"pt2", acutBuildList(RTLB, RTREAL, 1.0, RTREAL, 2.0, RTLE, 0));
  EXPECT_FALSE(ZoPtGetSym(L"pt2", pt));
  EXPECT_EQ(pt.x, 400.0);
  PutSym(L"pt3", acutBuildList(RTLB, RTREAL, 1.0, RTREAL, 2.0, RTREAL, 3.0, RTLE, 0));
  EXPECT_TRUE(ZoPtGetSym(L"pt3", pt));
  EXPECT_EQ(pt.z, 3.0);
  PutSym(L"several", acutBuildList(RTSTR, L"Wall", RTSHORT, 5, 0));
  EXPECT_TRUE(ZoPtGetSym(L"several", text));
  EXPECT_EQ(text, L"Wall");
  EXPECT_FALSE(ZoPtGetSym(L"several", n));
  EXPECT_EQ(n, -2);
  PutSym(L"r", acutBuildList(RTREAL, 2.5, 0));
  EXPECT_TRUE(ZoPtGetSym(L"r", d));
  EXPECT_EQ(d, 2.5);
  PutSym(L"s", acutBuildList(RTSHORT, -3, 0));
  EXPECT_TRUE(ZoPtGetSym(L"s", n));
  EXPECT_EQ(n, -3);
}

TEST_F(Prompt, AskYesNoAnswersAndTheDefault) {
  Session::Get().Queue({InputEvent::Key(InputKind::Enter), InputEvent::Typed(L"n"), InputEvent::Typed(L"y"),
                        InputEvent::Key(InputKind::Esc), InputEvent::Key(InputKind::Enter),
                        InputEvent::Key(InputKind::Enter), InputEvent::Typed(L"maybe"), InputEvent::Typed(L"N")});
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 1), 1);
  EXPECT_EQ(Session::Get().Transcript(), L"\n删除?[是(Y)/否(N)]<Y>: ");
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 1), 0);
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 0), 1);
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 1), RTCAN);
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 7), 7);
  Session::Get().ClearTranscript();
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 0), 0);
  EXPECT_EQ(Session::Get().Transcript(), L"\n删除?[是(Y)/否(N)]<N>: ");
  EXPECT_EQ(ZoPtAskYesNo(nullptr, 1), 0);  // "maybe" refused, then "N"
  EXPECT_NE(Session::Get().Transcript().find(L"maybe\nInvalid option keyword.\n?[是(Y)/否(N)]<Y>: N"),
            std::wstring::npos)
      << standin::ToUtf8(Session::Get().Transcript());
  EXPECT_EQ(ZoPtAskYesNo(L"", 1), RTCAN);  // no input left
}

TEST_F(Prompt, SelectKeywordIsHandedOverOnce) {
  g_strSelKewWord = L"A";
  g_IsInputSelectKeyWord = 1;
  CString kw = L"old";
  EXPECT_EQ(ZoGetSelectKeyWordInput(kw), 1);
  EXPECT_EQ(kw, L"A");
  EXPECT_EQ(ZoGetSelectKeyWordInput(kw), 0);
  EXPECT_EQ(kw, L"");
}

TEST_F(Prompt, KeywordsFromThePromptsBracketedOptions) {
  const struct {
    const wchar_t* prompt;
    bool found;
    const wchar_t* keywords;
  } cases[] = {
      {L"\n点取位置或 [转90度(A)/左右翻(S)/上下翻(D)/对齐(F)/改转角(R)/改基点(T)]<退出>:", true,
       L"A S D F R T _ A S D F R T"},
      {L"\n选择对象:", false, L""},
      {L"[ab]", false, L""},  // "]" fewer than 4 characters after "["
      {L"[(A)]", true, L"A _ A"},
      {L"[()/(B)]", false, L""},     // an empty first pair ends the scan
      {L"[b)(A)/(B)]", false, L""},  // a ")" before the next "(" ends it too
      {L"[(Ab)/(C)", false, L""},    // no "]"
      {L"](A)/(B)[", false, L""},    // "]" before "["
      {L"[(A)/(B)/]<x>[(C)]", true, L"A B _ A B"},
      {L"[选项(Xy)/另一(Zw)]", true, L"Xy Zw _ Xy Zw"},
      {nullptr, false, L""},
  };
  for (const auto& c : cases) {
    CString out;
    EXPECT_EQ(GetKeywordsFromPrompt(c.prompt, out), c.found) << (c.prompt ? standin::ToUtf8(c.prompt) : "null");
    EXPECT_EQ(out, c.keywords) << (c.prompt ? standin::ToUtf8(c.prompt) : "null");
  }
  CString appended = L"Q";
  EXPECT_TRUE(GetKeywordsFromPrompt(L"[(A)]", appended));
  EXPECT_EQ(appended, L"Q A _ Q A");
}

TEST_F(Prompt, EnglishDictionaryTranslatesTheQuestionSuffixes) {
  const auto dictionary =
      ZoDtDictionary::Load(std::string(TOVU_SOURCE_DIR) + "/lang/en/TOVUPLATFORM.tsv", L"TOVUPLATFORM");
  ASSERT_NE(dictionary, nullptr) << "lang/en/TOVUPLATFORM.tsv cannot be read";
  EXPECT_STREQ(dictionary->Lookup(L"?[是(Y)/否(N)]<Y>: "), L"? [Yes(Y)/No(N)] <Y>: ");
  EXPECT_STREQ(dictionary->Lookup(L"?[是(Y)/否(N)]<N>: "), L"? [Yes(Y)/No(N)] <N>: ");
}

}  // namespace
