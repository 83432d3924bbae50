// Selection sets.
#include "ads/AdsEntSet.h"

#include <cwchar>

#include "ads/AdsGroup.h"
#include "containers/DbObjectIdList.h"
#include "platform/HostValue.h"

namespace {

// A new empty host set into name; false when the host holds too many sets.
bool CreateEmptySet(ZoAdsName& name) { return acedSSAdd(nullptr, nullptr, name) == RTNORM; }

// The host's viewport list describes each viewport with this many nodes, its number second.
constexpr int kNodesPerViewport = 5;
// The number of a layout's paper-space viewport.
constexpr int kPaperSpaceViewport = 1;

bool SetCurrentViewport(int nViewport) { return SetSysVar(L"CVPORT", nViewport) == RTNORM; }

// The parts of complex entities that follow their main entity in the drawing.
bool IsSubEntity(const wchar_t* pszDxfName) {
  return pszDxfName && (_wcsicmp(pszDxfName, L"VERTEX") == 0 || _wcsicmp(pszDxfName, L"SEQEND") == 0 ||
                        _wcsicmp(pszDxfName, L"ATTRIB") == 0);
}

}  // namespace

ZoAdsEntSet::ZoAdsEntSet(int nFlags) : ZoBitData(nFlags) {
  if (m_nFlags & kCreateSet) CreateEmptySet(*this);
}

ZoAdsEntSet::ZoAdsEntSet(const long long* ssName) : ZoAdsName(ssName), ZoBitData(0) {}

ZoAdsEntSet::ZoAdsEntSet(const ZoAdsEntSet& other) : ZoAdsName(other), ZoBitData(0) {}

ZoAdsEntSet::ZoAdsEntSet(ZoAdsEntSet&& other) noexcept
    : ZoAdsName(other), ZoBitData(other.m_nFlags), m_entMarker(other.m_entMarker) {
  other.ZoAdsName::operator=(ZoAdsName());
  other.m_nFlags &= ~(kOwnSet | kIncludeMarker);
  other.m_entMarker = ZoAdsEnt();
}

ZoAdsEntSet::~ZoAdsEntSet() {
  if ((m_nFlags & kOwnSet) && IsValid()) acedSSFree(m_name);
}

// Every host set has one releaser: an owning object never shares one, since the other's set may
// be another object's, which no flag of the other tells.
ZoAdsEntSet& ZoAdsEntSet::operator=(const ZoAdsEntSet& other) {
  if (*this == other) return *this;
  if (!(m_nFlags & kOwnSet)) {
    ZoAdsName::operator=(other);
  } else if (!IsValid() && (other.m_nFlags & (kCreateSet | kOwnSet)) == kCreateSet) {
    ZoAdsName::operator=(other);
    const_cast<ZoAdsEntSet&>(other).m_nFlags &= ~kCreateSet;
  } else {
    *this -= *this;
    *this += other;
  }
  return *this;
}

void ZoAdsEntSet::Free() {
  if (!IsValid()) return;
  acedSSFree(m_name);
  ZoAdsName::operator=(ZoAdsName());
}

long ZoAdsEntSet::GetLength() const {
  if (!IsValid()) return 0;
  long nLength = 0;
  if (acedSSLength(m_name, &nLength) != RTNORM) return 0;
  return nLength;
}

ZoAdsEnt ZoAdsEntSet::operator[](long i) const {
  ZoAdsEnt ent;
  ads_name name = {0, 0};
  if (IsValid() && acedSSName(m_name, i, name) == RTNORM) ent = name;
  return ent;
}

ZoAdsEntSet& ZoAdsEntSet::operator+=(const ZoAdsEnt& ent) {
  if (!ent.IsValid()) return *this;
  if (!IsValid() && !CreateEmptySet(*this)) return *this;
  acedSSAdd(ent, m_name, m_name);
  return *this;
}

