// How the stand-in host stores the value of each kind of result-buffer node, for the code that
// copies, lists and compares them (entity data, filters, tests); and what it has handed out for
// its callers to release.
#pragma once

#include <cstdarg>

struct resbuf;

namespace standin {

enum class RbValue { None, Real, Point, Short, Long, Int64, String, Name, Binary };
RbValue ResbufValueKind(int restype);

// acutBuildList over a started argument list: (type, value) pairs up to 0 or RTNONE; null (and
// nothing left allocated) for a value that cannot be stored.
resbuf* BuildList(int rtype, va_list args);

// Result-buffer nodes and texts the host has handed out that nobody has released yet (with
// acutRelRb, acutDelString). Tests compare them before and after a call to see what it leaked.
struct HostAllocations {
  long nodes = 0;
  long texts = 0;
  bool operator==(const HostAllocations& o) const { return nodes == o.nodes && texts == o.texts; }
};
HostAllocations LiveHostAllocations();

}  // namespace standin
