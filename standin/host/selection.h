// Just enough of the host's selection sets, behaving as the host's do, for the module to select
// entities (by filter, window, polygon, point or the scripted user's picks), keep them in sets,
// take over the pickfirst set and transform what it selected.
#pragma once

#include <string>
#include <vector>

#include "standin/host/adsdef.h"
#include "standin/host/session.h"

// Makes a selection set of main entities of the drawing, newest first where the host searches
// the drawing itself. Modes (a leading "_" is allowed before each):
//   NULL      all arguments NULL: the pickfirst set when there is one; pt1 alone: the entity at
//             pt1 (within the pick box); otherwise the user selects at "Select objects: "
//   "X"       every entity of model and paper space
//   "I"       the pickfirst set (RTERROR when there is none or PICKFIRST is 0)
//   "L", "P"  the last entity created, the previous selection
//   "W", "C"  inside (window), or inside or crossing (crossing) the box of pt1 and pt2
//   "WP","CP" the same for the polygon whose points are the RTPOINT/RT3DPOINT chain pt1 (three or
//             more points, no zero-length or crossing edges)
//   ":E"      everything within the pick box at pt1 (or at each of the user's picks)
//   ":S"      the user makes one selection, which ends the prompting
//   ":$"      pt1 is an array of two prompts (select, remove) that replace the host's
//   ":K"      pt2 is a keyword list ("Local Names _ Global Names"); a typed keyword calls the
//             callback set by acedSSSetKwordCallbackPtr with its global name
//   ":L"      entities on locked layers are left out
// Graphical modes see only the current space's entities on layers that are on and thawed and
// not taken off the screen by acedRedraw. The user's picks: a pick on an entity (by handle), a
// click (the topmost entity in the pick box, else the corner of a window that is a crossing when
// opened to the left), Window, Crossing, typed options W, C, ALL, L, P, R(emove), A(dd), U(ndo)
// and typed points; Enter (or blanks) ends, Esc cancels.
// The filter is the host's: a conjunction of its tests; a test (code . value) holds when some
// group of the entity's data with that code matches: strings as wild-card patterns ignoring
// case, numbers and points equal (relational operators from a preceding -4 group: =, !=, /=,
// <>, <, <=, >, >=, *, &, &=, and "op,op,op" for points), groups -4 "<AND" "AND>" "<OR" "OR>"
// "<XOR" "XOR>" "<NOT" "NOT>" combine tests. Groups -1, 5 and extended data are ignored; an
// entity without 62, 6, 67, 39 or 210 has the host's defaults (256, "BYLAYER", 0, 0, Z).
// RTNORM with the new set in ss; RTCAN when cancelled; RTERROR when nothing was selected, for
// a malformed mode, points or filter, or when the host holds 128 sets already. Modes the
// stand-in does not know (F, G, A, B, M, #, :D, :N, :U, :V ...) fail with RTERROR and a note on
// standard error. ss is written only on success.
int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const struct resbuf* filter, ads_name ss);
// RTERROR for a name that names no set (a freed one included).
int acedSSFree(const ads_name sname);
int acedSSLength(const ads_name sname, long* len);
// Both names NULL: a new empty set; sname NULL: a new set holding ename; otherwise ename joins
// sname (once) and result names sname. ename NULL with a set: result names the set, unchanged
// (a case the host leaves open). RTERROR for an entity that does not exist or is erased, an
// unknown set, a NULL result or too many sets.
int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result);
// RTERROR when the entity is not in the set or the set does not exist.
int acedSSDel(const ads_name ename, const ads_name ss);
// RTERROR for an index outside 0 .. length - 1 or an unknown set.
int acedSSName(const ads_name ss, long i, ads_name entres);
// RTNORM when the entity is in the set, RTERROR otherwise.
int acedSSMemb(const ads_name ename, const ads_name ss);
// Makes the set's entities the pickfirst set (highlighted); NULL clears it. The second set is
// ignored, as the host ignores grips without selection.
int acedSSSetFirst(const ads_name pset, const ads_name unused);
// gset gets an RTNONE node (the host has no gripped-only set); pset an RTPICKS node with a new
// set of the pickfirst entities, which the caller frees, or an RTNONE node when there is none.
// The caller releases both nodes.
int acedSSGetFirst(struct resbuf** gset, struct resbuf** pset);
// The callback gets the global name of a keyword typed during a ":K" selection and may return
// a selection set (RTPICKS) or entity (RTENAME) to add, a text (RTSTR) to show, or NULL; the
// host releases what it returns.
int acedSSSetKwordCallbackPtr(struct resbuf* (*pFunc)(const ACHAR*));
int acedSSGetKwordCallbackPtr(struct resbuf* (**pFunc)(const ACHAR*));
// Transforms every entity of the set. The matrix must scale uniformly. RTERROR (nothing
// changed) for an unknown set, a non-uniform matrix, or when an entity cannot be opened for
// write (a locked layer) or cannot follow the matrix.
int acedXformSS(const ads_name ssname, const ads_matrix genmat);

namespace standin {

// Selection sets the host holds for the module now.
int SelectionSetCount();
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
