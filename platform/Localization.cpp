// Text translation on the module's side.
#include "platform/Localization.h"

#include <algorithm>

#include "platform/Module.h"

namespace {
ZoDtDictionary* g_pModuleDict = nullptr;
}  // namespace

ZoDtDictionary* GetModuleDictionary() { return g_pModuleDict; }

CString GetModuleKey() {
  wchar_t szPath[1024];
  const DWORD nLength = GetModuleFileNameW(g_hInstance, szPath, 1024);
  szPath[nLength < 1024 ? nLength : 1023] = L'\0';
  CString strName(szPath);
  strName.MakeUpper();

  // A Windows path separates folders with "\"; here "/" does too.
  const int nSlash = (std::max)(strName.ReverseFind(L'\\'), strName.ReverseFind(L'/'));
  if (nSlash < 1 || nSlash == strName.GetLength() - 1) return CString();
  strName = strName.Mid(nSlash + 1);

  const int nDot = strName.Find(L'.');
  if (nDot < 1) return CString();
  strName = strName.Left(nDot);

  const wchar_t chLast = strName[strName.GetLength() - 1];
  if (chLast >= L'0' && chLast <= L'9') strName.Delete(strName.GetLength() - 1);

  if (!g_pTovuLangSwitch) return CString();
  g_pModuleDict = g_pTovuLangSwitch->GetModuleDictionary(strName);
  return strName;
}

ZoUtPushResource::ZoUtPushResource(HINSTANCE hInstance)
    : m_hOldResource(AfxGetResourceHandle()), m_pOldModuleLang(g_pCurModuleLang) {
  AfxSetResourceHandle(hInstance);
  g_pCurModuleLang = g_pModuleDict;
  if (!g_pCurModuleLang) {
    GetModuleKey();
    g_pCurModuleLang = g_pModuleDict;
  }
}

ZoUtPushResource::~ZoUtPushResource() {
  AfxSetResourceHandle(m_hOldResource);
  g_pCurModuleLang = m_pOldModuleLang;
}

const wchar_t* Translate(const wchar_t* pszText) {
  ZoUtPushResource guard(g_hResource);
  return g_pTovuLangSwitch ? g_pTovuLangSwitch->Translate(pszText) : pszText;
}
