// Layer 4 of the stand-in host, over the view: interaction with the user. The input calls
// (keywords, points), selection sets and their filter language, the "Select objects" dialogue and
// transforms of selected entities. The scripted user's events are consumed here as the host
// consumes a person's input.
//
// The options armed by acedInitGet and the keyword matching every input call shares.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "standin/host/core/session.h"

namespace standin {

struct Keyword {
  std::wstring local;   // as armed, capitals included
  std::wstring abbrev;  // explicit ("Name,Abbr") or its capital letters; may be empty
  std::wstring global;  // what a match returns
};

// The options armed by acedInitGet, for every input call of the stand-in host.
struct InputOptions {
  int flags = 0;
  std::vector<Keyword> keywords;
};

// Parses a keyword list as acedInitGet takes one: "Local Names _ Global Names" pairs local
// keywords with global ones by position; "Name,Abbr" gives an abbreviation.
std::vector<Keyword> ParseKeywordList(const wchar_t* list);

// Takes the pending acedInitGet options (they apply to one input call); none armed gives
// flags 0 and no keywords. Every input call starts with it and also forgets the last keyword.
InputOptions TakeInputOptions();

enum class KeywordMatch { None, Found, Ambiguous };
// Matches typed text (blanks trimmed) against the armed keywords; Found puts the global keyword
// in global.
KeywordMatch MatchKeyword(const InputOptions& options, std::wstring_view typed, std::wstring& global);

// What acedGetInput returns from now on (set by an input call that returns a keyword or text).
void SetLastInput(std::wstring_view text);

// The next event of the scripted user; typed text has passed the message filters registered with
// acedRegisterFilterWinMsg (a line they dropped is passed over).
InputEvent NextUserInput();
// The next event of the scripted user that is not a cursor move.
InputEvent NextMeaningfulInput();

// The next event of the scripted user, typed text echoed as the host echoes it; blank text is
// Enter, as on the host's command line.
InputEvent NextTypedInput();
// Takes a click at p (user coordinates) to the point the running object snaps find, unless the
// options say RSG_NOOSNAP.
void SnapClick(const InputOptions& options, double p[3]);
// Prints the host's "*Cancel*".
void PrintCancel();

// The point a typed text names at a prompt: relative input starts from base (LASTPOINT when NULL),
// a left-out z is ELEVATION. False for text that names no point.
bool TypedPoint(const std::wstring& text, const double* base, double point[3]);

// The host's reaction to input a call cannot use: the message on a line of its own, then the
// prompt again.
void RefuseInput(const wchar_t* message, const wchar_t* prompt);

// The host's messages for refused input.
extern const wchar_t* const kInvalidKeyword;  // "Invalid option keyword."
extern const wchar_t* const kAmbiguous;       // "Ambiguous response, please clarify..."
extern const wchar_t* const kInvalidPoint;    // "Invalid point."
extern const wchar_t* const kPointOrKeyword;  // "Point or option keyword required."

}  // namespace standin
