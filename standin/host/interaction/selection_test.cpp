// Conformance of the host's selection: filters against the sample drawing's real data, the
// graphical modes, the scripted user's picks, the set calls and their refusals, the pickfirst
// set, and acedXformSS.
#include "standin/host/interaction/selection.h"

#include <accmd.h>
#include <acedads.h>
#include <acutads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbsymtb.h>
#include <gtest/gtest.h>
#include <rxdlinkr.h>
#include <rxregsvc.h>

#include <array>
#include <cmath>

#include "standin/host/commands/command_line.h"
#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/display.h"
#include "testing/EntityData.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;
using tovutest::ByHandle;
using tovutest::EntityData;
using tovutest::Find;

class SelectionTest : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override {
    EXPECT_EQ(standin::SelectionSetCount(), 0) << "a test left selection sets behind";
    EXPECT_EQ(standin::OpenObjectCount(), 0);
    acedRegCmds->removeGroup(L"SELTEST");
    Session::Get().Reset();
  }
};

// The handles of a set, in its order; the set is freed.
std::vector<std::wstring> Take(ads_name ss) {
  std::vector<std::wstring> out;
  long n = -1;
  EXPECT_EQ(acedSSLength(ss, &n), RTNORM);
  for (long i = 0; i < n; ++i) {
    ads_name e;
    EXPECT_EQ(acedSSName(ss, i, e), RTNORM);
    out.push_back(standin::HandleOf(e));
  }
  EXPECT_EQ(acedSSFree(ss), RTNORM);
  return out;
}

// Selects with the mode and filter; the handles found, or nothing when the host refused.
std::vector<std::wstring> Select(const wchar_t* mode, resbuf* filter = nullptr, const void* p1 = nullptr,
                                 const void* p2 = nullptr, int* rc = nullptr) {
  ads_name ss = {-7, -7};
  const int status = acedSSGet(mode, p1, p2, filter, ss);
  if (filter) acutRelRb(filter);
  if (rc) *rc = status;
  if (status != RTNORM) {
    EXPECT_EQ(ss[0], -7) << "a refused selection wrote the name";
    return {};
  }
  return Take(ss);
}

size_t Count(const wchar_t* mode, resbuf* filter, const void* p1 = nullptr, const void* p2 = nullptr) {
  return Select(mode, filter, p1, p2).size();
}

const std::vector<std::wstring> kAll = {L"27", L"26", L"25", L"24", L"20", L"1C", L"16",
                                        L"15", L"14", L"13", L"12", L"11", L"10"};

TEST_F(SelectionTest, FiltersAreTheHostsConjunctionOfTests) {
  EXPECT_EQ(Select(L"X"), kAll);  // the whole drawing, newest first
  EXPECT_EQ(Count(L"_X", acutBuildList(RTDXF0, L"LINE", 0)), 7u);
  EXPECT_EQ(Count(L"X", acutBuildList(RTDXF0, L"line,Circle", 0)), 8u);  // alternatives, any case
  EXPECT_EQ(Count(L"X", acutBuildList(8, L"W*", 0)), 7u);
  // Two tests of one group code: both must hold.
  EXPECT_EQ(Count(L"X", acutBuildList(8, L"W*", 8, L"*L", 0)), 7u);
  int rc = 0;
  EXPECT_TRUE(Select(L"X", acutBuildList(8, L"W*", 8, L"D*", 0), nullptr, nullptr, &rc).empty());
  EXPECT_EQ(rc, RTERROR);
  EXPECT_EQ(Select(L"X", acutBuildList(RTDXF0, L"INSERT", 2, L"door", 0)), (std::vector<std::wstring>{L"20", L"1C"}));
  EXPECT_EQ(Select(L"X", acutBuildList(1, L"*room", 0)), (std::vector<std::wstring>{L"25", L"24"}));
  // Omitted groups have the host's defaults.
  EXPECT_EQ(Count(L"X", acutBuildList(62, 256, 6, L"BYLAYER", 67, 0, 0)), 13u);
  // Relational and logical groups.
  EXPECT_EQ(Select(L"X", acutBuildList(-4, L"<OR", RTDXF0, L"CIRCLE", RTDXF0, L"LWPOLYLINE", -4, L"OR>", 0)),
            (std::vector<std::wstring>{L"27", L"26"}));
  EXPECT_EQ(Select(L"X", acutBuildList(-4, L">", 40, 30.0, 0)), std::vector<std::wstring>{L"27"});
  EXPECT_EQ(Count(L"X", acutBuildList(-4, L"<NOT", RTDXF0, L"LINE", -4, L"NOT>", 0)), 6u);
  const double p[3] = {600, 0, 0};
  resbuf* beyond = acutBuildList(-4, L">,*,*", 10, p, 0);
  EXPECT_EQ(Select(L"X", beyond), (std::vector<std::wstring>{L"26", L"13", L"12"}));
  EXPECT_EQ(Select(L"X", acutBuildList(-4, L"&", 70, 1, 0)), std::vector<std::wstring>{L"26"});
  EXPECT_EQ(Count(L"X", acutBuildList(-4, L"<XOR", 8, L"WALL", RTDXF0, L"LINE", -4, L"XOR>", 0)), 0u);
  // Names, handles and extended data are not filtered on; -3 asks for extended data none has.
  EXPECT_EQ(Count(L"X", acutBuildList(5, L"nope", 0)), 13u);
  EXPECT_EQ(Count(L"X", acutBuildList(-3, 0)), 0u);
  // Malformed lists are refused.
  for (resbuf* bad : {acutBuildList(-4, L"<OR", RTDXF0, L"LINE", 0), acutBuildList(-4, L"OR>", 0),
                      acutBuildList(-4, L"<XOR", RTDXF0, L"LINE", -4, L"XOR>", 0), acutBuildList(-4, L"~", 8, L"0", 0),
                      acutBuildList(-4, L"=", 0)}) {
    Select(L"X", bad, nullptr, nullptr, &rc);
    EXPECT_EQ(rc, RTERROR);
  }
}

