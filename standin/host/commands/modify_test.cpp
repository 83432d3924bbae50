// The host's drag and the commands that move, turn and mirror what a module hands them: what
// the user sees on the command line, what the running snaps and locked layers do to them, and
// what the host refuses.
#include <acedads.h>
#include <acutads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/selection.h"
#include "standin/host/view/overlay.h"
#include "standin/win32/utf8.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;
using Values = std::vector<double>;

class HostModify : public ::testing::Test {
 protected:
  void SetUp() override {
    Session::Get().Reset();
    standin::OpenEmptyDrawing();
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    standin::AddLayer(db, L"Locked", 7, true);
    m_free = standin::AddEntity(db, new AcDbLine(AcGePoint3d(100, 100, 0), AcGePoint3d(200, 100, 0)));
    m_locked = standin::AddEntity(db, new AcDbLine(AcGePoint3d(100, 100, 0), AcGePoint3d(100, 150, 0)), L"Locked");
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, m_set), RTNORM);
  }
  void TearDown() override {
    acedSSFree(m_set);
    EXPECT_EQ(standin::SelectionSetCount(), 0);
    Session::Get().Reset();
  }
  static Values Ends(AcDbObjectId id) {
    AcDbLine* line = nullptr;
    EXPECT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
    if (!line) return {};
    auto r = [](double v) { return std::round(v * 1e6) / 1e6 + 0.0; };
    const Values v = {r(line->startPoint().x), r(line->startPoint().y), r(line->endPoint().x), r(line->endPoint().y)};
    line->close();
    return v;
  }

  AcDbObjectId m_free, m_locked;
  ads_name m_set = {0, 0};
};

TEST_F(HostModify, MoveShowsItsPromptsSkipsLockedLayersAndSnapsItsPoints) {
  const ads_point from = {0, 0, 0}, to = {10, 20, 0};
  Session::Get().ClearTranscript();
  EXPECT_EQ(acedCommand(RTSTR, L"_.MOVE", RTPICKS, m_set, RTSTR, L"", RT3DPOINT, from, RT3DPOINT, to, 0), RTNORM);
  EXPECT_EQ(Session::Get().Transcript(),
            L"\nCommand: _.MOVE\nSelect objects: 2 found\n1 was on a locked layer.\nSelect objects: "
            L"\nSpecify base point or [Displacement] <Displacement>: 0,0,0"
            L"\nSpecify second point or <use first point as displacement>: 10,20,0");
  EXPECT_EQ(Ends(m_free), (Values{110, 120, 210, 120}));
  EXPECT_EQ(Ends(m_locked), (Values{100, 100, 100, 150}));

  // A point 3 units off an end is taken to it by the running snaps (OSMODE 1), unless they are
  // suspended; with CMDECHO 0 nothing is shown.
  ASSERT_TRUE(standin::SetSysVarInt(L"OSMODE", 1));
  ASSERT_TRUE(standin::SetSysVarInt(L"CMDECHO", 0));
  Session::Get().ClearTranscript();
  const ads_point near = {113, 120, 0}, away = {300, 300, 0};
  EXPECT_EQ(acedCommand(RTSTR, L"MOVE", RTPICKS, m_set, RTSTR, L"", RT3DPOINT, near, RT3DPOINT, away, 0), RTNORM);
  EXPECT_EQ(Ends(m_free), (Values{300, 300, 400, 300}));
  EXPECT_EQ(Session::Get().Transcript(), L"");
  ASSERT_TRUE(standin::SetSysVarInt(L"OSMODE", 1 | 0x4000));
  EXPECT_EQ(acedCommand(RTSTR, L"MOVE", RTPICKS, m_set, RTSTR, L"", RT3DPOINT, near, RT3DPOINT, near, 0), RTNORM);
  EXPECT_EQ(Ends(m_free), (Values{300, 300, 400, 300}));

  // Enter at the second point takes the first as the displacement; values that run out cancel.
  EXPECT_EQ(acedCommand(RTSTR, L"MOVE", RTPICKS, m_set, RTSTR, L"", RTSTR, L"-300,-200", RTSTR, L"", 0), RTNORM);
  EXPECT_EQ(Ends(m_free), (Values{0, 100, 100, 100}));
  EXPECT_EQ(acedCommand(RTSTR, L"MOVE", RTPICKS, m_set, RTSTR, L"", 0), RTCAN);
  EXPECT_EQ(Ends(m_free), (Values{0, 100, 100, 100}));
}

