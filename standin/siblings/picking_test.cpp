// The database module's part in picking: text sent to the command line, the current document's
// pickfirst set, and keywords captured during a pick.
#include <ZoCmdLine.h>
#include <ZoDbReactor.h>
#include <ZoKeywords.h>
#include <acedads.h>
#include <acutads.h>
#include <dbapserv.h>
#include <gtest/gtest.h>

#include <string>

#include "standin/host/core/session.h"
#include "standin/host/interaction/selection.h"
#include "testing/EntityData.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

class FamilyPicking : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override {
    g_bEnableSelectKey = false;
    g_strInitKewords = L"";
    g_strSelKewWord = L"";
    g_IsInputSelectKeyWord = 0;
    EXPECT_EQ(standin::SelectionSetCount(), 0);
    Session::Get().Reset();
  }
  static InputEvent Pick(const wchar_t* handle) {
    InputEvent e = InputEvent::At(InputKind::Pick, 0, 0);
    e.text = handle;
    return e;
  }
};

// A keyword typed during the selection makes the family end it by sending a space.
resbuf* EndSelection(const ACHAR*) {
  ZoSendCmdString(L" ");
  return nullptr;
}

TEST_F(FamilyPicking, TextSentToTheCommandLineComesBeforeTheUsersInput) {
  Session& s = Session::Get();
  resbuf* (*old)(const ACHAR*) = nullptr;
  acedSSGetKwordCallbackPtr(&old);
  acedSSSetKwordCallbackPtr(EndSelection);
  s.Queue({Pick(L"27"), InputEvent::Typed(L"End"), Pick(L"26")});
  const ACHAR* prompts[2] = {L"\nSelect [End]: ", L""};
  ads_name ss;
  ASSERT_EQ(acedSSGet(L":$:K", prompts, L"End", nullptr, ss), RTNORM);
  acedSSSetKwordCallbackPtr(old);
  long n = 0;
  ASSERT_EQ(acedSSLength(ss, &n), RTNORM);
  EXPECT_EQ(n, 1);
  acedSSFree(ss);
  EXPECT_EQ(s.PendingInput(), 1u);  // the user's next pick is still to come

  // Entries in order, each ended by a blank; the last one without a blank too.
  ads_point p;
  ZoSendCmdString(L"10,20\r\n@5,0");
  ASSERT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  EXPECT_EQ(p[0], 10);
  ASSERT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  EXPECT_EQ(p[0], 15);
  ZoSendCmdString(nullptr);
  ZoSendCmdString(L"  ");
  EXPECT_EQ(acedGetPoint(nullptr, L"", p), RTNONE);
  EXPECT_EQ(acedGetPoint(nullptr, L"", p), RTNONE);
  EXPECT_EQ(s.PendingInput(), 1u);
}

TEST_F(FamilyPicking, TheCurrentDocumentsReactorHandsOutThePickfirstSet) {
  ZoDbReactorAndData* reactor = ZoReactors::GetCurDocReactor();
  ASSERT_NE(reactor, nullptr);
  EXPECT_EQ(reactor, ZoReactors::GetCurDocReactor());
  EXPECT_EQ(reactor->m_pDocument, acdbHostApplicationServices()->workingDatabase());
  ads_name ss = {-1, -1};
  EXPECT_FALSE(reactor->GetPickFirstSet(ss));
  EXPECT_EQ(ss[0], -1);
  EXPECT_EQ(standin::SelectionSetCount(), 0);

  ads_name set;
  ASSERT_EQ(acedSSAdd(tovutest::ByHandle(L"27"), nullptr, set), RTNORM);
  ASSERT_EQ(acedSSAdd(tovutest::ByHandle(L"26"), set, set), RTNORM);
  ASSERT_EQ(acedSSSetFirst(set, nullptr), RTNORM);
  ASSERT_EQ(acedSSFree(set), RTNORM);
  ASSERT_TRUE(reactor->GetPickFirstSet(ss));
  long n = 0;
  ASSERT_EQ(acedSSLength(ss, &n), RTNORM);
  EXPECT_EQ(n, 2);
  ASSERT_TRUE(reactor->GetPickFirstSet(ss));  // the earlier set is freed
  EXPECT_EQ(standin::SelectionSetCount(), 1);
  reactor->FreeFirstPickSet();
  reactor->FreeFirstPickSet();
  EXPECT_EQ(standin::SelectionSetCount(), 0);
  EXPECT_EQ(acedSSLength(ss, &n), RTERROR);
}

TEST_F(FamilyPicking, KeywordsTypedDuringAPickAreCapturedWhileEnabled) {
  Session& s = Session::Get();
  ads_point p;
  ads_name ent;
  auto arm = [] {
    g_strInitKewords = L"Align Base";
    acedInitGet(0, L"Align Base");
  };
  // Captured: the pick is cancelled and the keyword waits for the module.
  g_bEnableSelectKey = true;
  s.QueueText({L"b", L"al"});
  arm();
  EXPECT_EQ(acedGetPoint(nullptr, L"\nPick: ", p), RTCAN);
  EXPECT_EQ(std::wstring(g_strSelKewWord.GetString()), L"Base");
  EXPECT_EQ(g_IsInputSelectKeyWord, 1);
  EXPECT_EQ(s.Transcript(), L"\nPick: *Cancel*");
  g_IsInputSelectKeyWord = 0;
  arm();
  EXPECT_EQ(acedEntSel(nullptr, ent, p), RTCAN);
  EXPECT_EQ(std::wstring(g_strSelKewWord.GetString()), L"Align");
  EXPECT_EQ(g_IsInputSelectKeyWord, 1);
  g_IsInputSelectKeyWord = 0;
  s.QueueText({L"zz", L"a"});
  arm();
  ads_name ss;
  EXPECT_EQ(acedSSGet(L"_:S", nullptr, nullptr, nullptr, ss), RTCAN);  // "zz" is no keyword: refused first
  EXPECT_NE(s.Transcript().find(L"*Invalid selection*"), std::wstring::npos);
  EXPECT_EQ(g_IsInputSelectKeyWord, 1);
  EXPECT_EQ(s.PendingInput(), 0u);

  // Switched off, the host answers the keyword itself.
  g_bEnableSelectKey = false;
  g_IsInputSelectKeyWord = 0;
  s.QueueText({L"b"});
  arm();
  EXPECT_EQ(acedGetPoint(nullptr, L"", p), RTKWORD);
  EXPECT_EQ(g_IsInputSelectKeyWord, 0);
}

}  // namespace
