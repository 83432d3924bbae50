// Just enough of Win32 windows and of MFC's window classes, behaving as user32 and MFC do: a
// table of windows under one lock, since windows are invalidated from timer threads too.
#include "standin/win32/window.h"

#include <winuser.h>

#include <atomic>
#include <cstdio>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "standin/win32/observer.h"
#include "standin/win32/utf8.h"

namespace standin {

namespace {

struct Window {
  std::wstring name;
  LONG width = 0, height = 0;
  LONG left = 0, top = 0;  // the client area's origin on the screen
};

struct Windows {
  std::mutex mutex;
  std::map<HWND, Window> windows;
  uintptr_t next = 0x10010;  // handles are opaque values, never addresses
  POINT cursor{0, 0};
};

Windows& Table() {
  static Windows* table = new Windows;  // never destroyed: views may be invalidated at exit
  return *table;
}

// The window's name and size, false when the handle names no window.
bool Find(HWND hWnd, Window& out) {
  Windows& t = Table();
  std::lock_guard<std::mutex> lock(t.mutex);
  const auto it = t.windows.find(hWnd);
  if (it == t.windows.end()) return false;
  out = it->second;
  return true;
}

void Report(const std::wstring& name, const RECT* rect, BOOL erase) {
  if (Win32Observer* observer = GetWin32Observer()) observer->OnInvalidateRect(name.c_str(), rect, erase);
}

}  // namespace

HWND CreateStandInWindow(const wchar_t* name, LONG width, LONG height, LONG left, LONG top) {
  Windows& t = Table();
  std::lock_guard<std::mutex> lock(t.mutex);
  const HWND hWnd = reinterpret_cast<HWND>(t.next);
  t.next += 4;
  t.windows[hWnd] = {name ? name : L"", width, height, left, top};
  return hWnd;
}

}  // namespace standin

BOOL IsWindow(HWND hWnd) {
  standin::Window w;
  return standin::Find(hWnd, w) ? TRUE : FALSE;
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
  if (!hWnd) {
    std::vector<std::wstring> names;
    {
      standin::Windows& t = standin::Table();
      std::lock_guard<std::mutex> lock(t.mutex);
      for (const auto& entry : t.windows) names.push_back(entry.second.name);
    }
    for (const std::wstring& name : names) standin::Report(name, lpRect, bErase);
    return TRUE;
  }
  standin::Window w;
  if (!standin::Find(hWnd, w)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  standin::Report(w.name, lpRect, bErase);
  return TRUE;
}

BOOL GetCursorPos(LPPOINT lpPoint) {
  if (!lpPoint) return FALSE;
  standin::Windows& t = standin::Table();
  std::lock_guard<std::mutex> lock(t.mutex);
  *lpPoint = t.cursor;
  return TRUE;
}

BOOL SetCursorPos(int X, int Y) {
  standin::Windows& t = standin::Table();
  std::lock_guard<std::mutex> lock(t.mutex);
  t.cursor = {X, Y};
  return TRUE;
}

namespace standin {
namespace {

// Moves the point by the window's client origin on the screen, times sign.
BOOL ShiftByClientOrigin(HWND hWnd, LPPOINT lpPoint, LONG sign) {
  Window w;
  if (!Find(hWnd, w) || !lpPoint) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  lpPoint->x += sign * w.left, lpPoint->y += sign * w.top;
  return TRUE;
}

}  // namespace
}  // namespace standin

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) { return standin::ShiftByClientOrigin(hWnd, lpPoint, -1); }
BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) { return standin::ShiftByClientOrigin(hWnd, lpPoint, 1); }

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
  standin::Window w;
  if (!standin::Find(hWnd, w) || !lpRect) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *lpRect = {0, 0, w.width, w.height};
  return TRUE;
}

BOOL DestroyWindow(HWND hWnd) {
  standin::Windows& t = standin::Table();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (t.windows.erase(hWnd) == 0) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}

namespace {
std::atomic<standin::Win32Observer*> g_observer{nullptr};
}  // namespace

namespace standin {
void SetWin32Observer(Win32Observer* observer) { g_observer = observer; }
Win32Observer* GetWin32Observer() { return g_observer; }
}  // namespace standin

// No one sits at the stand-in's screen: the box is reported and answered with its first button.
int MessageBoxW(HWND /*hWnd*/, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  const wchar_t* text = lpText ? lpText : L"";
  std::fprintf(stderr, "[message box] %s\n", standin::ToUtf8(text).c_str());
  if (auto* observer = standin::GetWin32Observer()) observer->OnMessageBox(text, lpCaption ? lpCaption : L"", uType);
  switch (uType & 0x0F) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
      return IDYES;
    default:
      return IDOK;
  }
}
