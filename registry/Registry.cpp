// The registry master: root key path and version of one application's settings, and the
// binding objects below it.
#include "registry/Registry.h"

#include <algorithm>
#include <set>

#include "platform/Localization.h"

namespace {

// Attaches the variable to the object of the handle, when that object is registered here.
template <class T>
bool AttachThrough(const ZoPtRegistry& master, ZoPtRegHandle hObject, T* pVariable, const wchar_t* pszName) {
  ZoPtRegistryBase* pObject = master.LookUp(hObject);
  return pObject && pObject->AttachValue(pVariable, pszName);
}

}  // namespace

ZoPtRegistry::ZoPtRegistry() { m_pMaster = this; }

ZoPtRegistry::ZoPtRegistry(const wchar_t* pszRootKey, const wchar_t* pszKey, double dVersion)
    : ZoPtRegistryBase(pszKey, dVersion > 0.0, nullptr, nullptr, false) {
  m_pMaster = this;
  SetRootKey(pszRootKey, dVersion);
}

ZoPtRegistry::ZoPtRegistry(const wchar_t* pszRootKey, const wchar_t* pszKey) : ZoPtRegistry(pszRootKey, pszKey, 0.0) {}

ZoPtRegistry::~ZoPtRegistry() {
  Clear();
  // The base part closes the master's own key; there is no master left to unregister from.
  m_pMaster = nullptr;
}

void ZoPtRegistry::SetRootKey(const wchar_t* pszRootKey, double dVersion) {
  m_strRootKey = pszRootKey;
  m_strVersion.Format(L"%lf", dVersion);
  m_strVersionedRootKey = m_strRootKey + L"\\" + m_strVersion;
  m_strPlainRootKey = m_strRootKey;
}

CString ZoPtRegistry::GetRootKey(bool bVersioned) const {
  return bVersioned ? m_strVersionedRootKey : m_strPlainRootKey;
}

CString ZoPtRegistry::GetVersion() const { return m_strVersion; }

ZoPtRegHandle ZoPtRegistry::CreateSubKey(const wchar_t* pszKey, bool bVersioned, const wchar_t* pszClassName) {
  auto* pObject = new ZoPtRegistryBase(pszKey, bVersioned, pszClassName, this, true);
  return reinterpret_cast<ZoPtRegHandle>(pObject);
}

void ZoPtRegistry::Register(ZoPtRegistryBase* pObject) {
  if (!pObject || pObject == this) return;
  m_objects.push_back(pObject);
}

void ZoPtRegistry::Unregister(ZoPtRegistryBase* pObject) {
  if (m_bClearing || pObject == this) return;
  int nIndex;
  if (LookUp(pObject, &nIndex)) m_objects.erase(m_objects.begin() + nIndex);
}

bool ZoPtRegistry::LookUp(ZoPtRegistryBase* pObject, int* pnIndex) const {
  const auto it = std::find(m_objects.begin(), m_objects.end(), pObject);
  if (it == m_objects.end()) return false;
  if (pnIndex) *pnIndex = static_cast<int>(it - m_objects.begin());
  return true;
}

ZoPtRegistryBase* ZoPtRegistry::LookUp(ZoPtRegHandle hObject) const {
  ZoPtRegistryBase* pObject = GetRegObject(hObject);
  return LookUp(pObject) ? pObject : nullptr;
}

ZoPtRegistryBase* ZoPtRegistry::GetRegObject(ZoPtRegHandle hObject) const {
  return reinterpret_cast<ZoPtRegistryBase*>(hObject);
}

bool ZoPtRegistry::AttachValue(ZoPtRegHandle hObject, CString* pstrValue, const wchar_t* pszName) {
  return AttachThrough(*this, hObject, pstrValue, pszName);
}

bool ZoPtRegistry::AttachValue(ZoPtRegHandle hObject, DWORD* pdwValue, const wchar_t* pszName) {
  return AttachThrough(*this, hObject, pdwValue, pszName);
}

bool ZoPtRegistry::AttachValue(ZoPtRegHandle hObject, long* plValue, const wchar_t* pszName) {
  return AttachThrough(*this, hObject, plValue, pszName);
}

bool ZoPtRegistry::AttachValue(ZoPtRegHandle hObject, bool* pbValue, const wchar_t* pszName) {
  return AttachThrough(*this, hObject, pbValue, pszName);
}

bool ZoPtRegistry::AttachValue(ZoPtRegHandle hObject, int* pnValue, const wchar_t* pszName) {
  return AttachThrough(*this, hObject, pnValue, pszName);
}

bool ZoPtRegistry::Init() {
  bool bResult = true;
  for (ZoPtRegistryBase* pObject : m_objects) bResult = pObject->Init();
  return bResult;
}

bool ZoPtRegistry::Read() {
  bool bResult = true;
  for (ZoPtRegistryBase* pObject : m_objects) bResult = pObject->Read();
  return bResult;
}

bool ZoPtRegistry::Store() {
  bool bResult = true;
  for (ZoPtRegistryBase* pObject : m_objects) bResult = pObject->Store();
  return bResult;
}

void ZoPtRegistry::Clear() {
  m_bClearing = true;
  std::set<ZoPtRegistryBase*> deleted;
  for (ZoPtRegistryBase* pObject : m_objects) {
    if (!deleted.insert(pObject).second) continue;  // registered twice, deleted once
    if (pObject->m_bOwnedByMaster)
      delete pObject;
    else
      pObject->m_pMaster = nullptr;  // it may outlive this master; it has no path any more
  }
  m_objects.clear();
  m_bClearing = false;
}

// The root is honoured as given (the key is not always opened under HKEY_CURRENT_USER).
bool ZoPtRegistry::ReadValue(HKEY hRoot, const wchar_t* pszSubKey, const wchar_t* pszValueName, BYTE* pBuffer,
                             DWORD dwSize) {
  HKEY hKey = nullptr;
  bool bResult = false;
  bool bTooLarge = false;
  LONG lResult = RegOpenKeyExW(hRoot, pszSubKey, 0, KEY_QUERY_VALUE, &hKey);
  if (lResult == ERROR_SUCCESS) {
    DWORD dwValueSize = 0;
    lResult = RegQueryValueExW(hKey, pszValueName, nullptr, nullptr, nullptr, &dwValueSize);
    if (lResult == ERROR_SUCCESS && dwValueSize > dwSize) {
      bTooLarge = true;
    } else if (lResult == ERROR_SUCCESS) {
      lResult = RegQueryValueExW(hKey, pszValueName, nullptr, nullptr, pBuffer, &dwValueSize);
      bResult = (lResult == ERROR_SUCCESS);
    }
  }
  if (!bResult && !bTooLarge) AfxMessageBox(Translate(L"Reg Fail"), MB_OK);
  if (hKey) RegCloseKey(hKey);
  return bResult;
}
