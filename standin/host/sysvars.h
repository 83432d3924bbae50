// Just enough of the host's system variables and AutoLISP symbols, behaving as the host's do,
// for the module to read and change host settings and to read values that LISP code left.
#pragma once

#include <functional>

#include "standin/host/adsdef.h"

// Copies the value of a system variable (any case) into result: restype and resval, rbnext
// untouched. A string value is a new malloc'ed copy that the caller frees. RTERROR for an
// unknown name or a NULL argument.
int acedGetVar(const ACHAR* sym, struct resbuf* result);
// RTNORM, or RTERROR (nothing changed) for an unknown or read-only variable, a value of the
// wrong type, or a value out of the variable's range. An integer variable takes RTSHORT or
// RTLONG, a real also RTANG and integers, a point either point type (2D points get z = 0,
// 3D points given to 2D variables lose their z).
int acedSetVar(const ACHAR* sym, const struct resbuf* val);

// The value bound to an AutoLISP symbol (any case) as a new chain the caller releases. A list
// of two or three reals comes back as one RTPOINT or RT3DPOINT node; an unbound symbol as one
// RTNIL node (the host's answer there is not documented; nil is what LISP sees). RTERROR for
// a name that is no symbol.
int acedGetSym(const ACHAR* sname, struct resbuf** value);
// Binds a copy of the chain to the symbol; NULL or a lone RTNIL unbinds it. RTERROR for a name
// that is no symbol, for the constants T and NIL, and for a chain holding a type that is no
// LISP value.
int acedPutSym(const ACHAR* sname, struct resbuf* value);

namespace standin {

// The host's defaults again and every symbol but PI unbound; checks stay. The session's
// Reset() calls it.
void ResetSystemVariables();
// Sets a variable as the host itself does, read-only ones included (views, extents). False for
// an unknown name or a value that does not fit the variable's type; ranges are not checked.
bool SetSystemVariable(const wchar_t* name, const resbuf& value);
// An extra condition acedSetVar puts on a variable's new value (a viewport number must name a
// viewport); a refused value makes acedSetVar return RTERROR. An empty function removes it.
void SetSystemVariableCheck(const wchar_t* name, std::function<bool(const resbuf& value)> check);

}  // namespace standin
