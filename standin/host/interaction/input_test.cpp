#include "standin/host/interaction/input.h"

#include <acedads.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

class HostInput : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override { Session::Get().Reset(); }

  static std::wstring Transcript() { return Session::Get().Transcript(); }
  static int Kword(int flags, const wchar_t* keywords, std::wstring& out) {
    acedInitGet(flags, keywords);
    wchar_t buf[256];
    std::wmemset(buf, L'#', 256);
    const int rc = acedGetKword(L"\nChoose: ", buf);
    out = rc == RTNORM ? buf : L"";
    return rc;
  }
};

TEST_F(HostInput, KeywordsMatchByCapitalsByThemselvesOrByAnUnambiguousPrefix) {
  std::wstring kw;
  Session::Get().QueueText({L"y", L"NO", L"lt", L"lty", L"l", L"x", L"EX", L"e"});
  EXPECT_EQ(Kword(0, L"Yes No", kw), RTNORM);
  EXPECT_EQ(kw, L"Yes");
  EXPECT_EQ(Kword(0, L"Yes No", kw), RTNORM);
  EXPECT_EQ(kw, L"No");
  EXPECT_EQ(Kword(0, L"LType Lineweight", kw), RTNORM);
  EXPECT_EQ(kw, L"LType");
  EXPECT_EQ(Kword(0, L"LType Lineweight", kw), RTNORM);
  EXPECT_EQ(kw, L"LType");
  EXPECT_EQ(Kword(0, L"LType Lineweight", kw), RTNORM);  // "l": the capital of Lineweight
  EXPECT_EQ(kw, L"Lineweight");
  EXPECT_EQ(Kword(0, L"eXit Undo", kw), RTNORM);
  EXPECT_EQ(kw, L"eXit");
  EXPECT_EQ(Kword(0, L"eXit Undo", kw), RTNORM);  // a prefix through the last capital
  EXPECT_EQ(kw, L"eXit");
  // "e" stops short of the capital X: refused, and the input ends in Esc.
  EXPECT_EQ(Kword(0, L"eXit Undo", kw), RTCAN);
  EXPECT_NE(Transcript().find(L"e\nInvalid option keyword.\nChoose:  <no more input>*Cancel*"), std::wstring::npos)
      << Transcript();
}

TEST_F(HostInput, AmbiguousAndInvalidInputIsAskedAgain) {
  std::wstring kw;
  Session::Get().Queue({InputEvent::Typed(L"wi"), InputEvent::Typed(L"wid"), InputEvent::At(InputKind::Point, 1, 2),
                        InputEvent::Typed(L"zz"), InputEvent::At(InputKind::Cursor, 3, 4), InputEvent::Typed(L"widt")});
  EXPECT_EQ(Kword(0, L"width wide", kw), RTNORM);
  EXPECT_EQ(kw, L"width");
  EXPECT_EQ(Transcript(),
            L"\nChoose: wi\nAmbiguous response, please clarify...\nChoose: wid\nAmbiguous response, please "
            L"clarify...\nChoose: \nInvalid option keyword.\nChoose: zz\nInvalid option keyword.\nChoose: widt");
  EXPECT_EQ(Session::Get().PendingInput(), 0u);
}

TEST_F(HostInput, LocalKeywordsReturnTheirGlobalPartners) {
  std::wstring kw;
  Session::Get().QueueText({L"j", L"_No", L"_n", L"nein", L"_j"});
  for (const wchar_t* expected : {L"Yes", L"No", L"No", L"No"}) {
    EXPECT_EQ(Kword(0, L"Ja Nein _ Yes No", kw), RTNORM);
    EXPECT_EQ(kw, expected);
  }
  EXPECT_EQ(Kword(0, L"Ja Nein _ Yes No", kw), RTCAN);  // "_j" names no global keyword
  // An explicit abbreviation.
  Session::Get().QueueText({L"lt"});
  EXPECT_EQ(Kword(0, L"LINETYPE,LT", kw), RTNORM);
  EXPECT_EQ(kw, L"LINETYPE");
}

TEST_F(HostInput, EnterEscAndTheControlBits) {
  std::wstring kw;
  Session::Get().Queue({InputEvent::Key(InputKind::Enter), InputEvent::Typed(L"  "), InputEvent::Key(InputKind::Enter),
                        InputEvent::Typed(L"n"), InputEvent::Key(InputKind::Esc), InputEvent::Typed(L"whatever")});
  EXPECT_EQ(Kword(0, L"Yes No", kw), RTNONE);
  EXPECT_EQ(Kword(0, L"Yes No", kw), RTNONE);           // blank text is Enter
  EXPECT_EQ(Kword(RSG_NONULL, L"Yes No", kw), RTNORM);  // Enter refused, then "n"
  EXPECT_EQ(kw, L"No");
  EXPECT_EQ(Kword(0, L"Yes No", kw), RTCAN);
  EXPECT_NE(Transcript().find(L"Choose: *Cancel*"), std::wstring::npos);
  EXPECT_EQ(Kword(RSG_OTHER, L"Yes No", kw), RTNORM);  // any text
  EXPECT_EQ(kw, L"whatever");
  wchar_t buf[64] = L"same";
  EXPECT_EQ(acedGetInput(buf), RTNORM);
  EXPECT_STREQ(buf, L"whatever");

  // The options were for one call only: without keywords acedGetKword cannot ask.
  Session::Get().QueueText({L"Yes"});
  EXPECT_EQ(acedGetKword(L"\nAgain: ", buf), RTERROR);
  EXPECT_EQ(Session::Get().PendingInput(), 1u);
}

