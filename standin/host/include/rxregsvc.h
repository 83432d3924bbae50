// Just enough of the host's application services, behaving as the host's do: locking, the list
// of loaded applications, the product's registry key and the API version every module exports.
#pragma once

#include <adesk.h>

bool acrxUnlockApplication(void* appId);
bool acrxLockApplication(void* appId);
bool acrxApplicationIsLocked(const ACHAR* modulename);
const ACHAR* acrxProductKey();
// The loaded applications: a new AcDbVoidPtrArray (returned as void*) of malloc'ed texts, one
// per module in load order, or NULL when none is loaded. The caller frees each text and deletes
// the array. Chosen: each text is the full path the module was loaded from.
void* acrxLoadedApps();

// Every module of this host exports it; loadModule refuses a module whose version differs.
extern "C" int acrxGetApiVersion();
