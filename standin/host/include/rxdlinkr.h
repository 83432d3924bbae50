// Just enough of the host's dynamic linker, behaving as the host's does, for modules to be loaded
// and unloaded.
#pragma once

#include <acadstrc.h>
#include <rxdefs.h>
#include <rxdict.h>

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
};

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))
