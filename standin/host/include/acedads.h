// Just enough of the host's ADS functions, behaving as the host's do, for the module: input on the
// command line from the user (keywords, points, selections), selection sets, system variables and
// AutoLISP symbols, entity data by entity name, redraws and viewports.
#pragma once

#include <adscodes.h>
#include <adsdef.h>

// --- Command-line input ---

// Arms control bits and keywords for the next input call only, which consumes them whatever
// its result. Keywords are separated by blanks; "Local Names _ Global Names" pairs local
// keywords with global ones by position. A keyword is matched, ignoring case, by its capital
// letters ("eXit": "x"), by itself, or by a prefix that reaches its last capital and no other
// keyword shares ("LType": "lt", "lty"); "Name,Abbr" gives the abbreviation explicitly. Typed
// with a leading "_", text is matched against the global keywords. Returns RTNORM.
int acedInitGet(int val, const ACHAR* kwl);

// Shows prompt and waits for a keyword of the armed list. RTNORM with the global keyword in
// result; RTNONE for Enter (unless RSG_NONULL); RTCAN for Esc; RTERROR when no keywords are
// armed. With RSG_OTHER, text that is no keyword comes back as typed. Other input gets the
// host's message and the prompt again. At most 131 characters and the terminator are written.
int acedGetKword(const ACHAR* prompt, ACHAR* result);

// The text of the last input that a call returned as a keyword (or as arbitrary text): the
// global keyword, or what was typed. RTERROR (str untouched) when the last input call returned
// none. At most 131 characters and the terminator are written.
int acedGetInput(ACHAR* str);

// Shows prompt and waits for a point: a click (Point or Pick event: its point), or typed
// coordinates "x,y[,z]" (z: ELEVATION), "@dx,dy[,dz]" relative to pt (or LASTPOINT when pt is
// NULL), "dist<angle" and "@dist<angle" (degrees). A click (Point event) is taken by the running
// object snaps of OSMODE (1 endpoint, 2 midpoint, 4 centre, 512 nearest; 16384 turns them off)
// among the entities the aperture box (APERTURE pixels) touches, unless acedInitGet gave
// RSG_NOOSNAP: of the points endpoint, midpoint and centre find, the one nearest to the cursor;
// else the nearest point of an outline. RTNORM with the point in result (and
// LASTPOINT); RTKWORD for an armed keyword or, with RSG_OTHER, other text (acedGetInput reads
// it); RTNONE for Enter (unless RSG_NONULL); RTCAN for Esc. Cursor moves are passed over.
int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result);

// Shows prompt ("\nSelect object: " for NULL) and has the user pick one entity: a click (Point
// event) takes the topmost entity of the current space under the pick box, a Pick event the
// entity it names (an attribute's pick names its block reference, as do picks of other
// sub-entities), typed coordinates pick there; running object snaps do not apply. RTNORM with
// the entity and the pick point (user coordinates, where the click was); RTERROR with ERRNO 7
// for a pick that finds nothing and ERRNO 52 for Enter; RTCAN for Esc; RTKWORD for an armed
// keyword or, with RSG_OTHER, other text (acedGetInput reads it). Other input gets the host's
// message and the prompt again; cursor moves are passed over. ERRNO is left as it was on success.
int acedEntSel(const ACHAR* str, ads_name entres, ads_point ptres);

// --- Host commands and other applications' functions ---

// Runs host commands as if typed: (type, value) pairs as acutBuildList takes them, ended by 0 or
// RTNONE; each value answers the prompt showing ("" is Enter). RTNORM when every command ran;
// RTCAN when the values ran out inside a command (which is cancelled); RTERROR for an unknown
// command or a value that cannot be read. The stand-in knows UNDO (Auto, Control, BEgin, End,
// Mark) over UNDOCTL; it keeps no undo history, so a number of steps or Back fail with RTERROR.
int acedCommand(int rtype, ...);
int acedCommandS(int rtype, ...);

// Calls a function another application registered: args starts with its name (RTSTR), then its
// arguments. RTNORM when it was called, with what it returned in result (null when it returned
// nothing or failed; the caller releases it with acutRelRb); RTERROR when no such function is
// registered or args names none.
int acedInvoke(const struct resbuf* args, struct resbuf** result);

// --- Coordinates ---

// Converts a point (disp 0) or a displacement (disp non-zero) between coordinate systems given as
// RTSHORT result buffers: 0 world, 1 the current user coordinate system, 2 the display
// coordinates of the current viewport (origin at TARGET, z along the view direction, x to the
// right of the screen, y up). RTNORM; RTERROR for a NULL argument or another code or type.
int acedTrans(const ads_point pt, const struct resbuf* from, const struct resbuf* to, int disp, ads_point result);

