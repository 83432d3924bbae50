// Entity picking as a user meets it: the pickfirst set taking the place of the question,
// candidates offered one by one, picks asked again until they pass the filter, keywords ending a
// selection, and windows opened with the selection jig.
#include "input/Picking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/Prompt.h"
#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/selection.h"
#include "standin/win32/keyboard.h"
#include "testing/DrawingTest.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::JournalKind;
using standin::Session;
using tovutest::Handle;
using tovutest::Handles;
using Strings = std::vector<std::wstring>;

InputEvent Click(double x, double y) { return InputEvent::At(InputKind::Point, x, y); }
InputEvent Pick(const std::wstring& handle, double x, double y) {
  InputEvent e = InputEvent::At(InputKind::Pick, x, y);
  e.text = handle;
  return e;
}

// Two lines lying on each other on layer A, a circle on A and a text on B; the filter takes layer A.
class PickingTest : public tovutest::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    standin::OpenEmptyDrawing();
    standin::AddLayer(Db(), L"A");
    standin::AddLayer(Db(), L"B");
    m_lower = Add(new AcDbLine({0, 0, 0}, {10, 0, 0}), L"A");
    m_upper = Add(new AcDbLine({0, 0, 0}, {10, 0, 0}), L"A");
    m_circle = Add(new AcDbCircle({50, 50, 0}, AcGeVector3d::kZAxis, 5), L"A");
    m_text = Add(new AcDbText({100, 100, 0}, L"NOTE", AcDbObjectId::kNull, 2), L"B");
    m_filter.SetResbuf(acutBuildList(8, L"A", 0));
    g_strInitKewords = L"";
    g_nInitContral = -1;
  }
  void TearDown() override {
    m_filter.SetResbuf(nullptr);
    DrawingTest::TearDown();
  }
  ZoAdsEnt Add(AcDbEntity* ent, const wchar_t* layer) { return ZoAdsEnt(standin::AddEntity(Db(), ent, layer)); }
  static void Preselect(std::initializer_list<ZoAdsEnt> ents) {
    ZoAdsEntSet set(ZoAdsEntSet::kCreateSet | ZoAdsEntSet::kOwnSet);
    for (const ZoAdsEnt& e : ents) set += e;
    ASSERT_EQ(acedSSSetFirst(set, nullptr), RTNORM);
  }
  static size_t Preselected() { return standin::PickfirstSet().size(); }
  static bool Asked(const wchar_t* text) { return Session::Get().Transcript().find(text) != std::wstring::npos; }
  // The entities highlighted (mode 3) and unhighlighted (mode 4), in order.
  static Strings Highlights() {
    Strings out;
    for (const auto& e : Session::Get().Journal(JournalKind::Redraw))
      if (e.values[0] == 3 || e.values[0] == 4) out.push_back(e.text + L":" + std::to_wstring(int(e.values[0])));
    return out;
  }

  ZoAdsEnt m_lower, m_upper, m_circle, m_text;
  ZoAdsRBList m_filter;
};

TEST_F(PickingTest, ThePickfirstSetTakesThePlaceOfTheQuestion) {
  Preselect({m_lower, m_circle, m_text});
  ZoAdsEnt ent;
  EXPECT_EQ(ZoPtGetPrepickEntity(ent, m_filter), RTERROR);  // two pass the filter
  EXPECT_EQ(Preselected(), 3u);                             // and the preselection stays

  ZoAdsEntSet set;
  EXPECT_EQ(ZoPtSelectEntities(L"\nPick them: ", set, m_filter), RTNORM);
  EXPECT_EQ(Handles(set), (Strings{Handle(m_lower), Handle(m_circle)}));
  EXPECT_FALSE(Asked(L"Pick them"));
  EXPECT_EQ(Preselected(), 0u);

  Preselect({m_text, m_circle});
  EXPECT_EQ(ZoPtGetPrepickEntity(ent, m_filter), RTNORM);
  EXPECT_EQ(Handle(ent), Handle(m_circle));

  // Nothing preselected passes: the preselection is cleared all the same and the user is asked.
  Preselect({m_text});
  Session::Get().Queue({Pick(Handle(m_circle), 55, 50)});
  EXPECT_EQ(ZoPtSelectEntity(L"\nPick one: ", ent, m_filter), RTNORM);
  EXPECT_EQ(Handle(ent), Handle(m_circle));
  EXPECT_TRUE(Asked(L"Pick one: "));
  EXPECT_EQ(Preselected(), 0u);
}