TEST_F(SelectionTest, WindowsPolygonsAndPointsSeeWhatTheScreenShows) {
  const double a[3] = {90, 90, 0}, b[3] = {410, 510, 0};
  EXPECT_EQ(Select(L"W", nullptr, a, b),
            (std::vector<std::wstring>{L"27", L"24", L"20", L"1C", L"16", L"15", L"14", L"10"}));
  EXPECT_EQ(Select(L"C", nullptr, b, a),
            (std::vector<std::wstring>{L"27", L"24", L"20", L"1C", L"16", L"15", L"14", L"13", L"11", L"10"}));
  EXPECT_EQ(Count(L"C:L", nullptr, a, b), 4u);  // the walls are on a locked layer
  int rc = 0;
  Select(L"W", nullptr, a, nullptr, &rc);
  EXPECT_EQ(rc, RTERROR);

  // A polygon around the bedroom furniture; polygons that are no polygons are refused.
  resbuf* poly = acutBuildList(
      RTPOINT, std::array<double, 3>{470, 370, 0}.data(), RTPOINT, std::array<double, 3>{660, 370, 0}.data(), RTPOINT,
      std::array<double, 3>{660, 450, 0}.data(), RT3DPOINT, std::array<double, 3>{470, 450, 0}.data(), 0);
  EXPECT_EQ(Select(L"WP", nullptr, poly), std::vector<std::wstring>{L"26"});
  EXPECT_EQ(Select(L"CP", nullptr, poly), std::vector<std::wstring>{L"26"});
  acutRelRb(poly);
  resbuf* bowtie = acutBuildList(
      RTPOINT, std::array<double, 3>{0, 0, 0}.data(), RTPOINT, std::array<double, 3>{10, 10, 0}.data(), RTPOINT,
      std::array<double, 3>{10, 0, 0}.data(), RTPOINT, std::array<double, 3>{0, 10, 0}.data(), 0);
  resbuf* two = acutBuildList(RTPOINT, a, RTPOINT, b, 0);
  for (resbuf* bad : {bowtie, two}) {
    Select(L"CP", nullptr, bad, nullptr, &rc);
    EXPECT_EQ(rc, RTERROR);
    acutRelRb(bad);
  }

  // At 200,100 the first door's leaf meets a wall: one pick takes the topmost, ":E" both.
  const double corner[3] = {200, 100, 0};
  EXPECT_EQ(Select(nullptr, nullptr, corner), std::vector<std::wstring>{L"1C"});
  EXPECT_EQ(Select(L":E", nullptr, corner), (std::vector<std::wstring>{L"1C", L"10"}));
  EXPECT_EQ(Select(L":E", acutBuildList(RTDXF0, L"LINE", 0), corner), std::vector<std::wstring>{L"10"});

  // A layer switched off, and an entity taken off the screen, cannot be selected in a window;
  // "X" still finds them.
  AcDbLayerTable* layers = nullptr;
  AcDbLayerTableRecord* furniture = nullptr;
  ASSERT_EQ(acdbHostApplicationServices()->workingDatabase()->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(layers->getAt(L"FURNITURE", furniture, AcDb::kForWrite), Acad::eOk);
  layers->close();
  furniture->setIsOff(true);
  furniture->close();
  ASSERT_EQ(acedRedraw(ByHandle(L"24"), 2), RTNORM);
  EXPECT_EQ(Select(L"W", nullptr, a, b), (std::vector<std::wstring>{L"20", L"1C", L"16", L"15", L"14", L"10"}));
  EXPECT_EQ(Count(L"X", nullptr), 13u);

  // On a layout with paper space current, only paper-space entities are seen.
  const double sheet[3] = {10, 10, 0};
  standin::AddEntity(acdbHostApplicationServices()->workingDatabase(), new AcDbPoint(AcGePoint3d(10, 10, 0)), nullptr,
                     true);
  resbuf v{};
  v.restype = RTSHORT;
  v.resval.rint = 0;
  ASSERT_EQ(acedSetVar(L"TILEMODE", &v), RTNORM);
  v.resval.rint = 1;
  ASSERT_EQ(acedSetVar(L"CVPORT", &v), RTNORM);
  EXPECT_EQ(Select(L"C", nullptr, a, b).size(), 0u);
  EXPECT_EQ(Select(nullptr, nullptr, sheet), std::vector<std::wstring>{L"28"});
}

TEST_F(SelectionTest, TheUsersPicksAndWindowsAsTheHostTakesThem) {
  Session& s = Session::Get();
  auto pick = [](const wchar_t* handle) {
    InputEvent e = InputEvent::At(InputKind::Pick, 0, 0);
    e.text = handle;
    return e;
  };
  InputEvent window = InputEvent::At(InputKind::Window, 90, 90);
  window.corner[0] = 410, window.corner[1] = 510;
  s.Queue({pick(L"27"), pick(L"27"), window, InputEvent::At(InputKind::Point, 690, 490),
           InputEvent::At(InputKind::Cursor, 0, 0), InputEvent::At(InputKind::Point, 600, 420),
           InputEvent::Typed(L"bogus"), InputEvent::Typed(L"R"), pick(L"10"), InputEvent::Key(InputKind::Enter)});
  ads_name ss;
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  const auto got = Take(ss);
  EXPECT_EQ(got.size(), 8u);  // the window's eight and the bed, less the wall removed
  EXPECT_EQ(got.front(), L"27");
  EXPECT_EQ(std::count(got.begin(), got.end(), L"10"), 0);
  EXPECT_EQ(std::count(got.begin(), got.end(), L"26"), 1);
  EXPECT_EQ(s.Transcript(),
            L"\nSelect objects: 1 found"
            L"\nSelect objects: 1 found (1 duplicate), 1 total"
            L"\nSelect objects: 8 found (1 duplicate), 8 total"
            L"\nSelect objects: Specify opposite corner: 1 found, 9 total"
            L"\nSelect objects: \n*Invalid selection*\nExpects a point or\n"
            L"Window/Last/Crossing/BOX/ALL/Fence/WPolygon/CPolygon/Group/Add/Remove/Multiple/Previous/Undo/AUto/"
            L"SIngle/SUbobject/Object"
            L"\nSelect objects: \nRemove objects: 1 found, 1 removed, 8 total"
            L"\nRemove objects: ");

  // Esc cancels and writes nothing; Enter with nothing selected gives RTERROR.
  s.ClearTranscript();
  s.Queue({pick(L"27"), InputEvent::Key(InputKind::Esc)});
  ads_name untouched = {-7, -7};
  EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, untouched), RTCAN);
  EXPECT_EQ(untouched[0], -7);
  EXPECT_EQ(s.Transcript(), L"\nSelect objects: 1 found\nSelect objects: *Cancel*");
  s.Queue(InputEvent::Key(InputKind::Enter));
  EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, untouched), RTERROR);
  // The end of the script acts as Esc.
  EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, untouched), RTCAN);

  // A filter drops what it refuses; ":S" ends with the first selection that takes something;
  // the host's prompts give way to the caller's with ":$".
  s.ClearTranscript();
  s.Queue({pick(L"10"), pick(L"27"), pick(L"26")});
  const ACHAR* prompts[2] = {L"\nPick a table: ", L"\nDrop: "};
  resbuf* circles = acutBuildList(RTDXF0, L"CIRCLE", 0);
  ASSERT_EQ(acedSSGet(L":S:$", prompts, nullptr, circles, ss), RTNORM);
  acutRelRb(circles);
  EXPECT_EQ(Take(ss), std::vector<std::wstring>{L"27"});
  EXPECT_EQ(s.Transcript(), L"\nPick a table: 0 found\nPick a table: 1 found");
  EXPECT_EQ(s.PendingInput(), 1u);

  // Typed options: a window by two typed points (the second relative to the first), Last, Undo.
  s.Queue({InputEvent::Typed(L"w"), InputEvent::Typed(L"450,350"), InputEvent::Typed(L"@210,110"),
           InputEvent::Typed(L"L"), InputEvent::Typed(L"u"), InputEvent::Key(InputKind::Enter)});
  s.TryNextInput();
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), std::vector<std::wstring>{L"26"});
}

