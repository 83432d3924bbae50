#include "input/Prompt.h"

#include <gtest/gtest.h>

#include <string>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/win32/utf8.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

class Prompt : public ::testing::Test {
 protected:
  void SetUp() override {
    Session::Get().Reset();
    g_strInitKewords = L"";
    g_nInitContral = -1;
    g_strSelKewWord = L"";
    g_IsInputSelectKeyWord = 0;
  }
  void TearDown() override { Session::Get().Reset(); }
};

TEST_F(Prompt, InitGetArmsTheHostAndPublishesTheKeywordsForOneScope) {
  g_strInitKewords = L"Old";
  g_nInitContral = 8;
  {
    ZoPtInitGet guard(1, L"Align Base");
    EXPECT_EQ(g_strInitKewords, L"Align Base");
    EXPECT_EQ(g_nInitContral, 1);
    Session::Get().QueueText({L"b"});
    wchar_t kw[256] = {};
    EXPECT_EQ(acedGetKword(L"\nOption: ", kw), RTNORM);  // armed in the host
    EXPECT_STREQ(kw, L"Base");

    // A routine that must ask again re-arms from the published state.
    acedInitGet(g_nInitContral, g_strInitKewords);
    Session::Get().Queue({InputEvent::Key(InputKind::Enter), InputEvent::Typed(L"a")});
    EXPECT_EQ(acedGetKword(L"\nOption: ", kw), RTNORM);  // control 1: Enter refused
    EXPECT_STREQ(kw, L"Align");
  }
  EXPECT_EQ(g_strInitKewords, L"");
  EXPECT_EQ(g_nInitContral, -1);
  {
    ZoPtInitGet nothing(0, nullptr);
    EXPECT_EQ(g_strInitKewords, L"");
    EXPECT_EQ(g_nInitContral, 0);
  }
  EXPECT_EQ(g_nInitContral, -1);
}

TEST_F(Prompt, GetVarReadsOnlyTheAcceptedTypeAndLeavesTheOutputOtherwise) {
  int osmode = -1;
  EXPECT_TRUE(ZoPtGetVar(L"OSMODE", osmode));
  EXPECT_EQ(osmode, 4133);

  double d = -7.0;
  EXPECT_FALSE(ZoPtGetVar(L"VIEWCTR", d));  // a point is no double
  EXPECT_EQ(d, -7.0);
  EXPECT_TRUE(ZoPtGetVar(L"VIEWSIZE", d));
  EXPECT_EQ(d, 600.0);

  ZoGePoint pt(-1, -1, -1);
  EXPECT_TRUE(ZoPtGetVar(L"SCREENSIZE", pt));  // a 2D point is accepted
  EXPECT_EQ(pt.x, 800.0);
  EXPECT_EQ(pt.y, 600.0);
  EXPECT_TRUE(ZoPtGetVar(L"VIEWCTR", pt));
  EXPECT_EQ(pt.x, 400.0);

  CString layer = L"unset";
  EXPECT_TRUE(ZoPtGetVar(L"CLAYER", layer));
  EXPECT_EQ(layer, L"0");
  int n = 42;
  EXPECT_FALSE(ZoPtGetVar(L"CLAYER", n));  // the host's text copy is still freed (ASan)
  EXPECT_EQ(n, 42);
  EXPECT_FALSE(ZoPtGetVar(L"OSMODE", layer));
  EXPECT_EQ(layer, L"0");
  EXPECT_FALSE(ZoPtGetVar(L"NOSUCHVAR", n));
  EXPECT_FALSE(ZoPtGetVar(nullptr, n));
  EXPECT_EQ(n, 42);
  EXPECT_FALSE(ZoPtGetVar(L"VIEWSIZE", pt));
  EXPECT_EQ(pt.x, 400.0);

  resbuf negative = {};
  negative.restype = RTSHORT;
  negative.resval.rint = -2;
  ASSERT_TRUE(standin::SetSystemVariable(L"DBMOD", negative));
  EXPECT_TRUE(ZoPtGetVar(L"DBMOD", n));
  EXPECT_EQ(n, -2);  // sign-extended
}

