// The status, undo and layer guards.
#include "view/StateGuards.h"

#include "ads/AdsResBuf.h"

namespace {

bool HasWorkingDatabase() { return acdbHostApplicationServices()->workingDatabase() != nullptr; }

// Calls the named function of another application: the getter (no value) or the setter (with
// one). A getter's status is its integer result, 0 when the call fails or returns none.
int CallStatus(const wchar_t* pszFunction, const int* pValue = nullptr) {
  ZoAdsRBList args(pValue ? acutBuildList(RTSTR, pszFunction, RTLONG, *pValue, 0)
                          : acutBuildList(RTSTR, pszFunction, 0));
  resbuf* pResult = nullptr;
  if (args.IsEmpty() || acedInvoke(args, &pResult) != RTNORM || pResult == nullptr) return 0;
  int nStatus = 0;
  switch (pResult->restype) {
    case RTSHORT:
      nStatus = pResult->resval.rint;
      break;
    case RTLONG:
      nStatus = pResult->resval.rlong;
      break;
  }
  acutRelRb(pResult);
  return nStatus;
}

// One call of the host's UNDO command with its options.
void Undo(const wchar_t* pszOption, const wchar_t* pszValue = nullptr) {
  if (pszValue)
    acedCommand(RTSTR, L"undo", RTSTR, pszOption, RTSTR, pszValue, 0);
  else
    acedCommand(RTSTR, L"undo", RTSTR, pszOption, 0);
}

enum : int { kUndoOn = 1, kUndoOne = 2, kUndoAuto = 4, kUndoGroup = 8 };

}  // namespace

ZoPtPushStatus::ZoPtPushStatus(const wchar_t* pszGetter, const wchar_t* pszSetter, long nValue)
    : m_strGetter(pszGetter), m_strSetter(pszSetter), m_nSaved(0) {
  if (!HasWorkingDatabase()) return;
  m_nSaved = CallStatus(m_strGetter);
  const int nRequested = static_cast<int>(nValue);
  if (m_nSaved != nRequested) CallStatus(m_strSetter, &nRequested);
}

ZoPtPushStatus::~ZoPtPushStatus() {
  if (!HasWorkingDatabase()) return;
  if (CallStatus(m_strGetter) != m_nSaved) CallStatus(m_strSetter, &m_nSaved);
}

ZoPtPushUndo::ZoPtPushUndo() : m_nUndoCtl(0) {
  resbuf rb;
  if (acedGetVar(L"UNDOCTL", &rb) == RTNORM && rb.restype == RTSHORT) m_nUndoCtl = rb.resval.rint;
  // Undo limited to one command, and undo off, each turn undo fully on with auto off.
  const int nEnable = ((m_nUndoCtl & kUndoOne) != 0) + ((m_nUndoCtl & kUndoOn) == 0);
  for (int i = 0; i < nEnable; ++i)
    acedCommand(RTSTR, L"undo", RTSTR, L"control", RTSTR, L"all", RTSTR, L"undo", RTSTR, L"auto", RTSTR, L"off", 0);
  // Inside another group (another guard's) no group of its own.
  if (!(m_nUndoCtl & kUndoGroup)) Undo(L"BE");
  if (m_nUndoCtl & kUndoAuto) Undo(L"auto", L"off");
}

ZoPtPushUndo::~ZoPtPushUndo() {
  if (!(m_nUndoCtl & kUndoOn)) Undo(L"control", L"none");
  if (m_nUndoCtl & kUndoOne) Undo(L"control", L"one");
  if (!(m_nUndoCtl & kUndoGroup)) Undo(L"E");
  if (m_nUndoCtl & kUndoAuto) Undo(L"auto", L"on");
}

ZoPtPushLayerFree::ZoPtPushLayerFree(AcDbDatabase* pDb) {
  if (pDb == nullptr) pDb = acdbHostApplicationServices()->workingDatabase();
  if (pDb == nullptr) return;
  AcDbLayerTable* pTable = nullptr;
  if (pDb->getSymbolTable(pTable, AcDb::kForRead) != Acad::eOk) return;
  AcDbLayerTableIterator* pIter = nullptr;
  const Acad::ErrorStatus es = pTable->newIterator(pIter, true, true);
  pTable->close();
  if (es != Acad::eOk) return;
  for (; !pIter->done(); pIter->step(true, true)) {
    AcDbLayerTableRecord* pLayer = nullptr;
    if (pIter->getRecord(pLayer, AcDb::kForWrite) != Acad::eOk) continue;
    if (pLayer->isLocked()) {
      pLayer->setIsLocked(false);
      m_layers.Append(pLayer->objectId());
    }
    pLayer->close();
  }
  delete pIter;
}

void ZoPtPushLayerFree::Recover() {
  for (m_layers.MoveToFirst(); !m_layers.IsOut(); m_layers.MoveToNext()) {
    AcDbObject* pObj = nullptr;
    if (acdbOpenAcDbObject(pObj, m_layers.GetCurData(), AcDb::kForWrite) != Acad::eOk) continue;
    if (AcDbLayerTableRecord* pLayer = AcDbLayerTableRecord::cast(pObj)) pLayer->setIsLocked(true);
    pObj->close();
  }
  m_layers.Reset();
}

ZoPtPushSysVar::ZoPtPushSysVar(const wchar_t* pszName, int nValue) : m_pszName(pszName) {
  m_bSaved = acedGetVar(pszName, &m_saved) == RTNORM;
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = static_cast<short>(nValue);
  acedSetVar(pszName, &rb);
}

ZoPtPushSysVar::~ZoPtPushSysVar() {
  if (m_bSaved) acedSetVar(m_pszName, &m_saved);
}
