#include "drag/Drag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/display.h"
#include "standin/host/view/views.h"
#include "testing/DatabaseTest.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;
using Values = std::vector<double>;

InputEvent Cursor(double x, double y) { return InputEvent::At(InputKind::Cursor, x, y); }
InputEvent Click(double x, double y) { return InputEvent::At(InputKind::Point, x, y); }
InputEvent Typed(const wchar_t* text) { return InputEvent::Typed(text); }
InputEvent Enter() { return InputEvent::Key(InputKind::Enter); }

double Round(double v) { return std::round(v * 1e6) / 1e6 + 0.0; }

// An L of two lines dragged by a base point off its geometry, the upright one on a locked layer;
// the view shows world (0, 0) to (800, 600), a unit a pixel, so cursor points are exact.
class Drag : public tovutest::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    standin::AddLayer(Db(), L"Locked", 7, true);
    m_a = Line(100, 100, 200, 100);
    m_b = standin::AddEntity(Db(), new AcDbLine(AcGePoint3d(100, 100, 0), AcGePoint3d(100, 150, 0)), L"Locked");
    m_set += m_a;
    m_set += m_b;
    ASSERT_TRUE(standin::SetSysVarInt(L"OSMODE", 1));  // endpoints
  }
  void TearDown() override {
    // Whatever way the drag ended, the user's settings and locks are back and the set is shown.
    EXPECT_EQ(standin::SysVarInt(L"CMDECHO", -1), 1);
    EXPECT_EQ(standin::SysVarInt(L"OSMODE", -1), 1);
    AcDbLayerTableRecord* layer = nullptr;
    AcDbLayerTable* table = nullptr;
    AcDbObjectId id;
    ASSERT_EQ(Db()->getLayerTable(table, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(table->getAt(L"Locked", id), Acad::eOk);
    table->close();
    ASSERT_EQ(acdbOpenObject(layer, id, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(layer->isLocked());
    layer->close();
    for (const AcDbObjectId& ent : {m_a, m_b}) {
      const ads_name name = {static_cast<long long>(ent.asOldId()), 0};
      EXPECT_TRUE(standin::DisplayOf(name).visible);
    }
    EXPECT_EQ(LeftOpen(L"drag"), 0);
    m_held.reset();
    DatabaseTest::TearDown();
  }

  // Start and end of a line, rounded.
  static Values Ends(AcDbObjectId id) {
    AcDbLine* line = nullptr;
    EXPECT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
    if (!line) return {};
    const Values v = {Round(line->startPoint().x), Round(line->startPoint().y), Round(line->endPoint().x),
                      Round(line->endPoint().y)};
    line->close();
    return v;
  }
  Values Both() const {
    Values v = Ends(m_a);
    const Values b = Ends(m_b);
    v.insert(v.end(), b.begin(), b.end());
    return v;
  }
  static Values Pt(const ZoGePoint& pt) { return {Round(pt.x), Round(pt.y), Round(pt.z)}; }
  static std::wstring Transcript() { return Session::Get().Transcript(); }

  AcDbObjectId m_a, m_b;
  std::optional<ZoAdsEntSet> m_held{std::in_place};  // released before the drawing's checks
  ZoAdsEntSet& m_set = *m_held;
  ZoGePoint m_pt{150, 120};
};

TEST_F(Drag, AClickPlacesTheSetEnterAndEscLeaveIt) {
  const Values start = Both();
  Session::Get().Queue({Enter()});
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTNONE);
  Session::Get().Queue({InputEvent::Key(InputKind::Esc)});
  EXPECT_EQ(ZoPtRubDragEntSet(m_set, m_pt), RTCAN);
  EXPECT_EQ(Both(), start);
  EXPECT_EQ(Pt(m_pt), (Values{150, 120, 0}));

  // The image follows the cursor; the click moves the set there and is the new base point.
  Session::Get().ClearJournal();
  Session::Get().Queue({Cursor(300, 300), Cursor(400, 350), Click(400, 350)});
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTNORM);
  EXPECT_EQ(Pt(m_pt), (Values{400, 350, 0}));
  EXPECT_EQ(Both(), (Values{350, 330, 450, 330, 350, 330, 350, 380}));
  const auto samples = Session::Get().Journal(standin::JournalKind::Drag);
  ASSERT_EQ(samples.size(), 3u);
  // Where the last image lay: the extents of the placed set.
  EXPECT_EQ(Values(samples[2].values.begin() + 16, samples[2].values.end()), (Values{350, 330, 450, 380}));
  EXPECT_NE(Transcript().find(L"[转90度(A)/左右翻(S)/上下翻(D)/对齐(F)/改转角(R)/改基点(T)]<退出>:"), std::wstring::npos);
}

// A, S and D act at the cursor: the set is first moved there, then turned or mirrored about it,
// with the running snaps off (a line's end 5 units from the cursor would take the pivot).
TEST_F(Drag, TurnAndMirrorsActAtTheCursorWithoutSnapping) {
  Line(304, 303, 500, 303);
  Session::Get().Queue({Cursor(300, 300), Typed(L"A"), Enter()});
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTNONE);
  EXPECT_EQ(Pt(m_pt), (Values{300, 300, 0}));
  EXPECT_EQ(Both(), (Values{320, 250, 320, 350, 320, 250, 270, 250}));
  EXPECT_EQ(Transcript().find(L"Command:"), std::wstring::npos) << "CMDECHO was on";

  // Mirrored in place about the vertical, then the horizontal, line through the cursor; "Y"
  // takes the source away, so the drawing holds the same three entities.
  m_pt = ZoGePoint(320, 300);
  Session::Get().Queue({Cursor(320, 300), Typed(L"S"), Enter()});
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTNONE);
  EXPECT_EQ(Both(), (Values{320, 250, 320, 350, 320, 250, 370, 250}));
  Session::Get().Queue({Cursor(320, 300), Typed(L"D"), Enter()});
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTNONE);
  EXPECT_EQ(Both(), (Values{320, 350, 320, 250, 320, 350, 370, 350}));
  const auto sent = Session::Get().Journal(standin::JournalKind::Command);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[2].text.substr(0, 8), L".MIRROR ");
  EXPECT_EQ(sent[2].text.substr(sent[2].text.size() - 24), L"\"\" 320,300,0 420,300,0 Y");
  ZoAdsEntSet all;
  ASSERT_EQ(all.Get(L"X"), RTNORM);
  EXPECT_EQ(all.GetLength(), 3);
}

