// Just enough of the database module's array streams, behaving as the family's do, for the
// arrays the platform exports over them: a byte buffer and its read position, never equal and
// never ordered.
#pragma once

#include <vector>

class ZoDynArrayStream {
 public:
  ZoDynArrayStream() : m_nPos(0) {}

  bool operator==(const ZoDynArrayStream&) const { return false; }
  bool operator!=(const ZoDynArrayStream&) const { return false; }
  bool operator<(const ZoDynArrayStream&) const { return false; }
  bool operator>(const ZoDynArrayStream&) const { return false; }

  std::vector<unsigned char> m_bytes;
  long m_nPos;
};
