// Just enough of the host's system variables, behaving as the host's do, for the module to read
// and change host settings.
#include "standin/host/drawing/sysvars.h"

#include <acedads.h>
#include <acutads.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "standin/host/core/session.h"
#include "standin/host/core/text.h"

namespace {

enum class VarType { Short, Real, String, Point2d, Point3d };

struct SysVar {
  VarType type;
  bool readOnly;
  int minValue, maxValue;  // Short only
  short shortValue;
  double realValue;
  std::wstring stringValue;
  double point[3];
};

struct VarDefault {
  const wchar_t* name;
  VarType type;
  bool readOnly;
  double a, b, c;  // Short and Real take a; points a, b, c
  const wchar_t* text;
  int minValue, maxValue;
};

constexpr int kAnyShort = -32768, kMaxShort = 32767;

// The defaults of a new metric drawing in model space with one tiled viewport, its view
// showing 800 x 600 drawing units on a screen of 800 x 600 pixels.
const VarDefault kDefaults[] = {
    {L"ANGBASE", VarType::Real, false, 0, 0, 0, nullptr, 0, 0},
    {L"ANGDIR", VarType::Short, false, 0, 0, 0, nullptr, 0, 1},
    {L"APERTURE", VarType::Short, false, 10, 0, 0, nullptr, 1, 50},
    {L"AUNITS", VarType::Short, false, 0, 0, 0, nullptr, 0, 4},
    {L"AUPREC", VarType::Short, false, 0, 0, 0, nullptr, 0, 8},
    {L"AUTOSNAP", VarType::Short, false, 63, 0, 0, nullptr, 0, 63},
    {L"BLIPMODE", VarType::Short, false, 0, 0, 0, nullptr, 0, 1},
    {L"CECOLOR", VarType::String, false, 0, 0, 0, L"BYLAYER", 0, 0},
    {L"CELTYPE", VarType::String, false, 0, 0, 0, L"BYLAYER", 0, 0},
    {L"CLAYER", VarType::String, false, 0, 0, 0, L"0", 0, 0},
    {L"CMDECHO", VarType::Short, false, 1, 0, 0, nullptr, 0, 1},
    {L"CMDNAMES", VarType::String, true, 0, 0, 0, L"", 0, 0},
    {L"CTAB", VarType::String, false, 0, 0, 0, L"Model", 0, 0},
    {L"CVPORT", VarType::Short, false, 2, 0, 0, nullptr, 1, kMaxShort},
    {L"BACKZ", VarType::Real, true, 0, 0, 0, nullptr, 0, 0},
    {L"DBMOD", VarType::Short, true, 0, 0, 0, nullptr, kAnyShort, kMaxShort},
    {L"DIMSCALE", VarType::Real, false, 1, 0, 0, nullptr, 0, 0},
    {L"DRAGMODE", VarType::Short, false, 2, 0, 0, nullptr, 0, 2},
    {L"DWGNAME", VarType::String, true, 0, 0, 0, L"Drawing1.dwg", 0, 0},
    {L"ELEVATION", VarType::Real, false, 0, 0, 0, nullptr, 0, 0},
    {L"ERRNO", VarType::Short, false, 0, 0, 0, nullptr, kAnyShort, kMaxShort},
    {L"EXTMAX", VarType::Point3d, true, -1e20, -1e20, -1e20, nullptr, 0, 0},
    {L"EXTMIN", VarType::Point3d, true, 1e20, 1e20, 1e20, nullptr, 0, 0},
    {L"FILLETRAD", VarType::Real, false, 0, 0, 0, nullptr, 0, 0},
    {L"FRONTZ", VarType::Real, true, 0, 0, 0, nullptr, 0, 0},
    {L"GRIDMODE", VarType::Short, false, 0, 0, 0, nullptr, 0, 1},
    {L"GRIDUNIT", VarType::Point2d, false, 10, 10, 0, nullptr, 0, 0},
    {L"HIGHLIGHT", VarType::Short, false, 1, 0, 0, nullptr, 0, 1},
    {L"INSBASE", VarType::Point3d, false, 0, 0, 0, nullptr, 0, 0},
    {L"LASTPOINT", VarType::Point3d, false, 0, 0, 0, nullptr, 0, 0},
    {L"LENSLENGTH", VarType::Real, false, 50, 0, 0, nullptr, 0, 0},
    {L"LIMCHECK", VarType::Short, false, 0, 0, 0, nullptr, 0, 1},
    {L"LIMMAX", VarType::Point2d, false, 420, 297, 0, nullptr, 0, 0},
    {L"LIMMIN", VarType::Point2d, false, 0, 0, 0, nullptr, 0, 0},
    {L"LTSCALE", VarType::Real, false, 1, 0, 0, nullptr, 0, 0},
    {L"LUNITS", VarType::Short, false, 2, 0, 0, nullptr, 1, 5},
    {L"LUPREC", VarType::Short, false, 4, 0, 0, nullptr, 0, 8},
    {L"MIRRTEXT", VarType::Short, false, 0, 0, 0, nullptr, 0, 1},
    {L"ORTHOMODE", VarType::Short, false, 0, 0, 0, nullptr, 0, 1},
    {L"OSMODE", VarType::Short, false, 4133, 0, 0, nullptr, 0, 32767},
    {L"PICKADD", VarType::Short, false, 1, 0, 0, nullptr, 0, 2},
    {L"PICKAUTO", VarType::Short, false, 1, 0, 0, nullptr, 0, 3},
    {L"PICKBOX", VarType::Short, false, 3, 0, 0, nullptr, 0, 50},
    {L"PICKFIRST", VarType::Short, false, 1, 0, 0, nullptr, 0, 1},
    {L"PICKSTYLE", VarType::Short, false, 1, 0, 0, nullptr, 0, 3},
    {L"PLINEWID", VarType::Real, false, 0, 0, 0, nullptr, 0, 0},
    {L"POLARMODE", VarType::Short, false, 0, 0, 0, nullptr, 0, 15},
    {L"SCREENSIZE", VarType::Point2d, true, 800, 600, 0, nullptr, 0, 0},
    {L"SNAPANG", VarType::Real, false, 0, 0, 0, nullptr, 0, 0},
    {L"SNAPBASE", VarType::Point2d, false, 0, 0, 0, nullptr, 0, 0},
    {L"SNAPMODE", VarType::Short, false, 0, 0, 0, nullptr, 0, 1},
    {L"SNAPSTYL", VarType::Short, false, 0, 0, 0, nullptr, 0, 1},
    {L"SNAPUNIT", VarType::Point2d, false, 10, 10, 0, nullptr, 0, 0},
    {L"TARGET", VarType::Point3d, true, 0, 0, 0, nullptr, 0, 0},
    {L"TEXTSIZE", VarType::Real, false, 2.5, 0, 0, nullptr, 0, 0},
    {L"THICKNESS", VarType::Real, false, 0, 0, 0, nullptr, 0, 0},
    {L"TILEMODE", VarType::Short, false, 1, 0, 0, nullptr, 0, 1},
    {L"UCSNAME", VarType::String, true, 0, 0, 0, L"", 0, 0},
    {L"UCSORG", VarType::Point3d, true, 0, 0, 0, nullptr, 0, 0},
    {L"UCSXDIR", VarType::Point3d, true, 1, 0, 0, nullptr, 0, 0},
    {L"UCSYDIR", VarType::Point3d, true, 0, 1, 0, nullptr, 0, 0},
    {L"UNDOCTL", VarType::Short, true, 53, 0, 0, nullptr, kAnyShort, kMaxShort},
    {L"VIEWCTR", VarType::Point3d, true, 400, 300, 0, nullptr, 0, 0},
    {L"VIEWDIR", VarType::Point3d, true, 0, 0, 1, nullptr, 0, 0},
    {L"VIEWMODE", VarType::Short, true, 0, 0, 0, nullptr, kAnyShort, kMaxShort},
    {L"VIEWSIZE", VarType::Real, true, 600, 0, 0, nullptr, 0, 0},
    {L"VIEWTWIST", VarType::Real, true, 0, 0, 0, nullptr, 0, 0},
    {L"WORLDUCS", VarType::Short, true, 1, 0, 0, nullptr, kAnyShort, kMaxShort},
};

struct State {
  std::mutex mutex;
  std::map<std::wstring, SysVar> vars;
  std::map<std::wstring, std::function<bool(const resbuf&)>> checks;  // kept by a reset
  std::map<std::wstring, std::function<void()>> watches;              // kept by a reset
};

void LoadDefaults(State& st) {
  st.vars.clear();
  for (const VarDefault& d : kDefaults) {
    SysVar v{d.type, d.readOnly, d.minValue, d.maxValue, 0, 0, d.text ? d.text : L"", {d.a, d.b, d.c}};
    if (d.type == VarType::Short) v.shortValue = static_cast<short>(d.a);
    if (d.type == VarType::Real) v.realValue = d.a;
    st.vars.emplace(d.name, std::move(v));
  }
}

State& GetState() {
  static State* state = [] {
    auto* st = new State;  // never destroyed: modules may read variables while the process exits
    LoadDefaults(*st);
    return st;
  }();
  return *state;
}

const bool g_resetRegistered = (standin::Session::Get().AddResetHandler(&standin::ResetSystemVariables), true);

bool IsInteger(const resbuf& v) { return v.restype == RTSHORT || v.restype == RTLONG; }
long IntegerOf(const resbuf& v) { return v.restype == RTSHORT ? v.resval.rint : static_cast<long>(v.resval.rlong); }

// Fits the value to the variable's type into out; false when it does not fit.
bool Convert(const SysVar& var, const resbuf& v, SysVar& out, bool checkRange) {
  out = var;
  switch (var.type) {
    case VarType::Short: {
      if (!IsInteger(v)) return false;
      const long n = IntegerOf(v);
      if (n < kAnyShort || n > kMaxShort) return false;
      if (checkRange && (n < var.minValue || n > var.maxValue)) return false;
      out.shortValue = static_cast<short>(n);
      return true;
    }
    case VarType::Real:
      if (v.restype == RTREAL || v.restype == RTANG)
        out.realValue = v.resval.rreal;
      else if (IsInteger(v))
        out.realValue = static_cast<double>(IntegerOf(v));
      else
        return false;
      return std::isfinite(out.realValue);
    case VarType::String:
      if (v.restype != RTSTR || !v.resval.rstring) return false;
      out.stringValue = v.resval.rstring;
      return true;
    case VarType::Point2d:
    case VarType::Point3d:
      if (v.restype != RTPOINT && v.restype != RT3DPOINT) return false;
      std::memcpy(out.point, v.resval.rpoint, sizeof(out.point));
      if (var.type == VarType::Point2d || v.restype == RTPOINT) out.point[2] = 0;
      return std::isfinite(out.point[0]) && std::isfinite(out.point[1]) && std::isfinite(out.point[2]);
  }
  return false;
}

}  // namespace

