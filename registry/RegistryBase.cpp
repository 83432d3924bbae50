// Registry value binding: one key, its typed values and the variables bound to them.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "registry/Registry.h"

namespace {

// Appends one binding record to the list that keeps variables of its kind.
template <class List, class T, class Kind>
bool AppendBinding(List& bindings, T* pVariable, const wchar_t* pszName, Kind kind) {
  bindings.push_back({pszName, pVariable, kind});
  return true;
}

}  // namespace

ZoPtRegistryBase::ZoPtRegistryBase() = default;

ZoPtRegistryBase::ZoPtRegistryBase(const wchar_t* pszKey, bool bVersioned, const wchar_t* pszClassName,
                                   ZoPtRegistry* pMaster, bool bOwnedByMaster) {
  m_bVersioned = bVersioned;
  m_strKey = pszKey;
  m_strClassName = pszClassName ? CString(pszClassName) : CString(L"Class") + m_strKey;
  m_pMaster = pMaster;
  m_bOwnedByMaster = bOwnedByMaster;
  if (m_pMaster) m_pMaster->Register(this);
}

ZoPtRegistryBase::~ZoPtRegistryBase() {
  Close();
  Clear();
}

void ZoPtRegistryBase::SetObjectKey(const wchar_t* pszKey) { m_strKey = pszKey; }
void ZoPtRegistryBase::SetClassname(const wchar_t* pszClassName) { m_strClassName = pszClassName; }
void ZoPtRegistryBase::SetMaster(ZoPtRegistry* pMaster) { m_pMaster = pMaster; }
void ZoPtRegistryBase::SetTopRootKey(HKEY hTopRootKey) { m_hTopRootKey = hTopRootKey; }
CString ZoPtRegistryBase::GetKey() const { return m_strKey; }
CString ZoPtRegistryBase::GetMasterKey() const { return m_pMaster ? m_pMaster->GetRootKey(m_bVersioned) : CString(); }

bool ZoPtRegistryBase::Open(bool bCreate) {
  if (m_bOpen) return true;
  // Without a master there is no path to open: refused as a path the registry cannot find.
  if (!m_pMaster) {
    m_lLastResult = ERROR_BAD_PATHNAME;
    return false;
  }
  const CString strPath = GetMasterKey() + L"\\" + m_strKey;
  if (bCreate) {
    wchar_t szClass[1024];
    std::wcsncpy(szClass, m_strClassName, 1023);
    szClass[1023] = L'\0';
    m_lLastResult = RegCreateKeyExW(m_hTopRootKey, strPath, 0, szClass, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                    nullptr, &m_hKey, &m_dwDisposition);
    m_strClassName = szClass;
  } else {
    m_lLastResult = RegOpenKeyExW(m_hTopRootKey, strPath, 0, KEY_READ, &m_hKey);
  }
  m_bOpen = (m_lLastResult == ERROR_SUCCESS);
  if (!m_bOpen) m_hKey = nullptr;
  return m_bOpen;
}

void ZoPtRegistryBase::Close() {
  if (!m_bOpen) return;
  RegCloseKey(m_hKey);
  m_bOpen = false;
  m_hKey = nullptr;
}

bool ZoPtRegistryBase::CheckExists() {
  Open(false);
  return m_bOpen;
}

bool ZoPtRegistryBase::GetValue(const wchar_t* pszName) {
  if (!Open(false)) return false;
  DWORD dwSize = 0;
  m_lLastResult = RegQueryValueExW(m_hKey, pszName, nullptr, nullptr, nullptr, &dwSize);
  if (m_lLastResult != ERROR_SUCCESS || dwSize == 0) return false;
  m_valueBuffer.assign(dwSize + 1, 0);
  m_dwValueSize = dwSize;
  m_lLastResult = RegQueryValueExW(m_hKey, pszName, nullptr, &m_dwValueType, m_valueBuffer.data(), &m_dwValueSize);
  return m_lLastResult == ERROR_SUCCESS && m_dwValueSize != 0;
}

void ZoPtRegistryBase::ReleaseValue() {
  m_valueBuffer.clear();
  m_valueBuffer.shrink_to_fit();
  m_dwValueType = 0;
  m_dwValueSize = 0;
}

