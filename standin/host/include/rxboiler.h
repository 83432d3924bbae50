// The host SDK's run-time class boilerplate.
#pragma once

// The run-time class members of a class, as the host SDK's macro declares them.
#define ACRX_DECLARE_MEMBERS(CLASS)            \
  static AcRxClass* desc();                    \
  static CLASS* cast(const AcRxObject* inPtr); \
  AcRxClass* isA() const override

// Defines them; DXFNAME is a wide literal or nullptr.
#define ACRX_DEFINE_MEMBERS(CLASS, PARENT, DXFNAME)                                                                  \
  AcRxClass* CLASS::desc() {                                                                                         \
    static AcRxClass* cls = new AcRxClass(L## #CLASS, DXFNAME, PARENT::desc());                                      \
    return cls;                                                                                                      \
  }                                                                                                                  \
  CLASS* CLASS::cast(const AcRxObject* inPtr) {                                                                      \
    return inPtr && inPtr->isKindOf(CLASS::desc()) ? const_cast<CLASS*>(static_cast<const CLASS*>(inPtr)) : nullptr; \
  }                                                                                                                  \
  AcRxClass* CLASS::isA() const { return CLASS::desc(); }
