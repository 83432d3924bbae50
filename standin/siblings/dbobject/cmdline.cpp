// Just enough of the database module's command-line stream, behaving as the family's does.
#include <ZoCmdLine.h>
#include <acutads.h>

ZoCmdLineStream clout;

ZoCmdLineStream& ZoCmdLineStream::operator<<(const wchar_t* psz) {
  if (psz) acutPrintf(L"%s", psz);
  return *this;
}

ZoCmdLineStream& ZoCmdLineStream::operator<<(const CString& str) { return *this << str.GetString(); }

ZoCmdLineStream& ZoCmdLineStream::operator<<(long n) {
  acutPrintf(L"%ld", n);
  return *this;
}

ZoCmdLineStream& ZoCmdLineStream::operator<<(double d) {
  acutPrintf(L"%g", d);
  return *this;
}
