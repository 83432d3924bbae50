// Just enough of the host's drawing area, behaving as the host's does, for the module to redraw,
// hide and highlight entities; each redraw goes into the session's journal.
#pragma once

#include "standin/host/adsdef.h"

// Redraws an entity in the current viewport: mode 1 draws it, 2 takes it off the screen
// (undrawn, it cannot be picked either), 3 highlights it, 4 removes the highlight; a complex
// entity is redrawn whole, whichever of its parts is named. ent NULL redraws the whole
// viewport (mode ignored). RTERROR for another mode, an erased entity or a name that names no
// entity. The journal gets a Redraw entry: text the entity's handle (or "all"), values the
// mode, the viewport (CVPORT) and, for an entity, whether it is now shown and highlighted.
int acedRedraw(const ads_name ent, int mode);

namespace standin {

struct EntityDisplay {
  bool visible = true;
  bool highlighted = false;
};

// The display state of an entity (of its main entity for a part); the default for a name that
// names nothing.
EntityDisplay DisplayOf(const ads_name ent);
// Sets the display state as the host itself does (highlighting its selections).
void SetHighlight(Adesk::IntPtr entity, bool highlighted);

}  // namespace standin
