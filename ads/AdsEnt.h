// The module's handle on one drawing entity, held as the host's entity name: its data, its
// database object, redraw and deletion, the walk through the drawing and the filter test.
#pragma once

#include "ads/AdsResBuf.h"
#include "ads/AdsValues.h"
#include "platform/Export.h"
#include "platform/Host.h"

// An entity name and nothing more: copying copies the name, and the entity's lifetime is the
// drawing's affair. Converts to the host's ads_name wherever one is expected.
class TOVU_PLATFORM_API ZoAdsEnt : public ZoAdsName {
 public:
  ZoAdsEnt() = default;
  ZoAdsEnt(const long long* name) : ZoAdsName(name) {}
  // The entity name of the id; no name when the host cannot convert it (the null id included).
  ZoAdsEnt(AcDbObjectId id);
  ZoAdsEnt(const ZoAdsEnt&) = default;
  ZoAdsEnt& operator=(const ZoAdsEnt&) = default;
  ZoAdsEnt& operator=(const long long* name) {
    ZoAdsName::operator=(name);
    return *this;
  }

  // The entity's DXF groups as a new chain the caller releases; null when the host has none.
  resbuf* GetDXFData() const;
  // The null id when the name names no object.
  AcDbObjectId GetObjectId() const;
  // The entity open in that mode (erased ones are not opened), for the caller to close; null
  // on any failure.
  AcDbEntity* Open(AcDb::OpenMode mode) const;

  // The host's redraw modes: 1 draw, 2 undraw, 3 highlight, 4 remove the highlight.
  void Redraw(int nMode) const;
  // Redraws in every tiled viewport, the current one first, and leaves CVPORT as it was. On a
  // layout (TILEMODE 0) it does nothing: a single entity is redrawn only where tiles show it.
  void RedrawAll(int nMode) const;
  // Erases the entity (or brings an erased one back), as acdbEntDel does.
  void Delete() const;
  // Becomes the entity that follows in the drawing (sub-entities included); RTNORM when there
  // was one, otherwise the host's status with the name unchanged.
  int MoveToNext();

  // True when every node of the filter is matched by some group of the entity's data: the
  // nodes form a conjunction, string values are wild-card patterns. An empty filter accepts
  // anything, even no name; a non-empty one rejects an entity without data.
  bool IsMatch(const ZoAdsRBList& filter) const;

  // The user's picks (input/Picking.cpp). Each asks again until the user picks an entity that
  // passes the filter or the host reports something else (Esc, Enter, a keyword), and returns the
  // host's status. pt receives the picked point (user coordinates).
  // A point, then the entities crossing the box of half size dAperture around it; several are
  // offered one by one for confirmation. OSMODE is the nearest-point snap meanwhile.
  int Select(double dAperture, const wchar_t* pszPrompt, const ZoAdsRBList& filter, ZoGePoint& pt);
  // One selection of the host's ("Select objects" with one pick or window); several found are
  // offered one by one.
  int Select(const wchar_t* pszPrompt, const ZoAdsRBList& filter);
  // One entity pick (acedEntSel), without keywords, with the keywords given, or with those of the
  // prompt's bracketed options.
  int Select(const wchar_t* pszPrompt, const ZoAdsRBList& filter, ZoGePoint& pt);
  int Select(const wchar_t* pszPrompt, const wchar_t* pszKeywords, const ZoAdsRBList& filter, ZoGePoint& pt);
  int SelectEx(const wchar_t* pszPrompt, const ZoAdsRBList& filter, ZoGePoint& pt);
};
