// Just enough of the database module's command-line stream, behaving as the family's does:
// inserting a text prints it on the host's command line as acutPrintf("%s", text) does.
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
