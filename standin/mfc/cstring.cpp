// Just enough of MFC's wide CString, behaving as MFC's does, for the module and the siblings.
#include <afxstr.h>

#include <algorithm>
#include <cassert>
#include <cstdarg>
#include <cwchar>
#include <cwctype>

#include "standin/win32/utf8.h"

namespace {
int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }
bool IsSpace(wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; }
}  // namespace

wchar_t CString::GetAt(int nIndex) const {
  assert(nIndex >= 0 && nIndex < GetLength());
  return nIndex >= 0 && nIndex < GetLength() ? m_str[static_cast<size_t>(nIndex)] : L'\0';
}

void CString::SetAt(int nIndex, wchar_t ch) {
  assert(nIndex >= 0 && nIndex < GetLength());
  if (nIndex >= 0 && nIndex < GetLength()) m_str[static_cast<size_t>(nIndex)] = ch;
}

void CString::Format(const wchar_t* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  m_str = standin::FormatWideV(pszFormat, args);
  va_end(args);
}

void CString::AppendFormat(const wchar_t* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  m_str += standin::FormatWideV(pszFormat, args);
  va_end(args);
}

CString& CString::MakeUpper() {
  for (auto& c : m_str) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return *this;
}

CString& CString::MakeLower() {
  for (auto& c : m_str) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(m_str.begin(), m_str.end());
  return *this;
}

int CString::Find(wchar_t ch, int iStart) const {
  if (iStart < 0 || iStart >= GetLength()) return -1;
  const size_t at = m_str.find(ch, static_cast<size_t>(iStart));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* pszSub, int iStart) const {
  if (!pszSub || iStart < 0 || iStart > GetLength()) return -1;
  const size_t at = m_str.find(pszSub, static_cast<size_t>(iStart));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const {
  const size_t at = m_str.rfind(ch);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const wchar_t* pszCharSet) const {
  if (!pszCharSet) return -1;
  const size_t at = m_str.find_first_of(pszCharSet);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Mid(int iFirst) const { return Mid(iFirst, GetLength()); }

CString CString::Mid(int iFirst, int nCount) const {
  iFirst = Clamp(iFirst, 0, GetLength());
  nCount = Clamp(nCount, 0, GetLength() - iFirst);
  return CString(m_str.c_str() + iFirst, nCount);
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
  nCount = Clamp(nCount, 0, GetLength());
  return Mid(GetLength() - nCount, nCount);
}

int CString::Delete(int iIndex, int nCount) {
  iIndex = std::max(iIndex, 0);
  if (nCount > 0 && iIndex < GetLength())
    m_str.erase(static_cast<size_t>(iIndex), static_cast<size_t>(std::min(nCount, GetLength() - iIndex)));
  return GetLength();
}

int CString::Insert(int iIndex, wchar_t ch) {
  m_str.insert(static_cast<size_t>(Clamp(iIndex, 0, GetLength())), 1, ch);
  return GetLength();
}

int CString::Insert(int iIndex, const wchar_t* psz) {
  if (psz) m_str.insert(static_cast<size_t>(Clamp(iIndex, 0, GetLength())), psz);
  return GetLength();
}

int CString::Replace(wchar_t chOld, wchar_t chNew) {
  int n = 0;
  for (auto& c : m_str)
    if (c == chOld) c = chNew, ++n;
  return n;
}

int CString::Replace(const wchar_t* pszOld, const wchar_t* pszNew) {
  if (!pszOld || !*pszOld) return 0;
  const std::wstring from = pszOld, to = pszNew ? pszNew : L"";
  int n = 0;
  for (size_t at = m_str.find(from); at != std::wstring::npos; at = m_str.find(from, at + to.size())) {
    m_str.replace(at, from.size(), to);
    ++n;
  }
  return n;
}

int CString::Remove(wchar_t ch) {
  const auto before = m_str.size();
  m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
  return static_cast<int>(before - m_str.size());
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::TrimLeft() {
  m_str.erase(m_str.begin(), std::find_if_not(m_str.begin(), m_str.end(), IsSpace));
  return *this;
}

CString& CString::TrimRight() {
  m_str.erase(std::find_if_not(m_str.rbegin(), m_str.rend(), IsSpace).base(), m_str.end());
  return *this;
}

CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }

CString& CString::TrimLeft(wchar_t ch) {
  m_str.erase(0, std::min(m_str.find_first_not_of(ch), m_str.size()));
  return *this;
}

CString& CString::TrimRight(wchar_t ch) {
  const size_t last = m_str.find_last_not_of(ch);
  m_str.erase(last == std::wstring::npos ? 0 : last + 1);
  return *this;
}

int CString::Compare(const wchar_t* psz) const { return std::wcscmp(m_str.c_str(), psz ? psz : L""); }

int CString::CompareNoCase(const wchar_t* psz) const {
  const wchar_t* a = m_str.c_str();
  const wchar_t* b = psz ? psz : L"";
  for (;; ++a, ++b) {
    const auto ca = std::towlower(static_cast<wint_t>(*a)), cb = std::towlower(static_cast<wint_t>(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (!*a) return 0;
  }
}

wchar_t* CString::GetBuffer(int nMinBufferLength) {
  if (nMinBufferLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufferLength));
  return m_str.data();
}

wchar_t* CString::GetBufferSetLength(int nNewLength) {
  m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
  return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0) nNewLength = static_cast<int>(std::wcslen(m_str.c_str()));
  m_str.resize(static_cast<size_t>(std::min(nNewLength, GetLength())));
}
