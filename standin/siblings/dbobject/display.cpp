// Just enough of the database module's display helpers, behaving as the family's do, for
// previews painted in the colours of the host's drawing area.
#include <ZoDisplay.h>
#include <acedads.h>
#include <acutads.h>
#include <adscodes.h>
#include <adsdef.h>

#include "standin/host/core/resbuf.h"
#include "standin/host/drawing/sysvars.h"

COLORREF GetBackgroundColor() {
  resbuf tilemode = {};
  const bool layout =
      acedGetVar(L"TILEMODE", &tilemode) == RTNORM && tilemode.restype == RTSHORT && tilemode.resval.rint == 0;
  return layout ? 0x00FFFFFF : 0x00000000;
}