std::vector<std::wstring> g_callbackGot;
resbuf* KeywordCallback(const ACHAR* keyword) {
  g_callbackGot.push_back(keyword);
  if (std::wstring(keyword) == L"Alpha") return acutBuildList(RTSTR, L"<alpha>", 0);
  ads_name last;
  acdbEntLast(last);
  resbuf* rb = acutNewRb(RTENAME);
  rb->resval.rlname[0] = last[0];
  rb->resval.rlname[1] = last[1];
  return rb;
}

TEST_F(SelectionTest, KeywordsTypedDuringSelectionReachTheCallback) {
  g_callbackGot.clear();
  resbuf* (*old)(const ACHAR*) = nullptr;
  ASSERT_EQ(acedSSSetKwordCallbackPtr(KeywordCallback), RTNORM);
  ASSERT_EQ(acedSSGetKwordCallbackPtr(&old), RTNORM);
  EXPECT_EQ(old, &KeywordCallback);
  Session& s = Session::Get();
  s.QueueText({L"a", L"BE", L"Gamma", L" "});
  const ACHAR* prompts[2] = {L"\nSelect [Alpha/BEta]: ", L""};
  ads_name ss;
  ASSERT_EQ(acedSSGet(L":$:K", prompts, L"Alpha BEta _ Alpha Beta", nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), std::vector<std::wstring>{L"27"});
  EXPECT_EQ(g_callbackGot, (std::vector<std::wstring>{L"Alpha", L"Beta"}));
  EXPECT_NE(s.Transcript().find(L"<alpha>"), std::wstring::npos);
  EXPECT_NE(s.Transcript().find(L"*Invalid selection*"), std::wstring::npos);  // Gamma is no keyword

  // Without ":K" a keyword is only text the selection does not know.
  s.ClearTranscript();
  s.QueueText({L"a", L""});
  EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTERROR);
  EXPECT_EQ(g_callbackGot.size(), 2u);
}

