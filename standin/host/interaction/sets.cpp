// Just enough of the host's selection sets, behaving as the host's do, for the module to keep
// entities in sets, walk them, change them and take over the pickfirst set.
#include "standin/host/interaction/sets.h"

#include <accmd.h>
#include <acedads.h>
#include <acutads.h>
#include <dbents.h>

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "standin/host/core/session.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/interaction/selection.h"
#include "standin/host/view/display.h"

namespace standin {

namespace {

// The host refuses new sets while it holds this many.
constexpr size_t kMaxSets = 128;

struct State {
  std::unordered_map<Adesk::IntPtr, Members> sets;
  Members pickfirst;
  std::vector<Adesk::IntPtr> previous;
  bool pickfirstSetByCommand = false;
  KeywordCallback callback = nullptr;
  bool toldLimit = false;
  bool reuseNames = false;
  std::vector<Adesk::IntPtr> released;  // names to give again while reuseNames, the latest last
};

State& St() {
  static State* state = new State;  // guarded by DrawingMutex; never destroyed
  return *state;
}

void ClearPickfirstLocked() {
  for (Adesk::IntPtr id : St().pickfirst) SetHighlight(id, false);
  St().pickfirst.Clear();
}

const bool g_registered = [] {
  AddDrawingClosedHandler([] {
    St().sets.clear();
    St().released.clear();
    St().pickfirst.Clear();
    St().previous.clear();
  });
  Session::Get().AddResetHandler([] {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    St().callback = nullptr;
    St().pickfirstSetByCommand = false;
    St().reuseNames = false;
    St().released.clear();
  });
  return true;
}();

// The entity of a name, in the session's drawing.
const AcDbEntity* NamedEntity(const ads_name name) {
  if (!name || name[1] != 0) return nullptr;
  const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(name[0]));
  return ent && ent->database() == WorkingDrawing() ? ent : nullptr;
}

}  // namespace

Members::Members(const std::vector<Adesk::IntPtr>& ids) {
  Reserve(ids.size());
  for (Adesk::IntPtr id : ids) Add(id);
}

bool Members::Add(Adesk::IntPtr id) {
  if (!m_index.insert(id).second) return false;
  m_ids.push_back(id);
  return true;
}

size_t Members::Remove(const std::vector<Adesk::IntPtr>& ids) {
  std::unordered_set<Adesk::IntPtr> gone;
  for (Adesk::IntPtr id : ids)
    if (m_index.erase(id)) gone.insert(id);
  if (!gone.empty())
    m_ids.erase(std::remove_if(m_ids.begin(), m_ids.end(), [&](Adesk::IntPtr id) { return gone.count(id) != 0; }),
                m_ids.end());
  return gone.size();
}

void Members::Reserve(std::size_t n) {
  // At least doubling, so that reserving for one more at a time stays linear overall.
  if (n <= m_ids.capacity()) return;
  n = std::max(n, 2 * m_ids.capacity());
  m_ids.reserve(n);
  m_index.reserve(n);
}

void Members::Clear() {
  m_ids.clear();
  m_index.clear();
}

Members* FindSet(const ads_name name) {
  if (!name || name[1] != 0) return nullptr;
  const auto it = St().sets.find(name[0]);
  return it == St().sets.end() ? nullptr : &it->second;
}

bool MakeSet(const std::vector<Adesk::IntPtr>& ids, ads_name out) {
  if (St().sets.size() >= kMaxSets) {
    if (!St().toldLimit)
      std::fprintf(stderr, "stand-in host: %zu selection sets are held; the host refuses more until some are freed\n",
                   kMaxSets);
    St().toldLimit = true;
    return false;
  }
  Adesk::IntPtr serial = 0;
  if (St().released.empty()) {
    serial = NextSerial();
  } else {
    serial = St().released.back();
    St().released.pop_back();
  }
  St().sets[serial] = Members(ids);
  out[0] = serial;
  out[1] = 0;
  return true;
}

std::vector<Adesk::IntPtr>& PreviousSelection() { return St().previous; }
Members& Pickfirst() { return St().pickfirst; }
KeywordCallback SelectionKeywordCallback() { return St().callback; }

void SetSelectionNameReuse(bool on) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  St().reuseNames = on;
  if (!on) St().released.clear();
}

int SelectionSetCount() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  return static_cast<int>(St().sets.size());
}

