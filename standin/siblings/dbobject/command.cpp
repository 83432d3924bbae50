// Just enough of the database module's command definition, behaving as the family's does.
#include <ZoCommand.h>
#include <accmd.h>

#include <cstdio>

#include "standin/win32/utf8.h"

int ZoDefineCommand(const wchar_t* pszGroupName, const ZoCmdTable* pTable, int nCount, int /*nOption*/) {
  AcEdCommandStack* stack = acedRegCmds;
  if (!stack || !pszGroupName || !pTable || nCount <= 0) return 0;
  int defined = 0;
  for (int i = 0; i < nCount; ++i) {
    const ZoCmdTable& row = pTable[i];
    const Acad::ErrorStatus es =
        stack->addCommand(pszGroupName, row.m_pszCmdName, row.m_pszCmdName, row.m_nFlags, row.m_pfnCmd);
    if (es == Acad::eOk) {
      ++defined;
    } else {
      std::fprintf(stderr, "ZoDefineCommand: group %s refused row %d (%s), status %d\n",
                   standin::ToUtf8(pszGroupName).c_str(), i,
                   row.m_pszCmdName ? standin::ToUtf8(row.m_pszCmdName).c_str() : "no name", static_cast<int>(es));
    }
  }
  return defined;
}
