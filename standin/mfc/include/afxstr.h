// Just enough of MFC's wide CString, behaving as MFC's does (clamping out-of-range
// arguments, -1 for failed searches), for the module and the siblings.
#pragma once

#include <windows.h>

#include <string>

class CString {
 public:
  CString() = default;
  CString(const wchar_t* psz) : m_str(psz ? psz : L"") {}
  CString(const wchar_t* pch, int nLength) : m_str(pch && nLength > 0 ? std::wstring(pch, nLength) : std::wstring()) {}
  CString(wchar_t ch, int nRepeat = 1) : m_str(nRepeat > 0 ? static_cast<size_t>(nRepeat) : 0, ch) {}
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(const wchar_t* psz) {
    m_str = psz ? psz : L"";
    return *this;
  }
  CString& operator=(wchar_t ch) {
    m_str.assign(1, ch);
    return *this;
  }

  int GetLength() const { return static_cast<int>(m_str.size()); }
  bool IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }
  const wchar_t* GetString() const { return m_str.c_str(); }
  operator const wchar_t*() const { return m_str.c_str(); }
  // REQUIRES: 0 <= nIndex < GetLength()
  wchar_t GetAt(int nIndex) const;
  void SetAt(int nIndex, wchar_t ch);
  wchar_t operator[](int nIndex) const { return GetAt(nIndex); }

  void Format(const wchar_t* pszFormat, ...);
  void AppendFormat(const wchar_t* pszFormat, ...);

  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // Searches return the zero-based index, or -1; a start past the end finds nothing.
  int Find(wchar_t ch, int iStart = 0) const;
  int Find(const wchar_t* pszSub, int iStart = 0) const;
  int ReverseFind(wchar_t ch) const;
  int FindOneOf(const wchar_t* pszCharSet) const;

  // Out-of-range positions and counts are clamped, as MFC does.
  CString Mid(int iFirst) const;
  CString Mid(int iFirst, int nCount) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  int Delete(int iIndex, int nCount = 1);  // returns the new length
  int Insert(int iIndex, wchar_t ch);
  int Insert(int iIndex, const wchar_t* psz);
  int Replace(wchar_t chOld, wchar_t chNew);
  int Replace(const wchar_t* pszOld, const wchar_t* pszNew);
  int Remove(wchar_t ch);
  CString& Trim();
  CString& TrimLeft();
  CString& TrimRight();
  CString& Trim(wchar_t ch);
  CString& TrimLeft(wchar_t ch);
  CString& TrimRight(wchar_t ch);

  int Compare(const wchar_t* psz) const;
  int CompareNoCase(const wchar_t* psz) const;

  // The buffer holds at least nMinBufferLength characters plus a terminator.
  wchar_t* GetBuffer(int nMinBufferLength = 0);
  wchar_t* GetBufferSetLength(int nNewLength);
  // -1 takes the length up to the first terminator written into the buffer.
  void ReleaseBuffer(int nNewLength = -1);

  CString& operator+=(const CString& s) {
    m_str += s.m_str;
    return *this;
  }
  CString& operator+=(const wchar_t* psz) {
    if (psz) m_str += psz;
    return *this;
  }
  CString& operator+=(wchar_t ch) {
    m_str += ch;
    return *this;
  }

  friend CString operator+(const CString& a, const CString& b) { return CString(a) += b; }
  friend CString operator+(const CString& a, const wchar_t* b) { return CString(a) += b; }
  friend CString operator+(const wchar_t* a, const CString& b) { return CString(a) += b; }
  friend CString operator+(const CString& a, wchar_t b) { return CString(a) += b; }
  friend CString operator+(wchar_t a, const CString& b) { return CString(a) += b; }

  friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
  friend bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
  friend bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
  friend bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
  friend bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
  friend bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
  friend bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

 private:
  std::wstring m_str;
};

typedef CString CStringW;
