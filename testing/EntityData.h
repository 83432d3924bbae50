// The stand-in host's entity data (acdbEntGet) as plain values, for tests that look at what a
// drawing holds.
#pragma once

#include <acedads.h>
#include <acutads.h>
#include <adscodes.h>
#include <adsdef.h>

#include <string>
#include <vector>

#include "standin/host/core/resbuf.h"
#include "standin/host/drawing/drawing.h"

namespace tovutest {

struct Group {
  short code = 0;
  standin::RbValue kind = standin::RbValue::None;
  std::wstring text;
  double real = 0;
  double point[3] = {0, 0, 0};
  long integer = 0;
  long long name[2] = {0, 0};
};

// The groups of the entity's data, in order; empty when the host gives none.
inline std::vector<Group> EntityData(const ads_name ent) {
  std::vector<Group> out;
  resbuf* chain = acdbEntGet(ent);
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    Group g;
    g.code = rb->restype;
    g.kind = standin::ResbufValueKind(rb->restype);
    switch (g.kind) {
      case standin::RbValue::String:
        g.text = rb->resval.rstring ? rb->resval.rstring : L"";
        break;
      case standin::RbValue::Real:
        g.real = rb->resval.rreal;
        break;
      case standin::RbValue::Point:
        for (int i = 0; i < 3; ++i) g.point[i] = rb->resval.rpoint[i];
        break;
      case standin::RbValue::Short:
        g.integer = rb->resval.rint;
        break;
      case standin::RbValue::Long:
        g.integer = rb->resval.rlong;
        break;
      case standin::RbValue::Name:
        g.name[0] = rb->resval.rlname[0];
        g.name[1] = rb->resval.rlname[1];
        break;
      default:
        break;
    }
    out.push_back(g);
  }
  acutRelRb(chain);
  return out;
}

// The nth group of that code, or NULL.
inline const Group* Find(const std::vector<Group>& data, short code, int nth = 0) {
  for (const Group& g : data)
    if (g.code == code && nth-- == 0) return &g;
  return nullptr;
}

// The codes of the groups, in order.
inline std::vector<short> Codes(const std::vector<Group>& data) {
  std::vector<short> out;
  for (const Group& g : data) out.push_back(g.code);
  return out;
}

// The entity name of a handle of the session's drawing (both words 0 when there is none).
struct Name {
  ads_name n = {0, 0};
  operator const long long*() const { return n; }
  operator long long*() { return n; }
};

inline Name ByHandle(const wchar_t* handle) {
  Name out;
  standin::EntityByHandle(handle, out.n);
  return out;
}

// The handles of the drawing's walk with acdbEntNext from the start.
inline std::vector<std::wstring> Walk() {
  std::vector<std::wstring> out;
  ads_name at, next;
  if (acdbEntNext(nullptr, at) != RTNORM) return out;
  for (int guard = 0; guard < 100000; ++guard) {
    out.push_back(standin::HandleOf(at));
    if (acdbEntNext(at, next) != RTNORM) break;
    at[0] = next[0], at[1] = next[1];
  }
  return out;
}

}  // namespace tovutest