TEST_F(HostModify, RotateAndMirrorTakeTheirAnswersAndRefuseWhatTheyCannotDo) {
  const ads_point base = {100, 100, 0};
  EXPECT_EQ(acedCommand(RTSTR, L"ROTATE", RTPICKS, m_set, RTSTR, L"", RT3DPOINT, base, RTREAL, 90.0, 0), RTNORM);
  EXPECT_EQ(Ends(m_free), (Values{100, 100, 100, 200}));
  ASSERT_TRUE(standin::SetSysVarInt(L"ANGDIR", 1));  // clockwise
  EXPECT_EQ(acedCommand(RTSTR, L"ROTATE", RTPICKS, m_set, RTSTR, L"", RT3DPOINT, base, RTSTR, L"90", 0), RTNORM);
  EXPECT_EQ(Ends(m_free), (Values{100, 100, 200, 100}));
  ASSERT_TRUE(standin::SetSysVarInt(L"ANGDIR", 0));

  // At the pause the user answers: the image turns with the cursor, a click gives the angle.
  Session::Get().ClearJournal();
  Session::Get().Queue({InputEvent::At(InputKind::Cursor, 100, 300), InputEvent::At(InputKind::Point, 0, 100)});
  EXPECT_EQ(acedCommand(RTSTR, L"ROTATE", RTPICKS, m_set, RTSTR, L"", RT3DPOINT, base, RTSTR, L"\\", 0), RTNORM);
  EXPECT_EQ(Ends(m_free), (Values{100, 100, 0, 100}));
  EXPECT_EQ(Session::Get().Journal(standin::JournalKind::Drag).size(), 2u);
  Session::Get().Queue({InputEvent::Typed(L"Copy")});
  EXPECT_EQ(acedCommand(RTSTR, L"ROTATE", RTPICKS, m_set, RTSTR, L"", RT3DPOINT, base, RTSTR, L"\\", 0), RTERROR);

  // Mirrored about x = 50: erasing the source mirrors the objects themselves; keeping it would
  // need copies, which are refused.
  const ads_point a = {50, 0, 0}, b = {50, 10, 0};
  EXPECT_EQ(acedCommand(RTSTR, L".MIRROR", RTPICKS, m_set, RTSTR, L"", RT3DPOINT, a, RT3DPOINT, b, RTSTR, L"Y", 0),
            RTNORM);
  EXPECT_EQ(Ends(m_free), (Values{0, 100, 100, 100}));
  EXPECT_EQ(acedCommand(RTSTR, L".MIRROR", RTPICKS, m_set, RTSTR, L"", RT3DPOINT, a, RT3DPOINT, b, RTSTR, L"", 0),
            RTERROR);
  EXPECT_EQ(acedCommand(RTSTR, L".MIRROR", RTPICKS, m_set, RTSTR, L"", RT3DPOINT, a, RT3DPOINT, a, 0), RTCAN);
  EXPECT_EQ(Ends(m_free), (Values{0, 100, 100, 100}));
  // Enter, and a second point on the first, are asked again; the user answers the pause.
  Session::Get().Queue({InputEvent::Typed(L"y")});
  EXPECT_EQ(acedCommand(RTSTR, L".MIRROR", RTPICKS, m_set, RTSTR, L"", RTSTR, L"", RT3DPOINT, a, RT3DPOINT, a,
                        RT3DPOINT, b, RTSTR, L"\\", 0),
            RTNORM);
  EXPECT_EQ(Ends(m_free), (Values{100, 100, 0, 100}));
  EXPECT_EQ(acedCommand(RTSTR, L"ROTATE", RTPICKS, m_set, RTSTR, L"", RTSTR, L"", RT3DPOINT, base, RTREAL, 180.0, 0),
            RTNORM);
  EXPECT_EQ(Ends(m_free), (Values{100, 100, 200, 100}));
}

int g_samples = 0;
int Shift(ads_point pt, ads_matrix mt) {
  ++g_samples;
  mt[0][3] = pt[0] - 100;
  mt[1][3] = pt[1] - 100;
  return pt[0] < 0 ? RTERROR : RTNORM;
}

