// Defines, once and in this module, every container instantiation that Exported.h declares.
#define TOVU_CONTAINERS_INSTANTIATION template
#include "containers/Exported.h"
