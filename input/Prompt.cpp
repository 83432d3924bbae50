// Prompt and variable helpers.
#include "input/Prompt.h"

#include <cstdlib>
#include <cstring>

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

namespace {

// The variable's value; a text the host copied for us is freed whatever the caller wanted.
class VarValue {
 public:
  explicit VarValue(const wchar_t* pszName) : m_nResult(RTERROR) {
    std::memset(&m_rb, 0, sizeof(m_rb));
    if (pszName) m_nResult = acedGetVar(pszName, &m_rb);
  }
  ~VarValue() {
    if (m_nResult == RTNORM && m_rb.restype == RTSTR) std::free(m_rb.resval.rstring);
  }
  VarValue(const VarValue&) = delete;
  VarValue& operator=(const VarValue&) = delete;

  // The value when the host returned it with one of these types, else null.
  const resbuf* As(int nType, int nOtherType = 0) const {
    if (m_nResult != RTNORM) return nullptr;
    return m_rb.restype == nType || (nOtherType && m_rb.restype == nOtherType) ? &m_rb : nullptr;
  }

 private:
  resbuf m_rb;
  int m_nResult;
};

// The first node of the symbol's value; the whole list is released in every case.
class SymValue {
 public:
  explicit SymValue(const wchar_t* pszName) : m_pList(nullptr), m_nResult(RTERROR) {
    if (pszName) m_nResult = acedGetSym(pszName, &m_pList);
  }
  ~SymValue() {
    if (m_pList) acutRelRb(m_pList);
  }
  SymValue(const SymValue&) = delete;
  SymValue& operator=(const SymValue&) = delete;

  const resbuf* As(int nType) const {
    return m_nResult == RTNORM && m_pList && m_pList->restype == nType ? m_pList : nullptr;
  }

 private:
  resbuf* m_pList;
  int m_nResult;
};

void CopyPoint(const resbuf* rb, ZoGePoint& pt) {
  pt.x = rb->resval.rpoint[X];
  pt.y = rb->resval.rpoint[Y];
  pt.z = rb->resval.rpoint[Z];
}

}  // namespace

bool ZoPtGetVar(const wchar_t* pszName, CString& strValue) {
  const VarValue value(pszName);
  const resbuf* rb = value.As(RTSTR);
  if (!rb) return false;
  strValue = rb->resval.rstring;
  return true;
}

bool ZoPtGetVar(const wchar_t* pszName, double& dValue) {
  const VarValue value(pszName);
  const resbuf* rb = value.As(RTREAL);
  if (!rb) return false;
  dValue = rb->resval.rreal;
  return true;
}

bool ZoPtGetVar(const wchar_t* pszName, ZoGePoint& ptValue) {
  const VarValue value(pszName);
  const resbuf* rb = value.As(RT3DPOINT, RTPOINT);
  if (!rb) return false;
  CopyPoint(rb, ptValue);
  return true;
}

bool ZoPtGetVar(const wchar_t* pszName, int& nValue) {
  const VarValue value(pszName);
  const resbuf* rb = value.As(RTSHORT);
  if (!rb) return false;
  nValue = rb->resval.rint;
  return true;
}

bool ZoPtGetSym(const wchar_t* pszName, CString& strValue) {
  const SymValue value(pszName);
  const resbuf* rb = value.As(RTSTR);
  if (!rb) return false;
  strValue = rb->resval.rstring;
  return true;
}

bool ZoPtGetSym(const wchar_t* pszName, double& dValue) {
  const SymValue value(pszName);
  const resbuf* rb = value.As(RTREAL);
  if (!rb) return false;
  dValue = rb->resval.rreal;
  return true;
}

bool ZoPtGetSym(const wchar_t* pszName, ZoGePoint& ptValue) {
  const SymValue value(pszName);
  const resbuf* rb = value.As(RT3DPOINT);
  if (!rb) return false;
  CopyPoint(rb, ptValue);
  return true;
}

bool ZoPtGetSym(const wchar_t* pszName, int& nValue) {
  const SymValue value(pszName);
  const resbuf* rb = value.As(RTSHORT);
  if (!rb) return false;
  nValue = rb->resval.rint;
  return true;
}

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
