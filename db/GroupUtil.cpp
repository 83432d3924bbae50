// Groups from selection sets and back, hard references, loaded modules.
#include "db/GroupUtil.h"

#include <cstdlib>

#include "platform/Win32.h"

namespace {

// The group dictionary of the working drawing, or null.
AcDbDictionary* OpenGroupDictionary(AcDb::OpenMode mode) {
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbDictionary* pDict = nullptr;
  if (!pDb || pDb->getGroupDictionary(pDict, mode) != Acad::eOk) return nullptr;
  return pDict;
}

// Appends every entity of the set to the open group and closes it; false at the first entity
// without an id or that the group refuses (260, already a member, is no refusal).
bool AppendSetAndClose(AcDbGroup* pGroup, const ZoAdsEntSet& set) {
  const long n = set.GetLength();
  for (long i = 0; i < n; ++i) {
    AcDbObjectId id;
    if (acdbGetObjectId(id, set[i]) != Acad::eOk) {
      pGroup->close();
      return false;
    }
    const Acad::ErrorStatus es = pGroup->append(id);
    if (es != Acad::eOk && es != 260) {
      pGroup->close();
      return false;
    }
  }
  pGroup->close();
  return true;
}

// The text after the last path separator ("\\", and "/" where the system uses it).
const wchar_t* FileNameOf(const wchar_t* pszPath) {
  const wchar_t* pszName = pszPath;
  for (const wchar_t* p = pszPath; *p; ++p)
    if (*p == L'\\' || *p == L'/') pszName = p + 1;
  return pszName;
}

}  // namespace

bool IsHardReferenced(AcDbObjectId id, AcDbDatabase* pDb) {
  if (!pDb) pDb = acdbHostApplicationServices()->workingDatabase();
  if (!pDb) return false;
  AcDbObjectIdArray ids;
  ids.append(id);
  Adesk::UInt32 nCount = 0;
  if (pDb->countHardReferences(ids, &nCount) != Acad::eOk) return false;
  return nCount != 0;
}

bool MakeGroup(ZoAdsEntSet& set, const wchar_t* pszGroupName, bool bClear) {
  AcDbDictionary* pDict = OpenGroupDictionary(AcDb::kForWrite);
  if (!pDict) return false;
  AcDbGroup* pGroup = nullptr;
  if (!pDict->has(pszGroupName)) {
    pGroup = new AcDbGroup;
    pGroup->setSelectable(false);
    AcDbObjectId idGroup;
    if (pDict->setAt(pszGroupName, pGroup, idGroup) != Acad::eOk) {
      delete pGroup;  // the dictionary refused it, so it never joined the drawing
      pDict->close();
      return false;
    }
  } else {
    AcDbObject* pObj = nullptr;
    if (pDict->getAt(pszGroupName, pObj, AcDb::kForWrite) != Acad::eOk) {
      pDict->close();
      return false;
    }
    pGroup = AcDbGroup::cast(pObj);
    if (!pGroup) {
      pObj->close();
      pDict->close();
      return false;
    }
    pGroup->setSelectable(false);
    if (bClear) pGroup->clear();
  }
  pDict->close();
  return AppendSetAndClose(pGroup, set);
}

bool MakeAnonymousGroup(ZoAdsEntSet& set) {
  AcDbDictionary* pDict = OpenGroupDictionary(AcDb::kForWrite);
  if (!pDict) return false;
  AcDbGroup* pGroup = new AcDbGroup;
  pGroup->setSelectable(true);
  AcDbObjectId idGroup;
  const Acad::ErrorStatus es = pDict->setAt(L"*U", pGroup, idGroup);
  pDict->close();
  if (es != Acad::eOk) {
    delete pGroup;
    return false;
  }
  return AppendSetAndClose(pGroup, set);
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
    free(pszApp);
  }
  delete pApps;
  return bFound;
}
