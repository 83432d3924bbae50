// Just enough of the host's command-line input functions, behaving as the host's do, for the
// module to ask the scripted user for keywords and points.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "standin/host/adsdef.h"

// Control bits of acedInitGet.
#define RSG_NONULL 0x0001  // Enter is refused
#define RSG_NOZERO 0x0002
#define RSG_NONEG 0x0004
#define RSG_NOLIM 0x0008
#define RSG_GETZ 0x0010
#define RSG_DASH 0x0020
#define RSG_2D 0x0040
#define RSG_OTHER 0x0080  // any text is taken as a keyword
#define RSG_DDISTFIRST 0x0100
#define RSG_TRACKUCS 0x0200
#define RSG_NOORTHOZ 0x0400
#define RSG_NOOSNAP 0x0800
#define RSG_NODDIST 0x1000

// Arms control bits and keywords for the next input call only, which consumes them whatever
// its result. Keywords are separated by blanks; "Local Names _ Global Names" pairs local
// keywords with global ones by position. A keyword is matched, ignoring case, by its capital
// letters ("eXit": "x"), by itself, or by a prefix that reaches its last capital and no other
// keyword shares ("LType": "lt", "lty"); "Name,Abbr" gives the abbreviation explicitly. Typed
// with a leading "_", text is matched against the global keywords. Returns RTNORM.
int acedInitGet(int val, const ACHAR* kwl);

// Shows prompt and waits for a keyword of the armed list. RTNORM with the global keyword in
// result; RTNONE for Enter (unless RSG_NONULL); RTCAN for Esc; RTERROR when no keywords are
// armed. With RSG_OTHER, text that is no keyword comes back as typed. Other input gets the
// host's message and the prompt again. At most 131 characters and the terminator are written.
int acedGetKword(const ACHAR* prompt, ACHAR* result);

// The text of the last input that a call returned as a keyword (or as arbitrary text): the
// global keyword, or what was typed. RTERROR (str untouched) when the last input call returned
// none. At most 131 characters and the terminator are written.
int acedGetInput(ACHAR* str);

// Shows prompt and waits for a point: a click (Point or Pick event: its world point), or typed
// coordinates "x,y[,z]" (z: ELEVATION), "@dx,dy[,dz]" relative to pt (or LASTPOINT when pt is
// NULL), "dist<angle" and "@dist<angle" (degrees). RTNORM with the point in result (and
// LASTPOINT); RTKWORD for an armed keyword or, with RSG_OTHER, other text (acedGetInput reads
// it); RTNONE for Enter (unless RSG_NONULL); RTCAN for Esc. Cursor moves are passed over.
int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result);

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

// Takes the pending acedInitGet options (they apply to one input call); none armed gives
// flags 0 and no keywords. Every input call starts with it and also forgets the last keyword.
InputOptions TakeInputOptions();

enum class KeywordMatch { None, Found, Ambiguous };
// Matches typed text (blanks trimmed) against the armed keywords; Found puts the global keyword
// in global.
KeywordMatch MatchKeyword(const InputOptions& options, std::wstring_view typed, std::wstring& global);

// What acedGetInput returns from now on (set by an input call that returns a keyword or text).
void SetLastInput(std::wstring_view text);

// The host's reaction to input a call cannot use: the message on a line of its own, then the
// prompt again.
void RefuseInput(const wchar_t* message, const wchar_t* prompt);

// The host's messages for refused input.
extern const wchar_t* const kInvalidKeyword;  // "Invalid option keyword."
extern const wchar_t* const kAmbiguous;       // "Ambiguous response, please clarify..."
extern const wchar_t* const kInvalidPoint;    // "Invalid point."
extern const wchar_t* const kPointOrKeyword;  // "Point or option keyword required."

}  // namespace standin
