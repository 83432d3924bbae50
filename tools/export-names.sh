#!/usr/bin/env bash
# Prints the names a shared library exports, one a line, as the linker sees them: the dynamic
# symbols of an ELF object, or the export table of a Windows DLL. With -C, demangled.
#   tools/export-names.sh [-C] LIBRARY
set -euo pipefail
demangle=cat
if [ "$1" = -C ]; then demangle=c++filt; shift; fi
library=$1
if [ "$(head -c 2 "$library")" = MZ ]; then
  [ "$demangle" = cat ] || demangle=x86_64-w64-mingw32-c++filt
  x86_64-w64-mingw32-objdump -p "$library" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' \
    | sed -n 's/^\s*\[ *[0-9]*\] //p' | $demangle | sort -u
else
  nm -D --defined-only "$library" | cut -d' ' -f3 | $demangle | sort -u
fi
