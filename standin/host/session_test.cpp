// The simulated session: the scripted user's queue, script lines, the command prompt and
// the transcript.
#include <gtest/gtest.h>

#include <stdexcept>

#include "standin/host/acutads.h"
#include "standin/host/rx.h"
#include "standin/host/session.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override {
    acedRegCmds->removeGroup(L"TEST");
    Session::Get().Reset();
  }
};

std::optional<InputEvent> Parse(const wchar_t* line, std::wstring* error = nullptr) {
  std::optional<InputEvent> event;
  std::wstring message;
  const bool ok = standin::ParseScriptLine(line, event, message);
  if (error) *error = message;
  EXPECT_EQ(ok, message.empty()) << "line: " << testing::PrintToString(std::wstring(line));
  return event;
}

TEST(ScriptLine, EveryKindOfInput) {
  EXPECT_EQ(Parse(L"sample")->text, L"sample");
  EXPECT_EQ(Parse(L"  spaced  \r")->text, L"  spaced  ");  // typed as is, CR of CRLF dropped
  EXPECT_EQ(Parse(L"<<未命名配置>>")->text, L"<未命名配置>>");
  EXPECT_EQ(Parse(L"")->kind, InputKind::Enter);
  EXPECT_FALSE(Parse(L"; a comment").has_value());
  EXPECT_EQ(Parse(L"<ENTER>")->kind, InputKind::Enter);
  EXPECT_EQ(Parse(L"<esc>")->kind, InputKind::Esc);

  auto point = Parse(L"<point 10,-2.5>");
  EXPECT_EQ(point->kind, InputKind::Point);
  EXPECT_EQ(point->point[1], -2.5);
  EXPECT_EQ(point->point[2], 0.0);
  auto pick = Parse(L"<pick 2a 1,2,3>");
  EXPECT_EQ(pick->kind, InputKind::Pick);
  EXPECT_EQ(pick->text, L"2A");
  EXPECT_EQ(pick->point[2], 3.0);
  auto window = Parse(L"<crossing 0,0 10,20>");
  EXPECT_EQ(window->kind, InputKind::Crossing);
  EXPECT_EQ(window->corner[1], 20.0);
  auto cursor = Parse(L"<cursor 5,5 400,300>");
  EXPECT_TRUE(cursor->hasPixel);
  EXPECT_EQ(cursor->pixel[0], 400);
  EXPECT_FALSE(Parse(L"<cursor 5,5>")->hasPixel);
}

TEST(ScriptLine, MalformedDirectivesAreRefusedWithAReason) {
  for (const wchar_t* bad : {L"<point>", L"<point 1>", L"<point 1,x>", L"<point 1,2,3,4>", L"<point 1e999,0>",
                             L"<point nan,0>", L"<pick>", L"<pick zz>", L"<window 0,0>", L"<enter now>",
                             L"<cursor 1,1 2.5,3>", L"<teleport 1,1>", L"<point 1,2", L"<>"}) {
    std::wstring error;
    std::optional<InputEvent> event;
    EXPECT_FALSE(standin::ParseScriptLine(bad, event, error)) << testing::PrintToString(std::wstring(bad));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(event.has_value());
  }
}

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

int g_runs = 0;
void Counted() { ++g_runs; }
void Throws() { throw std::runtime_error("boom"); }
void Prints() { acutPrintf(L"\n%s=%d", L"宽度", 42); }

TEST_F(SessionTest, CommandPromptRunsRepeatsAndRefuses) {
  Session& s = Session::Get();
  acedRegCmds->addCommand(L"TEST", L"Counted", L"Counted", ACRX_CMD_MODAL, Counted);
  acedRegCmds->addCommand(L"TEST", L"Throws", L"Throws", ACRX_CMD_MODAL, Throws);
  acedRegCmds->addCommand(L"TEST", L"Prints", L"Prints", ACRX_CMD_MODAL, Prints);
  g_runs = 0;
  s.Queue({InputEvent::Typed(L"counted"), InputEvent::Key(InputKind::Enter), InputEvent::Typed(L"  "),
           InputEvent::Typed(L"nosuch"), InputEvent::Key(InputKind::Esc), InputEvent::Typed(L"throws"),
           InputEvent::Typed(L"prints"), InputEvent::At(InputKind::Cursor, 1, 1)});
  s.RunCommandLoop();
  EXPECT_EQ(g_runs, 3);  // typed, then repeated by Enter and by a blank line
  EXPECT_EQ(s.Transcript(),
            L"\nCommand: counted\nCommand: \nCommand:   \nCommand: nosuch"
            L"\nUnknown command \"NOSUCH\".  Press F1 for help.\nCommand: *Cancel*\nCommand: throws"
            L"\n; error: the command Throws ended with an exception\nCommand: prints\n宽度=42"
            L"\nCommand: \nCommand: ");
  const auto runs = s.Journal(standin::JournalKind::CommandRun);
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_EQ(runs[4].text, L"Prints");
}

}  // namespace
