// Just enough of the host's object handles, behaving as the host's do.
#pragma once

#include <adesk.h>

// A handle: the 64-bit number that names an object in its drawing for ever (hexadecimal in
// DXF files and entity data).
class AcDbHandle {
 public:
  AcDbHandle() = default;
  AcDbHandle(Adesk::UInt64 value) : m_value(value) {}
  // Parses hexadecimal digits; anything else gives the null handle.
  explicit AcDbHandle(const ACHAR* hex);
  bool isNull() const { return m_value == 0; }
  // Upper-case hexadecimal without leading zeros; REQUIRES: room for 17 characters.
  void getIntoAsciiBuffer(ACHAR* pBuf) const;
  Adesk::UInt64 value() const { return m_value; }
  bool operator==(const AcDbHandle& h) const { return m_value == h.m_value; }
  bool operator!=(const AcDbHandle& h) const { return m_value != h.m_value; }
  bool operator<(const AcDbHandle& h) const { return m_value < h.m_value; }

 private:
  Adesk::UInt64 m_value = 0;
};
