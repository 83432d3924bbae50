// Just enough of the host's runtime-extension layer (application messages, the system
// registry with its dynamic linker and command stack), behaving as the host does, for a
// module to be loaded, define its commands and be unloaded.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "standin/host/adesk.h"
#include "standin/win32/windef.h"

namespace AcRx {
enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
  kCfgMsg = 6,
  kEndMsg = 7,
  kQuitMsg = 8,
  kSaveMsg = 9,
  kDependencyMsg = 10,
  kNoDependencyMsg = 11,
  kOleUnloadAppMsg = 12,
  kPreQuitMsg = 13,
  kInitDialogMsg = 14,
  kEndDialogMsg = 15,
  kSuspendMsg = 16,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

typedef void (*AcRxFunctionPtr)();
typedef AcRx::AppRetCode (*AcRxEntryPointFn)(AcRx::AppMsgCode msg, void* pkt);

#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004
#define ACRX_CMD_NOPERSPECTIVE 0x00000008
#define ACRX_CMD_NOMULTIPLE 0x00000010
#define ACRX_CMD_NOTILEMODE 0x00000020
#define ACRX_CMD_NOPAPERSPACE 0x00000040

#define ACRX_DYNAMIC_LINKER L"DynamicLinker"
#define ACRX_COMMAND_DOCK L"ACAD_REGISTERED_COMMANDS"

class AcRxClass;

class AcRxObject {
 public:
  virtual ~AcRxObject();
  static AcRxClass* desc();
  // The object's run-time class, as the host's ACRX_DECLARE_MEMBERS gives every class.
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* aClass) const;
};

// A run-time class record: the C++ class name, the DXF name of its objects and its parent.
class AcRxClass : public AcRxObject {
 public:
  AcRxClass(const ACHAR* name, const ACHAR* dxfName, AcRxClass* parent)
      : m_name(name), m_dxfName(dxfName), m_parent(parent) {}
  AcRxClass* isA() const override;
  const ACHAR* name() const { return m_name; }
  // NULL for classes whose objects have no DXF name.
  const ACHAR* dxfName() const { return m_dxfName; }
  AcRxClass* myParent() const { return m_parent; }
  bool isDerivedFrom(const AcRxClass* other) const;

 private:
  const ACHAR* m_name;
  const ACHAR* m_dxfName;
  AcRxClass* m_parent;
};

// The run-time class members of a class, as the host SDK's macro declares them.
#define ACRX_DECLARE_MEMBERS(CLASS) \
  static AcRxClass* desc();         \
  static CLASS* cast(const AcRxObject* inPtr); \
  AcRxClass* isA() const override

// Defines them; DXFNAME is a wide literal or nullptr.
#define ACRX_DEFINE_MEMBERS(CLASS, PARENT, DXFNAME)                                 \
  AcRxClass* CLASS::desc() {                                                       \
    static AcRxClass* cls = new AcRxClass(L## #CLASS, DXFNAME, PARENT::desc());    \
    return cls;                                                                    \
  }                                                                                \
  CLASS* CLASS::cast(const AcRxObject* inPtr) {                                    \
    return inPtr && inPtr->isKindOf(CLASS::desc()) ? const_cast<CLASS*>(static_cast<const CLASS*>(inPtr)) : nullptr; \
  }                                                                                \
  AcRxClass* CLASS::isA() const { return CLASS::desc(); }

class AcRxDictionary : public AcRxObject {
 public:
  // The entry of that key, or NULL.
  AcRxObject* at(const ACHAR* key) const;
  // Takes ownership; returns the entry it replaced (now the caller's), or NULL.
  AcRxObject* atPut(const ACHAR* key, AcRxObject* pObject);

 private:
  std::map<std::wstring, std::unique_ptr<AcRxObject>> m_entries;
};

AcRxDictionary* acrxSysRegistry();

class AcRxDynamicLinker : public AcRxObject {
 public:
  static AcRxDynamicLinker* cast(const AcRxObject* inPtr);

  // Loads the module, checks its API version and sends kInitAppMsg; false (with the host's
  // message when printit) when the file cannot be loaded, is no module of this host, is
  // loaded already, or refuses initialisation.
  bool loadModule(const ACHAR* fileName, bool printit, bool asCmd = false);
  // Sends kUnloadAppMsg and unloads; false for an unknown or locked application.
  bool unloadModule(const ACHAR* fileName, bool asCmd = false);
  Acad::ErrorStatus registerAppMDIAware(void* pkt) const;
  Acad::ErrorStatus registerAppNotMDIAware(void* pkt) const;
  bool isAppMDIAware(const ACHAR* appName) const;
  bool isApplicationLocked(const ACHAR* appName) const;
  // Sends a message to every loaded application, in load order.
  void sendToAll(AcRx::AppMsgCode msg, void* data = nullptr);
  // The file names of the loaded modules, in load order.
  std::vector<std::wstring> loadedModules() const;
  // Locks or unlocks the application of that id; false for an unknown id.
  bool setLocked(void* appId, bool locked);

  struct Application;

 private:
  std::vector<std::unique_ptr<Application>> m_apps;
};

bool acrxUnlockApplication(void* appId);
bool acrxLockApplication(void* appId);
bool acrxApplicationIsLocked(const ACHAR* modulename);
const ACHAR* acrxProductKey();
// The loaded applications: a new AcDbVoidPtrArray (returned as void*) of malloc'ed texts, one
// per module in load order, or NULL when none is loaded. The caller frees each text and deletes
// the array. Chosen: each text is the full path the module was loaded from.
void* acrxLoadedApps();

class AcEdCommand : public AcRxObject {
 public:
  AcEdCommand(const ACHAR* group, const ACHAR* globalName, const ACHAR* localName, Adesk::Int32 flags,
              AcRxFunctionPtr function);
  AcRxFunctionPtr functionAddr() const { return m_function; }
  Adesk::Int32 commandFlags() const { return m_flags; }
  const ACHAR* globalName() const { return m_globalName.c_str(); }
  const ACHAR* localName() const { return m_localName.c_str(); }
  const ACHAR* groupName() const { return m_group.c_str(); }

 private:
  std::wstring m_group, m_globalName, m_localName;
  Adesk::Int32 m_flags;
  AcRxFunctionPtr m_function;
};

class AcEdCommandStack : public AcRxObject {
 public:
  static AcEdCommandStack* cast(const AcRxObject* inPtr);

  // eDuplicateKey when the group already holds a command of that global or local name;
  // eInvalidInput for a missing name or function.
  Acad::ErrorStatus addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName, const ACHAR* cmdLocalName,
                               Adesk::Int32 commandFlags, AcRxFunctionPtr FunctionAddr);
  // The most recently added group is searched first; names compare case-insensitively.
  AcEdCommand* lookupCmd(const ACHAR* cmdName, bool globalFlag, bool allGroups = false,
                         bool skipUndefed = false) const;
  Acad::ErrorStatus removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName);
  // eKeyNotFound for a group that does not exist.
  Acad::ErrorStatus removeGroup(const ACHAR* groupName);
  bool hasGroup(const ACHAR* groupName) const;
  // Removes, with a note on standard error, every command whose function lies in module.
  void removeCommandsOf(HMODULE module);

 private:
  struct Group {
    std::wstring name;
    std::vector<std::unique_ptr<AcEdCommand>> commands;
  };
  Group* findGroup(const ACHAR* name);
  std::vector<Group> m_groups;  // in order of creation
};

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))
#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))

// Every module of this host exports it; loadModule refuses a module whose version differs.
extern "C" int acrxGetApiVersion();
#define TOVU_HOST_API_VERSION 18