int acedGetVar(const ACHAR* sym, struct resbuf* result) {
  if (!sym || !result) return RTERROR;
  State& st = GetState();
  std::lock_guard<std::mutex> lock(st.mutex);
  const auto it = st.vars.find(standin::Upper(sym));
  if (it == st.vars.end()) return RTERROR;
  const SysVar& v = it->second;
  switch (v.type) {
    case VarType::Short:
      result->restype = RTSHORT;
      result->resval.rint = v.shortValue;
      break;
    case VarType::Real:
      result->restype = RTREAL;
      result->resval.rreal = v.realValue;
      break;
    case VarType::String: {
      ACHAR* copy = nullptr;
      if (acutNewString(v.stringValue.c_str(), copy) != RTNORM) return RTERROR;
      result->restype = RTSTR;
      result->resval.rstring = copy;
      break;
    }
    case VarType::Point2d:
    case VarType::Point3d:
      result->restype = v.type == VarType::Point2d ? RTPOINT : RT3DPOINT;
      std::memcpy(result->resval.rpoint, v.point, sizeof(v.point));
      break;
  }
  return RTNORM;
}

int acedSetVar(const ACHAR* sym, const struct resbuf* val) {
  if (!sym || !val) return RTERROR;
  State& st = GetState();
  std::function<bool(const resbuf&)> check;
  {
    std::lock_guard<std::mutex> lock(st.mutex);
    const auto it = st.vars.find(standin::Upper(sym));
    if (it == st.vars.end() || it->second.readOnly) return RTERROR;
    SysVar converted;
    if (!Convert(it->second, *val, converted, true)) return RTERROR;
    const auto c = st.checks.find(it->first);
    if (c != st.checks.end()) check = c->second;
  }
  // The check may read other variables, so it runs outside the lock.
  if (check && !check(*val)) return RTERROR;
  return standin::SetSystemVariable(sym, *val) ? RTNORM : RTERROR;
}

