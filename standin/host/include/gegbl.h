// Just enough of the host geometry library's global context, behaving as the host's does: the
// tolerance its comparisons take by default.
#pragma once

#include <getol.h>

struct AcGeContext {
  static AcGeTol gTol;
};

inline AcGeTol AcGeContext::gTol;
