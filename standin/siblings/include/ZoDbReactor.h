// Just enough of the database module's document reactors, behaving as the family's do, for the
// lists the platform exports over them and the pickfirst set: a reactor's data, known by the
// document it serves, and the reactor of the current document.
#pragma once

#include <adsdef.h>

class ZoDbReactorAndData {
 public:
  explicit ZoDbReactorAndData(const void* pDocument = nullptr) : m_pDocument(pDocument) {}

  // By the document's address.
  bool operator==(const ZoDbReactorAndData& r) const;
  bool operator!=(const ZoDbReactorAndData& r) const;
  bool operator<(const ZoDbReactorAndData& r) const;
  bool operator>(const ZoDbReactorAndData& r) const;

  // Fills ss with the name of a new host set of the pickfirst entities (acedSSGetFirst); false,
  // ss untouched, when there are none. The set stays the reactor's: FreeFirstPickSet frees it, as
  // does the next call (chosen: one set handed out at a time).
  bool GetPickFirstSet(ads_name ss);
  // Frees the set GetPickFirstSet handed out, if any.
  void FreeFirstPickSet();

  const void* m_pDocument;

 private:
  ads_name m_pickFirst = {0, 0};
  bool m_hasPickFirst = false;
};

class ZoReactors {
 public:
  // The reactor data of the current document (the session's drawing), made on first use and kept
  // for the life of the process; NULL when no drawing is open.
  static ZoDbReactorAndData* GetCurDocReactor();
};
