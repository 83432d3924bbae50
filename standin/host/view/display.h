// Control of the host's display: the display state of each entity, which acedRedraw changes and
// the host's own highlighting of its selections sets.
#pragma once

#include <adsdef.h>

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
// An entity the host changed is drawn again where it now lies, as the host regenerates what it
// modifies: shown, whatever a redraw had taken off the screen.
void ShowChanged(Adesk::IntPtr entity);

}  // namespace standin
