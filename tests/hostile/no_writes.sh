#!/bin/bash
# Nothing is written: every batch listing and the window's listings run under
# strace; any file opened for writing, created, renamed or removed fails the
# test. The X connection is a socket (connect, not a file call); the window
# runs with a private HOME that must stay untouched as well.
# Usage: no_writes.sh PROGRAM REPOSITORY_ROOT
set -u
prog=$(readlink -f "$1")
root=$2
main=$root/examples/main.pb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v strace > /dev/null || { echo "strace is missing"; exit 1; }
fail=0

check() {  # check LOG WHAT
  local bad
  if ! grep -q "examples/main.pb" "$1"; then
    echo "FAILED: $2 did not run (the main file was never opened)"; fail=1; return
  fi
  bad=$(grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|^[0-9]+ +(creat|unlink|unlinkat|rename|renameat2?|mkdir|mkdirat|rmdir|symlink|symlinkat|link|linkat|truncate|chmod|fchmodat|chown|utimensat)\(' "$1" \
        | grep -v -E '"/dev/(null|tty|pts/[0-9]+)"' | grep -v ENOENT)
  if [ -n "$bad" ]; then
    echo "FAILED: $2 writes:"; echo "$bad" | head -20; fail=1
  else
    echo "ok: $2"
  fi
}

for listing in "procedures" "calls FillContactList" "terms Contacts" "all-calls" "declares"; do
  # shellcheck disable=SC2086
  strace -f -qq -e trace=%file -o "$work/log" "$prog" --list $listing "$main" > /dev/null 2>&1
  check "$work/log" "batch $listing"
done

if command -v xvfb-run > /dev/null; then
  mkdir -p "$work/home"
  for mode in startup allcalls; do
    HOME=$work/home GTK_MODULES= GTK2_RC_FILES=/dev/null NO_AT_BRIDGE=1 PBZ_BENCH=$mode \
      timeout 120 xvfb-run -a strace -f -qq -e trace=%file -o "$work/log.$mode" \
      "$prog" "$main" "" "FillContactList" > /dev/null 2>&1
    # Only the program's own calls count, not xvfb-run's or Xvfb's.
    check "$work/log.$mode" "window $mode"
  done
fi
exit $fail
