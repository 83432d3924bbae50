// Just enough of the host's result-buffer allocator, behaving as the host's does, for the
// module to build, pass and release chains of ADS records.
#include "standin/host/core/resbuf.h"

#include <acutads.h>
#include <adscodes.h>

#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <unordered_set>

namespace standin {

RbValue ResbufValueKind(int t) {
  switch (t) {
    case RTREAL:
    case RTANG:
    case RTORINT:
      return RbValue::Real;
    case RTPOINT:
    case RT3DPOINT:
      return RbValue::Point;
    case RTSHORT:
      return RbValue::Short;
    case RTLONG:
      return RbValue::Long;
    case RTINT64:
    case RTLONG_PTR:
      return RbValue::Int64;
    case RTSTR:
    case RTDXF0:
      return RbValue::String;
    case RTENAME:
    case RTPICKS:
      return RbValue::Name;
    case RTNONE:
    case RTVOID:
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT:
      return RbValue::None;
    default:
      break;
  }
  // DXF group codes, by the ranges of the drawing interchange format.
  if (t == -1 || t == -2) return RbValue::Name;
  if (t == -4) return RbValue::String;
  if (t < 0) return RbValue::None;
  if (t <= 9) return RbValue::String;
  if (t <= 17) return RbValue::Point;
  if (t <= 37) return RbValue::Real;
  if (t <= 59) return RbValue::Real;
  if (t <= 79) return RbValue::Short;
  if (t >= 90 && t <= 99) return RbValue::Long;
  if (t == 100 || t == 101 || t == 102 || t == 105) return RbValue::String;
  if (t >= 110 && t <= 112) return RbValue::Point;
  if (t >= 113 && t <= 149) return RbValue::Real;
  if (t >= 160 && t <= 169) return RbValue::Int64;
  if (t >= 170 && t <= 179) return RbValue::Short;
  if (t == 210) return RbValue::Point;
  if (t >= 211 && t <= 239) return RbValue::Real;
  if (t >= 270 && t <= 299) return RbValue::Short;
  if (t >= 300 && t <= 309) return RbValue::String;
  if (t >= 310 && t <= 319) return RbValue::Binary;
  if (t >= 320 && t <= 329) return RbValue::String;
  if (t >= 330 && t <= 369) return RbValue::Name;
  if (t >= 370 && t <= 389) return RbValue::Short;
  if (t >= 390 && t <= 399) return RbValue::Name;
  if (t >= 400 && t <= 409) return RbValue::Short;
  if (t >= 410 && t <= 419) return RbValue::String;
  if (t >= 420 && t <= 429) return RbValue::Long;
  if (t >= 430 && t <= 439) return RbValue::String;
  if (t >= 440 && t <= 459) return RbValue::Long;
  if (t >= 460 && t <= 469) return RbValue::Real;
  if (t >= 470 && t <= 479) return RbValue::String;
  if (t >= 480 && t <= 481) return RbValue::Name;
  if (t == 999) return RbValue::String;
  if (t == 1004) return RbValue::Binary;
  if (t >= 1000 && t <= 1009) return RbValue::String;
  if (t >= 1010 && t <= 1013) return RbValue::Point;
  if (t >= 1014 && t <= 1059) return RbValue::Real;
  if (t >= 1060 && t <= 1070) return RbValue::Short;
  if (t == 1071) return RbValue::Long;
  return RbValue::None;
}

namespace {

// What the host has handed out for its callers to release: nodes, and the texts of
// acutNewString (which every text the host hands out is made with), until acutRelRb or
// acutDelString takes them back.
std::atomic<long> g_liveNodes{0};

struct Texts {
  std::mutex mutex;
  std::unordered_set<const void*> live;
};

Texts& LiveTexts() {
  static auto* texts = new Texts;  // never destroyed: texts may be released while the process exits
  return *texts;
}

void ReleaseText(ACHAR* text) {
  if (!text) return;
  {
    Texts& t = LiveTexts();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.live.erase(text);
  }
  std::free(text);
}

}  // namespace

HostAllocations LiveHostAllocations() {
  Texts& t = LiveTexts();
  std::lock_guard<std::mutex> lock(t.mutex);
  return {g_liveNodes.load(), static_cast<long>(t.live.size())};
}

}  // namespace standin

using standin::RbValue;

