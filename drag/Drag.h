// Dragging a selection set into place: the placement drags with their transform options (turn,
// mirror, align, angle, base point), the rubber-band variant with a typed distance, and the
// plain move and rotate drags. Each runs the host's drag with a sampler of its own and carries
// the options out with the host's commands.
#pragma once

#include "ads/AdsEntSet.h"
#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"

// The drag state the samplers read, because the host's drag hands its sampler no user data: set
// at the start of each drag and valid only during it, so the drags are not reentrant. Points are
// user coordinates.
extern ZoGePoint g_ptDragBase;    // the base the set is dragged by; the move sampler measures from it
extern ZoGePoint g_ptRubberBase;  // the rubber-band drag's base, where its line starts
extern ZoGePoint g_ptRubberLast;  // the cursor of the previous rubber-band sample, where the last line ended
extern double g_dRubberAngle;     // radians, from the rubber-band base to the latest sample

// The set follows the cursor; a transform option typed while dragging applies where the cursor
// stands. point: on entry the base point, on return the final one. The host's result code:
// RTNORM placed (or aligned), RTNONE Enter, RTCAN, RTSTR for other text, or the failure of an
// option.
TOVU_PLATFORM_API int ZoPtDragEntSet(ZoAdsEntSet& set, ZoGePoint& point);
// The same with a rubber band from the base point; options apply at the base point, and a typed
// number places the set at that distance along the band.
TOVU_PLATFORM_API int ZoPtRubDragEntSet(ZoAdsEntSet& set, ZoGePoint& point);

// The set follows the cursor from ptBase with the caller's prompt (and keywords, which the
// caller reads with acedGetInput on RTKWORD); a click moves it there, ptResult holding the point.
TOVU_PLATFORM_API int ZoPtDragMoveEntSet(ZoAdsEntSet& set, const wchar_t* pszPrompt, const ZoGePoint& ptBase,
                                         ZoGePoint& ptResult, const wchar_t* pszKeywords);
TOVU_PLATFORM_API int ZoPtDragMoveEntSet(ZoAdsEntSet& set, const wchar_t* pszPrompt, const ZoGePoint& ptBase,
                                         ZoGePoint& ptResult);
// The set turns about ptBase towards the cursor; a click or a typed angle (degrees) turns it.
TOVU_PLATFORM_API int ZoPtDragRotateEntSet(ZoAdsEntSet& set, const wchar_t* pszPrompt, ZoGePoint ptBase);
