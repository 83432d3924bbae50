// Groups of the working drawing filled from a selection set: the one routine behind the
// module's named and anonymous groups. Module-internal (not exported).
#pragma once

#include "ads/AdsEntSet.h"

// The key that files a new group as anonymous; the drawing numbers its name.
constexpr const wchar_t* kAnonymousGroupKey = L"*U";

// The working drawing's group dictionary open in that mode, for the caller to close; null when
// it does not open.
AcDbDictionary* OpenGroupDictionary(AcDb::OpenMode mode);

// What filling a group from a set came to.
enum class ZoGroupResult {
  kDone,           // every entity of the set is a member
  kNoDictionary,   // the drawing's group dictionary did not open for writing
  kNoGroup,        // the dictionary refused the new group, or its entry did not open as a group
  kEntityRefused,  // an entity had no object id or the group refused it; those before it stay
};

// Puts the set's entities, in the set's order, into the group filed under pszKey: a new group
// when the dictionary has no such entry (always, under kAnonymousGroupKey), else the existing
// one, emptied first when bClear. The group is made selectable or not as asked. An entity that
// is a member already is no refusal.
ZoGroupResult MakeGroupFromSet(const ZoAdsEntSet& set, const wchar_t* pszKey, bool bSelectable, bool bClear);
