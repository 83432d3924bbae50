// The host's "Select objects" dialogue, for acedSSGet: the user's picks, clicks, windows and
// crossings, the typed options and keywords, until Enter ends the selection or Esc cancels it.
#pragma once

#include <adesk.h>

#include <string>
#include <vector>

#include "standin/host/interaction/filter.h"
#include "standin/host/interaction/input.h"

namespace standin {

// How acedSSGet was asked to select.
struct SelectionMode {
  std::wstring method;  // "", X, I, L, P, W, C, WP, CP
  bool single = false, everything = false, prompts = false, keywords = false, skipLocked = false;
};

// The main entity a pick event names by its handle (an attribute's block reference), when the
// screen shows it; 0 otherwise.
Adesk::IntPtr PickedEntity(const InputEvent& e, bool skipLocked);

// Runs the dialogue with the prompts given (the host's own for NULL) and the keywords a ":K"
// selection arms. RTNORM with what was chosen, RTCAN, or RTERROR when nothing was chosen.
int RunSelectionDialog(const SelectionMode& mode, const Filter& filter, const ACHAR* selectPrompt,
                       const ACHAR* removePrompt, std::vector<Keyword> keywords, std::vector<Adesk::IntPtr>& chosen);

}  // namespace standin
