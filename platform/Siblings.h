// The module's only window on the family's sibling modules (base, geometry, database and user
// interface). A Windows build includes their SDK headers here; this build the stand-ins.
#pragma once

#include "standin/siblings/base/bitdata.h"
#include "standin/siblings/base/queue.h"
#include "standin/siblings/base/strings.h"
#include "standin/siblings/dbobject/cmdline.h"
#include "standin/siblings/dbobject/command.h"
#include "standin/siblings/dbobject/dbutil.h"
#include "standin/siblings/dbobject/display.h"
#include "standin/siblings/dbobject/keywords.h"
#include "standin/siblings/dbobject/language.h"
#include "standin/siblings/dbobject/points.h"
#include "standin/siblings/geometry/curve2d.h"
#include "standin/siblings/geometry/extent.h"
#include "standin/siblings/geometry/mline2d.h"
#include "standin/siblings/geometry/point.h"
#include "standin/siblings/geometry/polyline2d.h"