TEST_F(PickingTest, APointPickOffersCandidatesOneByOneAndAsksAgainOnEmptySpace) {
  ZoAdsEnt ent = m_circle;
  ZoGePoint pt;
  Session::Get().Queue({Click(5, 0), InputEvent::Typed(L"N"), InputEvent::Key(InputKind::Esc)});
  EXPECT_EQ(ZoPtSelectEntity(L"\nPoint: ", ent, pt, m_filter), RTCAN);
  EXPECT_EQ(Handle(ent), Handle(m_circle));  // unchanged by a cancelled pick
  // The topmost first: the upper line, refused, hands the highlight to the lower one.
  EXPECT_EQ(Highlights(), (Strings{Handle(m_upper) + L":3", Handle(m_upper) + L":4", Handle(m_lower) + L":3",
                                   Handle(m_lower) + L":4"}));
  EXPECT_EQ(standin::SysVarInt(L"OSMODE", 0), 4133);  // the nearest-point snap was the pick's only

  // Empty space is refused and asked again; the keywords armed by the caller stay armed for it.
  Session::Get().ClearTranscript();
  {
    ZoPtInitGet keywords(0, L"Base");
    Session::Get().Queue({Click(300, 300), InputEvent::Typed(L"B")});
    EXPECT_EQ(ZoPtSelectEntity(L"\nPoint: ", ent, pt, m_filter), RTKWORD);
  }
  EXPECT_TRUE(Asked(L"\n选择无效, 重新选择!"));
  ACHAR keyword[132];
  ASSERT_EQ(acedGetInput(keyword), RTNORM);
  EXPECT_STREQ(keyword, L"Base");

  // All refused: the user is told to pick again; then Enter accepts the first of the next pick.
  Session::Get().ClearTranscript();
  Session::Get().Queue(
      {Click(5, 0), InputEvent::Typed(L"N"), InputEvent::Typed(L"N"), Click(5, 0), InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(ZoPtSelectEntity(L"\nPoint: ", ent, pt, m_filter), RTNORM);
  EXPECT_EQ(Handle(ent), Handle(m_upper));
  EXPECT_TRUE(Asked(L"\n请重新选择!"));
  EXPECT_EQ(pt, ZoGePoint(5, 0, 0));
}

TEST_F(PickingTest, EntityPicksAreAskedAgainUntilTheyPassAndTakeThePromptsKeywords) {
  ZoAdsEnt ent;
  ZoGePoint pt;
  // No options in the prompt: SelectEx is the plain pick; the text on B is refused.
  Session::Get().Queue({Pick(Handle(m_text), 100, 100), Pick(Handle(m_circle), 45, 50)});
  EXPECT_EQ(ent.SelectEx(L"\nObject: ", m_filter, pt), RTNORM);
  EXPECT_EQ(Handle(ent), Handle(m_circle));
  EXPECT_EQ(pt, ZoGePoint(45, 50, 0));
  EXPECT_TRUE(Asked(L"\n选择无效, 重新选择!"));

  // The prompt's options are armed for every pass, so a keyword after a refused pick still counts.
  Session::Get().Queue({Pick(Handle(m_text), 100, 100), InputEvent::Typed(L"s")});
  EXPECT_EQ(ent.SelectEx(L"\n选择对象[转90度(A)/左右翻(S)]: ", m_filter, pt), RTKWORD);
  ACHAR keyword[132];
  ASSERT_EQ(acedGetInput(keyword), RTNORM);
  EXPECT_STREQ(keyword, L"S");
  EXPECT_EQ(g_nInitContral, -1);  // the arming ended with the pick
}

TEST_F(PickingTest, AKeywordOfThePromptEndsAMultipleSelection) {
  standin::SetInputMethod(L"CHSIME.IME");
  ZoAdsEntSet set;
  CString keyword;
  Session::Get().Queue({Pick(Handle(m_circle), 55, 50), InputEvent::Typed(L"A")});
  EXPECT_EQ(ZoPtSelectEntities(L"\n选择对象[全部(A)]", set, m_filter, keyword), RTKWORD);
  EXPECT_EQ(keyword, L"A");
  EXPECT_EQ(Session::Get().PendingInput(), 0u);  // the space sent to end the selection was taken
  // The input method had the key in its composition: a backspace took it out.
  const auto keys = Session::Get().Journal(JournalKind::KeyInput);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].values[0], VK_BACK);
  standin::SetInputMethod(nullptr);

  // A keyword typed during a single pick is caught by the family's capture, whatever the pick.
  ZoAdsEnt ent = m_text;
  ZoGePoint pt;
  {
    ZoPtInitGet armed(0, L"A _ A");
    Session::Get().Queue({InputEvent::Typed(L"a")});
    EXPECT_EQ(ZoPtSelectEntity(L"\n点取对象[全部(A)]", ent, pt, m_filter, keyword), RTKWORD);
    EXPECT_EQ(keyword, L"A");
    Session::Get().Queue({InputEvent::Typed(L"a")});
    keyword = L"";
    EXPECT_EQ(ZoPtSelectEntity(L"\n选择对象[全部(A)]", ent, m_filter, keyword), RTKWORD);
    EXPECT_EQ(keyword, L"A");
  }
  EXPECT_EQ(Handle(ent), Handle(m_text));
  EXPECT_FALSE(g_bEnableSelectKey);

  // Without a keyword the selection goes on to Enter and gives what was selected.
  ZoAdsEntSet picked;
  Session::Get().Queue({Pick(Handle(m_circle), 55, 50), InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(ZoPtSelectEntities(L"\n选择对象[全部(A)]", picked, m_filter, keyword), RTNORM);
  EXPECT_EQ(Handles(picked), (Strings{Handle(m_circle)}));
}

TEST_F(PickingTest, WindowsOpenedWithTheJigSelectByTheirDirection) {
  ZoAdsEntSet set;
  // A click on empty space opens a window; the second corner to its left makes a crossing, which
  // takes the lines it touches but not the text on B.
  Session::Get().Queue(
      {Click(20, 5), InputEvent::At(InputKind::Cursor, 8, -5), Click(8, -5), InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(ZoPtSelectEntsWetherHighlight(L"\nWindow: ", set, m_filter, 0), RTNORM);
  EXPECT_EQ(Handles(set).size(), 2u);
  EXPECT_TRUE(Asked(L"\n共选中2个对象\n过滤2个对象"));
  bool dashed = false;
  for (const auto& e : Session::Get().Journal(JournalKind::Jig))
    dashed = dashed || e.text.find(L"DASH") != std::wstring::npos;
  EXPECT_TRUE(dashed);

  // Left to right it is a window: only what lies wholly inside and passes the filter, the circle
  // (the text on B is not found).
  ZoAdsEntSet window;
  Session::Get().Queue({Click(40, 40), Click(150, 150), InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(ZoPtSelectEntsWetherHighlight(L"\nWindow: ", window, m_filter, 1), RTNORM);
  EXPECT_EQ(Handles(window), (Strings{Handle(m_circle)}));
  EXPECT_TRUE(Asked(L"\n共选中1个对象\n过滤1个对象"));

  // A click on an entity takes it alone, without a window.
  ZoAdsEntSet single;
  Session::Get().Queue({Click(55, 50), InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(ZoPtSelectEntsWetherHighlight(L"\nWindow: ", single, m_filter, 0), RTNORM);
  EXPECT_EQ(Handles(single), (Strings{Handle(m_circle)}));

  // The host's filter takes "A or B", the module's own rule finds no -4 group in the circle's
  // data: the pick is refused with a message and nothing is collected.
  ZoAdsRBList either(acutBuildList(-4, L"<OR", 8, L"A", 8, L"B", -4, L"OR>", 0));
  ZoAdsEntSet refused;
  Session::Get().Queue({Click(55, 50), InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(ZoPtSelectEntsWetherHighlight(L"\nWindow: ", refused, either, 0), RTCAN);
  EXPECT_TRUE(Asked(L"\n请选择正确的对象"));

  // Enter before anything was collected cancels.
  ZoAdsEntSet none;
  Session::Get().Queue({InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(ZoPtSelectEntsWetherHighlight(L"\nWindow: ", none, m_filter, 0), RTCAN);
}

}  // namespace