std::vector<Adesk::IntPtr> PickfirstSet() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  return St().pickfirst.Ids();
}

void ClearPickfirst() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  ClearPickfirstLocked();
}

void CommandStarting(int flags) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  St().pickfirstSetByCommand = false;
  if (!(flags & ACRX_CMD_USEPICKSET)) ClearPickfirstLocked();
}

void CommandEnded(int flags) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!((flags & ACRX_CMD_REDRAW) && St().pickfirstSetByCommand)) ClearPickfirstLocked();
  St().pickfirstSetByCommand = false;
}

}  // namespace standin

using standin::DrawingMutex;
using standin::St;

int acedSSFree(const ads_name sname) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!standin::FindSet(sname)) return RTERROR;
  St().sets.erase(sname[0]);
  if (St().reuseNames) St().released.push_back(sname[0]);
  return RTNORM;
}

int acedSSLength(const ads_name sname, long* len) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto* set = standin::FindSet(sname);
  if (!set || !len) return RTERROR;
  *len = static_cast<long>(set->size());
  return RTNORM;
}

int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result) {
  using namespace standin;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!result) return RTERROR;
  const AcDbEntity* ent = nullptr;
  if (ename) {
    ent = NamedEntity(ename);
    if (!ent || ent->isErased()) return RTERROR;
  }
  if (!sname) {
    std::vector<Adesk::IntPtr> members;
    if (ent) members.push_back(DbAccess::Id(ent));
    return MakeSet(members, result) ? RTNORM : RTERROR;
  }
  Members* set = FindSet(sname);
  if (!set) return RTERROR;
  if (ent) set->Add(DbAccess::Id(ent));
  const Adesk::IntPtr n0 = sname[0], n1 = sname[1];
  result[0] = n0;
  result[1] = n1;
  return RTNORM;
}

int acedSSDel(const ads_name ename, const ads_name ss) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  standin::Members* set = standin::FindSet(ss);
  if (!set || !ename || ename[1] != 0) return RTERROR;
  return set->Remove({ename[0]}) ? RTNORM : RTERROR;
}

int acedSSName(const ads_name ss, long i, ads_name entres) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto* set = standin::FindSet(ss);
  if (!set || !entres || i < 0 || static_cast<size_t>(i) >= set->size()) return RTERROR;
  entres[0] = set->Ids()[static_cast<size_t>(i)];
  entres[1] = 0;
  return RTNORM;
}

int acedSSMemb(const ads_name ename, const ads_name ss) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto* set = standin::FindSet(ss);
  if (!set || !ename || ename[1] != 0) return RTERROR;
  return set->Contains(ename[0]) ? RTNORM : RTERROR;
}

int acedSSSetFirst(const ads_name pset, const ads_name) {
  using namespace standin;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  std::vector<Adesk::IntPtr> members;
  if (pset) {
    const auto* set = FindSet(pset);
    if (!set) return RTERROR;
    for (Adesk::IntPtr id : *set) {
      const ads_name name = {id, 0};
      const AcDbEntity* ent = NamedEntity(name);
      if (ent && !ent->isErased() && DbAccess::OrderIndex(ent->database(), id) >= 0) members.push_back(id);
    }
  }
  ClearPickfirstLocked();
  St().pickfirst = Members(members);
  for (Adesk::IntPtr id : St().pickfirst) SetHighlight(id, true);
  St().pickfirstSetByCommand = true;
  return RTNORM;
}

int acedSSGetFirst(struct resbuf** gset, struct resbuf** pset) {
  using namespace standin;
  if (!gset || !pset) return RTERROR;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  *gset = acutNewRb(RTNONE);
  ads_name name;
  if (!St().pickfirst.empty() && MakeSet(St().pickfirst.Ids(), name)) {
    *pset = acutNewRb(RTPICKS);
    if (*pset) {
      (*pset)->resval.rlname[0] = name[0];
      (*pset)->resval.rlname[1] = name[1];
    }
  } else {
    *pset = acutNewRb(RTNONE);
  }
  return *gset && *pset ? RTNORM : RTERROR;
}

int acedSSSetKwordCallbackPtr(struct resbuf* (*pFunc)(const ACHAR*)) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  St().callback = pFunc;
  return RTNORM;
}

int acedSSGetKwordCallbackPtr(struct resbuf* (**pFunc)(const ACHAR*)) {
  if (!pFunc) return RTERROR;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  *pFunc = St().callback;
  return RTNORM;
}
