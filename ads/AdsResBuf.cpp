// Result-buffer nodes and the list that owns a chain of them.
#include "ads/AdsResBuf.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "ads/AdsValues.h"
#include "platform/Win32.h"

static_assert(sizeof(ZoAdsResBuf) == sizeof(resbuf), "a ZoAdsResBuf is a resbuf");

namespace {

enum class Storage { Plain, Text, Name, Chunk };

// How the host stores a code's value. It decides what a node owns; it differs from CodeToType
// for the object-name and byte-chunk codes (CodeToType says text) and for a few text codes
// that CodeToType calls RTNONE: copying or freeing those by CodeToType would corrupt memory.
Storage StorageOf(int nCode) {
  if ((nCode >= 310 && nCode <= 319) || nCode == 1004) return Storage::Chunk;
  if ((nCode >= 330 && nCode <= 369) || (nCode >= 390 && nCode <= 399)) return Storage::Name;
  if (nCode == 101 || (nCode >= 430 && nCode <= 439) || (nCode >= 470 && nCode <= 479) || nCode == RTDXF0)
    return Storage::Text;
  return ZoAdsResBuf::CodeToType(nCode) == RTSTR ? Storage::Text : Storage::Plain;
}

bool SameName(const ads_u_val& a, const ads_u_val& b) {
  return a.rlname[0] == b.rlname[0] && a.rlname[1] == b.rlname[1];
}

bool SameChunk(const ads_binary& a, const ads_binary& b) {
  if (a.clen != b.clen || a.clen < 0) return false;
  if (a.clen == 0) return true;
  return a.buf && b.buf && std::memcmp(a.buf, b.buf, static_cast<size_t>(a.clen)) == 0;
}

// Strictly less than 1e-8 apart. Written as sums, not as a difference: a value stored as
// x + 1e-8 is then 1e-8 from x, where the subtraction's rounding would make it a little less.
bool WithinTolerance(double a, double b) { return a < b + 1e-8 && b < a + 1e-8; }

}  // namespace

int ZoAdsResBuf::CodeToType(int nCode) {
  if (nCode >= RTNONE && nCode <= RTT) return nCode;
  if (nCode >= 1000) {
    if (nCode == 1071) return RTLONG;
    nCode %= 1000;
  }
  if (nCode < -4) return RTNONE;
  if (nCode == -4) return RTSTR;
  if (nCode == -3) return RTSHORT;
  if (nCode < 0) return RTENAME;
  if (nCode <= 9) return RTSTR;
  if (nCode <= 19) return RT3DPOINT;
  if (nCode <= 49) return RTREAL;
  if (nCode <= 59) return RTANG;
  if (nCode <= 79) return RTSHORT;
  if (nCode <= 89) return RTNONE;
  if (nCode <= 99) return RTLONG;
  if (nCode <= 109) return nCode == 100 || nCode == 102 || nCode == 105 ? RTSTR : RTNONE;
  if (nCode <= 119) return RT3DPOINT;
  if (nCode <= 149) return RTREAL;
  if (nCode <= 169) return RTNONE;
  if (nCode <= 179) return RTSHORT;
  if (nCode <= 209) return RTNONE;
  if (nCode <= 219) return RT3DPOINT;
  if (nCode <= 239) return RTREAL;
  if (nCode <= 269) return RTNONE;
  if (nCode <= 289) return RTSHORT;
  if (nCode <= 299) return RTNONE;
  if (nCode <= 369) return RTSTR;
  if (nCode <= 389) return RTSHORT;
  if (nCode <= 399) return RTSTR;
  if (nCode <= 409) return RTSHORT;
  if (nCode <= 419) return RTSTR;
  if (nCode <= 998) return RTNONE;
  return RTSTR;  // 999, a comment
}

ZoAdsResBuf::ZoAdsResBuf() {
  Init();
  restype = RTSHORT;
}

ZoAdsResBuf::ZoAdsResBuf(int nValue) {
  Init();
  restype = RTSHORT;
  resval.rint = static_cast<short>(nValue & 0xFFFF);
}

ZoAdsResBuf::ZoAdsResBuf(double dValue) {
  Init();
  restype = RTREAL;
  resval.rreal = dValue;
}

ZoAdsResBuf::ZoAdsResBuf(const wchar_t* pszValue) {
  Init();
  restype = RTSTR;
  resval.rstring = pszValue ? _wcsdup(pszValue) : nullptr;
}

ZoAdsResBuf::ZoAdsResBuf(ZoGePoint pt) {
  Init();
  restype = RT3DPOINT;
  resval.rpoint[X] = pt.x;
  resval.rpoint[Y] = pt.y;
  resval.rpoint[Z] = pt.z;
}

ZoAdsResBuf::ZoAdsResBuf(const resbuf& rb) {
  Init();
  restype = RTSHORT;
  *this = rb;
}

ZoAdsResBuf::ZoAdsResBuf(const ZoAdsResBuf& rb) : resbuf() {
  Init();
  restype = RTSHORT;
  *this = rb;
}

ZoAdsResBuf& ZoAdsResBuf::operator=(const ZoAdsResBuf& rb) { return *this = static_cast<const resbuf&>(rb); }

