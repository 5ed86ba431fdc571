#!/bin/bash
# Takes the README's pictures of the window on the bundled example, under a
# virtual X display of its own: the calls of a procedure, a term search and
# "All Proc-Calls". Re-running it refreshes docs/images/*.png.
#
#   bash scripts/screenshots.sh            builds into build/ when needed
#   PBZ_BUILD_DIR=other bash scripts/screenshots.sh
#
# Needs xvfb (xvfb-run, xauth), xdotool, imagemagick and fonts-dejavu-core.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
build=${PBZ_BUILD_DIR:-build}
case $build in /*) ;; *) build=$root/$build ;; esac
images=$root/docs/images
program=$build/pbzetrolin
example=$root/examples/main.pb

if [ "${1:-}" != --inside ]; then
  for tool in xvfb-run xauth xdotool import convert cmake; do
    command -v "$tool" > /dev/null || { echo "screenshots.sh: $tool is missing" >&2; exit 1; }
  done
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" > /dev/null
  cmake --build "$build" -j2 --target pbzetrolin > /dev/null
  mkdir -p "$images"
  # The same screen, theme, fonts and empty home every time, so the pictures
  # change only when the window does.
  home=$(mktemp -d)
  trap 'rm -rf "$home"' EXIT
  # xvfb-run -a can pick a display number another server takes at the same
  # moment; a second try gets another one.
  for try in 1 2; do
    status=0
    env -u DISPLAY -u XAUTHORITY HOME="$home" GTK2_RC_FILES=/dev/null GTK_MODULES= NO_AT_BRIDGE=1 \
      LC_ALL=C.UTF-8 PBZ_BUILD_DIR="$build" \
      xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" --inside || status=$?
    [ $status -eq 0 ] && break
    [ $try -eq 1 ] && echo "screenshots.sh: trying once more on another display" >&2
  done
  exit "$status"
fi

# --- inside the virtual display ----------------------------------------------

pid=
stop_program() {
  if [ -n "$pid" ]; then
    kill "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
    pid=
  fi
}
trap stop_program EXIT

# The visible windows titled "PB Zetrolin": the main window and its message
# boxes share the title; the main window is the one at least 800 wide.
windows() {
  xdotool search --onlyvisible --name '^PB Zetrolin$' 2> /dev/null || true
}
width_of() {
  xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p'
}

# Waits up to 30 s for the main window and prints its id.
main_window() {
  local wid
  for _ in $(seq 300); do
    for wid in $(windows); do
      if [ "$(width_of "$wid")" -ge 800 ]; then
        echo "$wid"
        return 0
      fi
    done
    sleep 0.1
  done
  echo "screenshots.sh: the window did not appear" >&2
  return 1
}

# Waits up to 30 s for a message box next to the main window and presses
# Return in it.
confirm_message_box() {
  local main=$1 wid
  for _ in $(seq 300); do
    for wid in $(windows); do
      if [ "$wid" != "$main" ] && [ "$(width_of "$wid")" -lt 800 ]; then
        # No window manager: focus it ourselves, then type without --window.
        xdotool windowfocus --sync "$wid"
        xdotool key Return
        return 0
      fi
    done
    sleep 0.1
  done
  echo "screenshots.sh: the message box did not appear" >&2
  return 1
}

# Saves the main window as a small PNG: 64 colours, no dithering, no
# metadata (no time stamps, so an unchanged window gives the same file).
shoot() {
  local wid=$1 name=$2 raw
  [ -n "$wid" ] || exit 1  # import without a window would wait for a click
  # The pointer off the window: no hover highlight, no tooltip.
  xdotool mousemove 1270 1015
  sleep 1.5
  raw=$(mktemp --suffix=.png)
  import -window "$wid" "$raw"
  convert "$raw" -strip +dither -colors 64 -define png:exclude-chunks=date,time \
    "PNG8:$images/$name"
  rm -f "$raw"
  echo "$images/$name: $(stat -c %s "$images/$name") bytes"
}

# 1. Started by the IDE with the cursor on a procedure name: its calls.
"$program" "$example" "" FillContactList &
pid=$!
wid=$(main_window)
shoot "$wid" calls.png
stop_program

# 2. Started on a word that names no procedure: the message box, then the
# term search.
"$program" "$example" "" Phone &
pid=$!
wid=$(main_window)
confirm_message_box "$wid"
shoot "$wid" terms.png
stop_program

# 3. "All Proc-Calls", clicked on the button (290,2 110x28 in the window);
# the list, which ends on its newest row, is scrolled up with the wheel to
# where a procedure called above its definition (red line number) and a
# procedure never called (orange) show.
"$program" "$example" &
pid=$!
wid=$(main_window)
sleep 0.5
xdotool mousemove --window "$wid" 345 16 click 1
sleep 1
xdotool mousemove --window "$wid" 500 300 click --repeat 40 --delay 20 4 click --repeat 2 --delay 50 5
shoot "$wid" allcalls.png
stop_program
