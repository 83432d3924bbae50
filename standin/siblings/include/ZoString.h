// Just enough of the base library's wide string, behaving as the family's does, for building
// prompts piece by piece.
#pragma once

#include <string>

class ZoStringW {
 public:
  // Reserves room for nCapacity characters; the string is empty.
  explicit ZoStringW(long nCapacity = 0);
  ZoStringW(const wchar_t* psz);
  ZoStringW(const ZoStringW& other);
  ~ZoStringW();
  ZoStringW& operator=(const ZoStringW& other);
  ZoStringW& operator=(const wchar_t* psz);

  // Appends; null text appends nothing.
  ZoStringW& operator<<(const wchar_t* psz);
  ZoStringW& operator<<(wchar_t ch);
  ZoStringW& operator<<(long n);

  long GetLength() const;
  const wchar_t* GetString() const;
  operator const wchar_t*() const { return GetString(); }

 private:
  std::wstring m_str;
};
