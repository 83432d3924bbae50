// An application module that does nothing but load and unload, for tests that need a loaded
// module of a chosen file name (copied under that name before loading).
#include <rxdefs.h>
#include <rxregsvc.h>

#include "testing/ModuleExport.h"

TOVU_TEST_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
  if (msg == AcRx::kInitAppMsg) acrxUnlockApplication(pkt);
  return AcRx::kRetOK;
}
