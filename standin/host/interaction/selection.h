// Control of the host's selection sets, for tests and the command prompt: the sets held, the
// pickfirst set, and what starting and ending a command does to it.
#pragma once

#include <adesk.h>

#include <vector>

#include "standin/host/core/session.h"

namespace standin {

// Selection sets the host holds for the module now.
int SelectionSetCount();
// On: the names of released sets are given to new sets again, the latest released first, as a
// host may reuse them; off (every set a name never used before) after Session::Reset.
void SetSelectionNameReuse(bool on);
// The entities of the pickfirst set, in order.
std::vector<Adesk::IntPtr> PickfirstSet();
// The command prompt's handling of a click, pick, window or crossing: the entities found join
// the pickfirst set, highlighted.
void SelectAtCommandPrompt(const InputEvent& event);
// Esc at the command prompt: the pickfirst set is cleared.
void ClearPickfirst();
// A command starts or ends with these command flags: a command without ACRX_CMD_USEPICKSET
// starts with the pickfirst set cleared; after any command it is cleared, unless the command
// has ACRX_CMD_REDRAW and set it itself.
void CommandStarting(int flags);
void CommandEnded(int flags);

}  // namespace standin
