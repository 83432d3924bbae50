#include "view/StateGuards.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "standin/host/commands/applications.h"
#include "standin/host/drawing/sysvars.h"
#include "testing/DatabaseTest.h"

namespace {

using tovutest::DatabaseTest;
using Texts = std::vector<std::wstring>;

// Another application's status with its getter and setter, as acedInvoke reaches them.
struct Status {
  int value = 0;
  bool getterFails = false;
  std::vector<int> set;  // every value the setter was called with

  explicit Status(int initial) : value(initial) {
    standin::RegisterExternalFunction(L"GetMode", [this](const resbuf* args, resbuf** result) {
      if (getterFails || args != nullptr) return RTERROR;
      *result = acutBuildList(RTLONG, value, 0);
      return RTNORM;
    });
    standin::RegisterExternalFunction(L"SetMode", [this](const resbuf* args, resbuf**) {
      if (!args || args->restype != RTLONG || args->rbnext) return RTERROR;
      set.push_back(args->resval.rlong);
      value = args->resval.rlong;
      return RTNORM;
    });
  }
};

using StatusGuard = DatabaseTest;

TEST_F(StatusGuard, SetsOnlyWhatDiffersRestoresOnlyWhatChangedAndNeedsADatabase) {
  {
    Status s(3);
    {
      ZoPtPushStatus guard(L"GetMode", L"SetMode", 7);
      EXPECT_EQ(s.value, 7);
    }
    EXPECT_EQ(s.set, (std::vector<int>{7, 3}));
  }
  {
    // Already the requested value: no call at either end while nothing changes it.
    Status s(7);
    { ZoPtPushStatus guard(L"GetMode", L"SetMode", 7); }
    EXPECT_TRUE(s.set.empty());
    // Changed meanwhile: put back.
    {
      ZoPtPushStatus guard(L"GetMode", L"SetMode", 7);
      s.value = 2;
    }
    EXPECT_EQ(s.set, (std::vector<int>{7}));
  }
  {
    // A failing getter reads as 0 at both ends: set to the request, never back.
    Status s(5);
    s.getterFails = true;
    { ZoPtPushStatus guard(L"GetMode", L"SetMode", 4); }
    EXPECT_EQ(s.set, (std::vector<int>{4}));
    // No such functions: nothing happens, nothing leaks.
    ZoPtPushStatus missing(L"NoGetter", L"NoSetter", 1);
  }
  {
    // Without a working database: inert at both ends.
    Status s(1);
    standin::SetNoWorkingDatabase(true);
    { ZoPtPushStatus guard(L"GetMode", L"SetMode", 9); }
    standin::SetNoWorkingDatabase(false);
    EXPECT_TRUE(s.set.empty());
  }
}

class UndoGuard : public DatabaseTest {
 protected:
  static int UndoCtl() { return standin::SysVarInt(L"UNDOCTL", -1); }
  static void SetUndoCtl(int bits) { ASSERT_TRUE(standin::SetSysVarInt(L"UNDOCTL", bits)); }
  // The commands the guard sent, and UNDOCTL inside its scope and after it.
  struct Run {
    Texts sent;
    int inside = -1;
    int after = -1;
  };
  static Run Guarded(int initial, bool fails = false) {
    SetUndoCtl(initial);
    standin::Session::Get().ClearJournal();
    Run run;
    try {
      ZoPtPushUndo guard;
      run.inside = UndoCtl();
      if (fails) throw std::runtime_error("command failed");
    } catch (const std::runtime_error&) {
    }
    run.after = UndoCtl();
    for (const standin::JournalEntry& e : standin::Session::Get().Journal(standin::JournalKind::Command))
      run.sent.push_back(e.text);
    return run;
  }
};

TEST_F(UndoGuard, OpensOneGroupWithUndoFullyOnAndPutsTheSettingsBack) {
  // On with auto (the common case): a group of its own, auto off inside.
  Run r = Guarded(5);
  EXPECT_EQ(r.sent, (Texts{L"undo BE", L"undo auto off", L"undo E", L"undo auto on"}));
  EXPECT_EQ(r.inside, 1 | 8);
  EXPECT_EQ(r.after, 5);

  // Off: on fully first; switched off again before the group is ended (which off undo refuses,
  // but None has closed the group already).
  standin::Session::Get().ClearTranscript();
  r = Guarded(0, true);
  EXPECT_NE(standin::Session::Get().Transcript().find(L"<All>: E\nInvalid option keyword.\n"), std::wstring::npos);
  EXPECT_EQ(r.sent, (Texts{L"undo control all undo auto off", L"undo BE", L"undo control none", L"undo E"}));
  EXPECT_EQ(r.inside, 1 | 8);
  EXPECT_EQ(r.after, 0);

  // Limited to one command: all, then back to one (which closes the group).
  r = Guarded(1 | 2 | 32);
  EXPECT_EQ(r.sent, (Texts{L"undo control all undo auto off", L"undo BE", L"undo control one", L"undo E"}));
  EXPECT_EQ(r.inside, 1 | 8 | 32);
  EXPECT_EQ(r.after, 1 | 2 | 32);

  // A group already open (another guard's): none of its own, through an exception too.
  r = Guarded(1 | 4 | 8, true);
  EXPECT_EQ(r.sent, (Texts{L"undo auto off", L"undo auto on"}));
  EXPECT_EQ(r.inside, 1 | 8);
  EXPECT_EQ(r.after, 1 | 4 | 8);

  // Auto set while undo is off: once undo is off again the host offers only the control
  // options, where "auto" is refused and "on" answers One. The settings cannot come back.
  r = Guarded(4);
  EXPECT_EQ(r.sent, (Texts{L"undo control all undo auto off", L"undo BE", L"undo auto off", L"undo control none",
                           L"undo E", L"undo auto on"}));
  EXPECT_EQ(r.after, 1 | 2);
}

class LayerGuard : public DatabaseTest {
 protected:
  AcDbObjectId AddLayer(const wchar_t* name, bool locked) {
    AcDbLayerTable* table = nullptr;
    EXPECT_EQ(Db()->getLayerTable(table, AcDb::kForWrite), Acad::eOk);
    auto* layer = new AcDbLayerTableRecord;
    layer->setName(name);
    layer->setIsLocked(locked);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, layer), Acad::eOk);
    layer->close();
    table->close();
    return id;
  }
  static void Change(AcDbObjectId id, bool lock, bool erase = false) {
    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(acdbOpenObject(layer, id, AcDb::kForWrite), Acad::eOk);
    layer->setIsLocked(lock);
    if (erase) layer->erase();
    layer->close();
  }
  // Which of the layers are locked, by name.
  static Texts Locked(const std::vector<AcDbObjectId>& ids) {
    Texts out;
    for (AcDbObjectId id : ids) {
      AcDbLayerTableRecord* layer = nullptr;
      if (acdbOpenObject(layer, id, AcDb::kForRead, true) != Acad::eOk) continue;
      const ACHAR* name = nullptr;
      layer->getName(name);
      if (layer->isLocked()) out.push_back(name);
      layer->close();
    }
    return out;
  }
};

