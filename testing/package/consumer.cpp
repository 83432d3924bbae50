// Uses one name of every header the umbrella header promises, so that a header left out of it,
// or a name left out of the module's exports, fails to build or to link here.
#include <cstdio>

#include "TovuPlatform.h"

int main() {
  // Functions are taken by address: the link needs the module's export of each.
  const void* exported[] = {
      reinterpret_cast<const void*>(static_cast<int (*)(const AcDbObjectId&)>(&ZoPtFlicterEnt)),
      reinterpret_cast<const void*>(&CreateAttributeBlock),
      reinterpret_cast<const void*>(&IsArxLoaded),
      reinterpret_cast<const void*>(&CreateRegionFromPoly2d),
      reinterpret_cast<const void*>(&ColorToRGB),
      reinterpret_cast<const void*>(&PaletteSize),
      reinterpret_cast<const void*>(static_cast<bool (*)(const wchar_t*, double&)>(&ZoPtGetVar)),
      reinterpret_cast<const void*>(&acrxEntryPoint),
  };
  // Classes are made, or measured where making one needs a running host.
  ZoDynArray<int> dyn;
  dyn.Append(1);
  ZoArray<int> fixed(2);
  Zo2dArray<int> grid;
  ZoList<int> list;
  ZoDList<int> dlist;
  ZoXList<int> xlist;
  ZoDynPArray<double> owning;
  ZoPDList<double> owningList;
  ZoPXList<double> owningIndexed;
  ZoDbObjectIdList ids;
  const size_t sizes[] = {sizeof(ZoAdsEnt),      sizeof(ZoAdsEntSet),  sizeof(ZoAdsEntFlicker),
                          sizeof(ZoAdsRBList),   sizeof(ZoAdsMatrix),  sizeof(ZoPtImageDraw),
                          sizeof(ZoPtImageList), sizeof(ZoPtRegistry), sizeof(ZoPtInitGet), sizeof(ZoPtPushUndo)};
  size_t total = 0;
  for (size_t s : sizes) total += s;
  int missing = 0;
  for (const void* p : exported) missing += p == nullptr;
  std::printf("%zu exported functions, %zu bytes of classes, %ld elements\n", sizeof exported / sizeof *exported, total,
              static_cast<long>(dyn.GetLength() + fixed.GetLength() + grid.GetLength() + list.GetLength() +
                                dlist.GetLength() + xlist.GetLength() + owning.GetLength() + owningList.GetLength() +
                                owningIndexed.GetLength() + ids.GetLength()));
  return missing;
}
