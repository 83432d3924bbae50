// The entity handle.
#include "ads/AdsEnt.h"

#include "platform/HostValue.h"

static_assert(sizeof(ZoAdsEnt) == sizeof(ads_name), "a ZoAdsEnt is an ads_name");

ZoAdsEnt::ZoAdsEnt(AcDbObjectId id) {
  ads_name name = {0, 0};
  if (acdbGetAdsName(name, id) == Acad::eOk) *this = name;
}

resbuf* ZoAdsEnt::GetDXFData() const { return acdbEntGet(m_name); }

AcDbObjectId ZoAdsEnt::GetObjectId() const {
  AcDbObjectId id;
  if (acdbGetObjectId(id, m_name) != Acad::eOk) return AcDbObjectId::kNull;
  return id;
}

AcDbEntity* ZoAdsEnt::Open(AcDb::OpenMode mode) const {
  AcDbEntity* pEntity = nullptr;
  if (acdbOpenAcDbEntity(pEntity, GetObjectId(), mode, false) != Acad::eOk) return nullptr;
  return pEntity;
}

void ZoAdsEnt::Redraw(int nMode) const { acedRedraw(m_name, nMode); }

void ZoAdsEnt::RedrawAll(int nMode) const {
  int nTileMode = 1;
  GetSysVar(L"TILEMODE", nTileMode);
  if (nTileMode == 0) return;
  int nCurrent = 2;
  GetSysVar(L"CVPORT", nCurrent);

  resbuf* pViewports = nullptr;
  if (acedVports(&pViewports) != RTNORM || !pViewports) return;
  for (const resbuf* rb = pViewports->rbnext; rb; rb = rb->rbnext) {
    if (rb->restype != RTSHORT) continue;
    acedSetCurrentVPort(rb->resval.rint);
    Redraw(nMode);
  }
  acutRelRb(pViewports);
  SetSysVar(L"CVPORT", nCurrent);
}

void ZoAdsEnt::Delete() const { acdbEntDel(m_name); }

int ZoAdsEnt::MoveToNext() {
  const ZoAdsName start(m_name);
  ads_name next = {0, 0};
  const int nResult = acdbEntNext(start, next);
  if (nResult == RTNORM) *this = next;
  return nResult;
}

bool ZoAdsEnt::IsMatch(const ZoAdsRBList& filter) const {
  if (filter.IsEmpty()) return true;
  const ZoAdsRBList data(GetDXFData());
  for (const ZoAdsResBuf* pNode = filter.Head(); pNode; pNode = pNode->Next())
    if (!data.IsMatch(*pNode)) return false;
  return true;
}
