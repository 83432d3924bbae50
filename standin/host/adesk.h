// Just enough of the host SDK's base types and error status, with the host's own names, for
// the module to compile unchanged against the stand-in host.
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

namespace Acad {
// The host status codes the stand-in returns. Code compares them by name; the numbers are
// this stand-in's own except eOk, which is 0 as in the host.
enum ErrorStatus {
  eOk = 0,
  eNotImplementedYet = 1,
  eNotApplicable = 2,
  eInvalidInput = 3,
  eOutOfMemory = 6,
  eInvalidOpenState = 8,
  eNullObjectPointer = 11,
  eKeyNotFound = 32,
  eDuplicateKey = 33,
  eInvalidKey = 34,
  eNullObjectId = 35,
  eWasErased = 82,
  eWasOpenForWrite = 84,
  eWasOpenForRead = 85,
  eNotOpenForWrite = 86,
  eNotOpenForRead = 87,
  eLockViolation = 100,
  eInvalidIndex = 112,
  eAlreadyInDb = 113,
  eNotInDatabase = 115,
  eOnLockedLayer = 134,
  eWrongObjectType = 195,
  eCommandWasInProgress = 299,
  eInvalidResBuf = 342,
  eAmbiguousInput = 4,
  eNotThatKindOfClass = 67,
  eDuplicateRecordName = 310,
  eNullEntityPointer = 19,
  eInvalidExtents = 29,
  eInvalidAdsName = 30,
  eInvalidSymbolTableName = 31,
  eWrongDatabase = 36,
  ePermanentlyErased = 78,
  eWasOpenForNotify = 83,
  eAtMaxReaders = 89,
  eNotAnEntity = 90,
  eSelfReference = 94,
  eNoDatabase = 116,
  eAlreadyInGroup = 260,  // the code the family's modules accept from AcDbGroup::append
  eNotInGroup = 261,
  eCannotScaleNonUniformly = 120,
};
}  // namespace Acad
