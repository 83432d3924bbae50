// Just enough of Win32 windows, behaving as user32 does, for the module to repaint the host's
// drawing view: a window is a handle with a name and a client area, and every invalidation is
// reported to the stand-in's observer (the session's journal). Message box styles and answers.
#pragma once

#include <wingdi.h>

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
int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);

// --- The cursor and screen coordinates ---

// Where the mouse cursor is, in screen coordinates; FALSE for a NULL pointer.
BOOL GetCursorPos(LPPOINT lpPoint);
BOOL SetCursorPos(int X, int Y);
// Between screen coordinates and the window's client coordinates; FALSE with
// ERROR_INVALID_WINDOW_HANDLE for a handle that names no window, and for a NULL point.
BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint);
BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint);

// --- Rectangles ---

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);
BOOL SetRectEmpty(LPRECT lprc);
BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc);
BOOL InflateRect(LPRECT lprc, int dx, int dy);
BOOL OffsetRect(LPRECT lprc, int dx, int dy);
BOOL IsRectEmpty(const RECT* lprc);
BOOL EqualRect(const RECT* lprc1, const RECT* lprc2);
BOOL PtInRect(const RECT* lprc, POINT pt);
// FALSE and an empty result when the two do not overlap.
BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
// A one-pixel border drawn with the brush; nothing when right < left or bottom < top.
int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr);

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_ICONERROR 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONWARNING 0x00000030L
#define MB_ICONINFORMATION 0x00000040L
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

// --- Messages and the keyboard ---

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *PMSG, *LPMSG;

#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102

#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20

typedef struct tagMOUSEINPUT {
  LONG dx;
  LONG dy;
  DWORD mouseData;
  DWORD dwFlags;
  DWORD time;
  ULONG_PTR dwExtraInfo;
} MOUSEINPUT, *PMOUSEINPUT, *LPMOUSEINPUT;

typedef struct tagKEYBDINPUT {
  WORD wVk;
  WORD wScan;
  DWORD dwFlags;
  DWORD time;
  ULONG_PTR dwExtraInfo;
} KEYBDINPUT, *PKEYBDINPUT, *LPKEYBDINPUT;

typedef struct tagHARDWAREINPUT {
  DWORD uMsg;
  WORD wParamL;
  WORD wParamH;
} HARDWAREINPUT, *PHARDWAREINPUT, *LPHARDWAREINPUT;

#define INPUT_MOUSE 0
#define INPUT_KEYBOARD 1
#define INPUT_HARDWARE 2

#define KEYEVENTF_EXTENDEDKEY 0x0001
#define KEYEVENTF_KEYUP 0x0002
#define KEYEVENTF_UNICODE 0x0004
#define KEYEVENTF_SCANCODE 0x0008

typedef struct tagINPUT {
  DWORD type;
  union {
    MOUSEINPUT mi;
    KEYBDINPUT ki;
    HARDWAREINPUT hi;
  };
} INPUT, *PINPUT, *LPINPUT;

// Synthesises the events in order; each keyboard event is reported to the stand-in's observer
// (the session's journal), mouse and hardware events are taken without effect (the scripted user
// owns the mouse). The number of events inserted; 0 with ERROR_INVALID_PARAMETER for a size that
// is not sizeof(INPUT) or a NULL array with events.
UINT SendInput(UINT cInputs, LPINPUT pInputs, int cbSize);
// The keyboard layout of the thread (any thread: the stand-in has one layout): US English,
// 0x04090409, unless a test installed an input method, which gives a layout of its own.
HKL GetKeyboardLayout(DWORD idThread);
