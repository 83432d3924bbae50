// Just enough of the host's MFC windows, behaving as the host's do: one drawing view that lives as
// long as the process.
#include <rxmfcapi.h>

#include "standin/host/drawing/sysvars.h"
#include "standin/win32/window.h"

CView* acedGetAcadDwgView() {
  static CView* view = [] {
    double screen[3] = {800, 600, 0};
    standin::SysVarPoint(L"SCREENSIZE", screen);
    auto* v = new CView;  // never destroyed: a timer may repaint it while the process exits
    v->m_hWnd =
        standin::CreateStandInWindow(L"drawing view", static_cast<LONG>(screen[0]), static_cast<LONG>(screen[1]));
    return v;
  }();
  return view;
}
