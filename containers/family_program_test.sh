#!/usr/bin/env bash
# Usage: family_program_test.sh PROGRAM
# The program runs, and defines no container member with linkage (what an implicit instantiation
# would add): the module's declarations kept it from compiling its own, so it uses the module's.
# Inlined bodies and their local clones are the optimiser's; data such as dispatch tables show up
# through copy relocations, so only functions count.
set -euo pipefail
program=$1
"$program"
own=$(nm -C --defined-only "$program" | awk '$2 ~ /^[TWi]$/' | cut -d' ' -f3- \
  | grep -E '^(zo_detail::)?(Zo(DynArrayBase|DynArray|DynPArray|Array|2dArray|List|DList|XList|PDList|PXList|ListNode|DListNode)|Owning|OwningList)<' || true)
if [ -n "$own" ]; then
  echo "FAIL: $(basename "$program") compiles container members of its own:"; echo "$own" | head -20
  exit 1
fi
echo "$(basename "$program") uses the module's containers and defines none"