TEST_F(SelectionTest, SetCallsAndTheirRefusals) {
  const auto line = ByHandle(L"10");
  const auto circle = ByHandle(L"27");
  ads_name set, other, result;
  ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
  long n = -1;
  ASSERT_EQ(acedSSLength(set, &n), RTNORM);
  EXPECT_EQ(n, 0);
  ASSERT_EQ(acedSSAdd(line, set, result), RTNORM);
  EXPECT_EQ(result[0], set[0]);
  ASSERT_EQ(acedSSAdd(line, set, set), RTNORM);  // once only
  ASSERT_EQ(acedSSAdd(circle, set, set), RTNORM);
  ASSERT_EQ(acedSSAdd(ByHandle(L"26"), set, set), RTNORM);
  ASSERT_EQ(acedSSAdd(ByHandle(L"25"), set, set), RTNORM);
  ASSERT_EQ(acedSSLength(set, &n), RTNORM);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(acedSSMemb(circle, set), RTNORM);
  ads_name e;
  EXPECT_EQ(acedSSName(set, 4, e), RTERROR);
  EXPECT_EQ(acedSSName(set, -1, e), RTERROR);
  ASSERT_EQ(acedSSName(set, 1, e), RTNORM);
  EXPECT_EQ(standin::HandleOf(e), L"27");
  EXPECT_EQ(acedSSDel(circle, set), RTNORM);
  ASSERT_EQ(acedSSName(set, 1, e), RTNORM);  // the others keep their order
  EXPECT_EQ(standin::HandleOf(e), L"26");
  ASSERT_EQ(acedSSName(set, 2, e), RTNORM);
  EXPECT_EQ(standin::HandleOf(e), L"25");
  EXPECT_EQ(acedSSDel(circle, set), RTERROR);
  EXPECT_EQ(acedSSMemb(circle, set), RTERROR);
  ASSERT_EQ(acedSSAdd(circle, nullptr, other), RTNORM);
  EXPECT_NE(other[0], set[0]);
  EXPECT_EQ(acedSSLength(line, &n), RTERROR);       // an entity name is no set
  EXPECT_EQ(acedSSAdd(set, set, result), RTERROR);  // nor is a set an entity
  ASSERT_EQ(acedSSFree(other), RTNORM);
  EXPECT_EQ(acedSSFree(other), RTERROR);  // freed twice
  EXPECT_EQ(acedSSLength(other, &n), RTERROR);
  EXPECT_EQ(acedSSAdd(line, other, result), RTERROR);

  // An erased entity cannot join a set; one already in it stays.
  ASSERT_EQ(acedSSAdd(circle, set, set), RTNORM);
  ASSERT_EQ(acdbEntDel(circle), RTNORM);
  EXPECT_EQ(acedSSAdd(circle, nullptr, result), RTERROR);
  EXPECT_EQ(acedSSMemb(circle, set), RTNORM);
  ASSERT_EQ(acedSSFree(set), RTNORM);

  // The host holds at most 128 sets.
  std::vector<std::array<long long, 2>> held;
  ads_name s;
  while (acedSSAdd(nullptr, nullptr, s) == RTNORM) held.push_back({s[0], s[1]});
  EXPECT_EQ(held.size(), 128u);
  EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, s), RTERROR);
  for (auto& h : held) EXPECT_EQ(acedSSFree(h.data()), RTNORM);

  // A closed drawing takes its sets with it.
  ASSERT_EQ(acedSSAdd(line, nullptr, set), RTNORM);
  standin::OpenEmptyDrawing();
  EXPECT_EQ(acedSSFree(set), RTERROR);
}