// --- Selection sets ---

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
// and typed points; Enter (or blanks) ends, Esc cancels. With group selection on (PICKSTYLE 1 or
// 3) a pick or click on a member of a selectable group takes every member the screen shows.
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
// Drags the image of the set's entities: prompt shown, then for every move of the cursor scnf gets
// the cursor (user coordinates) and fills the matrix (world to world) that moves the image; the
// entities themselves stay. Ends on a click (RTNORM, the point in p, running object snaps applied
// unless acedInitGet said RSG_NOOSNAP) or a typed point, Enter (RTNONE), Esc (RTCAN), an armed
// keyword (RTKWORD) or, with RSG_OTHER, other text (RTSTR); acedGetInput reads those. cursor is
// 0 crosshair, 1 none, 2 target box. RTERROR for an unknown set, a null argument, another cursor,
// or when scnf returns RTERROR. The journal gets a Drag entry for each sample scnf returned
// RTNORM for.
int acedDragGen(const ads_name ss, const ACHAR* pmt, int cursor, int (*scnf)(ads_point pt, ads_matrix mt),
                ads_point p);

// --- System variables and AutoLISP symbols ---

// Copies the value of a system variable (any case) into result: restype and resval, rbnext
// untouched. A string value is a new malloc'ed copy that the caller frees. RTERROR for an
// unknown name or a NULL argument.
int acedGetVar(const ACHAR* sym, struct resbuf* result);
// RTNORM, or RTERROR (nothing changed) for an unknown or read-only variable, a value of the
// wrong type, or a value out of the variable's range. An integer variable takes RTSHORT or
// RTLONG, a real also RTANG and integers, a point either point type (2D points get z = 0,
// 3D points given to 2D variables lose their z).
int acedSetVar(const ACHAR* sym, const struct resbuf* val);

// The value bound to an AutoLISP symbol (any case) as a new chain the caller releases. A list
// of two or three reals comes back as one RTPOINT or RT3DPOINT node; an unbound symbol as one
// RTNIL node (the host's answer there is not documented; nil is what LISP sees). RTERROR for
// a name that is no symbol.
int acedGetSym(const ACHAR* sname, struct resbuf** value);
// Binds a copy of the chain to the symbol; NULL or a lone RTNIL unbinds it. RTERROR for a name
// that is no symbol, for the constants T and NIL, and for a chain holding a type that is no
// LISP value.
int acedPutSym(const ACHAR* sname, struct resbuf* value);

// --- Entity data ---

// The entity's data as the host lists it: (-1 name) (0 type) (330 owner) (5 handle), then the
// groups of its classes (100 markers, 67 and 410 for entities of a space, 8 layer, 6 linetype
// and 62 colour unless BYLAYER, then its geometry; angles in radians, points of planar
// entities in their own coordinate system). A new chain the caller releases; NULL for a name
// that names nothing, an erased entity, or an entity someone has open for write.
struct resbuf* acdbEntGet(const ads_name ent);
// The entity after ent in the drawing (the first one for NULL): every entity of model and
// paper space in the order they were created, each followed by its attributes or vertices
// and its SEQEND; erased entities are passed over. For an entity of a block definition, the
// next one of that block. RTERROR at the end or for a name that names no entity.
int acdbEntNext(const ads_name ent, ads_name result);
// The last main entity of the drawing that is not erased; RTERROR for an empty drawing.
int acdbEntLast(ads_name result);
// Erases a main entity, or brings it back when it is erased. RTERROR for a sub-entity (attribute,
// vertex, SEQEND), an entity of a block definition, one on a locked layer or one someone has
// open, and for a name that names nothing.
int acdbEntDel(const ads_name ent);
// The name of the object with that handle (hexadecimal), erased ones included; RTERROR when
// the drawing has none.
int acdbHandEnt(const ACHAR* handle, ads_name entres);

// --- The display ---

// Redraws an entity in the current viewport: mode 1 draws it, 2 takes it off the screen
// (undrawn, it cannot be picked either), 3 highlights it, 4 removes the highlight; a complex
// entity is redrawn whole, whichever of its parts is named. ent NULL redraws the whole
// viewport (mode ignored). RTERROR for another mode, an erased entity or a name that names no
// entity. The journal gets a Redraw entry: text the entity's handle (or "all"), values the
// mode, the viewport (CVPORT) and, for an entity, whether it is now shown and highlighted.
int acedRedraw(const ads_name ent, int mode);
// Draws a temporary vector from one point to another (user coordinates) in the current viewport
// in colour (the host's colour number; -1 is XOR ink, so that drawing it again erases it),
// dashed when hl is not 0. It stays until the viewport is redrawn. RTERROR for a null point.
// The journal gets a GrDraw entry.
int acedGrDraw(const ads_point from, const ads_point to, int color, int hl);

// The viewports as the host describes them: for each, five nodes RTLB, RTSHORT number,
// RTPOINT lower-left and RTPOINT upper-right corner, RTLE; the current viewport first. On model
// space the corners are fractions of the drawing area, on a layout paper-space coordinates.
// A new chain the caller releases; RTERROR for a NULL argument.
int acedVports(struct resbuf** vlist);
