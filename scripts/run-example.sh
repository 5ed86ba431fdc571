#!/bin/bash
# Installs what is missing, builds, and starts the window on the bundled
# example the way the PureBasic IDE would: main file, an empty selection, and
# the word under the cursor (a procedure name, so its calls open at once).
#
#   bash scripts/run-example.sh [WORD]      WORD defaults to FillContactList
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
word=${1:-FillContactList}

bash scripts/test.sh --build-only

if [ -n "${DISPLAY:-}" ]; then
  exec "$root/build/pbzetrolin" "$root/examples/main.pb" "" "$word"
fi

# No X display (a server or a container): run the window on a virtual one and
# take a screenshot instead of showing it.
shot=$root/build/example.png
echo "No X display: running the window under Xvfb; screenshot goes to $shot"
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  "$1/build/pbzetrolin" "$1/examples/main.pb" "" "$2" &
  pid=$!
  status=1
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name "^PB Zetrolin\$" | head -n 1)
  if [ -n "$wid" ]; then
    sleep 1
    import -window "$wid" "$3" && status=0 && echo "Screenshot: $3"
  else
    echo "The window did not appear within 30 seconds." >&2
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  exit $status' _ "$root" "$word" "$shot"
