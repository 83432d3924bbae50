// Building blocks of the command-line dialogue: arming keywords for the next input call,
// typed reads of system variables and LISP symbols, a yes/no question, the keyword typed
// during a selection, and the keyword list of a prompt's bracketed options.
#pragma once

#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"
#include "platform/Win32.h"

// Arms the host's input options for the next input call and publishes them in the family's
// keyword state (g_strInitKewords, g_nInitContral), so that a routine which must ask again can
// re-arm them; the destructor clears the published state ("" and -1), not the host's.
class TOVU_PLATFORM_API ZoPtInitGet {
 public:
  ZoPtInitGet(int nControl, const wchar_t* pszKeywords);
  ~ZoPtInitGet();
  ZoPtInitGet(const ZoPtInitGet&) = delete;
  ZoPtInitGet& operator=(const ZoPtInitGet&) = delete;
};

// Typed reads of a system variable. True only when the host has it and it has the accepted
// type (text RTSTR, double RTREAL, point RT3DPOINT or RTPOINT, int RTSHORT); the output is
// written only then.
TOVU_PLATFORM_API bool ZoPtGetVar(const wchar_t* pszName, CString& strValue);
TOVU_PLATFORM_API bool ZoPtGetVar(const wchar_t* pszName, double& dValue);
TOVU_PLATFORM_API bool ZoPtGetVar(const wchar_t* pszName, ZoGePoint& ptValue);
TOVU_PLATFORM_API bool ZoPtGetVar(const wchar_t* pszName, int& nValue);

// Typed reads of the value bound to a LISP symbol (its first node), as ZoPtGetVar, except that
// a point must be a 3D point.
TOVU_PLATFORM_API bool ZoPtGetSym(const wchar_t* pszName, CString& strValue);
TOVU_PLATFORM_API bool ZoPtGetSym(const wchar_t* pszName, double& dValue);
TOVU_PLATFORM_API bool ZoPtGetSym(const wchar_t* pszName, ZoGePoint& ptValue);
TOVU_PLATFORM_API bool ZoPtGetSym(const wchar_t* pszName, int& nValue);

// Asks the prompt followed by the yes/no options. 1 for yes, 0 for no, nDefault itself for
// Enter, RTCAN for Esc; anything else the host returns counts as yes.
TOVU_PLATFORM_API int ZoPtAskYesNo(const wchar_t* pszPrompt, int nDefault);

// Hands over the keyword that ended the last entity selection: non-zero when there was one
// (it is then in strKeyword). The shared state is cleared, so a second call gives 0 and "".
TOVU_PLATFORM_API int ZoGetSelectKeyWordInput(CString& strKeyword);

// Appends to strKeywords the host keyword list of the prompt's bracketed options, the letters
// in parentheses: "[转90度(A)/左右翻(S)]" gives "A S _ A S". False when the prompt has no such
// options. Module-internal (not exported).
bool GetKeywordsFromPrompt(const wchar_t* pszPrompt, CString& strKeywords);
