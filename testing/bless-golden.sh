#!/usr/bin/env bash
# Makes the images a golden-image test painted (NAME.out.png under BUILD/golden/) the new
# references beside the tests, after a person has looked at them.
#   testing/bless-golden.sh [BUILD_DIR]     (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
root="$build/golden"
if [ ! -d "$root" ]; then
  echo "nothing to bless: $root does not exist (run the tests first)"
  exit 0
fi
count=0
while IFS= read -r -d '' out; do
  rel=${out#"$root"/}
  ref=${rel%.out.png}.png
  mkdir -p "$(dirname "$ref")"
  cp "$out" "$ref"
  rm -f "$out" "${out%.out.png}.diff.png"
  echo "blessed $ref"
  count=$((count + 1))
done < <(find "$root" -name '*.out.png' -print0)
echo "$count reference image(s) updated"
