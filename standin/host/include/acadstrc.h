// The host's error status, with the host's own names.
#pragma once

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
  eNotInPaperspace = 160,
  eBadPaperspaceView = 161,
  eFileNotFound = 291,
  eUndefinedLineType = 380,
};
}  // namespace Acad
