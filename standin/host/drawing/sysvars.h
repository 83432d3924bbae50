// Control of the host's system variables, for the stand-in host's own layers, tests and the host
// program: setting what the host itself sets, conditions on new values, and typed reads.
#pragma once

#include <adsdef.h>

#include <functional>

namespace standin {

// The host's defaults again; checks stay. The session's Reset() calls it.
void ResetSystemVariables();
// Sets a variable as the host itself does, read-only ones included (views, extents). False for
// an unknown name or a value that does not fit the variable's type; ranges are not checked.
bool SetSystemVariable(const wchar_t* name, const resbuf& value);
// SetSystemVariable with a short integer.
bool SetSysVarInt(const wchar_t* name, int value);
// An extra condition acedSetVar puts on a variable's new value (a viewport number must name a
// viewport); a refused value makes acedSetVar return RTERROR. An empty function removes it.
void SetSystemVariableCheck(const wchar_t* name, std::function<bool(const resbuf& value)> check);

// What follows every change of a variable's value (by acedSetVar or SetSystemVariable): the view
// layer keeps the view and the view variables in step. An empty function removes it.
void SetSystemVariableWatch(const wchar_t* name, std::function<void()> watch);
// SetSystemVariable with a real or a point.
bool SetSysVarReal(const wchar_t* name, double value);
bool SetSysVarPoint(const wchar_t* name, const double point[3]);

// Typed reads: the value when the variable exists with that type, else the fallback (a point is
// written only then).
int SysVarInt(const wchar_t* name, int fallback);
double SysVarReal(const wchar_t* name, double fallback);
bool SysVarPoint(const wchar_t* name, double point[3]);

}  // namespace standin
