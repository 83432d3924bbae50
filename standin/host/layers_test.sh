#!/usr/bin/env bash
# No layer of the host stand-in calls up: every symbol an object file of one layer needs from the
# stand-in itself is defined in that layer or below (core 1, drawing 2, view 3, interaction 4,
# commands 5). Weak definitions (inline functions, templates) are emitted wherever they are used
# and say nothing about layers, so only strong definitions count.
# Usage: layers_test.sh OBJECT... (or one ;-separated list, as CMake hands a list over)
set -euo pipefail
joined=$(IFS=';' && echo "$*")
IFS=';' read -r -a objects <<<"$joined"
set -- "${objects[@]}"
rank() {
  case "$1" in
    */core/*) echo 1 ;; */drawing/*) echo 2 ;; */view/*) echo 3 ;; */interaction/*) echo 4 ;; */commands/*) echo 5 ;;
    *) echo 0 ;;
  esac
}
declare -A definedIn=()
for obj in "$@"; do
  r=$(rank "$obj")
  [ "$r" -eq 0 ] && { echo "$obj: in no layer"; exit 1; }
  while read -r sym type _; do
    case "$type" in T | D | B | R) definedIn[$sym]=$r ;; esac
  done < <(nm --defined-only --format=posix "$obj")
done
[ "${#definedIn[@]}" -gt 0 ] || { echo "no symbols read from $# objects"; exit 1; }
status=0
for obj in "$@"; do
  r=$(rank "$obj")
  while read -r sym _; do
    theirs=${definedIn[$sym]:-0}
    if [ "$theirs" -gt "$r" ]; then
      echo "$(basename "$obj" .o) (layer $r) calls up into layer $theirs: $(c++filt "$sym")"
      status=1
    fi
  done < <(nm --undefined-only --format=posix "$obj")
done
[ "$status" -eq 0 ] && echo "no layer of the host stand-in calls a layer above it ($# objects)"
exit "$status"
