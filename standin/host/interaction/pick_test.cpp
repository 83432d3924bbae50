// The user's single picks against the sample drawing: acedEntSel, clicks taken by running object
// snaps, message filters on typed input, input sent to the front of the queue, and groups picked
// as a unit.
#include <aced.h>
#include <acedads.h>
#include <dbapserv.h>
#include <dbdict.h>
#include <dbgroup.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/selection.h"
#include "testing/EntityData.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;
using tovutest::ByHandle;

class HostPick : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override {
    EXPECT_EQ(standin::SelectionSetCount(), 0);
    Session::Get().Reset();
  }

  static InputEvent Pick(const wchar_t* handle, double x = 0, double y = 0) {
    InputEvent e = InputEvent::At(InputKind::Pick, x, y);
    e.text = handle;
    return e;
  }
  // acedEntSel's status, with the handle picked and the point in picked and at.
  static int EntSel(std::wstring& picked, ads_point at, const wchar_t* prompt = L"\nPick: ") {
    ads_name ent = {-1, -1};
    const int rc = acedEntSel(prompt, ent, at);
    picked = rc == RTNORM ? standin::HandleOf(ent) : L"";
    return rc;
  }
  static int Errno() { return standin::SysVarInt(L"ERRNO", -1); }
};

TEST_F(HostPick, EntSelTakesTheTopmostEntityAndTellsMissFromEnter) {
  Session& s = Session::Get();
  std::wstring got;
  ads_point at;
  // At 200,100 the door's leaf lies over a wall: the door, newer, is on top. The point is where
  // the click was, untouched by the running snaps (an endpoint lies there).
  s.Queue({InputEvent::At(InputKind::Cursor, 0, 0), InputEvent::At(InputKind::Point, 201, 102)});
  ASSERT_EQ(EntSel(got, at, nullptr), RTNORM);
  EXPECT_EQ(got, L"1C");
  EXPECT_EQ(at[0], 201);
  EXPECT_EQ(at[1], 102);
  // An attribute's pick names its block reference; typed coordinates pick there (the table's top).
  s.Queue({Pick(L"1D", 5, 6), InputEvent::Typed(L"250,440")});
  ASSERT_EQ(EntSel(got, at), RTNORM);
  EXPECT_EQ(got, L"1C");
  EXPECT_EQ(at[0], 5);
  ASSERT_EQ(EntSel(got, at), RTNORM);
  EXPECT_EQ(got, L"27");
  EXPECT_EQ(s.Transcript(), L"\nSelect object: \nPick: \nPick: 250,440");

  // A miss and Enter both fail, told apart by ERRNO; Esc cancels.
  s.Queue({InputEvent::At(InputKind::Point, 50, 50), InputEvent::Key(InputKind::Enter), InputEvent::Typed(L" "),
           InputEvent::At(InputKind::Point, 50, 50), InputEvent::Key(InputKind::Esc)});
  EXPECT_EQ(EntSel(got, at), RTERROR);
  EXPECT_EQ(Errno(), 7);
  EXPECT_EQ(EntSel(got, at), RTERROR);
  EXPECT_EQ(Errno(), 52);
  EXPECT_EQ(EntSel(got, at), RTERROR);  // a blank typed is Enter
  EXPECT_EQ(Errno(), 52);
  EXPECT_EQ(EntSel(got, at), RTERROR);
  EXPECT_EQ(Errno(), 7);
  EXPECT_EQ(EntSel(got, at), RTCAN);
  EXPECT_EQ(acedEntSel(L"", nullptr, at), RTERROR);

  // Keywords armed by acedInitGet; other text and windows are refused and asked again.
  s.ClearTranscript();
  InputEvent window = InputEvent::At(InputKind::Window, 0, 0);
  window.corner[0] = window.corner[1] = 800;
  s.Queue({InputEvent::Typed(L"zz"), window, InputEvent::Typed(L"u")});
  acedInitGet(0, L"Undo eXit");
  EXPECT_EQ(EntSel(got, at), RTKWORD);
  wchar_t kw[32];
  ASSERT_EQ(acedGetInput(kw), RTNORM);
  EXPECT_STREQ(kw, L"Undo");
  EXPECT_EQ(s.Transcript(),
            L"\nPick: zz\nPoint or option keyword required.\nPick: \nPoint or option keyword required.\nPick: u");
  // Keywords last one call: the next "u" is no keyword.
  s.QueueText({L"u"});
  EXPECT_EQ(EntSel(got, at), RTCAN);
  EXPECT_NE(s.Transcript().find(L"u\nInvalid point."), std::wstring::npos);
}