// F aligns: the reference point moves onto the target and the reference axis (+X) turns onto the
// target axis (+Y), a quarter turn about the target; that ends the drag at once, point kept.
// R turns by the angle the user types at the host's prompt; T takes a new base point.
TEST_F(Drag, AlignRotateAndNewBasePoint) {
  Session::Get().Queue({Cursor(300, 300), Typed(L"F"), Typed(L"0,0"), Typed(L"10,0"), Typed(L"500,300"),
                        Typed(L"500,310")});
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTNORM);
  EXPECT_EQ(Pt(m_pt), (Values{150, 120, 0}));
  EXPECT_EQ(Both(), (Values{220, 550, 220, 650, 220, 550, 170, 550}));

  // A failed pick during align returns to the drag.
  m_pt = ZoGePoint(220, 550);
  Session::Get().Queue({Cursor(220, 550), Typed(L"F"), Enter(), Enter()});
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTNONE);

  m_pt = ZoGePoint(220, 550);
  Session::Get().ClearTranscript();
  Session::Get().Queue({Cursor(220, 550), Typed(L"R"), Typed(L"45"), Enter()});
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTNONE);
  const double h = Round(100 / std::sqrt(2.0)), q = Round(50 / std::sqrt(2.0));
  EXPECT_EQ(Both(), (Values{220, 550, Round(220 - h), Round(550 + h), 220, 550, Round(220 - q), Round(550 - q)}));
  // The host shows its own prompt at the pause even with the echo off.
  EXPECT_NE(Transcript().find(L"旋转角度: \nSpecify rotation angle or [Copy/Reference] <0>: 45"), std::wstring::npos);

  // A failed pause ends the call with its status, nothing moved.
  const Values before = Both();
  Session::Get().Queue({Cursor(220, 550), Typed(L"R"), InputEvent::Key(InputKind::Esc)});
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTCAN);
  EXPECT_EQ(Both(), before);

  // T: the picked point becomes the base by which the set is dragged, the set staying put.
  m_pt = ZoGePoint(220, 550);
  Session::Get().Queue({Cursor(220, 550), Typed(L"T"), Typed(L"300,500"), Click(310, 490)});
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTNORM);
  EXPECT_EQ(Pt(m_pt), (Values{310, 490, 0}));
  EXPECT_EQ(Both()[0], 230);
  EXPECT_EQ(Both()[1], 540);
}

