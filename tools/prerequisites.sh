#!/usr/bin/env bash
# Installs the Debian packages that building, the demo and the tests need, when some are missing:
# as root directly, otherwise through sudo when the user agrees at the terminal. Where it cannot
# install, it prints the one command that would and stops with status 2. Only the distribution's
# own packages are installed. Quiet when nothing is missing.
#   tools/prerequisites.sh
set -euo pipefail

packages=(cmake g++ make ninja-build binutils libgtest-dev libgmock-dev libbenchmark-dev libpng-dev libjpeg-dev libgif-dev)
# make test-windows: the MinGW-w64 cross-compiler and Wine to run what it builds.
if [ -n "${TOVU_WINDOWS:-}" ]; then
  packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64)
fi

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  echo "prerequisites: this is no Debian system; install the equivalents of: ${packages[*]}" >&2
  exit 2
fi

missing=()
installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null || true)
for pkg in "${packages[@]}"; do
  grep -q -E "^${pkg//+/\\+} ii" <<<"$installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

command="apt-get install -y --no-install-recommends ${missing[*]}"
install() {
  echo "prerequisites: installing ${missing[*]}"
  "$@" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "$@" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
if [ "$(id -u)" -eq 0 ]; then
  install env
  exit 0
fi
if command -v sudo >/dev/null 2>&1 && [ -t 0 ] && [ -t 1 ]; then
  read -r -p "prerequisites: ${missing[*]} missing; install them with sudo? [y/N] " answer
  if [[ "$answer" =~ ^[Yy] ]]; then
    install sudo
    exit 0
  fi
fi
echo "prerequisites: missing ${missing[*]}. Install them, then run this again:" >&2
echo "  sudo $command" >&2
exit 2
