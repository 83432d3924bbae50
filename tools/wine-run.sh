#!/usr/bin/env bash
# Runs a Windows program of the windows build under Wine, in a prefix of that build's own
# (BUILD/wineprefix, made on first use), with the MinGW runtime DLLs on Wine's search path.
#   tools/wine-run.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
program=$1
build=$(cd "$(dirname "$program")/.." && pwd)
export WINEPREFIX=$build/wineprefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
threads=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
windows_path() { local p; p=$(cd "$1" && pwd); echo "Z:${p//\//\\}"; }
export WINEPATH="$(windows_path "$runtime");$(windows_path "$threads")"
# Test programs start in parallel: one of them makes the prefix while the others wait.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$build"
  flock "$build/wineprefix.lock" bash -c '[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1'
fi
exec wine "$@"
