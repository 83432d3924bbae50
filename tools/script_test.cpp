// The host program's script lines.
#include "tools/script.h"

#include <gtest/gtest.h>

#include "standin/host/core/session.h"

namespace {

using standin::InputEvent;
using standin::InputKind;

std::optional<InputEvent> Parse(const wchar_t* line, std::wstring* error = nullptr) {
  std::optional<InputEvent> event;
  std::wstring message;
  const bool ok = ParseScriptLine(line, event, message);
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
  auto zoom = Parse(L"<zoom 100,50 2.5e2>");
  EXPECT_EQ(zoom->kind, InputKind::Zoom);
  EXPECT_EQ(zoom->point[0], 100.0);
  EXPECT_EQ(zoom->size, 250.0);
}

TEST(ScriptLine, MalformedDirectivesAreRefusedWithAReason) {
  for (const wchar_t* bad : {L"<point>", L"<point 1>", L"<point 1,x>", L"<point 1,2,3,4>", L"<point 1e999,0>",
                             L"<point nan,0>", L"<pick>", L"<pick zz>", L"<window 0,0>", L"<enter now>",
                             L"<cursor 1,1 2.5,3>", L"<zoom 0,0>", L"<zoom 0,0 0>",
                             L"<zoom 0,0 -5>", L"<zoom 0,0 5x>", L"<zoom 0,0 inf>", L"<teleport 1,1>", L"<point 1,2", L"<>"}) {
    std::wstring error;
    std::optional<InputEvent> event;
    EXPECT_FALSE(ParseScriptLine(bad, event, error)) << testing::PrintToString(std::wstring(bad));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(event.has_value());
  }
}

}  // namespace
