// A shared object that is no application module, for tests that need a loaded file.
#include "testing/ModuleExport.h"

TOVU_TEST_EXPORT int tovu_fixture_marker() { return 42; }
