// Inside the host's selection sets, for the selection calls of this layer: the sets held, the
// previous selection, the pickfirst set and the keyword callback. Callers hold the drawing lock.
#pragma once

#include <adsdef.h>

#include <vector>

namespace standin {

// The members of the set of that name, or NULL for a name that names no set.
std::vector<Adesk::IntPtr>* FindSet(const ads_name name);
// A new set holding ids; false (nothing made, said once on standard error) when the host holds
// too many.
bool MakeSet(std::vector<Adesk::IntPtr> ids, ads_name out);
// What the last successful selection selected ("P").
std::vector<Adesk::IntPtr>& PreviousSelection();
std::vector<Adesk::IntPtr>& Pickfirst();

typedef resbuf* (*KeywordCallback)(const ACHAR*);
KeywordCallback SelectionKeywordCallback();

}  // namespace standin
