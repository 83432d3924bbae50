// The pictures README shows besides the demo's animation, for `make docs-images`: the sample floor
// plan after the user dragged the round table into the bedroom with the module's placement drag.
//   tovu-docs-pictures OUT.png
#include <acedads.h>

#include <cstdio>

#include "drag/Drag.h"
#include "standin/host/core/session.h"
#include "standin/host/view/render.h"
#include "standin/win32/utf8.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tovu-docs-pictures OUT.png\n");
    return 2;
  }
  using standin::InputEvent;
  using standin::InputKind;
  standin::Session& session = standin::Session::Get();
  session.Reset();
  // The table is the sample's last entity; the user takes it by its centre, moves the cursor
  // through the doorway and clicks in the bedroom.
  ads_name table;
  acdbEntLast(table);
  ZoAdsEntSet set;
  set += ZoAdsEnt(table);
  ZoGePoint base(250, 400);
  session.Queue({InputEvent::At(InputKind::Cursor, 330, 330), InputEvent::At(InputKind::Cursor, 450, 280),
                 InputEvent::At(InputKind::Point, 560, 200)});
  if (ZoPtDragEntSet(set, base) != RTNORM) {
    std::fprintf(stderr, "tovu-docs-pictures: the drag did not place the table\n");
    return 1;
  }
  std::wstring error;
  if (!standin::WriteViewPng(standin::FromUtf8(argv[1]), error)) {
    std::fprintf(stderr, "tovu-docs-pictures: %s\n", standin::ToUtf8(error).c_str());
    return 1;
  }
  return 0;
}
