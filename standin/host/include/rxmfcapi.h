// Just enough of the host's MFC extension API, behaving as the host's does, for the module to
// repaint the drawing view; what is invalidated there goes into the session's journal as an
// Invalidate entry naming the window "drawing view".
#pragma once

#include <afxwin.h>

// The view of the current drawing, whose client area is SCREENSIZE pixels. Never NULL: the
// session always holds a drawing. Safe to call from any thread.
CView* acedGetAcadDwgView();
