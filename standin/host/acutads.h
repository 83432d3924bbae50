// Just enough of the host's command-line output, behaving as the host's does, for the module.
#pragma once

#include "standin/host/adesk.h"

// Prints on the host's command line; the format takes wide %s and %c, as on Windows.
// Returns the number of characters printed.
int acutPrintf(const ACHAR* format, ...);
