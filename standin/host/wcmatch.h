// Just enough of the host's wild-card matching, behaving as the host's does, for filters and
// for the module's pattern matches of result buffers.
#pragma once

#include "standin/host/adesk.h"

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
