// Just enough of the base library's object bases, behaving as the family's do, for classes
// that keep a flag word and for the geometry objects.
#pragma once

#include <cstdint>

class ZoBitData {
 public:
  explicit ZoBitData(int32_t nFlags = 0) : m_nFlags(nFlags) {}
  virtual ~ZoBitData();

  // Derived classes read and write the flag word directly.
  int32_t m_nFlags;
};

// The run-time class record of the family's geometry objects.
class ZoRxRunTimeClass {
 public:
  virtual ~ZoRxRunTimeClass();
  virtual const wchar_t* GetRxClassName() const;
};
