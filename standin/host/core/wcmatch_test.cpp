#include <acutads.h>
#include <adscodes.h>
#include <adsdef.h>
#include <gtest/gtest.h>

#include <string>

#include "standin/host/core/resbuf.h"

namespace {

struct Case {
  const wchar_t* text;
  const wchar_t* pattern;
  bool matches;
};

const wchar_t kMatchMe[] = L"this is a string - test1 test2 the end";

// The host's documented examples first, then every special character on its own.
const Case kCases[] = {
    {L"Name", L"N*", true},
    {L"Name", L"???,~*m*,N*", true},
    {L"Name", L"???", false},
    {L"Name", L"~*m*", false},
    {kMatchMe, L"this*", true},
    {kMatchMe, L"*test[4-69]*", false},
    {kMatchMe, L"*test[4-61]*", true},
    {kMatchMe, L"ABC,XYZ*,*end", true},
    {L"STR1", L"STR[1-38]", true},
    {L"STR3", L"STR[1-38]", true},
    {L"STR8", L"STR[1-38]", true},
    {L"STR4", L"STR[1-38]", false},
    {L"STR", L"STR[1-38]", false},
    {L"MLINE", L"*LINE", true},
    {L"MLINE", L"*line", false},  // case-sensitive
    {L"a,b", L"*`,*", true},
    {L"ab", L"*`,*", false},
    // # digit, @ letter, . neither
    {L"A1", L"A#", true},
    {L"AB", L"A#", false},
    {L"1B", L"#@", true},
    {L"12", L"#@", false},
    {L"墙", L"@", true},
    {L"A-1", L"@.#", true},
    {L"A 1", L"@.#", true},
    {L"AB1", L"@.#", false},
    {L"A11", L"@.#", false},
    // ? one character, * any run
    {L"", L"?", false},
    {L"x", L"?", true},
    {L"xy", L"?", false},
    {L"", L"*", true},
    {L"abc", L"a*c", true},
    {L"ac", L"a*c", true},
    {L"ab", L"a*c", false},
    {L"abcbc", L"a*bc", true},
    {L"墙体A", L"墙*", true},
    {L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", L"*a*a*a*a*a*a*a*a*a*a*a*a*c", false},
    // ~ negates a whole pattern, and only at its start
    {L"Wall", L"~Door", true},
    {L"Door", L"~Door", false},
    {L"", L"~", false},
    {L"x", L"~", true},
    {L"a~b", L"a~b", true},
    {L"~x", L"`~x", true},
    {L"Door", L"~D*,Door", true},
    // [...] sets with ranges, [~...] their complement
    {L"b", L"[abc]", true},
    {L"d", L"[abc]", false},
    {L"d", L"[~abc]", true},
    {L"a", L"[~abc]", false},
    {L"m", L"[a-z]", true},
    {L"M", L"[a-z]", false},
    {L"5", L"[~0-9]", false},
    {L"-", L"[a-]", true},
    {L"b", L"[a-]", false},
    {L"]", L"[`]]", true},
    {L"-", L"[a`-z]", true},
    {L"m", L"[a`-z]", false},
    {L"x", L"[]", false},
    {L"x", L"[~]", true},
    {L"a", L"[,a]", true},
    {L",", L"[,a]", true},
    {L"[ab", L"[ab", true},  // an unclosed bracket stands for itself
    {L"a", L"[ab", false},
    // ` escapes every special character
    {L"*", L"`*", true},
    {L"a", L"`*", false},
    {L"#", L"`#", true},
    {L"1", L"`#", false},
    {L"?", L"`?", true},
    {L"@", L"`@", true},
    {L".", L"`.", true},
    {L"x", L"`.", false},
    {L"[a]", L"`[a]", true},
    {L"`", L"``", true},
    {L"`", L"`", true},  // a final reverse quote stands for itself
    // , separates alternatives, empty ones included
    {L"", L"", true},
    {L"x", L"", false},
    {L"", L"x,", true},
    {L"a", L"b,,a", true},
    {L"c", L"a,b", false},
};

TEST(WcMatch, FollowsTheHostsWildCardLanguage) {
  for (const Case& c : kCases) {
    EXPECT_EQ(acutWcMatch(c.text, c.pattern), c.matches ? RTNORM : RTERROR)
        << "text \"" << c.text << "\" pattern \"" << c.pattern << "\"";
  }
}

TEST(WcMatch, RefusesNullAndIgnoresCaseOnlyWhenAsked) {
  EXPECT_EQ(acutWcMatch(nullptr, L"*"), RTERROR);
  EXPECT_EQ(acutWcMatch(L"x", nullptr), RTERROR);
  EXPECT_EQ(acutWcMatchEx(L"wall-1", L"WALL*", true), RTNORM);
  EXPECT_EQ(acutWcMatchEx(L"wall-1", L"WALL*", false), RTERROR);
  EXPECT_EQ(acutWcMatchEx(L"m", L"[A-Z]", true), RTNORM);
  EXPECT_EQ(acutWcMatchEx(L"Q", L"[~a-z]", true), RTERROR);
  EXPECT_EQ(acutWcMatchEx(L"door", L"~DOOR", true), RTERROR);
}

TEST(WcMatch, LongTextsAgainstManyStars) {
  const std::wstring text(20000, L'a');
  std::wstring pattern;
  for (int i = 0; i < 200; ++i) pattern += L"*a";
  EXPECT_EQ(acutWcMatch(text.c_str(), (pattern + L"*b").c_str()), RTERROR);
  EXPECT_EQ(acutWcMatch(text.c_str(), (pattern + L"*").c_str()), RTNORM);
}

}  // namespace