ZoAdsEntSet& ZoAdsEntSet::operator-=(const ZoAdsEnt& ent) {
  if (IsValid()) acedSSDel(ent, m_name);
  return *this;
}

ZoAdsEntSet& ZoAdsEntSet::operator+=(const AcDbObjectId& id) {
  ads_name name = {0, 0};
  if (acdbGetAdsName(name, id) == Acad::eOk) *this += ZoAdsEnt(name);
  return *this;
}

ZoAdsEntSet& ZoAdsEntSet::operator-=(const AcDbObjectId& id) {
  ads_name name = {0, 0};
  if (acdbGetAdsName(name, id) == Acad::eOk) *this -= ZoAdsEnt(name);
  return *this;
}

ZoAdsEntSet& ZoAdsEntSet::operator+=(const ZoAdsEntSet& other) {
  const long n = other.GetLength();
  for (long i = 0; i < n; ++i) *this += other[i];
  return *this;
}

// From the last entity down, so that a set taken from itself, or from an alias, loses every one.
ZoAdsEntSet& ZoAdsEntSet::operator-=(const ZoAdsEntSet& other) {
  for (long i = other.GetLength(); i-- > 0;) *this -= other[i];
  return *this;
}

bool ZoAdsEntSet::IsInclude(const ZoAdsEnt& ent) const {
  if (!IsValid()) return false;
  return acedSSMemb(ent, m_name) == RTNORM;
}

int ZoAdsEntSet::Get(const wchar_t* pszMode, const void* p1, const void* p2, const resbuf* pFilter) {
  return acedSSGet(pszMode, p1, p2, pFilter, m_name);
}

int ZoAdsEntSet::Get(const wchar_t* pszMode, const void* p1, const void* p2) { return Get(pszMode, p1, p2, nullptr); }

void ZoAdsEntSet::Get(const ZoGePoint& pt, const resbuf* pFilter) {
  const ads_point point = {pt.x, pt.y, pt.z};
  acedSSGet(L":E", point, nullptr, pFilter, m_name);
}

bool ZoAdsEntSet::IsMatch(const ZoAdsRBList& filter) const {
  const long n = GetLength();
  for (long i = 0; i < n; ++i)
    if (!(*this)[i].IsMatch(filter)) return false;
  return true;
}

void ZoAdsEntSet::Select(const ZoAdsRBList& filter, bool bMatching) {
  const long n = GetLength();
  // An alias may neither release the set it shares nor leave a new one to nobody.
  if (!(m_nFlags & (kCreateSet | kOwnSet))) {
    for (long i = n; i-- > 0;) {
      const ZoAdsEnt ent = (*this)[i];
      if (ent.IsMatch(filter) != bMatching) *this -= ent;
    }
    return;
  }
  ZoAdsEntSet kept(kCreateSet);
  for (long i = 0; i < n; ++i) {
    const ZoAdsEnt ent = (*this)[i];
    if (ent.IsMatch(filter) == bMatching) kept += ent;
  }
  Free();
  *this = kept;
}

void ZoAdsEntSet::Filter(const ZoAdsRBList& filter) { Select(filter, true); }

void ZoAdsEntSet::Exclude(const ZoAdsRBList& filter) { Select(filter, false); }

void ZoAdsEntSet::Redraw(int nMode) const {
  const long n = GetLength();
  for (long i = 0; i < n; ++i) (*this)[i].Redraw(nMode);
}

void ZoAdsEntSet::RedrawAll(int nMode) const {
  int nTileMode = 0;
  GetSysVar(L"TILEMODE", nTileMode);
  resbuf* pViewports = nullptr;
  acedVports(&pViewports);
  if (!pViewports) {
    SetCurrentViewport(0);
    Redraw(nMode);
    return;
  }
  const int nCurrent = pViewports->rbnext ? pViewports->rbnext->resval.rint : 0;
  const resbuf* rb = pViewports;
  for (int i = 0; i < kNodesPerViewport && rb; ++i) rb = rb->rbnext;
  for (; rb && (nTileMode != 0 || nCurrent != kPaperSpaceViewport);) {
    if (rb->rbnext && SetCurrentViewport(rb->rbnext->resval.rint)) Redraw(nMode);
    for (int i = 0; i < kNodesPerViewport && rb; ++i) rb = rb->rbnext;
  }
  acutRelRb(pViewports);
  SetCurrentViewport(nCurrent);
  Redraw(nMode);
}

