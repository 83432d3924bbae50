// Just enough of the host's command stack, behaving as the host's does, for a module to define
// its commands and take them away again.
#pragma once

#include <acadstrc.h>
#include <rxdefs.h>
#include <rxdict.h>

#include <string>

#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004
#define ACRX_CMD_NOPERSPECTIVE 0x00000008
#define ACRX_CMD_NOMULTIPLE 0x00000010
#define ACRX_CMD_NOTILEMODE 0x00000020
#define ACRX_CMD_NOPAPERSPACE 0x00000040

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
  AcEdCommand* lookupCmd(const ACHAR* cmdName, bool globalFlag, bool allGroups = false, bool skipUndefed = false) const;
  Acad::ErrorStatus removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName);
  // eKeyNotFound for a group that does not exist.
  Acad::ErrorStatus removeGroup(const ACHAR* groupName);
};

#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))