ZoAdsResBuf& ZoAdsResBuf::operator=(const resbuf& rb) {
  if (&rb == this) {
    rbnext = nullptr;  // the value stays; only the chain is cut
    return *this;
  }
  Reset();
  CopyValue(rb);
  return *this;
}

void ZoAdsResBuf::CopyValue(const resbuf& rb) {
  restype = rb.restype;
  resval = rb.resval;
  switch (StorageOf(restype)) {
    case Storage::Text:
      if (rb.resval.rstring) resval.rstring = _wcsdup(rb.resval.rstring);
      break;
    case Storage::Chunk:
      resval.rbinary.buf = nullptr;
      if (rb.resval.rbinary.clen > 0 && rb.resval.rbinary.buf) {
        resval.rbinary.buf = static_cast<char*>(std::malloc(static_cast<size_t>(rb.resval.rbinary.clen)));
        if (resval.rbinary.buf)
          std::memcpy(resval.rbinary.buf, rb.resval.rbinary.buf, static_cast<size_t>(rb.resval.rbinary.clen));
      }
      if (!resval.rbinary.buf) resval.rbinary.clen = 0;
      break;
    case Storage::Plain:
    case Storage::Name:
      break;
  }
}

void ZoAdsResBuf::Init() {
  rbnext = nullptr;
  std::memset(&resval, 0, 8);
}

void ZoAdsResBuf::Reset() {
  switch (StorageOf(restype)) {
    case Storage::Text:
      acutDelString(resval.rstring);
      break;
    case Storage::Chunk:
      std::free(resval.rbinary.buf);
      resval.rbinary.buf = nullptr;
      resval.rbinary.clen = 0;
      break;
    case Storage::Plain:
    case Storage::Name:
      break;
  }
  Init();
}

ZoAdsResBuf* ZoAdsResBuf::Tail() const {
  const ZoAdsResBuf* p = this;
  while (p->rbnext) p = p->Next();
  return const_cast<ZoAdsResBuf*>(p);
}

bool ZoAdsResBuf::Equals(const ZoAdsResBuf& rb, bool bPattern) const {
  if (restype != rb.restype) return false;
  switch (TrueType()) {
    case RTREAL:
    case RTANG:
      return WithinTolerance(resval.rreal, rb.resval.rreal);
    case RTPOINT:
    case RT3DPOINT:
      return ZoAdsPoint(resval.rpoint) == ZoAdsPoint(rb.resval.rpoint);
    case RTSHORT:
      return resval.rint == rb.resval.rint;
    case RTLONG:
      return resval.rlong == rb.resval.rlong;
    case RTSTR: {
      const Storage storage = StorageOf(restype);
      if (storage == Storage::Name) return SameName(resval, rb.resval);
      if (storage == Storage::Chunk) return SameChunk(resval.rbinary, rb.resval.rbinary);
      // A null text equals (and matches) only a null text: the host's string routines are
      // never called with null.
      if (!resval.rstring || !rb.resval.rstring) return !resval.rstring && !rb.resval.rstring;
      if (bPattern) return acutWcMatch(resval.rstring, rb.resval.rstring) == RTNORM;
      return _wcsicmp(resval.rstring, rb.resval.rstring) == 0;
    }
    case RTENAME:
    case RTPICKS:
      return SameName(resval, rb.resval);
    default:
      return false;
  }
}

bool ZoAdsResBuf::operator==(const ZoAdsResBuf& rb) const { return Equals(rb, false); }

bool ZoAdsResBuf::IsMatch(const ZoAdsResBuf& pattern) const { return Equals(pattern, true); }

void* ZoAdsResBuf::operator new(size_t) {
  if (resbuf* rb = acutNewRb(0)) return rb;
  throw std::bad_alloc();
}

void ZoAdsResBuf::operator delete(void* p) {
  if (p) acutRelRb(static_cast<resbuf*>(p));
}

ZoAdsRBList::ZoAdsRBList(ZoAdsRBList&& other) noexcept : m_pHead(other.m_pHead) { other.m_pHead = nullptr; }

ZoAdsRBList& ZoAdsRBList::operator=(ZoAdsRBList&& other) noexcept {
  if (&other != this) {
    Release();
    m_pHead = other.m_pHead;
    other.m_pHead = nullptr;
  }
  return *this;
}

void ZoAdsRBList::Release() {
  if (m_pHead) acutRelRb(m_pHead);
  m_pHead = nullptr;
}

void ZoAdsRBList::SetResbuf(resbuf* pChain) {
  if (pChain == m_pHead) return;  // the list owns that chain already
  Release();
  m_pHead = static_cast<ZoAdsResBuf*>(pChain);
}

void ZoAdsRBList::Append(ZoAdsResBuf* pNode) {
  if (!pNode) return;
  if (!m_pHead)
    m_pHead = pNode;
  else
    m_pHead->Tail()->Connect(pNode);
}

bool ZoAdsRBList::IsMatch(const ZoAdsResBuf& pattern) const {
  for (const ZoAdsResBuf* p = m_pHead; p; p = p->Next())
    if (p->IsMatch(pattern)) return true;
  return false;
}