namespace standin {

void ResetSystemVariables() {
  State& st = GetState();
  std::lock_guard<std::mutex> lock(st.mutex);
  LoadDefaults(st);
}

bool SetSystemVariable(const wchar_t* name, const resbuf& value) {
  if (!name) return false;
  State& st = GetState();
  std::function<void()> watch;
  {
    std::lock_guard<std::mutex> lock(st.mutex);
    const auto it = st.vars.find(standin::Upper(name));
    if (it == st.vars.end()) return false;
    SysVar converted;
    if (!Convert(it->second, value, converted, false)) return false;
    it->second = std::move(converted);
    const auto w = st.watches.find(it->first);
    if (w != st.watches.end()) watch = w->second;
  }
  // The watch reads and writes other variables, so it runs outside the lock.
  if (watch) watch();
  return true;
}

void SetSystemVariableWatch(const wchar_t* name, std::function<void()> watch) {
  if (!name) return;
  State& st = GetState();
  std::lock_guard<std::mutex> lock(st.mutex);
  const std::wstring key = standin::Upper(name);
  if (watch)
    st.watches[key] = std::move(watch);
  else
    st.watches.erase(key);
}

void SetSystemVariableCheck(const wchar_t* name, std::function<bool(const resbuf& value)> check) {
  if (!name) return;
  State& st = GetState();
  std::lock_guard<std::mutex> lock(st.mutex);
  const std::wstring key = standin::Upper(name);
  if (check)
    st.checks[key] = std::move(check);
  else
    st.checks.erase(key);
}

bool SetSysVarInt(const wchar_t* name, int value) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = static_cast<short>(value);
  return SetSystemVariable(name, rb);
}

