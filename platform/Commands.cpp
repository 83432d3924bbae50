// The module's commands and their table: "ZoFlicker" blinks what the user selects until
// "ZoEndFlicker" (or the module's unload) stops it.
#include "ads/AdsEntFlicker.h"
#include "ads/AdsEntSet.h"
#include "input/Picking.h"
#include "platform/Localization.h"
#include "platform/Module.h"

namespace {

// The flicker singleton once a "ZoFlicker" obtained entities; never reset, so that
// "ZoEndFlicker" also stops a flicker an application started since.
ZoAdsEntFlicker* g_pCurFlicker = nullptr;

// "sample" exists so that the group is never empty; it does nothing.
void ZoCmdSample() {}

void ZoCmdEndFlicker() {
  if (g_pCurFlicker) g_pCurFlicker->EndFlicker();
}

void ZoCmdFlicker() {
  ZoAdsEntSet set(ZoAdsEntSet::kOwnSet);
  ZoAdsRBList filter;
  ZoPtSelectEntities(Translate(L"\n选择闪烁对象"), set, filter);  // nothing selected leaves a running flicker alone
  if (set.GetLength() < 1) return;
  g_pCurFlicker = ZoAdsEntFlicker::GetFlickerInstance();
  if (!g_pCurFlicker) return;
  ZoCmdEndFlicker();
  g_pCurFlicker->SetEntity(set);
  g_pCurFlicker->Flicker(-1);
}

}  // namespace

const wchar_t* const g_pszCmdGroup = L"TovuPlatform";

const ZoCmdTable g_cmdTable[] = {
    {L"sample", ZoCmdSample, ACRX_CMD_USEPICKSET},
    {L"ZoFlicker", ZoCmdFlicker, ACRX_CMD_USEPICKSET},
    {L"ZoEndFlicker", ZoCmdEndFlicker, ACRX_CMD_USEPICKSET},
};

const int g_nCmdCount = static_cast<int>(sizeof(g_cmdTable) / sizeof(g_cmdTable[0]));