// The rubber band: a line from the base to the cursor, options at the base, and a typed number
// placing the set that far along the band (text that is no number places it at the base).
TEST_F(Drag, RubberBandTypedDistanceAndOptionsAtTheBase) {
  Session::Get().Queue({Cursor(150, 300), Typed(L"500")});
  EXPECT_EQ(ZoPtRubDragEntSet(m_set, m_pt), RTNORM);
  EXPECT_EQ(Pt(m_pt), (Values{150, 620, 0}));
  EXPECT_EQ(Both(), (Values{100, 600, 200, 600, 100, 600, 100, 650}));
  const auto vectors = Session::Get().Journal(standin::JournalKind::GrDraw);
  ASSERT_GE(vectors.size(), 3u);
  EXPECT_EQ(vectors[1].values, (Values{150, 120, 0, 150, 300, 0, 7, 0}));
  EXPECT_EQ(vectors.back().values, (Values{150, 120, 0, 150, 300, 0, 7, -1}));

  // A turns about the base, where the set lies, not at the cursor.
  Session::Get().Queue({Cursor(400, 100), Typed(L"A"), Typed(L"abc")});
  EXPECT_EQ(ZoPtRubDragEntSet(m_set, m_pt), RTNORM);
  EXPECT_EQ(Pt(m_pt), (Values{150, 620, 0}));
  EXPECT_EQ(Both(), (Values{170, 570, 170, 670, 170, 570, 120, 570}));
}

// The plain move drag; when the host refuses to move the set directly (an entity open
// elsewhere), the host's MOVE moves what it can, with the snaps off.
TEST_F(Drag, MoveDragAndItsCommandFallback) {
  ZoGePoint result;
  Session::Get().Queue({Cursor(200, 200), Click(250, 220)});
  EXPECT_EQ(ZoPtDragMoveEntSet(m_set, L"\nTo: ", m_pt, result), RTNORM);
  EXPECT_EQ(Pt(result), (Values{250, 220, 0}));
  EXPECT_EQ(Both(), (Values{200, 200, 300, 200, 200, 200, 200, 250}));

  Session::Get().Queue({Typed(L"Up")});
  EXPECT_EQ(ZoPtDragMoveEntSet(m_set, L"\nTo: ", result, m_pt, L"Up Down"), RTKWORD);
  ACHAR keyword[32];
  EXPECT_EQ(acedGetInput(keyword), RTNORM);
  EXPECT_EQ(std::wstring(keyword), L"Up");

  Line(253, 222, 400, 222);  // within the aperture of the base point
  AcDbEntity* held = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(held, m_b, AcDb::kForRead), Acad::eOk);
  Session::Get().Queue({Click(300, 320)});
  EXPECT_EQ(ZoPtDragMoveEntSet(m_set, L"\nTo: ", ZoGePoint(250, 220), result), RTNORM);
  held->close();
  EXPECT_EQ(Ends(m_a), (Values{250, 300, 350, 300}));
  EXPECT_EQ(Ends(m_b), (Values{200, 200, 200, 250}));
  EXPECT_EQ(Session::Get().Journal(standin::JournalKind::Command).back().text.substr(0, 5), L"MOVE ");
}