TEST_F(HostPick, ClicksSnapToWhatTheApertureFinds) {
  Session& s = Session::Get();
  ads_point p;
  auto click = [&](double x, double y, int flags = 0) {
    s.Queue(InputEvent::At(InputKind::Point, x, y));
    acedInitGet(flags, nullptr);
    EXPECT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
    return std::vector<double>{p[0], p[1]};
  };
  using P = std::vector<double>;
  // The host's default running snaps (endpoint, centre ...): a wall's corner within the aperture
  // (ten pixels, ten units here), the table's centre from its outline.
  EXPECT_EQ(click(106, 104), (P{100, 100}));
  resbuf last;
  ASSERT_EQ(acedGetVar(L"LASTPOINT", &last), RTNORM);
  EXPECT_EQ(last.resval.rpoint[0], 100);
  EXPECT_EQ(click(250, 437), (P{250, 400}));
  EXPECT_EQ(click(300, 300), (P{300, 300}));  // nothing under the aperture
  EXPECT_EQ(click(106, 104, RSG_NOOSNAP), (P{106, 104}));
  standin::SetSysVarInt(L"OSMODE", 16384 | 1);
  EXPECT_EQ(click(106, 104), (P{106, 104}));

  // Nearest takes the closest point of the outline; an endpoint in the aperture beats it, and the
  // nearest of two endpoints wins; a midpoint likewise.
  standin::SetSysVarInt(L"OSMODE", 512);
  EXPECT_EQ(click(300, 104), (P{300, 100}));
  EXPECT_EQ(click(106, 104), (P{106, 100}));
  standin::SetSysVarInt(L"OSMODE", 512 | 1);
  EXPECT_EQ(click(106, 104), (P{100, 100}));
  EXPECT_EQ(click(300, 104), (P{300, 100}));  // the corner at 280,100 lies beyond the aperture
  standin::SetSysVarInt(L"OSMODE", 2);
  EXPECT_EQ(click(404, 185), (P{400, 180}));
  // An arc: nearest lies on the circle.
  standin::SetSysVarInt(L"OSMODE", 512);
  const P onCircle = click(250, 445);
  EXPECT_NEAR(onCircle[0], 250, 1e-9);
  EXPECT_NEAR(onCircle[1], 440, 1e-9);

  // A smaller aperture misses what the default one finds; typed points are never snapped.
  standin::SetSysVarInt(L"OSMODE", 1);
  standin::SetSysVarInt(L"APERTURE", 3);
  EXPECT_EQ(click(106, 104), (P{106, 104}));
  s.QueueText({L"101,101"});
  standin::SetSysVarInt(L"APERTURE", 10);
  ASSERT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  EXPECT_EQ(p[0], 101);
}

std::vector<std::wstring> g_seen;
// Drops every 'x' typed, and a line "drop" whole.
bool DropX(MSG* msg) {
  const auto c = static_cast<wchar_t>(msg->wParam);
  if (c != L'\r') g_seen.push_back(std::wstring(1, c));
  return msg->message == WM_CHAR && c == L'x';
}
std::wstring g_line;
bool DropLine(MSG* msg) {
  const auto c = static_cast<wchar_t>(msg->wParam);
  if (c != L'\r') {
    g_line += c;
    return false;
  }
  const bool drop = g_line == L"drop";
  g_line.clear();
  return drop;
}