void SetsPickfirst() {
  ads_name ss;
  if (acedSSGet(L"X", nullptr, nullptr, nullptr, ss) != RTNORM) return;
  acedSSSetFirst(ss, nullptr);
  acedSSFree(ss);
}

std::vector<std::wstring> g_implied;
void ReadsPickfirst() {
  g_implied.clear();
  ads_name ss;
  if (acedSSGet(L"I", nullptr, nullptr, nullptr, ss) == RTNORM) g_implied = Take(ss);
}

TEST_F(SelectionTest, PickfirstComesFromTheCommandPromptAndLastsOneCommand) {
  AcEdCommandStack* stack = acedRegCmds;
  ASSERT_EQ(stack->addCommand(L"SELTEST", L"plain", L"plain", ACRX_CMD_MODAL, ReadsPickfirst), Acad::eOk);
  ASSERT_EQ(stack->addCommand(L"SELTEST", L"uses", L"uses", ACRX_CMD_USEPICKSET, ReadsPickfirst), Acad::eOk);
  ASSERT_EQ(stack->addCommand(L"SELTEST", L"keeps", L"keeps", ACRX_CMD_REDRAW, SetsPickfirst), Acad::eOk);
  ASSERT_EQ(stack->addCommand(L"SELTEST", L"drops", L"drops", ACRX_CMD_MODAL, SetsPickfirst), Acad::eOk);
  Session& s = Session::Get();
  InputEvent pick = InputEvent::At(InputKind::Pick, 0, 0);
  pick.text = L"1D";  // an attribute: its door is selected
  InputEvent crossing = InputEvent::At(InputKind::Crossing, 690, 90);
  crossing.corner[0] = 710, crossing.corner[1] = 110;
  s.Queue({pick, crossing, InputEvent::At(InputKind::Point, 50, 50), InputEvent::At(InputKind::Point, 40, 40)});
  for (int i = 0; i < 3; ++i) standin::RunCommandPrompt();
  EXPECT_EQ(s.Transcript(), L"\nCommand: \nCommand: \nCommand: Specify opposite corner: ");
  std::vector<std::wstring> picked;
  for (Adesk::IntPtr id : standin::PickfirstSet()) {
    const ads_name n = {id, 0};
    picked.push_back(standin::HandleOf(n));
  }
  EXPECT_EQ(picked, (std::vector<std::wstring>{L"1C", L"12", L"11"}));
  EXPECT_TRUE(standin::DisplayOf(ByHandle(L"1C")).highlighted);

  resbuf *gset = nullptr, *pset = nullptr;
  ASSERT_EQ(acedSSGetFirst(&gset, &pset), RTNORM);
  EXPECT_EQ(gset->restype, RTNONE);
  ASSERT_EQ(pset->restype, RTPICKS);
  EXPECT_EQ(Take(pset->resval.rlname).size(), 3u);
  acutRelRb(gset);
  acutRelRb(pset);

  // All arguments NULL: the pickfirst set without a prompt.
  ads_name ss;
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss).size(), 3u);

  s.QueueText({L"uses"});
  standin::RunCommandPrompt();
  EXPECT_EQ(g_implied, (std::vector<std::wstring>{L"1C", L"12", L"11"}));
  EXPECT_TRUE(standin::PickfirstSet().empty());  // gone after the command
  EXPECT_FALSE(standin::DisplayOf(ByHandle(L"1C")).highlighted);

  s.Queue({pick});
  s.QueueText({L"plain"});
  standin::RunCommandPrompt();
  standin::RunCommandPrompt();
  EXPECT_TRUE(g_implied.empty());  // a command without USEPICKSET starts without it

  s.QueueText({L"drops", L"keeps"});
  standin::RunCommandPrompt();
  EXPECT_TRUE(standin::PickfirstSet().empty());
  standin::RunCommandPrompt();
  EXPECT_EQ(standin::PickfirstSet().size(), 13u);  // ACRX_CMD_REDRAW keeps what it set
  s.Queue({InputEvent::Key(InputKind::Esc)});
  standin::RunCommandPrompt();
  EXPECT_TRUE(standin::PickfirstSet().empty());

  ASSERT_EQ(acedSSSetFirst(nullptr, nullptr), RTNORM);
  EXPECT_EQ(acedSSGet(L"I", nullptr, nullptr, nullptr, ss), RTERROR);
}

