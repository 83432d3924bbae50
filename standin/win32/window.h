// Just enough of Win32 windows and of MFC's window classes, behaving as user32 and MFC do, for the
// module to repaint the host's drawing view: a window is a handle with a name and a client area,
// and every invalidation is reported to the Win32 observer (the session's journal).
#pragma once

#include "standin/win32/gdi.h"

BOOL IsWindow(HWND hWnd);
// Adds lpRect (the whole client area when NULL) to the window's update region, the background to
// be erased first when bErase. hWnd NULL invalidates every window, as Windows does. FALSE with
// ERROR_INVALID_WINDOW_HANDLE for a handle that names no window.
BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
// The client area, (0, 0) to its width and height. FALSE with ERROR_INVALID_WINDOW_HANDLE for a
// handle that names no window, and for a NULL rectangle.
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
// FALSE with ERROR_INVALID_WINDOW_HANDLE for a handle that names no window (a destroyed one
// included).
BOOL DestroyWindow(HWND hWnd);

class CWnd {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  // A window still attached is destroyed with its object, as MFC does (with a warning there).
  virtual ~CWnd();

  HWND GetSafeHwnd() const { return m_hWnd; }
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
  void Invalidate(BOOL bErase = TRUE);
  void GetClientRect(LPRECT lpRect) const;

  HWND m_hWnd = nullptr;
};

class CView : public CWnd {};

namespace standin {

// A top-level window of the stand-in platform: name is what the journal calls it, its client
// area is width by height pixels. Safe to use from any thread.
HWND CreateStandInWindow(const wchar_t* name, LONG width, LONG height);

}  // namespace standin
