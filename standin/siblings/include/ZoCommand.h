// Just enough of the database module's command definition, behaving as the family's does,
// for a module to define its command group from a table.
#pragma once

#include <rxdefs.h>

#include <cstdint>

struct ZoCmdTable {
  const wchar_t* m_pszCmdName;  // the global command name
  AcRxFunctionPtr m_pfnCmd;     // the handler
  int32_t m_nFlags;             // the host's command flags (ACRX_CMD_*)
};

// Adds each row's command to the group, under its name as global and local name, with the
// row's flags passed to the host unchanged. nOption is reserved: 0 is the only value in use.
// Returns the number of commands defined; a row the host refuses (a name already in the
// group, no name or handler) is skipped with a note on standard error.
int ZoDefineCommand(const wchar_t* pszGroupName, const ZoCmdTable* pTable, int nCount, int nOption);