TEST_F(LayerGuard, UnlocksTheLockedLayersAndLocksExactlyThoseAgain) {
  const std::vector<AcDbObjectId> layers = {AddLayer(L"Walls", true), AddLayer(L"Doors", false),
                                            AddLayer(L"Grid", true), AddLayer(L"Old", true)};
  Change(layers[3], true, true);  // erased: the table's iterator passes over it
  {
    ZoPtPushLayerFree guard;
    EXPECT_EQ(Locked(layers), (Texts{L"Old"}));
    Change(layers[0], false);  // the command's own changes do not matter
    Change(layers[1], true);
    Change(layers[2], false, true);  // erased meanwhile: skipped
  }
  EXPECT_EQ(Locked(layers), (Texts{L"Walls", L"Doors", L"Old"}));
  EXPECT_EQ(LeftOpen(L"ZoPtPushLayerFree"), 0);

  // Recovered early, the destructor does nothing more; and an exception restores as well.
  Change(layers[1], false);
  try {
    ZoPtPushLayerFree guard(Db());
    EXPECT_TRUE(Locked(layers) == Texts{L"Old"});
    guard.Recover();
    EXPECT_EQ(Locked(layers), (Texts{L"Walls", L"Old"}));
    Change(layers[0], false);
    throw std::runtime_error("command failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(Locked(layers), (Texts{L"Old"}));
  Change(layers[1], true);

  // No working database and none given: nothing to unlock.
  standin::SetNoWorkingDatabase(true);
  ZoPtPushLayerFree none;
  standin::SetNoWorkingDatabase(false);
  EXPECT_EQ(Locked(layers), (Texts{L"Doors", L"Old"}));
}

}  // namespace
