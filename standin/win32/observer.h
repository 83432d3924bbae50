// What the Win32 stand-in shows the user (message boxes, timers) is reported to one observer,
// which the host's simulated session installs, so the session journal sees it without
// Win32 depending on the host.
#pragma once

#include "standin/win32/windef.h"

namespace standin {

class Win32Observer {
 public:
  virtual ~Win32Observer() = default;
  virtual void OnMessageBox(LPCWSTR text, LPCWSTR caption, UINT type) = 0;
};

// The observer stays owned by the caller; null removes it.
void SetWin32Observer(Win32Observer* observer);
Win32Observer* GetWin32Observer();

}  // namespace standin
