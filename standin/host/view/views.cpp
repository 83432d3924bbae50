// Just enough of the host's views, behaving as the host's do: the view of every viewport, the user
// coordinate system, the view variables that show them, acedSetCurrentView, acedTrans and the
// pixel conversions of the drawing view.
#include "standin/host/view/views.h"

#include <aced.h>
#include <acedads.h>
#include <dbsymtb.h>
#include <rxmfcapi.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <utility>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/viewports.h"

namespace standin {

namespace {

using Vec = std::array<double, 3>;

Vec Of(const double* p) { return {p[0], p[1], p[2]}; }
double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec Cross(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec Scaled(const Vec& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }
Vec Sum(const Vec& a, const Vec& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Vec Diff(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Length(const Vec& a) { return std::sqrt(Dot(a, a)); }
Vec Unit(const Vec& a) { return Scaled(a, 1 / Length(a)); }

// An orthonormal frame: origin and axes, in world coordinates.
struct Frame {
  Vec origin, x, y, z;
  Vec ToWorld(const Vec& p, bool disp) const {
    const Vec v = Sum(Sum(Scaled(x, p[0]), Scaled(y, p[1])), Scaled(z, p[2]));
    return disp ? v : Sum(origin, v);
  }
  Vec FromWorld(const Vec& p, bool disp) const {
    const Vec d = disp ? p : Diff(p, origin);
    return {Dot(d, x), Dot(d, y), Dot(d, z)};
  }
};

// Display coordinates: origin at the target, z towards the eye, x to the right of the screen.
// Without twist x lies in the world's XY plane (the world's x axis for a view from above); the
// twist turns the picture counter-clockwise on the screen, so the axes turn clockwise.
Frame DisplayFrame(const View& v) {
  const Vec z = Unit(Of(v.direction));
  const Vec up{0, 0, 1};
  Vec x0 = Cross(up, z);
  if (Length(x0) < 1e-12) x0 = {z[2] > 0 ? 1.0 : -1.0, 0, 0};
  x0 = Unit(x0);
  const Vec y0 = Cross(z, x0);
  const double c = std::cos(v.twist), s = std::sin(v.twist);
  return {Of(v.target), Diff(Scaled(x0, c), Scaled(y0, s)), Sum(Scaled(x0, s), Scaled(y0, c)), z};
}

Frame UcsFrame(const Ucs& u) {
  const Vec x = Of(u.xAxis), y = Of(u.yAxis);
  return {Of(u.origin), x, y, Cross(x, y)};
}

struct State {
  std::recursive_mutex mutex;
  std::map<std::pair<bool, int>, View> views;  // by (TILEMODE, viewport); missing: the default
  Ucs ucs;
};

State& GetState() {
  static State* state = new State;  // never destroyed: modules may convert points while the process exits
  return *state;
}

bool Tiled() { return SysVarInt(L"TILEMODE", 1) != 0; }

// The default view of a viewport: 800 x 600 units of model space, or the whole 420 x 297 sheet.
View DefaultView(bool tiled, int viewport) {
  View v;
  if (!tiled && viewport == 1) v.center[0] = 210, v.center[1] = 148.5, v.height = 315;
  return v;
}

View StoredView(bool tiled, int viewport) {
  State& st = GetState();
  std::lock_guard<std::recursive_mutex> lock(st.mutex);
  const auto it = st.views.find({tiled, viewport});
  return it != st.views.end() ? it->second : DefaultView(tiled, viewport);
}

bool FindViewport(int number, Viewport& out) {
  for (const Viewport& v : Viewports())
    if (v.number == number) {
      out = v;
      return true;
    }
  return false;
}

// The variables are being written from the view: their watches must not read them back.
thread_local bool g_syncing = false;

// Shows the current viewport's view and the user coordinate system in the variables.
void SyncVariables() {
  if (g_syncing) return;
  g_syncing = true;
  const int vp = CurrentViewport();
  const View v = StoredView(Tiled(), vp);
  const Ucs u = CurrentUcs();
  const Frame ucs = UcsFrame(u), dcs = DisplayFrame(v);
  PixelRect rect{0, 0, kDrawingViewWidth, kDrawingViewHeight};
  ViewportPixels(vp, rect);
  const Vec center = ucs.FromWorld(dcs.ToWorld({v.center[0], v.center[1], 0}, false), false);
  SetSysVarPoint(L"VIEWCTR", center.data());
  SetSysVarReal(L"VIEWSIZE", v.height);
  SetSysVarPoint(L"VIEWDIR", ucs.FromWorld(Of(v.direction), true).data());
  SetSysVarPoint(L"TARGET", ucs.FromWorld(Of(v.target), false).data());
  SetSysVarReal(L"VIEWTWIST", v.twist);
  SetSysVarInt(L"VIEWMODE", v.mode);
  SetSysVarReal(L"LENSLENGTH", v.lens);
  SetSysVarReal(L"FRONTZ", v.front);
  SetSysVarReal(L"BACKZ", v.back);
  const double screen[3] = {rect.width, rect.height, 0};
  SetSysVarPoint(L"SCREENSIZE", screen);
  SetSysVarPoint(L"UCSORG", u.origin);
  SetSysVarPoint(L"UCSXDIR", u.xAxis);
  SetSysVarPoint(L"UCSYDIR", u.yAxis);
  const bool world = ucs.origin == Vec{0, 0, 0} && ucs.x == Vec{1, 0, 0} && ucs.y == Vec{0, 1, 0};
  SetSysVarInt(L"WORLDUCS", world ? 1 : 0);
  g_syncing = false;
}

void Store(int viewport, const View& v) {
  State& st = GetState();
  std::lock_guard<std::recursive_mutex> lock(st.mutex);
  st.views[{Tiled(), viewport}] = v;
}

// A view variable was set (the host moving its own view, or a test): the current view follows.
void LoadFromVariables() {
  if (g_syncing) return;
  const Frame ucs = UcsFrame(CurrentUcs());
  View v;
  double p[3] = {0, 0, 0};
  if (SysVarPoint(L"TARGET", p)) {
    const Vec t = ucs.ToWorld(Of(p), false);
    std::copy(t.begin(), t.end(), v.target);
  }
  if (SysVarPoint(L"VIEWDIR", p) && Length(Of(p)) > 0) {
    const Vec d = ucs.ToWorld(Of(p), true);
    std::copy(d.begin(), d.end(), v.direction);
  }
  v.twist = SysVarReal(L"VIEWTWIST", 0);
  v.mode = SysVarInt(L"VIEWMODE", 0);
  v.lens = SysVarReal(L"LENSLENGTH", 50);
  v.front = SysVarReal(L"FRONTZ", 0);
  v.back = SysVarReal(L"BACKZ", 0);
  const double size = SysVarReal(L"VIEWSIZE", 600);
  if (size > 0) v.height = size;
  if (SysVarPoint(L"VIEWCTR", p)) {
    const Vec c = DisplayFrame(v).FromWorld(ucs.ToWorld(Of(p), false), false);
    v.center[0] = c[0], v.center[1] = c[1];
  }
  Store(CurrentViewport(), v);
  SyncVariables();
}

void Record(int viewport, const View& v, double width) {
  Session::Get().Record(JournalKind::ViewChange, L"view",
                        {static_cast<double>(viewport), v.center[0], v.center[1], v.height, width, v.direction[0],
                         v.direction[1], v.direction[2], v.twist});
}

// The scripted user's mouse: every event with a place moves the cursor there, and a zoom
// changes the view whatever call is waiting.
bool WatchInput(const InputEvent& e) {
  if (e.kind == InputKind::Zoom) {
    if (!ZoomTo(e.point, e.size)) Session::Get().Print(L" <a zoom needs a positive height>");
    return true;
  }
  if (e.kind != InputKind::Cursor && e.kind != InputKind::Point && e.kind != InputKind::Pick) return false;
  POINT pt{static_cast<LONG>(e.pixel[0]), static_cast<LONG>(e.pixel[1])};
  if (!e.hasPixel) {
    double world[3], px = 0, py = 0;
    Transform(e.point, 1, 0, false, world);
    if (!WorldToPixel(CurrentViewport(), world, px, py) || !(std::fabs(px) < 1e9 && std::fabs(py) < 1e9))
      return false;  // a point no screen shows leaves the mouse where it is
    pt = {static_cast<LONG>(std::lround(px)), static_cast<LONG>(std::lround(py))};
  }
  ClientToScreen(acedGetAcadDwgView()->m_hWnd, &pt);
  SetCursorPos(pt.x, pt.y);
  return false;
}

void Install() {
  for (const wchar_t* name : {L"VIEWCTR", L"VIEWSIZE", L"VIEWDIR", L"TARGET", L"VIEWTWIST", L"VIEWMODE",
                              L"LENSLENGTH", L"FRONTZ", L"BACKZ"})
    SetSystemVariableWatch(name, &LoadFromVariables);
  for (const wchar_t* name : {L"CVPORT", L"TILEMODE"}) SetSystemVariableWatch(name, &SyncVariables);
}

// The session's reset gives every viewport its default view and the world coordinate system back.
const bool g_registered = [] {
  Install();
  Session::Get().SetInputWatch(&WatchInput);
  Session::Get().AddResetHandler([] {
    {
      State& st = GetState();
      std::lock_guard<std::recursive_mutex> lock(st.mutex);
      st.views.clear();
      st.ucs = Ucs();
    }
    SyncVariables();
  });
  return true;
}();

}  // namespace

bool ViewOf(int viewport, View& view) {
  Viewport vp;
  if (!FindViewport(viewport, vp)) return false;
  view = StoredView(Tiled(), viewport);
  return true;
}

View CurrentView() { return StoredView(Tiled(), CurrentViewport()); }

void ShowView(const View& view) {
  const int vp = CurrentViewport();
  Store(vp, view);
  SyncVariables();
  PixelRect rect{0, 0, kDrawingViewWidth, kDrawingViewHeight};
  ViewportPixels(vp, rect);
  Record(vp, view, rect.height > 0 ? view.height * rect.width / rect.height : 0);
}

bool ZoomTo(const double center[3], double height) {
  if (!(height > 0) || !std::isfinite(height) || !std::isfinite(center[0]) || !std::isfinite(center[1]) ||
      !std::isfinite(center[2]))
    return false;
  View v = CurrentView();
  double display[3];
  Transform(center, 1, 2, false, display);
  v.center[0] = display[0], v.center[1] = display[1], v.height = height;
  ShowView(v);
  return true;
}

Ucs CurrentUcs() {
  State& st = GetState();
  std::lock_guard<std::recursive_mutex> lock(st.mutex);
  return st.ucs;
}

bool SetUcs(const Ucs& ucs) {
  const Vec x = Of(ucs.xAxis), y0 = Of(ucs.yAxis);
  for (double c : {ucs.origin[0], ucs.origin[1], ucs.origin[2]})
    if (!std::isfinite(c)) return false;
  if (!(Length(x) > 0) || !std::isfinite(Length(x)) || !std::isfinite(Length(y0))) return false;
  const Vec ux = Unit(x);
  const Vec z = Cross(ux, y0);
  if (!(Length(z) > 1e-12 * Length(y0))) return false;
  const Vec uy = Unit(Cross(Unit(z), ux));
  Ucs u = ucs;
  std::copy(ux.begin(), ux.end(), u.xAxis);
  std::copy(uy.begin(), uy.end(), u.yAxis);
  {
    State& st = GetState();
    std::lock_guard<std::recursive_mutex> lock(st.mutex);
    st.ucs = u;
  }
  SyncVariables();
  Session::Get().Record(JournalKind::ViewChange, L"ucs",
                        {u.origin[0], u.origin[1], u.origin[2], u.xAxis[0], u.xAxis[1], u.xAxis[2], u.yAxis[0],
                         u.yAxis[1], u.yAxis[2]});
  return true;
}

bool ViewportPixels(int viewport, PixelRect& rect) {
  Viewport vp;
  if (!FindViewport(viewport, vp)) return false;
  if (Tiled()) {
    // Tiled viewports are given in fractions of the drawing view, from its lower-left corner.
    rect = {vp.lowerLeft[0] * kDrawingViewWidth, (1 - vp.upperRight[1]) * kDrawingViewHeight,
            (vp.upperRight[0] - vp.lowerLeft[0]) * kDrawingViewWidth,
            (vp.upperRight[1] - vp.lowerLeft[1]) * kDrawingViewHeight};
  } else if (viewport == 1) {
    rect = {0, 0, kDrawingViewWidth, kDrawingViewHeight};
  } else {
    // A floating viewport covers the pixels that show its corners on the sheet.
    const double ll[3] = {vp.lowerLeft[0], vp.lowerLeft[1], 0}, ur[3] = {vp.upperRight[0], vp.upperRight[1], 0};
    double x1, y1, x2, y2;
    if (!WorldToPixel(1, ll, x1, y1) || !WorldToPixel(1, ur, x2, y2)) return false;
    rect = {std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1)};
  }
  return rect.width > 0 && rect.height > 0 && std::isfinite(rect.width) && std::isfinite(rect.height);
}

bool PixelToWorld(int viewport, double px, double py, double world[3]) {
  PixelRect rect;
  if (!ViewportPixels(viewport, rect)) return false;
  const View v = StoredView(Tiled(), viewport);
  const double scale = v.height / rect.height;
  const double x = v.center[0] + (px - rect.left - rect.width / 2) * scale;
  const double y = v.center[1] - (py - rect.top - rect.height / 2) * scale;
  const Vec w = DisplayFrame(v).ToWorld({x, y, 0}, false);
  std::copy(w.begin(), w.end(), world);
  return true;
}

bool WorldToPixel(int viewport, const double world[3], double& px, double& py) {
  PixelRect rect;
  if (!ViewportPixels(viewport, rect)) return false;
  const View v = StoredView(Tiled(), viewport);
  const double scale = v.height / rect.height;
  const Vec d = DisplayFrame(v).FromWorld(Of(world), false);
  px = rect.left + rect.width / 2 + (d[0] - v.center[0]) / scale;
  py = rect.top + rect.height / 2 - (d[1] - v.center[1]) / scale;
  return true;
}

bool Transform(const double in[3], int from, int to, bool disp, double out[3]) {
  if (from < 0 || from > 2 || to < 0 || to > 2) return false;
  const Frame ucs = UcsFrame(CurrentUcs()), dcs = DisplayFrame(CurrentView());
  Vec p = Of(in);
  if (from == 1) p = ucs.ToWorld(p, disp);
  if (from == 2) p = dcs.ToWorld(p, disp);
  if (to == 1) p = ucs.FromWorld(p, disp);
  if (to == 2) p = dcs.FromWorld(p, disp);
  std::copy(p.begin(), p.end(), out);
  return true;
}

}  // namespace standin

int acedTrans(const ads_point pt, const struct resbuf* from, const struct resbuf* to, int disp, ads_point result) {
  if (!pt || !from || !to || !result || from->restype != RTSHORT || to->restype != RTSHORT) return RTERROR;
  return standin::Transform(pt, from->resval.rint, to->resval.rint, disp != 0, result) ? RTNORM : RTERROR;
}

Acad::ErrorStatus acedSetCurrentView(AcDbViewTableRecord* pVwRec, AcDbViewport* pVP) {
  if (!pVwRec) return Acad::eNullObjectPointer;
  if (pVP) return Acad::eNotImplementedYet;  // the stand-in has no viewport entities
  const bool tiled = standin::Tiled();
  const bool paperActive = !tiled && standin::CurrentViewport() == 1;
  if (pVwRec->isPaperspaceView() && tiled) return Acad::eNotInPaperspace;
  if (pVwRec->isPaperspaceView() != paperActive)
    return pVwRec->isPaperspaceView() ? Acad::eBadPaperspaceView : Acad::eNullObjectPointer;
  const AcGePoint2d c = pVwRec->centerPoint();
  const AcGePoint3d t = pVwRec->target();
  const AcGeVector3d d = pVwRec->viewDirection();
  const double values[] = {c.x, c.y, t.x, t.y, t.z, d.x, d.y, d.z, pVwRec->height(), pVwRec->width(),
                           pVwRec->viewTwist(), pVwRec->lensLength(), pVwRec->frontClipDistance(),
                           pVwRec->backClipDistance()};
  for (double value : values)
    if (!std::isfinite(value)) return Acad::eInvalidInput;
  if (!(pVwRec->height() > 0) || pVwRec->width() < 0 || !(d.length() > 0)) return Acad::eInvalidInput;
  standin::PixelRect rect{0, 0, standin::kDrawingViewWidth, standin::kDrawingViewHeight};
  standin::ViewportPixels(standin::CurrentViewport(), rect);
  standin::View v;
  v.center[0] = c.x, v.center[1] = c.y;
  v.height = std::max(pVwRec->height(), pVwRec->width() * rect.height / rect.width);
  v.target[0] = t.x, v.target[1] = t.y, v.target[2] = t.z;
  v.direction[0] = d.x, v.direction[1] = d.y, v.direction[2] = d.z;
  v.twist = pVwRec->viewTwist();
  v.lens = pVwRec->lensLength();
  v.front = pVwRec->frontClipDistance();
  v.back = pVwRec->backClipDistance();
  v.mode = (pVwRec->perspectiveEnabled() ? 1 : 0) | (pVwRec->frontClipEnabled() ? 2 : 0) |
           (pVwRec->backClipEnabled() ? 4 : 0) | (pVwRec->frontClipAtEye() ? 0 : 16);
  standin::ShowView(v);
  return Acad::eOk;
}

void acedCoordFromPixelToWorld(const CPoint& ptIn, acedDwgPoint ptOut) {
  if (!standin::PixelToWorld(standin::CurrentViewport(), ptIn.x, ptIn.y, ptOut)) ptOut[0] = ptOut[1] = ptOut[2] = 0;
}

bool acedCoordFromPixelToWorld(int windnum, CPoint ptIn, acedDwgPoint ptOut) {
  return standin::PixelToWorld(windnum, ptIn.x, ptIn.y, ptOut);
}

bool acedCoordFromWorldToPixel(int windnum, const acedDwgPoint ptIn, CPoint& ptOut) {
  double px, py;
  if (!standin::WorldToPixel(windnum, ptIn, px, py)) return false;
  if (!(std::fabs(px) < 1e9 && std::fabs(py) < 1e9)) return false;  // no pixel so far off the screen
  ptOut.x = static_cast<LONG>(std::lround(px));
  ptOut.y = static_cast<LONG>(std::lround(py));
  return true;
}
