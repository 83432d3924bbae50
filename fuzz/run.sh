#!/usr/bin/env bash
# Builds the fuzzers of the file readers (slides, DIBs, DXF drawings) with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz, writes their seed corpora with the image tests,
# and runs each for SECONDS (default 60) on the seeds, the real test data and what earlier
# runs found (build/fuzz/corpus/NAME). A crash leaves its input in build/fuzz/crashes/ and
# fails the run; turn it into a regression test.
#   fuzz/run.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed, so the fuzzers were not built or run (install clang to fuzz)"
  exit 0
fi

build=build/fuzz
# The stand-ins are shared libraries: they and the fuzzers share clang's shared ASan runtime,
# which is preloaded so that it comes first.
runtime=$(clang++ -print-file-name=libclang_rt.asan-x86_64.so)
compile="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all -fsanitize=fuzzer-no-link -shared-libasan"
link="-fsanitize=address,undefined -shared-libasan -Wl,-rpath,$(dirname "$runtime")"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVU_BUILD_FUZZ=ON \
  "-DCMAKE_CXX_FLAGS=$compile" "-DCMAKE_EXE_LINKER_FLAGS=$link" "-DCMAKE_SHARED_LINKER_FLAGS=$link" \
  "-DCMAKE_MODULE_LINKER_FLAGS=$link" >/dev/null
cmake --build "$build" -j2 --target image_test slide_fuzzer dib_fuzzer dxf_fuzzer

# Only the instrumented programs get the runtime: plain tools (cp) under it would fail its leak check.
sanitized() { LD_PRELOAD=$runtime ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 "$@"; }
# The slide and DIB file tests keep the well-formed files they read as seeds; the sample slide
# joins them.
sanitized "$build/bin/image_test" --gtest_filter='SlideFile.*:DibFile.*' >/dev/null
cp examples/floorplan.sld "$build/fuzz/seeds/slide/"
# The drawings committed with the host stand-in's tests seed the DXF reader.
mkdir -p "$build/fuzz/seeds/dxf"
cp standin/host/drawing/testdata/*.dxf "$build/fuzz/seeds/dxf/"
# And two small binary drawings, of one-byte group codes (before release 13) and of two-byte ones.
zero='\0\0\0\0\0\0\0\0' one='\0\0\0\0\0\0\xf0\x3f'
printf "AutoCAD Binary DXF\r\n\x1a\0\0SECTION\0\x02ENTITIES\0\0LINE\0\x08A\0\x0a$zero\x14$zero\x0b$one\x15$one\0ENDSEC\0\0EOF\0" \
  >"$build/fuzz/seeds/dxf/line-r12.bin.dxf"
printf "AutoCAD Binary DXF\r\n\x1a\0\0\0SECTION\0\x02\0ENTITIES\0\0\0CIRCLE\0\x08\0A\0\x0a\0$zero\x14\0$zero\x28\0$one\0\0ENDSEC\0\0\0EOF\0" \
  >"$build/fuzz/seeds/dxf/circle-r2000.bin.dxf"

testdata=../shared/testdata
mkdir -p "$build/crashes"
status=0
run() {
  local name=$1 max_len=$2
  shift 2
  local corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  local extra=()
  for dir in "$@"; do [ -d "$dir" ] && extra+=("$dir"); done
  echo "fuzz: $name for $seconds s"
  if ! sanitized "$build/bin/$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/crashes/$name-" "$corpus" "$build/fuzz/seeds/${name%_fuzzer}" \
    "${extra[@]}" >"$build/$name.log" 2>&1; then
    echo "fuzz: $name FAILED; the input is in $build/crashes/, the log in $build/$name.log"
    grep -E '^(==[0-9]+==ERROR|SUMMARY)' "$build/$name.log" || tail -20 "$build/$name.log"
    status=1
  fi
  grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb))' \
    "$build/$name.log" | sed "s/^/fuzz: $name: /"
}
run slide_fuzzer 4096 "$testdata/slides"
run dib_fuzzer 16384 "$testdata/bmp/good" "$testdata/bmp/bad" "$testdata/bmp/questionable"
run dxf_fuzzer 262144 "$testdata/dxf"
exit $status
