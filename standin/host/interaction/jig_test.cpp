// The host's jigs as a user drives them: every cursor move samples, a sample that changed
// something updates and shows the jig's entity, and a click, Enter, Esc or a keyword ends the drag
// with the host's status.
#include <acedads.h>
#include <dbjig.h>
#include <dbpl.h>
#include <gtest/gtest.h>

#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::JournalKind;
using standin::Session;

// A jig that shows a line from the origin to the cursor and counts what the host calls.
class LineJig : public AcEdJig {
 public:
  DragStatus sampler() override {
    ++samples;
    AcGePoint3d p;
    const DragStatus status = withBase ? acquirePoint(p, AcGePoint3d(0, 0, 0)) : acquirePoint(p);
    if (status != kNormal) return status;
    if (p == last) return kNoChange;
    last = p;
    return kNormal;
  }
  Adesk::Boolean update() override {
    ++updates;
    line.reset(true, 0);
    line.addVertexAt(0, AcGePoint2d(0, 0));
    line.addVertexAt(1, AcGePoint2d(last.x, last.y));
    return accept;
  }
  AcDbEntity* entity() const override { return const_cast<AcDbPolyline*>(&line); }

  AcDbPolyline line;
  AcGePoint3d last;
  int samples = 0, updates = 0;
  bool accept = true, withBase = false;
};

class JigTest : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override { Session::Get().Reset(); }
};

TEST_F(JigTest, CursorMovesUpdateAndAClickEnds) {
  Session::Get().Queue({InputEvent::At(InputKind::Cursor, 5, 5), InputEvent::At(InputKind::Cursor, 5, 5),
                        InputEvent::At(InputKind::Cursor, 8, 1), InputEvent::At(InputKind::Point, 9, 2)});
  LineJig jig;
  jig.setDispPrompt(L"\nEnd point %s: ", L"<here>");
  EXPECT_EQ(jig.drag(), AcEdJig::kNormal);
  EXPECT_EQ(jig.samples, 4);
  EXPECT_EQ(jig.updates, 3);  // the repeated cursor position changed nothing
  EXPECT_EQ(jig.last, AcGePoint3d(9, 2, 0));
  const auto shown = Session::Get().Journal(JournalKind::Jig);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2].values, (std::vector<double>{0, 0, 9, 2}));
  EXPECT_NE(Session::Get().Transcript().find(L"End point <here>: "), std::wstring::npos);
  double last[3];
  ASSERT_TRUE(standin::SysVarPoint(L"LASTPOINT", last));
  EXPECT_EQ(last[0], 9);  // the click became the last point

  // A click where the cursor already was changes nothing and ends with the last update's verdict.
  Session::Get().Queue({InputEvent::At(InputKind::Cursor, 1, 1), InputEvent::At(InputKind::Point, 1, 1)});
  LineJig refusing;
  refusing.accept = false;
  refusing.setUserInputControls(AcEdJig::kDontUpdateLastPoint);
  EXPECT_EQ(refusing.drag(), AcEdJig::kOther);
  EXPECT_EQ(refusing.updates, 1);
  ASSERT_TRUE(standin::SysVarPoint(L"LASTPOINT", last));
  EXPECT_EQ(last[0], 9);
}

TEST_F(JigTest, EnterEscKeywordsAndTypedInputEndTheDragAsTheHostDoes) {
  // Enter is refused until the jig accepts a null response.
  Session::Get().Queue({InputEvent::Key(InputKind::Enter), InputEvent::Key(InputKind::Esc)});
  LineJig jig;
  EXPECT_EQ(jig.drag(), AcEdJig::kCancel);
  EXPECT_EQ(jig.updates, 0);  // Esc updates nothing
  EXPECT_NE(Session::Get().Transcript().find(L"Invalid point."), std::wstring::npos);

  Session::Get().Queue({InputEvent::Key(InputKind::Enter)});
  LineJig nullable;
  nullable.setUserInputControls(AcEdJig::kNullResponseAccepted);
  EXPECT_EQ(nullable.drag(), AcEdJig::kNull);

  Session::Get().Queue({InputEvent::Typed(L"xyz"), InputEvent::Typed(L"ba")});
  LineJig keywords;
  keywords.setKeywordList(L"Angle Base");
  EXPECT_EQ(keywords.drag(), AcEdJig::kKW2);
  ACHAR text[132];
  ASSERT_EQ(acedGetInput(text), RTNORM);
  EXPECT_STREQ(text, L"Base");
  EXPECT_NE(Session::Get().Transcript().find(L"Point or option keyword required."), std::wstring::npos);

  Session::Get().Queue({InputEvent::Typed(L"30,40")});
  LineJig typed;
  EXPECT_EQ(typed.drag(), AcEdJig::kNormal);
  EXPECT_EQ(typed.last, AcGePoint3d(30, 40, 0));

  // With the input exhausted the drag ends as if cancelled.
  LineJig abandoned;
  EXPECT_EQ(abandoned.drag(), AcEdJig::kCancel);
}

TEST_F(JigTest, OrthogonalModeKeepsTheLargerOffsetAlongTheSnapAxes) {
  ASSERT_TRUE(standin::SetSysVarInt(L"ORTHOMODE", 1));
  Session::Get().Queue({InputEvent::At(InputKind::Point, 10, 3)});
  LineJig jig;
  jig.withBase = true;
  jig.setUserInputControls(AcEdJig::kGovernedByOrthoMode);
  EXPECT_EQ(jig.drag(), AcEdJig::kNormal);
  EXPECT_EQ(jig.last, AcGePoint3d(10, 0, 0));

  // Without the control the host leaves the point alone.
  Session::Get().Queue({InputEvent::At(InputKind::Point, 10, 3)});
  LineJig free;
  free.withBase = true;
  EXPECT_EQ(free.drag(), AcEdJig::kNormal);
  EXPECT_EQ(free.last, AcGePoint3d(10, 3, 0));
}

}  // namespace
