#!/bin/bash
# Installs what is missing on Debian 12, builds into build/ and runs every
# test (unit, golden, GUI, end to end). CTest's summary ends the output and
# its exit status is the script's.
#
#   bash scripts/test.sh              install, build, test
#   bash scripts/test.sh --build-only install and build (used by run-example.sh)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build_only=0
case "${1:-}" in
  "") ;;
  --build-only) build_only=1 ;;
  *) echo "usage: bash scripts/test.sh [--build-only]" >&2; exit 2 ;;
esac

# Everything the build and the tests need; xvfb, xauth and the fonts run the
# window headless, xdotool, xclip, x11-apps and imagemagick drive and
# photograph it, strace watches for writes; clang builds the fuzz targets;
# python3, time, bc and openssl generate and measure test programs.
packages=(cmake g++ make pkg-config libgtk2.0-dev libgtest-dev libgmock-dev googletest
          clang libclang-rt-14-dev python3 time bc openssl
          xvfb xauth fonts-dejavu-core xdotool xclip x11-apps imagemagick strace)

install_missing() {
  command -v dpkg-query >/dev/null && command -v apt-get >/dev/null || {
    echo "No apt here: install ${packages[*]} by hand if the build fails." >&2
    return 0
  }
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' ||
      missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  local as_root=()
  if ((EUID != 0)); then
    command -v sudo >/dev/null || {
      echo "Missing packages and neither root nor sudo: ${missing[*]}" >&2
      exit 1
    }
    as_root=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

install_missing
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build
cmake --build build -j"$jobs"
((build_only)) && exit 0
exec ctest --test-dir build --output-on-failure
