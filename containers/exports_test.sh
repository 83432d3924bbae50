#!/usr/bin/env bash
# Usage: exports_test.sh MODULE
# The module exports the container instantiations the family links against (their members and
# type records), with the bases and nodes they are built on, and none of those it keeps inside.
set -euo pipefail
module=$1
# Demangled, with "> >" closed up so that names read as they are written.
symbols=$("$(dirname "$0")/../tools/export-names.sh" -C "$module" | sed -e ':a' -e 's/> >/>>/g' -e 'ta')
exported=()
internal=()

array() { exported+=("ZoDynArrayBase<$1>" "ZoDynArray<$1>"); }
lists() { exported+=("ZoListNode<$1>" "ZoList<$1>" "ZoDListNode<$1>" "ZoDList<$1>"); }
grid() { exported+=("ZoArray<$1>" "ZoArray<ZoArray<$1>>" "Zo2dArray<$1>"); }
owning() { # KIND X BASE LIST...: the owning container of X over BASE, with its internal layers
  local kind=$1 x=$2 base=$3 list=$4
  eval "$list+=(\"zo_detail::Owning<$kind<$x>, $x, $base>\" \"$kind<$x>\")"
  [ "$kind" = ZoDynPArray ] || eval "$list+=(\"zo_detail::OwningList<$kind<$x>, $x, $base>\")"
}
pointer_lists() { exported+=("ZoDynArrayBase<$1*>"); lists "$1*"; owning ZoPDList "$1" "ZoDList<$1*>" exported; }
indexed_lists() {
  exported+=("ZoDynArrayBase<$1*>"); lists "$1*"; array "ZoListNode<$1*>*"
  exported+=("ZoXList<$1*>"); owning ZoPXList "$1" "ZoXList<$1*>" exported
}
pointer_arrays() { array "$1*"; owning ZoDynPArray "$1" "ZoDynArray<$1*>" exported; }
internal_lists() { internal+=("ZoListNode<$1>" "ZoList<$1>" "ZoDListNode<$1>" "ZoDList<$1>"); }

array char
array double
exported+=("ZoDynArrayBase<int>" "ZoListNode<int>" "ZoList<int>")
array ZoGePoint; lists ZoGePoint
array ZoGeExtent
array ZoGeGridLineBJ
exported+=("ZoDynArrayBase<ZoGeGridNodeBJ>"); lists ZoGeGridNodeBJ; grid ZoGeGridNodeBJ
grid ZoGeGridCellBJ
for x in ZoGeGridSegBJ ZoDbGrip ZoDbGripDim ZoDynArrayStream; do pointer_arrays $x; done
exported+=("ZoDynArrayBase<ZoGePtQuadTree2d*>" "ZoListNode<ZoGePtQuadTree2d*>" "ZoList<ZoGePtQuadTree2d*>")
for x in ZoGeFace ZoGiObject ZoGeMLine2d ZoGeCurveMeshEdge ZoGeCurveMeshEdge3d ZoGeCurveMeshCell \
  ZoGeCurveMeshCell3d ZoDbReactorAndData ZoDbWallGraphEdge ZoDbWallGraphPath; do
  pointer_lists $x
done
for x in ZoGeCurveMeshNode ZoGeCurveMeshNode3d ZoGraphNode ZoDbWallGraphNode ZoGraphArc; do indexed_lists $x; done
owning ZoPDList ZoGraphArc "ZoDList<ZoGraphArc*>" exported
exported+=("ZoDynArrayBase<ZoPtImageLine*>" "ZoList<ZoPtImageLine*>" "ZoDList<ZoPtImageLine*>")
owning ZoPDList ZoPtImageLine "ZoDList<ZoPtImageLine*>" exported
internal+=("ZoListNode<ZoPtImageLine*>" "ZoDListNode<ZoPtImageLine*>")

internal_lists "ZoGeGridSegBJ*"
owning ZoPDList ZoGeGridSegBJ "ZoDList<ZoGeGridSegBJ*>" internal
for x in ZoDbBlockData ZoDbWallGraphNodeEx ZoPtImageHatch; do
  internal+=("ZoDynArrayBase<$x*>"); internal_lists "$x*"; owning ZoPDList $x "ZoDList<$x*>" internal
done
internal+=("ZoDynArrayBase<AcDbObjectId>"); internal_lists AcDbObjectId

# Whether some exported symbol starts with the text.
starts() { awk -v p="$1" 'index($0, p) == 1 { found = 1 } END { exit !found }' <<<"$symbols"; }
status=0
# An exported class comes with its members, and a polymorphic one (all but nodes) with its type record.
for c in "${exported[@]}"; do
  if ! starts "$c::"; then
    echo "FAIL: no member of $c is exported"; status=1
  elif [[ $c != *Node\<* ]] && ! grep -qxF "typeinfo for $c" <<<"$symbols"; then
    echo "FAIL: the type record of $c is not exported"; status=1
  fi
done
for c in "${internal[@]}"; do
  if starts "$c::" || grep -qxF -e "typeinfo for $c" -e "vtable for $c" <<<"$symbols"; then
    echo "FAIL: $c is exported"; status=1
  fi
done
[ $status -eq 0 ] && echo "container exports: ${#exported[@]} instantiations exported, ${#internal[@]} kept inside"
exit $status
