// The simulated session: the scripted user's queue and the transcript.
#include "standin/host/core/session.h"

#include <gtest/gtest.h>

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override { Session::Get().Reset(); }
};

TEST_F(SessionTest, QueueRunsDryIntoEscAndSaysSo) {
  Session& s = Session::Get();
  s.Queue({InputEvent::Typed(L"one"), InputEvent::Key(InputKind::Enter)});
  EXPECT_EQ(s.PendingInput(), 2u);
  EXPECT_EQ(s.NextInput().text, L"one");
  EXPECT_EQ(s.NextInput().kind, InputKind::Enter);
  EXPECT_FALSE(s.TryNextInput().has_value());
  EXPECT_EQ(s.Transcript(), L"");
  EXPECT_EQ(s.NextInput().kind, InputKind::Esc);
  EXPECT_EQ(s.Transcript(), L" <no more input>");

  // A source is asked only when the queue is empty, and once ended stays ended.
  int asked = 0;
  s.SetInputSource([&asked]() -> std::optional<InputEvent> {
    if (++asked > 2) return std::nullopt;
    return InputEvent::Typed(std::to_wstring(asked));
  });
  s.QueueText({L"queued"});
  EXPECT_EQ(s.NextInput().text, L"queued");
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(s.NextInput().text, L"1");
  EXPECT_EQ(s.NextInput().text, L"2");
  EXPECT_FALSE(s.TryNextInput().has_value());
  EXPECT_FALSE(s.TryNextInput().has_value());
  EXPECT_EQ(asked, 3);
}

}  // namespace