struct resbuf* acutNewRb(int v) {
  auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (!rb) return nullptr;
  rb->restype = static_cast<short>(v);
  ++standin::g_liveNodes;
  return rb;
}

int acutRelRb(struct resbuf* rb) {
  if (!rb) return RTERROR;
  while (rb) {
    resbuf* next = rb->rbnext;
    switch (standin::ResbufValueKind(rb->restype)) {
      case RbValue::String:
        standin::ReleaseText(rb->resval.rstring);
        break;
      case RbValue::Binary:
        std::free(rb->resval.rbinary.buf);
        break;
      default:
        break;
    }
    std::free(rb);
    --standin::g_liveNodes;
    rb = next;
  }
  return RTNORM;
}

int acutNewString(const ACHAR* pInput, ACHAR*& pOutput) {
  pOutput = nullptr;
  if (!pInput) return RTERROR;
  const size_t n = std::wcslen(pInput) + 1;
  pOutput = static_cast<ACHAR*>(std::malloc(n * sizeof(ACHAR)));
  if (!pOutput) return RTERROR;
  std::wmemcpy(pOutput, pInput, n);
  standin::Texts& t = standin::LiveTexts();
  std::lock_guard<std::mutex> lock(t.mutex);
  t.live.insert(pOutput);
  return RTNORM;
}

int acutDelString(ACHAR*& pString) {
  standin::ReleaseText(pString);
  pString = nullptr;
  return RTNORM;
}

struct resbuf* acutBuildList(int rtype, ...) {
  va_list args;
  va_start(args, rtype);
  resbuf* head = standin::BuildList(rtype, args);
  va_end(args);
  return head;
}

resbuf* standin::BuildList(int rtype, va_list args) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  bool ok = true;
  for (int type = rtype; ok && type != 0 && type != RTNONE; type = va_arg(args, int)) {
    resbuf* rb = acutNewRb(type);
    if (!rb) {
      ok = false;
      break;
    }
    *tail = rb;
    tail = &rb->rbnext;
    // RTDXF0 stands for group code 0, which would end the argument list.
    if (type == RTDXF0) rb->restype = 0;
    const bool listMarker =
        type == RTLB || type == RTLE || type == RTDOTE || type == RTNIL || type == RTT || type == RTVOID || type == -3;
    if (listMarker) continue;
    switch (standin::ResbufValueKind(type)) {
      case RbValue::Real:
        rb->resval.rreal = va_arg(args, double);
        break;
      case RbValue::Point: {
        const double* p = va_arg(args, const double*);
        if (!p)
          ok = false;
        else
          std::memcpy(rb->resval.rpoint, p, sizeof(ads_point));
        break;
      }
      case RbValue::Short:
        rb->resval.rint = static_cast<short>(va_arg(args, int));
        break;
      case RbValue::Long:
        rb->resval.rlong = static_cast<Adesk::Int32>(va_arg(args, int));
        break;
      case RbValue::Int64:
        rb->resval.mnInt64 = va_arg(args, Adesk::Int64);
        break;
      case RbValue::String: {
        const ACHAR* s = va_arg(args, const ACHAR*);
        if (!s || acutNewString(s, rb->resval.rstring) != RTNORM) ok = false;
        break;
      }
      case RbValue::Name: {
        const Adesk::LongPtr* name = va_arg(args, const Adesk::LongPtr*);
        if (!name)
          ok = false;
        else
          rb->resval.rlname[0] = name[0], rb->resval.rlname[1] = name[1];
        break;
      }
      case RbValue::Binary: {
        const ads_binary* bin = va_arg(args, const ads_binary*);
        if (!bin || bin->clen < 0 || (bin->clen > 0 && !bin->buf)) {
          ok = false;
        } else if (bin->clen > 0) {
          rb->resval.rbinary.buf = static_cast<char*>(std::malloc(static_cast<size_t>(bin->clen)));
          if (!rb->resval.rbinary.buf)
            ok = false;
          else
            std::memcpy(rb->resval.rbinary.buf, bin->buf, static_cast<size_t>(bin->clen)),
                rb->resval.rbinary.clen = bin->clen;
        }
        break;
      }
      case RbValue::None:
        ok = false;  // a type that carries nothing and is no list marker is not buildable
        break;
    }
  }
  if (!ok) {
    if (head) acutRelRb(head);
    return nullptr;
  }
  return head;
}
