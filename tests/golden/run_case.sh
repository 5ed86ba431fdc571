#!/bin/bash
# Runs one golden case: copies the case folder to a scratch folder, runs its
# optional setup.sh there (for FIFOs, links and other things git cannot hold),
# runs the program with the lines of `args` (one argument each) and compares standard output with
# `expected` and the exit status with `status` (0 when absent).
# Optional `env`: KEY=VALUE lines, $CASE standing for the scratch folder.
set -u
prog=$1
case_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -a "$case_dir/." "$work/"
cd "$work" || exit 1
export CASE="$work"
if [ -f setup.sh ]; then bash setup.sh || { echo "setup failed"; exit 1; }; fi
envs=()
if [ -f env ]; then
  while IFS= read -r kv; do [ -n "$kv" ] && envs+=("$(eval echo "\"$kv\"")"); done < env
fi
mapfile -t words < args  # one argument per line
timeout 60 env "${envs[@]}" "$prog" "${words[@]}" > "$work/.actual" 2> "$work/.stderr"
status=$?
want_status=0
[ -f status ] && want_status=$(cat status)
ok=1
if [ "$status" != "$want_status" ]; then
  echo "exit status $status, expected $want_status"; cat "$work/.stderr"; ok=0
fi
if ! cmp -s expected "$work/.actual"; then
  echo "output differs from $case_dir/expected:"; diff expected "$work/.actual" | head -40; ok=0
fi
[ $ok = 1 ] && echo "ok: $(basename "$case_dir")"
[ $ok = 1 ]
