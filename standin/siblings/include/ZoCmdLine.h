// Just enough of the database module's command line, behaving as the family's does: the stream,
// where inserting a text prints it on the host's command line as acutPrintf("%s", text) does, and
// text sent to the command line as typed input.
#pragma once

#include <afxstr.h>

class ZoCmdLineStream {
 public:
  ZoCmdLineStream& operator<<(const wchar_t* psz);
  ZoCmdLineStream& operator<<(const CString& str);
  ZoCmdLineStream& operator<<(long n);
  ZoCmdLineStream& operator<<(double d);
};

extern ZoCmdLineStream clout;

// Sends text to the host's command line as if the user typed it, before anything the user types
// next: a blank (space or line end) ends each entry as Enter does, so " " alone is Enter (it ends
// a running "Select objects" prompt); text after the last blank is an entry of its own. Returns
// nothing (chosen: the family's callers do not look at a result).
void ZoSendCmdString(const wchar_t* pszCmd);
