// Just enough of the host's run-time classes, behaving as the host's do: every object knows its
// class, and classes know their parents.
#include <rxobject.h>

AcRxObject::~AcRxObject() = default;

AcRxClass* AcRxObject::desc() {
  static AcRxClass* cls = new AcRxClass(L"AcRxObject", nullptr, nullptr);  // lives as long as the process
  return cls;
}

AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }

bool AcRxObject::isKindOf(const AcRxClass* aClass) const { return aClass && isA()->isDerivedFrom(aClass); }

AcRxClass* AcRxClass::isA() const {
  static AcRxClass* cls = new AcRxClass(L"AcRxClass", nullptr, AcRxObject::desc());
  return cls;
}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  for (const AcRxClass* c = this; c; c = c->m_parent)
    if (c == other) return true;
  return false;
}
