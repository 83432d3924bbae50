// The API-version export that the host SDK links into every application module.
#include <rxregsvc.h>

#include "standin/host/commands/applications.h"

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return standin::kHostApiVersion; }
