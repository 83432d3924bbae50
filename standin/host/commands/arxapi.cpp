// The API-version export that the host SDK links into every application module.
#include <rxregsvc.h>

#include "standin/host/commands/applications.h"

#if defined(_WIN32)
extern "C" __declspec(dllexport) int acrxGetApiVersion() { return standin::kHostApiVersion; }
#else
extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return standin::kHostApiVersion; }
#endif
