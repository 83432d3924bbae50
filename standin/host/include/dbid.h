// Just enough of the host's object ids, behaving as the host's do.
#pragma once

#include <adesk.h>
#include <dbhandle.h>

class AcDbDatabase;
class AcRxClass;

// Names one object of an open drawing for the whole session. Ids are never reused: an id of a
// drawing that has been closed names nothing any more.
class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  static const AcDbObjectId kNull;

  bool isNull() const { return m_id == 0; }
  void setNull() { m_id = 0; }
  // The id names an object of the open drawing (erased or not).
  bool isValid() const;
  bool isErased() const;
  AcDbDatabase* database() const;
  AcDbHandle handle() const;
  AcRxClass* objectClass() const;
  Adesk::IntPtr asOldId() const { return m_id; }
  AcDbObjectId& setFromOldId(Adesk::IntPtr oldId) {
    m_id = oldId;
    return *this;
  }

  bool operator==(const AcDbObjectId& id) const { return m_id == id.m_id; }
  bool operator!=(const AcDbObjectId& id) const { return m_id != id.m_id; }
  bool operator<(const AcDbObjectId& id) const { return m_id < id.m_id; }
  bool operator>(const AcDbObjectId& id) const { return m_id > id.m_id; }
  bool operator<=(const AcDbObjectId& id) const { return m_id <= id.m_id; }
  bool operator>=(const AcDbObjectId& id) const { return m_id >= id.m_id; }

 private:
  Adesk::IntPtr m_id = 0;
};
