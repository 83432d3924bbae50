// Just enough of the host's acedSSGet, behaving as the host's does, for the module to select
// entities by filter, window, polygon, point, the pickfirst set or the user's own selection.
#include <acedads.h>
#include <acutads.h>
#include <dbents.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/filter.h"
#include "standin/host/interaction/input.h"
#include "standin/host/interaction/select_dialog.h"
#include "standin/host/interaction/sets.h"
#include "standin/host/view/hittest.h"

namespace standin {

namespace {

// The modes already reported as unsupported, so each is said once.
std::set<std::wstring>& ToldModes() {
  static auto* told = new std::set<std::wstring>;  // guarded by DrawingMutex; never destroyed
  return *told;
}

// False for an unknown or repeated method; unknown tells which.
bool ParseMode(const ACHAR* str, SelectionMode& mode, std::wstring& unknown) {
  if (!str) return true;
  const std::wstring s = Upper(str);
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == L'_') {
      ++i;
      continue;
    }
    std::wstring token;
    if (s[i] == L':') {
      if (i + 1 >= s.size()) return unknown = L":", false;
      token = s.substr(i, 2);
      i += 2;
    } else if (s.compare(i, 2, L"WP") == 0 || s.compare(i, 2, L"CP") == 0 || s.compare(i, 2, L"CL") == 0) {
      token = s.substr(i, 2);
      i += 2;
    } else {
      token = s.substr(i, 1);
      i += 1;
    }
    if (token == L":S")
      mode.single = true;
    else if (token == L":E")
      mode.everything = true;
    else if (token == L":$")
      mode.prompts = true;
    else if (token == L":K")
      mode.keywords = true;
    else if (token == L":L")
      mode.skipLocked = true;
    else if (token == L"X" || token == L"I" || token == L"L" || token == L"P" || token == L"W" || token == L"C" ||
             token == L"WP" || token == L"CP") {
      if (!mode.method.empty()) return unknown = token, false;
      mode.method = token;
    } else {
      return unknown = token, false;
    }
  }
  return true;
}

// The polygon of an RTPOINT/RT3DPOINT chain; false for fewer than three points, a repeated
// point or edges that cross.
bool PolygonOf(const resbuf* rb, std::vector<XY>& poly) {
  for (; rb; rb = rb->rbnext) {
    if (rb->restype != RTPOINT && rb->restype != RT3DPOINT) return false;
    poly.push_back({rb->resval.rpoint[0], rb->resval.rpoint[1]});
  }
  if (poly.size() >= 2 && poly.front().x == poly.back().x && poly.front().y == poly.back().y) poly.pop_back();
  const size_t n = poly.size();
  if (n < 3) return false;
  for (size_t i = 0; i < n; ++i)
    if (poly[i].x == poly[(i + 1) % n].x && poly[i].y == poly[(i + 1) % n].y) return false;
  auto cross = [](XY a, XY b, XY c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); };
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      const XY a = poly[i], b = poly[(i + 1) % n], c = poly[j], d = poly[(j + 1) % n];
      const double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
      if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return false;
    }
  return true;
}

}  // namespace

}  // namespace standin

int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const struct resbuf* filter, ads_name ss) {
  using namespace standin;
  if (!ss) return RTERROR;
  SelectionMode mode;
  std::wstring unknown;
  if (!ParseMode(str, mode, unknown)) {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    if (ToldModes().insert(str).second)
      std::fprintf(stderr, "stand-in host: acedSSGet mode \"%ls\" is not supported (at \"%ls\"); the call fails\n", str,
                   unknown.c_str());
    return RTERROR;
  }
  Filter f;
  if (!f.Parse(filter)) return RTERROR;
  const auto* point1 = static_cast<const double*>(pt1);
  const auto* point2 = static_cast<const double*>(pt2);
  std::vector<Adesk::IntPtr> found;
  const std::wstring& m = mode.method;
  bool done = false;
  if (m.empty() && !mode.prompts && !mode.keywords && (point1 || (!str && !filter && !pt2))) {
    // The entities at a point, or the pickfirst set taken as it is.
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    if (point1) {
      found = Filtered(AtPoint(point1, mode.everything, mode.skipLocked), f, mode.skipLocked);
      done = true;
    } else if (!Pickfirst().empty() && SysVarInt(L"PICKFIRST", 1) != 0) {
      found = Pickfirst().Ids();
      done = true;
    }
  }
  if (!done && !m.empty()) {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    const Keep matches = [&f](const AcDbEntity* ent) { return f.Matches(ent); };
    if (m == L"X") {
      for (const AcDbEntity* ent : Candidates(false, mode.skipLocked)) found.push_back(DbAccess::Id(ent));
    } else if (m == L"I") {
      if (SysVarInt(L"PICKFIRST", 1) != 0) found = Pickfirst().Ids();
    } else if (m == L"L") {
      found = LastEntity(mode.skipLocked);
    } else if (m == L"P") {
      found = PreviousSelection();
    } else if (m == L"W" || m == L"C") {
      if (!point1 || !point2) return RTERROR;
      found = InBox(point1, point2, m == L"C", mode.skipLocked, matches);
    } else {
      std::vector<XY> poly;
      if (!PolygonOf(static_cast<const resbuf*>(pt1), poly)) return RTERROR;
      found = InPolygon(poly, m == L"CP", mode.skipLocked, matches);
    }
    found = Filtered(found, f, mode.skipLocked);
  } else if (!done) {
    const ACHAR* selectPrompt = nullptr;
    const ACHAR* removePrompt = nullptr;
    if (mode.prompts) {
      const auto* prompts = static_cast<const ACHAR* const*>(pt1);
      if (!prompts) return RTERROR;
      selectPrompt = prompts[0];
      removePrompt = prompts[1];
    }
    std::vector<Keyword> keywords;
    if (mode.keywords) keywords = ParseKeywordList(static_cast<const ACHAR*>(pt2));
    const int rc = RunSelectionDialog(mode, f, selectPrompt, removePrompt, std::move(keywords), found);
    if (rc != RTNORM) return rc;
  }
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (found.empty()) return RTERROR;
  ads_name name;
  if (!MakeSet(found, name)) return RTERROR;
  PreviousSelection() = found;
  ss[0] = name[0];
  ss[1] = name[1];
  return RTNORM;
}
