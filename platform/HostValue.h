// Typed reads and writes of values the host hands over in result buffers: system variables and
// the first node of a LISP symbol's value. Module-internal (not exported).
#pragma once

#include <cstdlib>
#include <cstring>

#include "platform/Host.h"
#include "platform/Siblings.h"
#include "platform/Win32.h"

// Copies the buffer's value when it has the type the output takes: RTSTR text, RTREAL double,
// RTSHORT int (sign-extended), RT3DPOINT point, and RTPOINT as well when b2dPoint.
inline bool TakeValue(const resbuf& rb, CString& strValue, bool /*b2dPoint*/) {
  if (rb.restype != RTSTR) return false;
  strValue = rb.resval.rstring;
  return true;
}

inline bool TakeValue(const resbuf& rb, double& dValue, bool /*b2dPoint*/) {
  if (rb.restype != RTREAL) return false;
  dValue = rb.resval.rreal;
  return true;
}

inline bool TakeValue(const resbuf& rb, int& nValue, bool /*b2dPoint*/) {
  if (rb.restype != RTSHORT) return false;
  nValue = rb.resval.rint;
  return true;
}

inline bool TakeValue(const resbuf& rb, ZoGePoint& ptValue, bool b2dPoint) {
  if (rb.restype != RT3DPOINT && !(b2dPoint && rb.restype == RTPOINT)) return false;
  ptValue.x = rb.resval.rpoint[X];
  ptValue.y = rb.resval.rpoint[Y];
  ptValue.z = rb.resval.rpoint[Z];
  return true;
}

// The system variable's value, when the host has it with the type of T (a point may be 2D);
// the output is written only then. T is CString, double, int or ZoGePoint.
template <class T>
bool GetSysVar(const wchar_t* pszName, T& value) {
  resbuf rb;
  std::memset(&rb, 0, sizeof(rb));
  if (!pszName || acedGetVar(pszName, &rb) != RTNORM) return false;
  const bool bTaken = TakeValue(rb, value, true);
  // The host copied a text for us: it is released whatever the caller wanted.
  if (rb.restype == RTSTR) acutDelString(rb.resval.rstring);
  return bTaken;
}

// As GetSysVar, for the first node of the value bound to a LISP symbol; a point must be 3D.
// The host's list is released in every case.
template <class T>
bool GetSymValue(const wchar_t* pszName, T& value) {
  if (!pszName) return false;
  resbuf* pList = nullptr;
  const bool bTaken = acedGetSym(pszName, &pList) == RTNORM && pList && TakeValue(*pList, value, false);
  if (pList) acutRelRb(pList);
  return bTaken;
}

// Sets a system variable that holds a 16-bit integer; the host's status.
inline int SetSysVar(const wchar_t* pszName, int nValue) {
  resbuf rb;
  rb.rbnext = nullptr;
  rb.restype = RTSHORT;
  rb.resval.rint = static_cast<short>(nValue);
  return acedSetVar(pszName, &rb);
}
