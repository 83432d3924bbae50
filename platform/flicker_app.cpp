// An application of the family for the command tests: linked against the platform module, it
// starts a flicker of its own through the module's exported function, as the family's do.
#include "ads/AdsEntFlicker.h"
#include "testing/ModuleExport.h"

TOVU_TEST_EXPORT int TovuTestStartFlicker(const AcDbObjectId* id) {
  return id ? ZoPtFlicterEnt(*id) : 0;
}
