// Just enough of the database module's document reactors, behaving as the family's do, for the
// lists the platform exports over them: a reactor's data, known by the document it serves.
#pragma once

class ZoDbReactorAndData {
 public:
  explicit ZoDbReactorAndData(const void* pDocument = nullptr) : m_pDocument(pDocument) {}

  // By the document's address.
  bool operator==(const ZoDbReactorAndData& r) const;
  bool operator!=(const ZoDbReactorAndData& r) const;
  bool operator<(const ZoDbReactorAndData& r) const;
  bool operator>(const ZoDbReactorAndData& r) const;

  const void* m_pDocument;
};
