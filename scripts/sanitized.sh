#!/bin/bash
# Builds the core, the batch command line and their tests with AddressSanitizer
# and UndefinedBehaviorSanitizer (no GTK: the toolkit's own leaks would drown
# the reports) and runs the unit tests and golden cases there.
#   bash scripts/sanitized.sh [BUILD_FOLDER]   (default build/asan)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/asan}
cmake -S "$root" -B "$build" -DPBZ_SANITIZE=ON -DPBZ_BUILD_GUI=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" > /dev/null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -E '^(hostile|no_writes|differential)' -j2
