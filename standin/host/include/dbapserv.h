// Just enough of the host's application services, behaving as the host's do, for the module to
// reach the drawing it works on.
#pragma once

#include <dbmain.h>

class AcDbHostApplicationServices {
 public:
  // The drawing open in the session.
  AcDbDatabase* workingDatabase() const;
};

AcDbHostApplicationServices* acdbHostApplicationServices();
