// Just enough of the database module's block records, behaving as the family's do, for the
// platform's lists of them: a block known by its name.
#pragma once

#include <string>

class ZoDbBlockData {
 public:
  explicit ZoDbBlockData(const wchar_t* pszName = L"") : m_strName(pszName) {}

  bool operator==(const ZoDbBlockData& b) const { return m_strName == b.m_strName; }
  bool operator!=(const ZoDbBlockData& b) const { return m_strName != b.m_strName; }
  bool operator<(const ZoDbBlockData& b) const { return m_strName < b.m_strName; }
  bool operator>(const ZoDbBlockData& b) const { return m_strName > b.m_strName; }

  std::wstring m_strName;
};
