// The database module's reactor data: comparisons by the document served, in address order, the
// pickfirst set, and the reactor of the current document.
#include <ZoDbReactor.h>
#include <acedads.h>
#include <acutads.h>
#include <dbapserv.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>

bool ZoDbReactorAndData::operator==(const ZoDbReactorAndData& r) const { return m_pDocument == r.m_pDocument; }
bool ZoDbReactorAndData::operator!=(const ZoDbReactorAndData& r) const { return m_pDocument != r.m_pDocument; }
bool ZoDbReactorAndData::operator<(const ZoDbReactorAndData& r) const {
  return std::less<const void*>()(m_pDocument, r.m_pDocument);
}
bool ZoDbReactorAndData::operator>(const ZoDbReactorAndData& r) const { return r < *this; }

bool ZoDbReactorAndData::GetPickFirstSet(ads_name ss) {
  FreeFirstPickSet();
  if (!ss) return false;
  resbuf *gset = nullptr, *pset = nullptr;
  if (acedSSGetFirst(&gset, &pset) != RTNORM) return false;
  const bool found = pset && pset->restype == RTPICKS;
  if (found) {
    m_pickFirst[0] = pset->resval.rlname[0];
    m_pickFirst[1] = pset->resval.rlname[1];
    m_hasPickFirst = true;
    ss[0] = m_pickFirst[0], ss[1] = m_pickFirst[1];
  }
  acutRelRb(gset);
  acutRelRb(pset);
  return found;
}

void ZoDbReactorAndData::FreeFirstPickSet() {
  if (!m_hasPickFirst) return;
  acedSSFree(m_pickFirst);
  m_hasPickFirst = false;
}

ZoDbReactorAndData* ZoReactors::GetCurDocReactor() {
  static std::mutex mutex;
  // Destroyed when this library unloads with the last module that needs it.
  static std::map<const void*, std::unique_ptr<ZoDbReactorAndData>> reactors;
  const void* doc = acdbHostApplicationServices()->workingDatabase();
  if (!doc) return nullptr;
  std::lock_guard<std::mutex> lock(mutex);
  auto& reactor = reactors[doc];
  if (!reactor) reactor = std::make_unique<ZoDbReactorAndData>(doc);
  return reactor.get();
}