// The rotate drag turns towards the cursor, in quarter turns with ortho on; a typed angle goes
// through the host's ROTATE, text that is no number turns nothing.
TEST_F(Drag, RotateDragOrthoTypedAngleAndBadText) {
  ASSERT_TRUE(standin::SetSysVarInt(L"ORTHOMODE", 1));
  Session::Get().ClearJournal();
  Session::Get().Queue({Cursor(200, 140), Cursor(130, 60), Click(160, 200)});
  EXPECT_EQ(ZoPtDragRotateEntSet(m_set, L"\nAngle: ", m_pt), RTNORM);
  for (const standin::JournalEntry& e : Session::Get().Journal(standin::JournalKind::Drag))
    for (int i : {0, 1, 4, 5}) EXPECT_TRUE(Round(e.values[i]) == 0 || std::fabs(Round(e.values[i])) == 1) << i;
  EXPECT_EQ(Both(), (Values{170, 70, 170, 170, 170, 70, 120, 70}));
  ASSERT_TRUE(standin::SetSysVarInt(L"ORTHOMODE", 0));

  Session::Get().Queue({Cursor(300, 300), Typed(L"abc")});
  EXPECT_EQ(ZoPtDragRotateEntSet(m_set, L"\nAngle: ", m_pt), RTERROR);
  EXPECT_EQ(Both(), (Values{170, 70, 170, 170, 170, 70, 120, 70}));
  Session::Get().Queue({Cursor(300, 300), Typed(L"-90")});
  EXPECT_EQ(ZoPtDragRotateEntSet(m_set, L"\nAngle: ", m_pt), RTNORM);
  EXPECT_EQ(Both(), (Values{100, 100, 200, 100, 100, 100, 100, 150}));
  EXPECT_EQ(Session::Get().Journal(standin::JournalKind::Command).back().text.substr(0, 7), L"ROTATE ");
}

// In a user coordinate system away from the world's, the rotation ends where its image was last
// shown, and the placement drag takes its points in user coordinates.
TEST_F(Drag, UserCoordinatesFinalTurnWhereThePreviewShowedIt) {
  standin::Ucs ucs;
  ucs.origin[0] = 400, ucs.origin[1] = 50;
  ucs.xAxis[0] = 0, ucs.xAxis[1] = 1;
  ucs.yAxis[0] = -1, ucs.yAxis[1] = 0;
  ASSERT_TRUE(standin::SetUcs(ucs));
  Session::Get().ClearJournal();
  // User (100, 200) is world (200, 150); the click is a little above and right of it.
  Session::Get().Queue({Cursor(130, 180), Click(130, 170)});
  EXPECT_EQ(ZoPtDragRotateEntSet(m_set, L"\nAngle: ", ZoGePoint(100, 200)), RTNORM);
  const auto samples = Session::Get().Journal(standin::JournalKind::Drag);
  ASSERT_FALSE(samples.empty());
  Values shown(samples.back().values.begin() + 16, samples.back().values.end());
  for (double& v : shown) v = Round(v);
  const Values now = Both();
  EXPECT_EQ(shown, (Values{std::min({now[0], now[2], now[6]}), std::min({now[1], now[3], now[7]}),
                           std::max({now[0], now[2], now[6]}), std::max({now[1], now[3], now[7]})}));
  EXPECT_NE(now, (Values{100, 100, 200, 100, 100, 100, 100, 150}));

  m_pt = ZoGePoint(0, 0);
  Session::Get().Queue({Click(10, 20)});
  const Values before = Both();
  EXPECT_EQ(ZoPtDragEntSet(m_set, m_pt), RTNORM);
  EXPECT_EQ(Pt(m_pt), (Values{10, 20, 0}));
  // User (10, 20) from (0, 0) is world (-20, 10).
  EXPECT_EQ(Both()[0], Round(before[0] - 20));
  EXPECT_EQ(Both()[1], Round(before[1] + 10));
}

}  // namespace
