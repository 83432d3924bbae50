// Groups made from selection sets and selection sets made from groups, the hard-reference test
// and the check for another loaded module. Each closes what it opens before it returns.
#pragma once

#include "ads/AdsEntSet.h"
#include "platform/Export.h"
#include "platform/Host.h"

// Puts the set's entities into the group of that name, created when the group dictionary has
// none (an existing group is emptied first when bClear is true); the group is made not
// selectable. False at the first entity the group refuses, which keeps those before it.
TOVU_PLATFORM_API bool MakeGroup(ZoAdsEntSet& set, const wchar_t* pszGroupName, bool bClear);

// As MakeGroup, into a new selectable anonymous group.
TOVU_PLATFORM_API bool MakeAnonymousGroup(ZoAdsEntSet& set);

// Adds the entities of the named group to the set. False when there is no such group or it
// cannot be opened; the set is then untouched.
TOVU_PLATFORM_API bool GetPickSetByGroup(const wchar_t* pszGroupName, ZoAdsEntSet& set);

// Whether some object of the database (the working one for null) refers to the object by a
// hard reference; false when the database cannot count.
TOVU_PLATFORM_API bool IsHardReferenced(AcDbObjectId id, AcDbDatabase* pDb = nullptr);

// Whether a module of that file name (any directory, any case) is loaded; a path is reduced
// to its file name first.
TOVU_PLATFORM_API bool IsArxLoaded(const wchar_t* pszArxName);
