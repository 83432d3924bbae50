// Prompt and variable helpers.
#include "input/Prompt.h"

#include <cstring>

#include "platform/HostValue.h"
#include "platform/Localization.h"

ZoPtInitGet::ZoPtInitGet(int nControl, const wchar_t* pszKeywords) {
  acedInitGet(nControl, pszKeywords);
  g_strInitKewords = pszKeywords;
  g_nInitContral = nControl;
}

ZoPtInitGet::~ZoPtInitGet() {
  g_strInitKewords = L"";
  g_nInitContral = -1;
}

bool ZoPtGetVar(const wchar_t* pszName, CString& strValue) { return GetSysVar(pszName, strValue); }
bool ZoPtGetVar(const wchar_t* pszName, double& dValue) { return GetSysVar(pszName, dValue); }
bool ZoPtGetVar(const wchar_t* pszName, ZoGePoint& ptValue) { return GetSysVar(pszName, ptValue); }
bool ZoPtGetVar(const wchar_t* pszName, int& nValue) { return GetSysVar(pszName, nValue); }

bool ZoPtGetSym(const wchar_t* pszName, CString& strValue) { return GetSymValue(pszName, strValue); }
bool ZoPtGetSym(const wchar_t* pszName, double& dValue) { return GetSymValue(pszName, dValue); }
bool ZoPtGetSym(const wchar_t* pszName, ZoGePoint& ptValue) { return GetSymValue(pszName, ptValue); }
bool ZoPtGetSym(const wchar_t* pszName, int& nValue) { return GetSymValue(pszName, nValue); }

int ZoPtAskYesNo(const wchar_t* pszPrompt, int nDefault) {
  ZoStringW strQuestion(256);
  strQuestion << pszPrompt << Translate(nDefault ? L"?[是(Y)/否(N)]<Y>: " : L"?[是(Y)/否(N)]<N>: ");
  acedInitGet(0, L"Y N");
  wchar_t szAnswer[256];
  std::memset(szAnswer, 0, sizeof(szAnswer));
  const int nResult = acedGetKword(strQuestion, szAnswer);
  if (nResult == RTCAN) return RTCAN;
  if (nResult == RTNONE) return nDefault;
  return _wcsicmp(szAnswer, L"N") == 0 ? 0 : 1;
}

int ZoGetSelectKeyWordInput(CString& strKeyword) {
  const int nTyped = g_IsInputSelectKeyWord;
  strKeyword = g_strSelKewWord;
  g_strSelKewWord = L"";
  g_IsInputSelectKeyWord = 0;
  return nTyped;
}

bool GetKeywordsFromPrompt(const wchar_t* pszPrompt, CString& strKeywords) {
  const CString strPrompt(pszPrompt);
  const int nOpen = strPrompt.Find(L'[');
  const int nClose = strPrompt.Find(L']');
  if (nOpen < 0 || nClose < 0 || nClose - nOpen < 4) return false;

  CString strOptions = strPrompt.Mid(nOpen + 1, nClose - nOpen - 1);
  while (!strOptions.IsEmpty()) {
    const int nLeft = strOptions.Find(L'(');
    const int nRight = strOptions.Find(L')');
    if (nLeft < 0 || nRight < 0 || nRight - nLeft < 2) break;
    if (!strKeywords.IsEmpty()) strKeywords += L' ';
    strKeywords += strOptions.Mid(nLeft + 1, nRight - nLeft - 1);
    strOptions = nRight == strOptions.GetLength() - 1 ? CString() : strOptions.Mid(nRight + 1);
  }
  if (strKeywords.IsEmpty()) return false;
  const CString strLocal = strKeywords;
  strKeywords += L" _ ";
  strKeywords += strLocal;
  return true;
}
