// Just enough of the host's AutoLISP symbols, behaving as the host's do, for the module to read
// values that LISP code left and to leave values for it.
#include <acedads.h>
#include <acutads.h>

#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "standin/host/core/session.h"
#include "standin/host/core/text.h"

namespace {

struct ChainDeleter {
  void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

struct Symbols {
  std::mutex mutex;
  std::map<std::wstring, Chain> bound;
};

// Every symbol unbound but PI, as in a new drawing.
void LoadDefaults(Symbols& st) {
  st.bound.clear();
  resbuf* pi = acutNewRb(RTREAL);
  if (pi) pi->resval.rreal = 3.141592653589793;
  st.bound.emplace(L"PI", Chain(pi));
}

Symbols& GetSymbols() {
  static Symbols* symbols = [] {
    auto* st = new Symbols;  // never destroyed: modules may read symbols while the process exits
    LoadDefaults(*st);
    return st;
  }();
  return *symbols;
}

const bool g_resetRegistered = (standin::Session::Get().AddResetHandler([] {
  Symbols& st = GetSymbols();
  std::lock_guard<std::mutex> lock(st.mutex);
  LoadDefaults(st);
}),
                                true);

// A symbol name as the LISP reader takes one: no blanks, no reader characters, not a number.
bool IsSymbolName(const wchar_t* name) {
  if (!name || !*name) return false;
  for (const wchar_t* p = name; *p; ++p)
    if (std::wcschr(L" \t\r\n()'\";|`", *p)) return false;
  wchar_t* end = nullptr;
  std::wcstod(name, &end);
  return *end != L'\0';
}

bool IsLispValueType(int t) {
  switch (t) {
    case RTREAL:
    case RTPOINT:
    case RTSHORT:
    case RTANG:
    case RTSTR:
    case RTENAME:
    case RTPICKS:
    case RT3DPOINT:
    case RTLONG:
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT:
      return true;
    default:
      return false;
  }
}

// A deep copy: strings are the new chain's own. Null on an allocation failure.
resbuf* CopyChain(const resbuf* from) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (; from; from = from->rbnext) {
    resbuf* rb = acutNewRb(from->restype);
    if (!rb) break;
    rb->resval = from->resval;
    *tail = rb;
    tail = &rb->rbnext;
    if (from->restype == RTSTR && from->resval.rstring &&
        acutNewString(from->resval.rstring, rb->resval.rstring) != RTNORM)
      break;
  }
  if (!from) return head;
  acutRelRb(head);
  return nullptr;
}

// A list of two or three reals, as LISP points are: the point node the host hands out for it.
resbuf* AsPoint(const resbuf* v) {
  if (!v || v->restype != RTLB) return nullptr;
  double p[3] = {0, 0, 0};
  int n = 0;
  const resbuf* rb = v->rbnext;
  for (; rb && rb->restype == RTREAL && n < 3; rb = rb->rbnext) p[n++] = rb->resval.rreal;
  if (n < 2 || !rb || rb->restype != RTLE || rb->rbnext) return nullptr;
  resbuf* point = acutNewRb(n == 2 ? RTPOINT : RT3DPOINT);
  if (point) std::memcpy(point->resval.rpoint, p, sizeof(p));
  return point;
}

}  // namespace

int acedGetSym(const ACHAR* sname, struct resbuf** value) {
  if (!value) return RTERROR;
  *value = nullptr;
  if (!IsSymbolName(sname)) return RTERROR;
  const std::wstring name = standin::Upper(sname);
  if (name == L"T" || name == L"NIL") {
    *value = acutNewRb(name == L"T" ? RTT : RTNIL);
    return *value ? RTNORM : RTERROR;
  }
  Symbols& st = GetSymbols();
  std::lock_guard<std::mutex> lock(st.mutex);
  const auto it = st.bound.find(name);
  if (it == st.bound.end()) {
    *value = acutNewRb(RTNIL);
  } else {
    *value = AsPoint(it->second.get());
    if (!*value) *value = CopyChain(it->second.get());
  }
  return *value ? RTNORM : RTERROR;
}

int acedPutSym(const ACHAR* sname, struct resbuf* value) {
  if (!IsSymbolName(sname)) return RTERROR;
  const std::wstring name = standin::Upper(sname);
  if (name == L"T" || name == L"NIL") return RTERROR;
  for (const resbuf* rb = value; rb; rb = rb->rbnext)
    if (!IsLispValueType(rb->restype) || (rb->restype == RTSTR && !rb->resval.rstring)) return RTERROR;
  Symbols& st = GetSymbols();
  if (!value || (value->restype == RTNIL && !value->rbnext)) {
    std::lock_guard<std::mutex> lock(st.mutex);
    st.bound.erase(name);
    return RTNORM;
  }
  Chain copy(CopyChain(value));
  if (!copy) return RTERROR;
  std::lock_guard<std::mutex> lock(st.mutex);
  st.bound[name] = std::move(copy);
  return RTNORM;
}
