// The module's only window on the host's API (ObjectARX and ADS). A Windows build includes the
// host SDK's headers here; this build includes the stand-in host.
#pragma once

#include "standin/host/acarray.h"
#include "standin/host/acutads.h"
#include "standin/host/adesk.h"
#include "standin/host/adsdef.h"
#include "standin/host/adsentity.h"
#include "standin/host/colors.h"
#include "standin/host/database.h"
#include "standin/host/dwgview.h"
#include "standin/host/entities.h"
#include "standin/host/gematrix.h"
#include "standin/host/gepoint.h"
#include "standin/host/graphics.h"
#include "standin/host/hatch.h"
#include "standin/host/input.h"
#include "standin/host/region.h"
#include "standin/host/rx.h"
#include "standin/host/selection.h"
#include "standin/host/sysvars.h"
#include "standin/host/viewports.h"
#include "standin/host/wcmatch.h"