TEST_F(SelectionTest, XformMovesTheSetAllOrNothing) {
  ads_name set;
  ASSERT_EQ(acedSSAdd(ByHandle(L"27"), nullptr, set), RTNORM);
  ASSERT_EQ(acedSSAdd(ByHandle(L"1C"), set, set), RTNORM);
  ads_matrix m = {{0, -1, 0, 10}, {1, 0, 0, 20}, {0, 0, 1, 0}, {0, 0, 0, 1}};  // a quarter turn, then a move
  ASSERT_EQ(acedXformSS(set, m), RTNORM);
  const auto circle = EntityData(ByHandle(L"27"));
  EXPECT_NEAR(Find(circle, 10)->point[0], -390, 1e-9);
  EXPECT_NEAR(Find(circle, 10)->point[1], 270, 1e-9);
  const auto door = EntityData(ByHandle(L"1C"));
  EXPECT_NEAR(Find(door, 50)->real, 3.141592653589793 / 2, 1e-12);
  const auto attrib = EntityData(ByHandle(L"1D"));
  EXPECT_NEAR(Find(attrib, 10)->point[0], -100, 1e-9);  // 210,110 turned and moved

  // Uneven scaling is refused; so is a set holding an entity on a locked layer, and nothing moves.
  ads_matrix stretch = {{2, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  EXPECT_EQ(acedXformSS(set, stretch), RTERROR);
  ASSERT_EQ(acedSSAdd(ByHandle(L"10"), set, set), RTNORM);
  ads_matrix move = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  EXPECT_EQ(acedXformSS(set, move), RTERROR);
  EXPECT_NEAR(Find(EntityData(ByHandle(L"27")), 10)->point[0], -390, 1e-9);
  ASSERT_EQ(acedSSFree(set), RTNORM);
  EXPECT_EQ(acedXformSS(set, move), RTERROR);
}

TEST_F(SelectionTest, UnknownModesFailAndSaySo) {
  int rc = 0;
  for (const wchar_t* mode : {L"F", L"G", L":D", L"A", L"XW", L":"}) {
    Select(mode, nullptr, nullptr, nullptr, &rc);
    EXPECT_EQ(rc, RTERROR) << mode;
  }
}

}  // namespace
