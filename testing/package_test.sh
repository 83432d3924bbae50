#!/usr/bin/env bash
# Installs the build tree into a scratch prefix and builds an application against the package,
# with the build's own compiler and flags (sanitizer builds need their runtime in the consumer).
# Usage: package_test.sh BUILD_DIR SOURCE_DIR CXX CXX_FLAGS LINKER_FLAGS
set -euo pipefail
build=$1 source=$2 cxx=$3 cxxflags=$4 ldflags=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
cmake -S "$source/testing/package" -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$work/consumer"
"$work/consumer/consumer"
