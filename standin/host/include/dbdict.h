// Just enough of the host's dictionaries, behaving as the host's do, for the module to file and
// find named objects such as groups.
#pragma once

#include <dbmain.h>

#include <string>
#include <utility>
#include <vector>

class AcDbDictionaryIterator {
 public:
  const ACHAR* name() const;
  AcDbObjectId objectId() const;
  Acad::ErrorStatus getObject(AcDbObject*& pObject, AcDb::OpenMode mode);
  bool done() const { return m_at >= m_entries.size(); }
  bool next() {
    if (!done()) ++m_at;
    return !done();
  }

 private:
  friend class AcDbDictionary;
  explicit AcDbDictionaryIterator(std::vector<std::pair<std::wstring, AcDbObjectId>> entries)
      : m_entries(std::move(entries)) {}
  std::vector<std::pair<std::wstring, AcDbObjectId>> m_entries;
  size_t m_at = 0;
};

class AcDbDictionary : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDictionary);
  // Keys compare ignoring case. eKeyNotFound, or the open errors.
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObject*& entryObj, AcDb::OpenMode mode) const;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& entryObj) const;
  // A malloc'ed copy of the key the object is filed under; eKeyNotFound.
  Acad::ErrorStatus nameAt(AcDbObjectId objId, ACHAR*& name) const;
  bool has(const ACHAR* entryName) const;
  bool has(AcDbObjectId objId) const;
  Adesk::UInt32 numEntries() const { return static_cast<Adesk::UInt32>(m_entries.size()); }
  Acad::ErrorStatus remove(const ACHAR* key);
  Acad::ErrorStatus remove(const ACHAR* key, AcDbObjectId& returnId);
  Acad::ErrorStatus remove(AcDbObjectId objId);
  // Files the object under the key; it joins the dictionary's drawing and stays open for
  // write. A key "*" or "*" and letters is anonymous: the dictionary appends the lowest free
  // number ("*" alone becomes "*A1", "*A2" ...). An existing entry of that key is erased and
  // replaced. REQUIRES the dictionary open for write. eInvalidKey, eAlreadyInDb.
  Acad::ErrorStatus setAt(const ACHAR* srchKey, AcDbObject* newValue, AcDbObjectId& retObjId);
  // The caller deletes the iterator.
  AcDbDictionaryIterator* newIterator() const;

 private:
  friend struct standin::DbAccess;
  std::vector<std::pair<std::wstring, AcDbObjectId>> m_entries;  // in the order they were filed
};