bool ZoPtRegistryBase::GetValue(const wchar_t* pszName, DWORD& dwValue) {
  dwValue = 0;
  // A REG_DWORD shorter than four bytes is refused rather than read past its end.
  if (!GetValue(pszName) || m_dwValueType != REG_DWORD || m_dwValueSize < sizeof(DWORD)) return false;
  std::memcpy(&dwValue, m_valueBuffer.data(), sizeof(DWORD));
  ReleaseValue();
  return true;
}

bool ZoPtRegistryBase::GetValue(const wchar_t* pszName, int& nValue) {
  DWORD dwValue;
  if (!GetValue(pszName, dwValue)) return false;
  nValue = static_cast<int>(dwValue);
  return true;
}

bool ZoPtRegistryBase::GetValue(const wchar_t* pszName, bool& bValue) {
  BYTE byValue = 0;
  if (!GetValue(pszName, &byValue, 1)) return false;
  bValue = (byValue != 0);
  return true;
}

bool ZoPtRegistryBase::GetValue(const wchar_t* pszName, double& dValue) {
  CString strValue;
  if (!GetValue(pszName, strValue)) return false;
  dValue = _wtof(strValue);
  return true;
}

bool ZoPtRegistryBase::GetValue(const wchar_t* pszName, CString& strValue, bool* pbExpanded) {
  if (!GetValue(pszName)) return false;
  if (pbExpanded) *pbExpanded = (m_dwValueType == REG_EXPAND_SZ);
  if (m_dwValueType != REG_SZ && m_dwValueType != REG_EXPAND_SZ) return false;
  // The text ends at its first zero or at the end of the data, whichever comes first.
  std::wstring text(m_dwValueSize / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(&text[0], m_valueBuffer.data(), text.size() * sizeof(wchar_t));
  text.resize((std::min)(text.find(L'\0'), text.size()));
  strValue = text.c_str();
  ReleaseValue();
  return true;
}

bool ZoPtRegistryBase::GetValue(const wchar_t* pszName, wchar_t* pszBuffer, DWORD dwCount, bool* pbExpanded) {
  CString strValue;
  if (!pszBuffer || dwCount == 0 || !GetValue(pszName, strValue, pbExpanded)) return false;
  // Cut texts stay terminated inside the buffer.
  const DWORD dwLength = (std::min)(static_cast<DWORD>(strValue.GetLength()), dwCount - 1);
  std::wcsncpy(pszBuffer, strValue, dwLength);
  pszBuffer[dwLength] = L'\0';
  return true;
}

bool ZoPtRegistryBase::GetValue(const wchar_t* pszName, BYTE* pBuffer, DWORD dwSize) {
  if (!GetValue(pszName) || m_dwValueType != REG_BINARY) return false;
  if (pBuffer) std::memcpy(pBuffer, m_valueBuffer.data(), (std::min)(m_dwValueSize, dwSize));
  ReleaseValue();
  return true;
}

bool ZoPtRegistryBase::SetRaw(const wchar_t* pszName, DWORD dwType, const BYTE* pData, DWORD dwSize) {
  if (!Open(true)) return false;
  m_lLastResult = RegSetValueExW(m_hKey, pszName, 0, dwType, pData, dwSize);
  return m_lLastResult == ERROR_SUCCESS;
}

bool ZoPtRegistryBase::SetValue(const wchar_t* pszName, DWORD dwValue) {
  return SetRaw(pszName, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(DWORD));
}

bool ZoPtRegistryBase::SetValue(const wchar_t* pszName, int nValue) {
  return SetValue(pszName, static_cast<DWORD>(nValue));
}

bool ZoPtRegistryBase::SetValue(const wchar_t* pszName, bool bValue) {
  const BYTE byValue = bValue ? 1 : 0;
  return SetRaw(pszName, REG_BINARY, &byValue, 1);
}

bool ZoPtRegistryBase::SetValue(const wchar_t* pszName, double dValue) {
  CString strValue;
  strValue.Format(L"%g", dValue);
  return SetValue(pszName, strValue, false);
}

bool ZoPtRegistryBase::SetValue(const wchar_t* pszName, const wchar_t* pszText, bool bExpand) {
  if (!pszText) pszText = L"";
  const DWORD dwSize = static_cast<DWORD>((std::wcslen(pszText) + 1) * sizeof(wchar_t));
  return SetRaw(pszName, bExpand ? REG_EXPAND_SZ : REG_SZ, reinterpret_cast<const BYTE*>(pszText), dwSize);
}

bool ZoPtRegistryBase::SetValue(const wchar_t* pszName, BYTE* pData, DWORD dwSize) {
  return SetRaw(pszName, REG_BINARY, pData, dwSize);
}

bool ZoPtRegistryBase::SetValue(const wchar_t* pszName, const wchar_t* const* ppszTexts) {
  std::vector<wchar_t> data;
  for (const wchar_t* const* pp = ppszTexts; pp && *pp; ++pp) {
    // An empty text would end the list for every reader: such a list is refused, not stored
    // as a different one.
    if (!**pp) {
      m_lLastResult = ERROR_INVALID_PARAMETER;
      return false;
    }
    data.insert(data.end(), *pp, *pp + std::wcslen(*pp) + 1);
  }
  data.push_back(L'\0');
  return SetRaw(pszName, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

bool ZoPtRegistryBase::AttachValue(DWORD* pdwValue, const wchar_t* pszName) {
  return AppendBinding(m_unsignedBindings, pdwValue, pszName, BindingKind::Unsigned);
}

bool ZoPtRegistryBase::AttachValue(long* plValue, const wchar_t* pszName) {
  return AppendBinding(m_unsignedBindings, plValue, pszName, BindingKind::Long);
}

bool ZoPtRegistryBase::AttachValue(CString* pstrValue, const wchar_t* pszName) {
  return AppendBinding(m_textBindings, pstrValue, pszName, BindingKind::Text);
}

bool ZoPtRegistryBase::AttachValue(bool* pbValue, const wchar_t* pszName) {
  return AppendBinding(m_flagBindings, pbValue, pszName, BindingKind::Flag);
}

bool ZoPtRegistryBase::AttachValue(int* pnValue, const wchar_t* pszName) {
  return AppendBinding(m_integerBindings, pnValue, pszName, BindingKind::Integer);
}

bool ZoPtRegistryBase::Init() { return CheckExists() ? Read() : Store(); }

bool ZoPtRegistryBase::Read() {
  for (const Binding& b : m_unsignedBindings) {
    if (b.m_kind == BindingKind::Long) {
      // A long is 32 bits on Windows; here it takes the same value whatever its width.
      DWORD dwValue;
      GetValue(b.m_strName, dwValue);
      *static_cast<long*>(b.m_pVariable) = static_cast<LONG>(dwValue);
    } else {
      GetValue(b.m_strName, *static_cast<DWORD*>(b.m_pVariable));
    }
  }
  for (const Binding& b : m_integerBindings) GetValue(b.m_strName, *static_cast<int*>(b.m_pVariable));
  for (const Binding& b : m_flagBindings) GetValue(b.m_strName, *static_cast<bool*>(b.m_pVariable));
  for (const Binding& b : m_textBindings) GetValue(b.m_strName, *static_cast<CString*>(b.m_pVariable), nullptr);
  return Exchange(false);
}

bool ZoPtRegistryBase::Store() {
  for (const Binding& b : m_unsignedBindings) {
    if (b.m_kind == BindingKind::Long)
      SetValue(b.m_strName, static_cast<DWORD>(*static_cast<long*>(b.m_pVariable)));
    else
      SetValue(b.m_strName, *static_cast<DWORD*>(b.m_pVariable));
  }
  for (const Binding& b : m_integerBindings) SetValue(b.m_strName, *static_cast<int*>(b.m_pVariable));
  for (const Binding& b : m_flagBindings) SetValue(b.m_strName, *static_cast<bool*>(b.m_pVariable));
  for (const Binding& b : m_textBindings) SetValue(b.m_strName, *static_cast<CString*>(b.m_pVariable), false);
  return Exchange(true);
}

bool ZoPtRegistryBase::Exchange(bool /*bStoring*/) { return true; }

void ZoPtRegistryBase::Clear() {
  ReleaseValue();
  m_unsignedBindings.clear();
  m_textBindings.clear();
  m_integerBindings.clear();
  m_flagBindings.clear();
  if (m_pMaster) m_pMaster->Unregister(this);
}
