#!/bin/bash
# Builds the libFuzzer targets with clang and runs each for SECONDS seconds
# (default 8). Crashing inputs land in build/fuzz/artifacts/; copy them into
# fuzz/corpus/<target>/ as regression cases once fixed.
#   bash scripts/fuzz.sh            # short run, part of the test command
#   bash scripts/fuzz.sh 3600       # an hour per target
set -euo pipefail
seconds=${1:-8}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PBZ_FUZZ_BUILD:-$root/build/fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DPBZ_FUZZ=ON -DPBZ_BUILD_GUI=OFF \
  -DPBZ_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j"$(nproc)" > /dev/null
mkdir -p "$build/artifacts"
status=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=$root/fuzz/corpus/${name#fuzz_}
  work=$build/corpus/${name#fuzz_}
  mkdir -p "$work" "$seeds"
  echo "fuzzing $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$build/artifacts/" "$work" "$seeds" > "$build/$name.log" 2>&1; then
    echo "FAILED: $name (see $build/$name.log)"; tail -30 "$build/$name.log"; status=1
  else
    grep -E "^Done [0-9]+ runs" "$build/$name.log" || true
  fi
done
exit $status
