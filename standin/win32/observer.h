// What the Win32 stand-in shows the user (message boxes, timers, synthesised keystrokes) is reported to one observer,
// which the host's simulated session installs, so the session journal sees it without
// Win32 depending on the host.
#pragma once

#include <windef.h>

struct tagRECT;

namespace standin {

class Win32Observer {
 public:
  virtual ~Win32Observer() = default;
  virtual void OnMessageBox(LPCWSTR text, LPCWSTR caption, UINT type) = 0;
  // A multimedia timer started, and stopped (killed, or a one-shot timer that has fired); called
  // on whichever thread started or stopped it.
  virtual void OnTimerStart(UINT /*id*/, UINT /*delay*/, UINT /*resolution*/, UINT /*event*/) {}
  virtual void OnTimerStop(UINT /*id*/) {}
  // A window's client area (all of it when rect is null) was invalidated; window is the name it
  // was created with.
  virtual void OnInvalidateRect(LPCWSTR /*window*/, const tagRECT* /*rect*/, BOOL /*erase*/) {}
  // A program synthesised a keystroke (SendInput): its virtual key and KEYEVENTF_ flags.
  virtual void OnKeyInput(WORD /*key*/, DWORD /*flags*/) {}
};

// The observer stays owned by the caller; null removes it.
void SetWin32Observer(Win32Observer* observer);
Win32Observer* GetWin32Observer();

}  // namespace standin
