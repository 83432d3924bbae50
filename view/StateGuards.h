// Scoped guards that change some host state for a command's duration and put it back when the
// scope ends, normally or by an exception: an application status reached through another
// application's functions, undo grouping, and locked layers. Copying a guard would run its restore
// twice, so none can be copied.
#pragma once

#include "containers/DbObjectIdList.h"
#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"

// Sets the integer status that another application exposes through a getter and a setter (called
// with acedInvoke) and restores the value found at construction. Without a working database it
// does nothing at either end; a failing getter counts as status 0, a failing setter is ignored.
class TOVU_PLATFORM_API ZoPtPushStatus {
 public:
  ZoPtPushStatus(const wchar_t* pszGetter, const wchar_t* pszSetter, long nValue);
  virtual ~ZoPtPushStatus();
  ZoPtPushStatus(const ZoPtPushStatus&) = delete;
  ZoPtPushStatus& operator=(const ZoPtPushStatus&) = delete;

 private:
  ZoStringW m_strGetter;
  ZoStringW m_strSetter;
  int m_nSaved;
};

// Groups everything done in its scope into one undo step, enabling undo first where the user had
// it off or limited to one command, and restores the user's undo settings ("UNDOCTL").
class TOVU_PLATFORM_API ZoPtPushUndo {
 public:
  ZoPtPushUndo();
  ~ZoPtPushUndo();
  ZoPtPushUndo(const ZoPtPushUndo&) = delete;
  ZoPtPushUndo& operator=(const ZoPtPushUndo&) = delete;

 private:
  int m_nUndoCtl;
};

// Unlocks every locked layer of a drawing (the working one for null) and locks those layers again
// in table order, whatever the command did to them meanwhile. Layers it cannot open are skipped.
class TOVU_PLATFORM_API ZoPtPushLayerFree {
 public:
  explicit ZoPtPushLayerFree(AcDbDatabase* pDb = nullptr);
  ~ZoPtPushLayerFree() { Recover(); }
  ZoPtPushLayerFree(const ZoPtPushLayerFree&) = delete;
  ZoPtPushLayerFree& operator=(const ZoPtPushLayerFree&) = delete;

  // Locks the recorded layers again now and forgets them; the destructor then has nothing to do.
  void Recover();

 private:
  ZoDbObjectIdList m_layers;
};

// Keeps an integer system variable at a value for a scope and puts the user's back on every exit
// (nothing when it could not be read). Module-internal.
class ZoPtPushSysVar {
 public:
  ZoPtPushSysVar(const wchar_t* pszName, int nValue);
  ~ZoPtPushSysVar();
  ZoPtPushSysVar(const ZoPtPushSysVar&) = delete;
  ZoPtPushSysVar& operator=(const ZoPtPushSysVar&) = delete;

 private:
  const wchar_t* m_pszName;
  resbuf m_saved{};
  bool m_bSaved = false;
};
