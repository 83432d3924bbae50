// How the family's commands ask the user for entities: one or many, restricted by a filter, with
// keywords from the prompt's bracketed options, a confirmation when one pick hits several
// candidates, the pickfirst set taking the place of the question, and window selection through
// the selection jig. Every function returns the host's status (RTNORM, RTNONE, RTCAN, RTKWORD,
// RTERROR).
#pragma once

#include "ads/AdsEnt.h"
#include "ads/AdsEntSet.h"
#include "ads/AdsResBuf.h"
#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"
#include "platform/Win32.h"

// One entity picked at a point (pt, user coordinates) with the pick box as aperture. With
// strKeyword, a keyword typed during the pick (one of the prompt's bracketed options) ends it with
// RTKWORD and comes back in strKeyword. ent changes only on RTNORM.
TOVU_PLATFORM_API int ZoPtSelectEntity(const wchar_t* pszPrompt, ZoAdsEnt& ent, ZoGePoint& pt, ZoAdsRBList& filter);
TOVU_PLATFORM_API int ZoPtSelectEntity(const wchar_t* pszPrompt, ZoAdsEnt& ent, ZoGePoint& pt, ZoAdsRBList& filter,
                                       CString& strKeyword);
// One entity: the first preselected one that passes the filter (the preselection is cleared),
// else one selection of the user's.
TOVU_PLATFORM_API int ZoPtSelectEntity(const wchar_t* pszPrompt, ZoAdsEnt& ent, ZoAdsRBList& filter);
TOVU_PLATFORM_API int ZoPtSelectEntity(const wchar_t* pszPrompt, ZoAdsEnt& ent, ZoAdsRBList& filter,
                                       CString& strKeyword);
// Many entities into set (which holds nothing yet): the preselected ones that pass the filter
// (the preselection is cleared), else the user's selection with the prompt and "移除物体" as the
// remove prompt. With strKeyword, a keyword of the prompt's bracketed options typed during the
// selection ends it with RTKWORD.
TOVU_PLATFORM_API int ZoPtSelectEntities(const wchar_t* pszPrompt, ZoAdsEntSet& set, ZoAdsRBList& filter);
TOVU_PLATFORM_API int ZoPtSelectEntities(const wchar_t* pszPrompt, ZoAdsEntSet& set, ZoAdsRBList& filter,
                                         CString& strKeyword);
// The one preselected entity that passes the filter, without asking and leaving the preselection
// alone; RTERROR for none or several.
TOVU_PLATFORM_API int ZoPtGetPrepickEntity(ZoAdsEnt& ent, ZoAdsRBList& filter);
// Entities picked one by one or by windows opened with the selection jig (left to right: window,
// right to left: crossing) until Enter or Esc; the collected set is redrawn after each pass
// without highlight when nHighlight is 0. RTNORM when something was collected, RTCAN otherwise.
TOVU_PLATFORM_API int ZoPtSelectEntsWetherHighlight(const wchar_t* pszPrompt, ZoAdsEntSet& set, ZoAdsRBList& filter,
                                                    int nHighlight);
