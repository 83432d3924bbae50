// Just enough of the database module's command line, behaving as the family's does.
#include <ZoCmdLine.h>
#include <acutads.h>

#include <string>
#include <vector>

#include "standin/host/core/session.h"

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

void ZoSendCmdString(const wchar_t* pszCmd) {
  if (!pszCmd) return;
  std::vector<standin::InputEvent> entries;
  std::wstring entry;
  for (const wchar_t* c = pszCmd; *c; ++c) {
    if (*c == L'\r' && c[1] == L'\n') continue;  // one line end
    if (*c == L' ' || *c == L'\n' || *c == L'\r') {
      entries.push_back(standin::InputEvent::Typed(entry));  // a blank entry is Enter
      entry.clear();
    } else {
      entry += *c;
    }
  }
  if (!entry.empty()) entries.push_back(standin::InputEvent::Typed(entry));
  // Queued at the front one by one, the last first, so they keep their order.
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) standin::Session::Get().QueueFront(*it);
}
