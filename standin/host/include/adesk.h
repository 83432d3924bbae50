// Just enough of the host SDK's base types, with the host's own names and widths, for the module
// to compile unchanged against the stand-in host.
#pragma once

#include <cstdint>

typedef wchar_t ACHAR;

namespace Adesk {
typedef int8_t Int8;
typedef int16_t Int16;
typedef int32_t Int32;
typedef long long Int64;  // __int64, as on Windows, so ads_name is long long[2]
typedef uint8_t UInt8;
typedef uint16_t UInt16;
typedef uint32_t UInt32;
typedef unsigned long long UInt64;
typedef intptr_t IntPtr;
typedef uintptr_t UIntPtr;
typedef long long LongPtr;
typedef unsigned long long ULongPtr;
typedef bool Boolean;
constexpr bool kFalse = false;
constexpr bool kTrue = true;
}  // namespace Adesk