void ZoAdsEntSet::Erase() const {
  const long n = GetLength();
  for (long i = 0; i < n; ++i) {
    AcDbEntity* pEntity = (*this)[i].Open(AcDb::kForWrite);
    if (!pEntity) continue;
    pEntity->erase(true);
    pEntity->close();
  }
}

void ZoAdsEntSet::Delete() const {
  const long n = GetLength();
  for (long i = 0; i < n; ++i) (*this)[i].Delete();
}

void ZoAdsEntSet::TransformBy(const double (*m)[4]) const {
  if (IsValid()) acedXformSS(m_name, m);
}

bool ZoAdsEntSet::GetExtent(AcDbExtents& ext) const {
  bool bFound = false;
  const long n = GetLength();
  for (long i = 0; i < n; ++i) {
    AcDbEntity* pEntity = (*this)[i].Open(AcDb::kForRead);
    if (!pEntity) continue;
    AcDbExtents extEntity;
    if (pEntity->getGeomExtents(extEntity) == Acad::eOk) {
      if (bFound)
        ext.addExt(extEntity);
      else
        ext = extEntity;
      bFound = true;
    }
    pEntity->close();
  }
  return bFound;
}

void ZoAdsEntSet::AsIdList(ZoDbObjectIdList& list) const {
  const long n = GetLength();
  for (long i = 0; i < n; ++i) {
    AcDbObjectId id;
    if (acdbGetObjectId(id, (*this)[i]) == Acad::eOk) list.Append(id);
  }
}

void ZoAdsEntSet::AsIdArray(AcArray<AcDbObjectId>& ids) const {
  const long n = GetLength();
  for (long i = 0; i < n; ++i) {
    AcDbObjectId id;
    if (acdbGetObjectId(id, (*this)[i]) == Acad::eOk) ids.append(id);
  }
}

int ZoAdsEntSet::MakeAnonymousGroup() const {
  return MakeGroupFromSet(*this, kAnonymousGroupKey, true, false) == ZoGroupResult::kDone ? RTNORM : RTERROR;
}

void ZoAdsEntSet::IncludeBegin() {
  if (!IsValid()) CreateEmptySet(*this);
  // Beginning again restarts the collection; the earlier marker must not stay in the drawing.
  if ((m_nFlags & kIncludeMarker) && m_entMarker.IsValid()) m_entMarker.Delete();
  m_nFlags &= ~kIncludeMarker;
  m_entMarker = ZoAdsEnt(AddToModelSpace(new AcDbPoint(AcGePoint3d(0, 0, 0)), 1));
  if (m_entMarker.IsValid()) m_nFlags |= kIncludeMarker;
}

void ZoAdsEntSet::IncludeEnd() {
  if (!m_entMarker.IsValid()) return;
  ZoAdsEnt ent(m_entMarker);
  while (ent.MoveToNext() == RTNORM) {
    AcDbEntity* pEntity = ent.Open(AcDb::kForRead);
    if (!pEntity) continue;
    const bool bSubEntity = IsSubEntity(pEntity->isA()->dxfName());
    pEntity->close();
    if (!bSubEntity) *this += ent;
  }
  *this -= m_entMarker;
  if (m_nFlags & kIncludeMarker) {
    m_nFlags &= ~kIncludeMarker;
    m_entMarker.Delete();
  }
  // The marker is gone from the drawing; a second IncludeEnd has nothing to walk from.
  m_entMarker = ZoAdsEnt();
}
