// The database module's reactor data comparisons: by the document served, in address order.
#include <ZoDbReactor.h>

#include <functional>

bool ZoDbReactorAndData::operator==(const ZoDbReactorAndData& r) const { return m_pDocument == r.m_pDocument; }
bool ZoDbReactorAndData::operator!=(const ZoDbReactorAndData& r) const { return m_pDocument != r.m_pDocument; }
bool ZoDbReactorAndData::operator<(const ZoDbReactorAndData& r) const {
  return std::less<const void*>()(m_pDocument, r.m_pDocument);
}
bool ZoDbReactorAndData::operator>(const ZoDbReactorAndData& r) const { return r < *this; }