bool SetSysVarReal(const wchar_t* name, double value) {
  resbuf rb{};
  rb.restype = RTREAL;
  rb.resval.rreal = value;
  return SetSystemVariable(name, rb);
}

bool SetSysVarPoint(const wchar_t* name, const double point[3]) {
  resbuf rb{};
  rb.restype = RT3DPOINT;
  std::memcpy(rb.resval.rpoint, point, sizeof rb.resval.rpoint);
  return SetSystemVariable(name, rb);
}

int SysVarInt(const wchar_t* name, int fallback) {
  resbuf rb{};
  return acedGetVar(name, &rb) == RTNORM && rb.restype == RTSHORT ? rb.resval.rint : fallback;
}

double SysVarReal(const wchar_t* name, double fallback) {
  resbuf rb{};
  return acedGetVar(name, &rb) == RTNORM && rb.restype == RTREAL ? rb.resval.rreal : fallback;
}

bool SysVarPoint(const wchar_t* name, double point[3]) {
  resbuf rb{};
  if (acedGetVar(name, &rb) != RTNORM || (rb.restype != RTPOINT && rb.restype != RT3DPOINT)) return false;
  std::memcpy(point, rb.resval.rpoint, sizeof rb.resval.rpoint);
  return true;
}

}  // namespace standin
