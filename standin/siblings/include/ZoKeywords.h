// Just enough of the database module's keyword state, shared by the family's input
// functions, for the module's prompts and picks.
#pragma once

#include <afxstr.h>

extern CString g_strInitKewords;    // keywords of the pending acedInitGet
extern int g_nInitContral;          // its control bits; -1 when none is pending
extern CString g_strSelKewWord;     // the keyword typed during a selection
extern int g_IsInputSelectKeyWord;  // non-zero when a keyword ended the selection
extern bool g_bEnableSelectKey;     // true around keyword picks
extern bool g_bEnableHotKey;        // read by the family, no effect here
