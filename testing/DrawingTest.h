// What tests of entities and selection sets share: a fresh session per test that must end with no
// selection set, no object left open and nothing the host handed out unreleased (result-buffer
// nodes, texts), and the handles of entities and sets.
#pragma once

#include <aced.h>
#include <acedads.h>
#include <acutads.h>
#include <dbapserv.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ads/AdsEnt.h"
#include "ads/AdsEntSet.h"
#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/interaction/selection.h"
#include "standin/host/view/viewports.h"
#include "standin/win32/utf8.h"
#include "testing/HostTest.h"

namespace tovutest {

class DrawingTest : public HostTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(standin::SelectionSetCount(), 0) << "selection sets were left behind";
    EXPECT_EQ(standin::OpenObjectCount(), 0) << "objects were left open:\n"
                                             << standin::ToUtf8(standin::OpenObjectsReport());
    HostTest::TearDown();
  }
  AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }
};

inline std::wstring Handle(const ZoAdsEnt& ent) { return standin::HandleOf(ent); }

// The handles of the set's entities, in the set's order.
inline std::vector<std::wstring> Handles(const ZoAdsEntSet& set) {
  std::vector<std::wstring> out;
  for (long i = 0; i < set.GetLength(); ++i) out.push_back(Handle(set[i]));
  return out;
}

inline std::wstring HandleOf(AcDbObjectId id) {
  ACHAR buf[17] = {};
  id.handle().getIntoAsciiBuffer(buf);
  return buf;
}

// The value of the entity's first group of that code in the host's data, as text ("" when none).
inline std::wstring TypeOf(const ZoAdsEnt& ent) {
  resbuf* data = acdbEntGet(ent);
  std::wstring type;
  for (const resbuf* rb = data; rb; rb = rb->rbnext)
    if (rb->restype == 0 && rb->resval.rstring) {
      type = rb->resval.rstring;
      break;
    }
  acutRelRb(data);
  return type;
}

// Sets a host system variable that holds a 16-bit integer.
inline void SetShortVar(const wchar_t* name, int value) {
  resbuf rb = {};
  rb.restype = RTSHORT;
  rb.resval.rint = static_cast<short>(value);
  ASSERT_EQ(acedSetVar(name, &rb), RTNORM) << standin::ToUtf8(name);
}

// The redraws in the journal as (handle, viewport), each checked to have the mode; the journal
// is cleared.
inline std::vector<std::pair<std::wstring, int>> Redraws(int mode) {
  std::vector<std::pair<std::wstring, int>> out;
  for (const standin::JournalEntry& e : standin::Session::Get().Journal(standin::JournalKind::Redraw)) {
    EXPECT_EQ(e.values.at(0), mode);
    out.emplace_back(e.text, static_cast<int>(e.values.at(1)));
  }
  standin::Session::Get().ClearJournal();
  return out;
}

// Whether the host's set still exists.
inline bool SetExists(const ads_name ss) {
  long n = 0;
  return acedSSLength(ss, &n) == RTNORM;
}

}  // namespace tovutest
