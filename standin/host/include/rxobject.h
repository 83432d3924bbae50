// Just enough of the host's run-time classes, behaving as the host's do: every object knows its
// class, every class its DXF name and its parent.
#pragma once

#include <adesk.h>
#include <rxboiler.h>

class AcRxClass;

class AcRxObject {
 public:
  virtual ~AcRxObject();
  static AcRxClass* desc();
  // The object's run-time class, as the host's ACRX_DECLARE_MEMBERS gives every class.
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* aClass) const;
};

// A run-time class record: the C++ class name, the DXF name of its objects and its parent.
class AcRxClass : public AcRxObject {
 public:
  AcRxClass(const ACHAR* name, const ACHAR* dxfName, AcRxClass* parent)
      : m_name(name), m_dxfName(dxfName), m_parent(parent) {}
  AcRxClass* isA() const override;
  const ACHAR* name() const { return m_name; }
  // NULL for classes whose objects have no DXF name.
  const ACHAR* dxfName() const { return m_dxfName; }
  AcRxClass* myParent() const { return m_parent; }
  bool isDerivedFrom(const AcRxClass* other) const;

 private:
  const ACHAR* m_name;
  const ACHAR* m_dxfName;
  AcRxClass* m_parent;
};