TEST_F(HostPick, MessageFiltersSeeTypedInputAndProgramsTypeFirst) {
  g_seen.clear();
  ASSERT_TRUE(acedRegisterFilterWinMsg(DropX));
  EXPECT_FALSE(acedRegisterFilterWinMsg(DropX));
  ASSERT_TRUE(acedRegisterFilterWinMsg(DropLine));
  Session& s = Session::Get();
  s.QueueText({L"drop", L"axbx", L"ab"});
  s.QueueFront(InputEvent::Typed(L"first"));
  acedInitGet(RSG_OTHER, L"A");
  wchar_t kw[32];
  ASSERT_EQ(acedGetKword(L"\nText: ", kw), RTNORM);
  EXPECT_STREQ(kw, L"first");
  acedInitGet(RSG_OTHER, L"A");
  ASSERT_EQ(acedGetKword(L"\nText: ", kw), RTNORM);
  EXPECT_STREQ(kw, L"ab");  // "drop" dropped whole, the x's taken out, what is left echoed
  EXPECT_EQ(s.Transcript(), L"\nText: first\nText: ab");
  EXPECT_EQ(g_seen.size(), 13u);
  EXPECT_TRUE(acedRemoveFilterWinMsg(DropX));
  EXPECT_FALSE(acedRemoveFilterWinMsg(DropX));
  EXPECT_TRUE(acedRemoveFilterWinMsg(DropLine));
  s.QueueText({L"x"});
  for (const wchar_t* expected : {L"ab", L"x"}) {
    acedInitGet(RSG_OTHER, L"A");
    ASSERT_EQ(acedGetKword(L"", kw), RTNORM);
    EXPECT_STREQ(kw, expected);
  }
}

TEST_F(HostPick, PicksTakeASelectableGroupWhole) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbDictionary* dict = nullptr;
  ASSERT_EQ(db->getGroupDictionary(dict, AcDb::kForWrite), Acad::eOk);
  auto* furniture = new AcDbGroup(L"furniture");
  auto* fixed = new AcDbGroup(L"fixed", false);
  AcDbObjectId id;
  ASSERT_EQ(dict->setAt(L"FURNITURE", furniture, id), Acad::eOk);
  ASSERT_EQ(dict->setAt(L"FIXED", fixed, id), Acad::eOk);
  dict->close();
  auto idOf = [](const wchar_t* handle) {
    AcDbObjectId oid;
    oid.setFromOldId(ByHandle(handle)[0]);
    return oid;
  };
  ASSERT_EQ(furniture->append(idOf(L"26")), Acad::eOk);
  ASSERT_EQ(furniture->append(idOf(L"24")), Acad::eOk);
  ASSERT_EQ(fixed->append(idOf(L"27")), Acad::eOk);
  ASSERT_EQ(fixed->append(idOf(L"25")), Acad::eOk);
  furniture->close();
  fixed->close();

  Session& s = Session::Get();
  auto single = [&](InputEvent e) {
    s.Queue(e);
    ads_name ss;
    std::vector<std::wstring> out;
    if (acedSSGet(L"_:S", nullptr, nullptr, nullptr, ss) != RTNORM) return out;
    long n = 0;
    acedSSLength(ss, &n);
    for (long i = 0; i < n; ++i) {
      ads_name e2;
      acedSSName(ss, i, e2);
      out.push_back(standin::HandleOf(e2));
    }
    acedSSFree(ss);
    return out;
  };
  using H = std::vector<std::wstring>;
  EXPECT_EQ(single(Pick(L"26")), (H{L"26", L"24"}));
  EXPECT_EQ(single(InputEvent::At(InputKind::Point, 560, 381)), (H{L"26", L"24"}));  // a click on the bed
  EXPECT_EQ(single(Pick(L"27")), H{L"27"});                                          // a group that is not selectable
  InputEvent window = InputEvent::At(InputKind::Window, 470, 370);
  window.corner[0] = 660, window.corner[1] = 450;
  EXPECT_EQ(single(window), H{L"26"});
  // acedEntSel gives the entity picked.
  std::wstring got;
  ads_point at;
  s.Queue(Pick(L"26"));
  ASSERT_EQ(EntSel(got, at), RTNORM);
  EXPECT_EQ(got, L"26");
  standin::SetSysVarInt(L"PICKSTYLE", 2);
  EXPECT_EQ(single(Pick(L"26")), H{L"26"});
  standin::SetSysVarInt(L"PICKSTYLE", 3);
  EXPECT_EQ(single(Pick(L"24")), (H{L"24", L"26"}));
}

}  // namespace
