// The module's handle on one host selection set: ownership flags, set algebra with entities,
// object ids and other sets, filtering, whole-set operations, and the collection of everything
// created in the drawing between IncludeBegin and IncludeEnd.
#pragma once

#include "ads/AdsEnt.h"
#include "ads/AdsResBuf.h"
#include "ads/AdsValues.h"
#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"

class ZoDbObjectIdList;

// The set name is the ZoAdsName base (no name while no host set is held); the flag word of the
// ZoBitData base decides ownership. Entities are addressed in the host set's order, 0 upward.
class TOVU_PLATFORM_API ZoAdsEntSet : public ZoAdsName, public ZoBitData {
 public:
  enum {
    kCreateSet = 1,      // create an empty host set at construction
    kOwnSet = 2,         // release the host set when destroyed
    kIncludeMarker = 4,  // an include marker exists (IncludeBegin until IncludeEnd)
  };

  explicit ZoAdsEntSet(int nFlags = kOwnSet);
  // Refers to an existing host set without owning it.
  explicit ZoAdsEntSet(const long long* ssName);
  // A non-owning alias of the same host set, without marker.
  ZoAdsEntSet(const ZoAdsEntSet& other);
  // Takes the other's set, its release and its include marker along; the other holds none.
  ZoAdsEntSet(ZoAdsEntSet&& other) noexcept;
  // Releases the host set when the object owns one.
  ~ZoAdsEntSet() override;
  // A non-owning target names the other's set. An owning target releases only a set no other
  // object releases: holding none, it takes over a set made to be handed over (flag 1 without 2,
  // which the other then loses); otherwise it takes the entities into a set of its own, whose
  // name and aliases stay. Flags and marker stay. REQUIRES: other is not an object defined const.
  ZoAdsEntSet& operator=(const ZoAdsEntSet& other);

  // Releases the host set whatever the flags; the object holds no set afterwards.
  void Free();
  // 0 when no set is held or the host does not know it.
  long GetLength() const;
  // An entity without a name for an index outside the set or when no set is held.
  ZoAdsEnt operator[](long i) const;

  // Adding creates the host set first when none is held; entities that do not exist or are
  // erased are refused by the host and leave the set as it was.
  ZoAdsEntSet& operator+=(const ZoAdsEnt& ent);
  ZoAdsEntSet& operator-=(const ZoAdsEnt& ent);
  ZoAdsEntSet& operator+=(const AcDbObjectId& id);
  ZoAdsEntSet& operator-=(const AcDbObjectId& id);
  // Each entity of the other set, index 0 upward.
  ZoAdsEntSet& operator+=(const ZoAdsEntSet& other);
  ZoAdsEntSet& operator-=(const ZoAdsEntSet& other);
  bool IsInclude(const ZoAdsEnt& ent) const;

  // acedSSGet into this object, whose set name the new set replaces: call it on an object that
  // holds no set. The host's status; nothing new is held unless it is RTNORM.
  int Get(const wchar_t* pszMode, const void* p1, const void* p2, const resbuf* pFilter);
  int Get(const wchar_t* pszMode, const void* p1 = nullptr, const void* p2 = nullptr);
  // Everything within the pick aperture through the point (mode ":E").
  void Get(const ZoGePoint& pt, const resbuf* pFilter = nullptr);

  // True when every entity IsMatches the filter; true for an empty set.
  bool IsMatch(const ZoAdsRBList& filter) const;
  // Keep the entities that match (Filter) or do not match (Exclude), in their order. An object
  // that owns or made its set (flag 2 or 1) names a new host set afterwards, the old one
  // released; an alias (neither flag) filters the set it shares in place, which keeps its owner.
  void Filter(const ZoAdsRBList& filter);
  void Exclude(const ZoAdsRBList& filter);

  // Redraws each entity in the current viewport (the host's modes 1 to 4).
  void Redraw(int nMode) const;
  // Redraws in every viewport, the current one last; on a layout whose paper space is current
  // only there. CVPORT is left as it was.
  void RedrawAll(int nMode) const;
  // Erases each entity that opens for write.
  void Erase() const;
  // acdbEntDel on each entity: erased ones come back.
  void Delete() const;
  void TransformBy(const double (*m)[4]) const;
  // The union of the entities' extents; false with ext untouched when none has extents.
  bool GetExtent(AcDbExtents& ext) const;
  // Appends the object id of each entity; nothing is cleared first.
  void AsIdList(ZoDbObjectIdList& list) const;
  void AsIdArray(AcArray<AcDbObjectId>& ids) const;
  // Puts the entities in a new selectable anonymous group. RTNORM, or RTERROR when the group
  // dictionary does not open or an entity cannot join (the group then keeps those before it).
  int MakeAnonymousGroup() const;

  // Marks the drawing with a point in model space; IncludeEnd then adds every main entity
  // created since (not the attributes, vertices and sequence ends of complex ones) and
  // deletes the marker again.
  void IncludeBegin();
  void IncludeEnd();

 private:
  void Select(const ZoAdsRBList& filter, bool bMatching);

  ZoAdsEnt m_entMarker;
};
