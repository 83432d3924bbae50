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
