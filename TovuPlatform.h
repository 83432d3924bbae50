// Everything the platform module exports, in one include.
#pragma once

#include "platform/Export.h"
#include "platform/Module.h"
#include "registry/Registry.h"
