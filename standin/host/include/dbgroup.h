// Just enough of the host's groups, behaving as the host's do: named or anonymous lists of the
// entities of one drawing, filed in its group dictionary.
#pragma once

#include <dbmain.h>

#include <vector>

class AcDbGroupIterator {
 public:
  bool done() const { return m_at >= m_ids.size(); }
  bool next() {
    if (!done()) ++m_at;
    return !done();
  }
  AcDbObjectId objectId() const { return done() ? AcDbObjectId::kNull : m_ids[m_at]; }
  Acad::ErrorStatus getObject(AcDbObject*& pObject, AcDb::OpenMode openMode);

 private:
  friend class AcDbGroup;
  explicit AcDbGroupIterator(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) {}
  std::vector<AcDbObjectId> m_ids;
  size_t m_at = 0;
};

// A named (or anonymous) list of entities of one drawing, filed in the group dictionary.
class AcDbGroup : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbGroup);
  AcDbGroup() = default;
  AcDbGroup(const ACHAR* grpDesc, bool selectable = true);
  // The key the group is filed under; NULL before it is filed.
  const ACHAR* name() const;
  bool isAnonymous() const;
  const ACHAR* description() const { return m_description.c_str(); }
  Acad::ErrorStatus setDescription(const ACHAR* grpDesc);
  bool isSelectable() const { return m_selectable; }
  Acad::ErrorStatus setSelectable(bool selectable);
  // REQUIRES open for write. eNotInDatabase (the group is not filed yet), eNullObjectId,
  // eNotAnEntity, eWrongDatabase, eWasErased, eAlreadyInGroup.
  Acad::ErrorStatus append(AcDbObjectId id);
  Acad::ErrorStatus append(const AcDbObjectIdArray& ids);
  Acad::ErrorStatus remove(AcDbObjectId id);  // eNotInGroup
  Acad::ErrorStatus clear();
  // Entities that are not erased.
  Adesk::UInt32 numEntities() const;
  Adesk::UInt32 allEntityIds(AcDbObjectIdArray& ids) const;
  bool has(const AcDbEntity* pEntity) const;
  // The caller deletes the iterator.
  AcDbGroupIterator* newIterator();

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  std::vector<AcDbObjectId> liveIds() const;
  std::wstring m_description;
  bool m_selectable = true;
  std::vector<AcDbObjectId> m_ids;
};
