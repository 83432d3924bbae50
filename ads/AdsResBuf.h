// One node of a host result-buffer chain with typed constructors, the value type of DXF group
// codes, equality and wild-card matching; and a list that owns one chain.
#pragma once

#include <cstddef>

#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"

// A host resbuf and nothing more: a pointer to one is a pointer to a resbuf, and a chain of
// them is an ordinary host chain (the node converts to resbuf& as its base). A string value
// belongs to its node: constructors and assignments duplicate it, Reset frees it; there is no
// destructor, so a node that is not deleted keeps its string until Reset.
class TOVU_PLATFORM_API ZoAdsResBuf : public resbuf {
 public:
  ZoAdsResBuf();                         // RTSHORT 0
  ZoAdsResBuf(int nValue);               // RTSHORT, the low 16 bits of nValue
  ZoAdsResBuf(double dValue);            // RTREAL
  ZoAdsResBuf(const wchar_t* pszValue);  // RTSTR, a copy of the text (null stays null)
  ZoAdsResBuf(ZoGePoint pt);             // RT3DPOINT
  ZoAdsResBuf(const resbuf& rb);
  ZoAdsResBuf(const ZoAdsResBuf& rb);

  // Reset (cutting this node from whatever followed), then type and value of rb; a string
  // is duplicated. rb's successor is not taken over.
  ZoAdsResBuf& operator=(const ZoAdsResBuf& rb);
  ZoAdsResBuf& operator=(const resbuf& rb);

  // Next = null and the first 8 bytes of the value zeroed; the type stays.
  void Init();
  // Frees an owned value (a string), then Init.
  void Reset();

  short Type() const { return restype; }
  int TrueType() const { return CodeToType(restype); }
  ads_u_val Value() const { return resval; }
  ZoAdsResBuf* Next() const { return static_cast<ZoAdsResBuf*>(rbnext); }
  bool IsTail() const { return rbnext == nullptr; }
  // The last node of the chain that starts here.
  ZoAdsResBuf* Tail() const;
  // Sets the successor; what followed before is neither released nor re-attached.
  void Connect(ZoAdsResBuf* pNext) { rbnext = pNext; }

  // Same raw type and equal values by the type's rule: reals within 1e-8, points within the
  // geometry tolerance, texts ignoring case; RTNONE, RTORINT and the other codes never equal.
  bool operator==(const ZoAdsResBuf& rb) const;
  bool operator!=(const ZoAdsResBuf& rb) const { return !(*this == rb); }
  // As equality, but this node's text is matched against pattern's text as a host wild-card
  // pattern. Not symmetric: the argument is the pattern.
  bool IsMatch(const ZoAdsResBuf& pattern) const;

  // The result type (RTNONE ... RTLONG) of the value a type code carries: result types stand
  // for themselves, 1071 is RTLONG, other codes from 1000 on behave as their remainder modulo
  // 1000, DXF group codes by their ranges.
  static int CodeToType(int nCode);

  // Nodes come from the host's record allocator, whatever size is asked for, so chains pass
  // freely between the module and the host. Deleting a node releases it, every node after it
  // and their strings, by the host's rules.
  static void* operator new(size_t nSize);
  static void operator delete(void* p);

 private:
  bool Equals(const ZoAdsResBuf& rb, bool bPattern) const;
  void CopyValue(const resbuf& rb);
};

// Owns one chain of host result buffers (or none). A chain has one owner: a list cannot be
// copied, and moving it hands the chain over, leaving the source empty.
class TOVU_PLATFORM_API ZoAdsRBList {
 public:
  ZoAdsRBList() : m_pHead(nullptr) {}
  // Takes ownership of the chain.
  explicit ZoAdsRBList(resbuf* pChain) : m_pHead(static_cast<ZoAdsResBuf*>(pChain)) {}
  explicit ZoAdsRBList(ZoAdsResBuf* pChain) : m_pHead(pChain) {}
  ~ZoAdsRBList() { Release(); }
  ZoAdsRBList(const ZoAdsRBList&) = delete;
  ZoAdsRBList& operator=(const ZoAdsRBList&) = delete;
  ZoAdsRBList(ZoAdsRBList&& other) noexcept;
  ZoAdsRBList& operator=(ZoAdsRBList&& other) noexcept;

  // Releases the chain with acutRelRb; the list is empty afterwards.
  void Release();
  // Release, then take ownership of pChain.
  void SetResbuf(resbuf* pChain);
  // Takes ownership of pNode and whatever is chained after it, as the new head of an empty
  // list or after the current last node. REQUIRES: pNode came from the host's allocator
  // (operator new, acutNewRb, acutBuildList) and belongs to no other chain.
  void Append(ZoAdsResBuf* pNode);

  bool IsEmpty() const { return m_pHead == nullptr; }
  // The head; ownership stays with the list.
  ZoAdsResBuf* Head() const { return m_pHead; }
  // Null when empty, else the last node.
  ZoAdsResBuf* Tail() const { return m_pHead ? m_pHead->Tail() : nullptr; }
  operator ZoAdsResBuf*() const { return m_pHead; }
  operator const ZoAdsResBuf*() const { return m_pHead; }
  operator resbuf*() const { return m_pHead; }
  operator const resbuf*() const { return m_pHead; }

  // True when some node of the list IsMatches pattern.
  bool IsMatch(const ZoAdsResBuf& pattern) const;

 private:
  ZoAdsResBuf* m_pHead;
};
