// Fuzzes the DXF reader with whole files held in memory; a drawing it accepts is opened in the
// session and every entity's data is listed, as acdbEntGet lists it for the module.
#include <acedads.h>
#include <acutads.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/dxf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring error;
  std::unique_ptr<AcDbDatabase> db =
      standin::ReadDxf(std::string_view(reinterpret_cast<const char*>(data), size), L"fuzz.dxf", error);
  if (!db) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  standin::OpenDrawing(std::move(db));
  ads_name ent;
  // Every entity once, each followed by its sub-entities: the walk ends.
  for (int rc = acdbEntNext(nullptr, ent); rc == RTNORM; rc = acdbEntNext(ent, ent)) {
    if (resbuf* list = acdbEntGet(ent)) acutRelRb(list);
  }
  standin::OpenEmptyDrawing();
  return 0;
}
