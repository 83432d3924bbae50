// Just enough of the host's utility functions, behaving as the host's do, for the module: output on
// the command line, the result-buffer allocator and wild-card matching.
#pragma once

#include <adesk.h>
#include <adscodes.h>
#include <adsdef.h>

// Prints on the host's command line; the format takes wide %s and %c, as on Windows.
// Returns the number of characters printed.
int acutPrintf(const ACHAR* format, ...);

// A new node with its type set, no successor and a zeroed value; NULL when memory runs out.
struct resbuf* acutNewRb(int v);
// Releases the whole chain from rb on, with the strings and binary chunks its nodes own
// (allocated with malloc or acutNewString). Returns RTNORM, or RTERROR for NULL.
int acutRelRb(struct resbuf* rb);
// Pairs of type and value, ended by 0 (RTNONE ends it too); the list types (RTLB, RTLE,
// RTDOTE, RTNIL, RTT, RTVOID, -3) take no value; RTDXF0 makes a node of group code 0. Strings
// are copied. NULL on an unknown type.
struct resbuf* acutBuildList(int rtype, ...);
// A malloc'ed copy of pInput in pOutput; RTNORM, or RTERROR for NULL input. The caller releases
// it with acutDelString (or hands it back in a node to acutRelRb).
int acutNewString(const ACHAR* pInput, ACHAR*& pOutput);
// Releases a text the host handed out (acutNewString, a string value, a name) and sets the
// pointer to NULL; NULL is allowed. RTNORM.
int acutDelString(ACHAR*& pString);

// Compares string with a wild-card pattern, case-sensitively. RTNORM on a match, RTERROR
// otherwise (and for NULL arguments). The pattern language:
//   #  a digit            @  a letter            .  a character that is neither
//   ?  any character      *  any run, also none  [...] one of the set, with ranges a-z
//   [~...] one character not in the set          `  takes the next character literally
//   ~  at the start of a pattern: anything that pattern does not match
//   ,  separates alternative patterns; a match of any of them is a match
int acutWcMatch(const ACHAR* string, const ACHAR* pattern);
// As acutWcMatch, ignoring case when ignoreCase is true.
int acutWcMatchEx(const ACHAR* string, const ACHAR* pattern, bool ignoreCase);

// The angle (radians, from the x axis, counter-clockwise, in [0, 2 pi)) of the line from pt1 to
// pt2 in the XY plane; 0 when the points coincide there.
ads_real acutAngle(const ads_point pt1, const ads_point pt2);
// The point at distance dist and angle angle (radians) from pt in the XY plane; z stays pt's.
void acutPolar(const ads_point pt, ads_real angle, ads_real dist, ads_point result);
// Reads a distance written in the host's linear units: 1 scientific and 2 decimal (a number,
// exponent allowed), 3 engineering and 4 architectural (either form: feet with ', inches with "
// or bare, inches whole, decimal or with a fraction such as 3-1/2 or 3 1/2; the value in
// inches), 5 fractional (a number with a fraction); -1 takes LUNITS. RTERROR (v untouched) for
// text of another form, a null argument or another unit.
int acdbDisToF(const ACHAR* str, int unit, ads_real* v);
