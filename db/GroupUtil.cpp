// Groups from selection sets and back, hard references, loaded modules.
#include "db/GroupUtil.h"

#include <cstdlib>

#include "ads/AdsGroup.h"
#include "platform/Win32.h"

namespace {

// The text after the last path separator ("\\", and "/" where the system uses it).
const wchar_t* FileNameOf(const wchar_t* pszPath) {
  const wchar_t* pszName = pszPath;
  for (const wchar_t* p = pszPath; *p; ++p)
    if (*p == L'\\' || *p == L'/') pszName = p + 1;
  return pszName;
}

}  // namespace

bool MakeGroup(ZoAdsEntSet& set, const wchar_t* pszGroupName, bool bClear) {
  return MakeGroupFromSet(set, pszGroupName, false, bClear) == ZoGroupResult::kDone;
}

bool MakeAnonymousGroup(ZoAdsEntSet& set) {
  return MakeGroupFromSet(set, kAnonymousGroupKey, true, false) == ZoGroupResult::kDone;
}

bool GetPickSetByGroup(const wchar_t* pszGroupName, ZoAdsEntSet& set) {
  AcDbDictionary* pDict = OpenGroupDictionary(AcDb::kForRead);
  if (!pDict) return false;
  bool bResult = false;
  AcDbObjectId idGroup;
  AcDbGroup* pGroup = nullptr;
  // A group that is there but does not open adds nothing and counts as not found.
  if (pDict->getAt(pszGroupName, idGroup) == Acad::eOk &&
      acdbOpenObject(pGroup, idGroup, AcDb::kForRead) == Acad::eOk) {
    AcDbGroupIterator* pIter = pGroup->newIterator();
    for (; pIter && !pIter->done(); pIter->next()) {
      ads_name ename;
      if (acdbGetAdsName(ename, pIter->objectId()) == Acad::eOk) set += ZoAdsEnt(ename);
    }
    delete pIter;
    pGroup->close();
    bResult = true;
  }
  pDict->close();
  return bResult;
}

bool IsHardReferenced(AcDbObjectId id, AcDbDatabase* pDb) {
  if (!pDb) pDb = acdbHostApplicationServices()->workingDatabase();
  if (!pDb) return false;
  AcDbObjectIdArray ids;
  ids.append(id);
  Adesk::UInt32 nCount = 0;
  if (pDb->countHardReferences(ids, &nCount) != Acad::eOk) return false;
  return nCount != 0;
}

bool IsArxLoaded(const wchar_t* pszArxName) {
  if (!pszArxName) return false;
  const wchar_t* pszWanted = FileNameOf(pszArxName);
  AcDbVoidPtrArray* pApps = static_cast<AcDbVoidPtrArray*>(acrxLoadedApps());
  if (!pApps) return false;
  // Every entry and the list itself are ours: all of them are released, found or not.
  bool bFound = false;
  for (int i = 0; i < pApps->length(); ++i) {
    wchar_t* pszApp = static_cast<wchar_t*>(pApps->at(i));
    if (!bFound && pszApp && _wcsicmp(FileNameOf(pszApp), pszWanted) == 0) bFound = true;
    acutDelString(pszApp);
  }
  delete pApps;
  return bFound;
}