TEST_F(HostModify, DragGenEndsAsTheOtherInputCallsAndRefusesBadArguments) {
  ads_point p = {0, 0, 0};
  const ads_name none = {12345, 0};
  EXPECT_EQ(acedDragGen(none, L"", 0, &Shift, p), RTERROR);
  EXPECT_EQ(acedDragGen(m_set, L"", 0, nullptr, p), RTERROR);
  EXPECT_EQ(acedDragGen(m_set, L"", 3, &Shift, p), RTERROR);

  // Each cursor move is a sample; the image goes with the drag and the entities stay.
  g_samples = 0;
  Session::Get().ClearJournal();
  Session::Get().Queue({InputEvent::At(InputKind::Cursor, 150, 150), InputEvent::Typed(L"abc")});
  acedInitGet(RSG_OTHER, L"Left");
  EXPECT_EQ(acedDragGen(m_set, L"\nWhere: ", 0, &Shift, p), RTSTR);
  ACHAR typed[32];
  EXPECT_EQ(acedGetInput(typed), RTNORM);
  EXPECT_EQ(std::wstring(typed), L"abc");
  const auto samples = Session::Get().Journal(standin::JournalKind::Drag);
  ASSERT_EQ(samples.size(), 1u);
  EXPECT_EQ(samples[0].text, L"2");
  EXPECT_EQ(Values(samples[0].values.begin() + 16, samples[0].values.end()), (Values{150, 150, 250, 200}));
  standin::DragImage image;
  EXPECT_FALSE(standin::CurrentDragImage(image));
  EXPECT_EQ(Ends(m_free), (Values{100, 100, 200, 100}));

  // Without RSG_OTHER other text is refused; a keyword, a typed point and Enter end the drag.
  Session::Get().Queue({InputEvent::Typed(L"abc"), InputEvent::Typed(L"le")});
  acedInitGet(0, L"Left");
  EXPECT_EQ(acedDragGen(m_set, L"\nWhere: ", 0, &Shift, p), RTKWORD);
  EXPECT_NE(Session::Get().Transcript().find(L"Point or option keyword required.\nWhere: le"), std::wstring::npos);
  Session::Get().Queue({InputEvent::Typed(L"@5,5"), InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(acedDragGen(m_set, L"", 0, &Shift, p), RTNORM);
  EXPECT_EQ(acedDragGen(m_set, L"", 0, &Shift, p), RTNONE);
  // A sampler that fails ends the drag.
  Session::Get().Queue({InputEvent::At(InputKind::Cursor, -1, 0), InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(acedDragGen(m_set, L"", 0, &Shift, p), RTERROR);
  EXPECT_EQ(Session::Get().PendingInput(), 1u);
}

TEST_F(HostModify, TemporaryVectorsXorAndGoWithTheRedraw) {
  const ads_point a = {0, 0, 0}, b = {10, 0, 0};
  EXPECT_EQ(acedGrDraw(a, nullptr, 7, 0), RTERROR);
  EXPECT_EQ(acedGrDraw(a, b, 7, 0), RTNORM);
  EXPECT_EQ(acedGrDraw(a, b, -1, 1), RTNORM);
  EXPECT_EQ(standin::TempVectors().size(), 2u);
  EXPECT_EQ(acedGrDraw(a, b, -1, 1), RTNORM);  // XOR ink drawn twice erases itself
  ASSERT_EQ(standin::TempVectors().size(), 1u);
  EXPECT_EQ(standin::TempVectors()[0].colour, 7);
  EXPECT_EQ(acedRedraw(nullptr, 0), RTNORM);
  EXPECT_TRUE(standin::TempVectors().empty());
}

TEST(HostUnits, DistancesInEachLinearUnit) {
  Session::Get().Reset();
  struct Case {
    const wchar_t* text;
    int unit;
    double value;  // NAN: refused
  };
  const Case cases[] = {
      {L"12.5", 2, 12.5}, {L" -3e2 ", 1, -300}, {L"1'6\"", 4, 18},  {L"2'-3 1/2\"", 4, 27.5}, {L"1'", 3, 12},
      {L"7.5\"", 3, 7.5}, {L"7", 4, 7},         {L"3-1/2", 5, 3.5}, {L"-1/4", 5, -0.25},      {L"45", -1, 45},
      {L"abc", 2, NAN},   {L"1/0", 5, NAN},     {L"12.5x", 2, NAN}, {L"1'2'", 4, NAN},        {L"", 2, NAN},
      {L"5", 6, NAN},     {L"1e999", 2, NAN},   {L"1 1/2", 2, NAN},
  };
  for (const Case& c : cases) {
    ads_real v = -7;
    const int rc = acdbDisToF(c.text, c.unit, &v);
    if (std::isnan(c.value)) {
      EXPECT_EQ(rc, RTERROR) << standin::ToUtf8(c.text);
      EXPECT_EQ(v, -7);
    } else {
      EXPECT_EQ(rc, RTNORM) << standin::ToUtf8(c.text);
      EXPECT_DOUBLE_EQ(v, c.value) << standin::ToUtf8(c.text);
    }
  }
  EXPECT_EQ(acdbDisToF(nullptr, 2, nullptr), RTERROR);
}

}  // namespace