TEST_F(Prompt, GetSymReadsTheFirstNodeAndWantsA3DPoint) {
  ZoGePoint pt(-1, -1, -1);
  EXPECT_FALSE(ZoPtGetSym(L"unbound", pt));
  CString text = L"unset";
  EXPECT_FALSE(ZoPtGetSym(L"unbound", text));
  EXPECT_EQ(text, L"unset");

  resbuf* list2 = acutBuildList(RTLB, RTREAL, 1.0, RTREAL, 2.0, RTLE, 0);
  ASSERT_EQ(acedPutSym(L"pt2", list2), RTNORM);
  acutRelRb(list2);
  EXPECT_FALSE(ZoPtGetSym(L"pt2", pt));
  EXPECT_EQ(pt.x, -1.0);
  resbuf* list3 = acutBuildList(RTLB, RTREAL, 1.0, RTREAL, 2.0, RTREAL, 3.0, RTLE, 0);
  ASSERT_EQ(acedPutSym(L"pt3", list3), RTNORM);
  acutRelRb(list3);
  EXPECT_TRUE(ZoPtGetSym(L"pt3", pt));
  EXPECT_EQ(pt.z, 3.0);

  resbuf* values = acutBuildList(RTSTR, L"Wall", RTSHORT, 5, 0);
  ASSERT_EQ(acedPutSym(L"several", values), RTNORM);
  acutRelRb(values);
  EXPECT_TRUE(ZoPtGetSym(L"several", text));  // only the first node counts
  EXPECT_EQ(text, L"Wall");
  int n = 9;
  EXPECT_FALSE(ZoPtGetSym(L"several", n));
  EXPECT_EQ(n, 9);

  resbuf* real = acutBuildList(RTREAL, 2.5, 0);
  ASSERT_EQ(acedPutSym(L"r", real), RTNORM);
  acutRelRb(real);
  double d = 0;
  EXPECT_TRUE(ZoPtGetSym(L"r", d));
  EXPECT_EQ(d, 2.5);
  resbuf* shortValue = acutBuildList(RTSHORT, -3, 0);
  ASSERT_EQ(acedPutSym(L"s", shortValue), RTNORM);
  acutRelRb(shortValue);
  EXPECT_TRUE(ZoPtGetSym(L"s", n));
  EXPECT_EQ(n, -3);
  EXPECT_FALSE(ZoPtGetSym(L"s", d));
  EXPECT_FALSE(ZoPtGetSym(L"not a symbol", d));
  EXPECT_EQ(d, 2.5);
}

TEST_F(Prompt, AskYesNoAnswersAndTheDefault) {
  Session::Get().Queue({InputEvent::Key(InputKind::Enter), InputEvent::Typed(L"n"), InputEvent::Typed(L"N"),
                        InputEvent::Typed(L"y"), InputEvent::Key(InputKind::Esc), InputEvent::Key(InputKind::Enter),
                        InputEvent::Key(InputKind::Enter), InputEvent::Typed(L"maybe"), InputEvent::Typed(L"n")});
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 1), 1);
  EXPECT_EQ(Session::Get().Transcript(), L"\n删除?[是(Y)/否(N)]<Y>: ");
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 1), 0);
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 1), 0);
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 0), 1);
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 1), RTCAN);
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 7), 7);
  Session::Get().ClearTranscript();
  EXPECT_EQ(ZoPtAskYesNo(L"\n删除", 0), 0);
  EXPECT_EQ(Session::Get().Transcript(), L"\n删除?[是(Y)/否(N)]<N>: ");
  EXPECT_EQ(ZoPtAskYesNo(nullptr, 1), 0);  // "maybe" refused, then "n"
  EXPECT_NE(Session::Get().Transcript().find(L"maybe\nInvalid option keyword.\n?[是(Y)/否(N)]<Y>: n"),
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
  EXPECT_EQ(g_strSelKewWord, L"");
  EXPECT_EQ(g_IsInputSelectKeyWord, 0);
  EXPECT_EQ(ZoGetSelectKeyWordInput(kw), 0);
  EXPECT_EQ(kw, L"");
}

TEST_F(Prompt, KeywordsFromThePromptsBracketedOptions) {
  CString kw;
  EXPECT_TRUE(
      GetKeywordsFromPrompt(L"\n点取位置或 [转90度(A)/左右翻(S)/上下翻(D)/对齐(F)/改转角(R)/改基点(T)]<退出>:", kw));
  EXPECT_EQ(kw, L"A S D F R T _ A S D F R T");

  const struct {
    const wchar_t* prompt;
    bool found;
    const wchar_t* keywords;
  } cases[] = {
      {L"\n选择对象:", false, L""},
      {L"[ab]", false, L""},  // "]" fewer than 4 characters after "["
      {L"[(A)]", true, L"A _ A"},
      {L"选择或[(A)]", true, L"A _ A"},
      {L"[()/(B)]", false, L""},     // an empty first pair ends the scan
      {L"[b)(A)/(B)]", false, L""},  // a ")" before the next "(" ends it too
      {L"[(A)/x)(B)]", true, L"A _ A"},
      {L"[(Ab)/(C)", false, L""},  // no "]"
      {L"](A)/(B)[", false, L""},  // "]" before "["
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

// The question's suffixes have English translations in the module's dictionary.
TEST_F(Prompt, EnglishDictionaryTranslatesTheQuestionSuffixes) {
  const auto dictionary =
      ZoDtDictionary::Load(std::string(TOVU_SOURCE_DIR) + "/lang/en/TOVUPLATFORM.tsv", L"TOVUPLATFORM");
  ASSERT_NE(dictionary, nullptr) << "lang/en/TOVUPLATFORM.tsv cannot be read";
  const wchar_t* yes = dictionary->Lookup(L"?[是(Y)/否(N)]<Y>: ");
  const wchar_t* no = dictionary->Lookup(L"?[是(Y)/否(N)]<N>: ");
  ASSERT_NE(yes, nullptr);
  ASSERT_NE(no, nullptr);
  EXPECT_STREQ(yes, L"? [Yes(Y)/No(N)] <Y>: ");
  EXPECT_STREQ(no, L"? [Yes(Y)/No(N)] <N>: ");
}

}  // namespace
