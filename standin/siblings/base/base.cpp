// Just enough of the family's base library, behaving as it does, for the platform module:
// the flag-word base, the run-time class record, the wide string and the index queue.
#include <ZoBitData.h>
#include <ZoQueue.h>
#include <ZoString.h>

ZoBitData::~ZoBitData() = default;

ZoRxRunTimeClass::~ZoRxRunTimeClass() = default;
const wchar_t* ZoRxRunTimeClass::GetRxClassName() const { return L"ZoRxRunTimeClass"; }

template class ZoQuene<long>;

ZoStringW::ZoStringW(long nCapacity) {
  if (nCapacity > 0) m_str.reserve(static_cast<size_t>(nCapacity));
}
ZoStringW::ZoStringW(const wchar_t* psz) : m_str(psz ? psz : L"") {}
ZoStringW::ZoStringW(const ZoStringW& other) = default;
ZoStringW::~ZoStringW() = default;
ZoStringW& ZoStringW::operator=(const ZoStringW& other) = default;

ZoStringW& ZoStringW::operator=(const wchar_t* psz) {
  m_str = psz ? psz : L"";
  return *this;
}

ZoStringW& ZoStringW::operator<<(const wchar_t* psz) {
  if (psz) m_str += psz;
  return *this;
}

ZoStringW& ZoStringW::operator<<(wchar_t ch) {
  m_str += ch;
  return *this;
}

ZoStringW& ZoStringW::operator<<(long n) {
  m_str += std::to_wstring(n);
  return *this;
}

long ZoStringW::GetLength() const { return static_cast<long>(m_str.size()); }
const wchar_t* ZoStringW::GetString() const { return m_str.c_str(); }
