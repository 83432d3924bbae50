// The module's commands and their table.
#include "platform/Module.h"

namespace {
// "sample" exists so that the group is never empty; it does nothing.
void ZoCmdSample() {}
}  // namespace

const wchar_t* const g_pszCmdGroup = L"TovuPlatform";

const ZoCmdTable g_cmdTable[] = {
    {L"sample", ZoCmdSample, ACRX_CMD_USEPICKSET},
};

const int g_nCmdCount = static_cast<int>(sizeof(g_cmdTable) / sizeof(g_cmdTable[0]));