TEST_F(HostInput, ResultsAreCutAt131Characters) {
  const std::wstring longText(300, L'k');
  Session::Get().QueueText({longText.c_str()});
  acedInitGet(RSG_OTHER, nullptr);
  wchar_t buf[200];
  std::wmemset(buf, L'#', 200);
  EXPECT_EQ(acedGetKword(L"", buf), RTNORM);
  EXPECT_EQ(std::wcslen(buf), 131u);
  EXPECT_EQ(buf[132], L'#');
}

TEST_F(HostInput, PointsFromClicksAndTypedCoordinates) {
  ads_point p;
  auto expectPoint = [&](double x, double y, double z) {
    EXPECT_NEAR(p[0], x, 1e-12);
    EXPECT_NEAR(p[1], y, 1e-12);
    EXPECT_NEAR(p[2], z, 1e-12);
  };
  Session::Get().Queue({InputEvent::At(InputKind::Cursor, 9, 9), InputEvent::At(InputKind::Point, 1, 2, 3)});
  ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
  expectPoint(1, 2, 3);
  InputEvent pick = InputEvent::At(InputKind::Pick, 4, 5);
  pick.text = L"27";  // the round table of the sample drawing
  Session::Get().Queue(pick);
  ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
  expectPoint(4, 5, 0);

  Session::Get().QueueText({L"10,20", L"10,20,30", L"@1,1", L"@", L"5<90", L" -1.5e1 , 2 "});
  ASSERT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  expectPoint(10, 20, 0);
  ASSERT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  expectPoint(10, 20, 30);
  const ads_point base = {100, 100, 0};
  ASSERT_EQ(acedGetPoint(base, L"", p), RTNORM);
  expectPoint(101, 101, 0);
  ASSERT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);  // "@" alone: the last point
  expectPoint(101, 101, 0);
  ASSERT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  expectPoint(0, 5, 0);
  ASSERT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  expectPoint(-15, 2, 0);

  resbuf elevation = {};
  elevation.restype = RTREAL;
  elevation.resval.rreal = 7.5;
  ASSERT_EQ(acedSetVar(L"ELEVATION", &elevation), RTNORM);
  Session::Get().QueueText({L"1,1"});
  ASSERT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  expectPoint(1, 1, 7.5);

  resbuf last;
  ASSERT_EQ(acedGetVar(L"LASTPOINT", &last), RTNORM);
  EXPECT_EQ(last.resval.rpoint[2], 7.5);
}

TEST_F(HostInput, PointRefusalsKeywordsAndArbitraryText) {
  ads_point p = {-1, -1, -1};
  Session::Get().Queue({InputEvent::Typed(L"abc"), InputEvent::Typed(L"1,"), InputEvent::Typed(L"inf,1"),
                        InputEvent::Typed(L"0x10,1"), InputEvent::At(InputKind::Window, 0, 0),
                        InputEvent::Key(InputKind::Esc)});
  EXPECT_EQ(acedGetPoint(nullptr, L"\nPick: ", p), RTCAN);
  EXPECT_EQ(p[0], -1.0);  // untouched
  const std::wstring t = Transcript();
  size_t count = 0;
  for (size_t at = t.find(L"Invalid point."); at != std::wstring::npos; at = t.find(L"Invalid point.", at + 1)) ++count;
  EXPECT_EQ(count, 5u) << t;

  Session::Get().ClearTranscript();
  Session::Get().QueueText({L"q", L"a"});
  acedInitGet(0, L"Align Base");
  EXPECT_EQ(acedGetPoint(nullptr, L"\nPick [Align/Base]: ", p), RTKWORD);
  EXPECT_EQ(Transcript(), L"\nPick [Align/Base]: q\nPoint or option keyword required.\nPick [Align/Base]: a");
  wchar_t kw[64];
  ASSERT_EQ(acedGetInput(kw), RTNORM);
  EXPECT_STREQ(kw, L"Align");

  Session::Get().QueueText({L"12.5"});
  acedInitGet(RSG_OTHER, L"A");
  EXPECT_EQ(acedGetPoint(nullptr, L"", p), RTKWORD);
  ASSERT_EQ(acedGetInput(kw), RTNORM);
  EXPECT_STREQ(kw, L"12.5");

  Session::Get().Queue({InputEvent::At(InputKind::Point, 1, 1)});
  EXPECT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  std::wcscpy(kw, L"kept");
  EXPECT_EQ(acedGetInput(kw), RTERROR);  // the last call returned no keyword
  EXPECT_STREQ(kw, L"kept");

  Session::Get().Queue(
      {InputEvent::Key(InputKind::Enter), InputEvent::Key(InputKind::Enter), InputEvent::At(InputKind::Point, 2, 2)});
  EXPECT_EQ(acedGetPoint(nullptr, L"", p), RTNONE);
  acedInitGet(RSG_NONULL, nullptr);
  EXPECT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  EXPECT_EQ(p[0], 2.0);

  Session::Get().ClearTranscript();
  EXPECT_EQ(acedGetPoint(nullptr, L"\nLast: ", p), RTCAN);  // nothing queued: Esc, said so
  EXPECT_EQ(Transcript(), L"\nLast:  <no more input>*Cancel*");
}

}  // namespace
