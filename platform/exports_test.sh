#!/usr/bin/env bash
# Usage: exports_test.sh MODULE STANDIN_LIB...
# The module exports acrxEntryPoint and acrxGetApiVersion, and no symbol that a stand-in defines.
set -euo pipefail
module=$1; shift
names="$(dirname "$0")/../tools/export-names.sh"
exports=$("$names" "$module")
status=0
for required in acrxEntryPoint acrxGetApiVersion; do
  if ! grep -qx "$required" <<<"$exports"; then
    echo "FAIL: $module does not export $required"; status=1
  fi
done
for lib in "$@"; do
  # Instantiations of the standard library are vague-linkage copies that any binary may carry.
  shared=$(comm -12 <(echo "$exports") <("$names" "$lib") \
    | grep -v -E '^(_init|_fini|_edata|_end|__bss_start)$' | grep -v -E '^_Z(T[ISV])?(N|NK)?S[tabdiso]' || true)
  if [ -n "$shared" ]; then
    echo "FAIL: $module exports symbols of $(basename "$lib"):"; echo "$shared" | c++filt | head -20; status=1
  fi
done
[ $status -eq 0 ] && echo "module exports: $(echo $exports | wc -w) symbols, none from the stand-ins"
exit $status
