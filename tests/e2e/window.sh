#!/bin/bash
# The real program under Xvfb: started as the IDE starts it, found by its
# title, photographed, closed through the window manager protocol; started
# without arguments, its file chooser cancelled; started without a display.
# Every path must end with exit status 0.
# Usage: window.sh PROGRAM REPOSITORY_ROOT
set -u
program=$1
root=$2

if [ -z "${PBZ_E2E_IN_XVFB:-}" ]; then
  PBZ_E2E_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    bash "$0" "$@"
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# There is no window manager here: send WM_DELETE_WINDOW ourselves, as a
# window manager does when the user clicks the frame's close button.
cat > "$scratch/wm_delete.c" <<'C'
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Display* display = XOpenDisplay(NULL);
  if (!display) return 1;
  XEvent event = {0};
  event.xclient.type = ClientMessage;
  event.xclient.window = (Window)strtoul(argv[1], NULL, 0);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);
  return 0;
}
C
cc -o "$scratch/wm_delete" "$scratch/wm_delete.c" -lX11 || { echo "cannot build the helper"; exit 1; }

# Waits up to $2 seconds for process $1 and sets status to its exit status.
wait_status() {
  local pid=$1 limit=$2 k
  for ((k = 0; k < limit * 10; k++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      return
    fi
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  status=timeout
}

find_window() {  # title regex
  timeout 20 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1
}

# 1. As the IDE starts it: file, selection, word.
"$program" "$root/examples/main.pb" "44x20x44x31" "AddContact" 2>"$scratch/err1" &
pid=$!
wid=$(find_window '^PB Zetrolin$')
if [ -z "$wid" ]; then
  fail "window not found"
else
  sleep 1
  import -window "$wid" "$scratch/shot.png"
  size=$(identify -format '%wx%h' "$scratch/shot.png" 2>/dev/null)
  [ "$size" = "1000x610" ] || fail "screenshot size '$size', want 1000x610"
  # Many colours: buttons, rows in their file colours, text.
  colours=$(identify -format '%k' "$scratch/shot.png" 2>/dev/null)
  [ "${colours:-0}" -gt 20 ] || fail "screenshot looks empty ($colours colours)"
  [ -n "${PBZ_E2E_SHOT:-}" ] && cp "$scratch/shot.png" "$PBZ_E2E_SHOT"
  "$scratch/wm_delete" "$wid" || fail "cannot send WM_DELETE_WINDOW"
fi
wait_status "$pid" 20
[ "$status" = 0 ] || { fail "close request: exit status $status"; cat "$scratch/err1"; }

# 2. Without arguments the file chooser opens; Escape cancels it and ends the program.
"$program" 2>"$scratch/err2" &
pid=$!
cid=$(find_window '^Datei w')
if [ -z "$cid" ]; then
  fail "file chooser not found"
else
  xdotool windowfocus --sync "$cid" 2>/dev/null
  sleep 0.5
  xdotool key Escape
fi
wait_status "$pid" 20
[ "$status" = 0 ] || { fail "cancelled chooser: exit status $status"; cat "$scratch/err2"; }

# 3. The X window destroyed from outside: the program ends, still with 0.
"$program" "$root/examples/main.pb" 2>"$scratch/err3" &
pid=$!
wid=$(find_window '^PB Zetrolin$')
[ -n "$wid" ] && xdotool windowclose "$wid" 2>/dev/null
wait_status "$pid" 20
[ "$status" = 0 ] || { fail "destroyed window: exit status $status"; cat "$scratch/err3"; }

# 4. No display: a clear message and 0.
env -u DISPLAY "$program" "$root/examples/main.pb" >/dev/null 2>"$scratch/err4"
status=$?
[ "$status" = 0 ] || fail "no display: exit status $status"
grep -q "cannot open the display" "$scratch/err4" || fail "no display: message missing"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all window runs ended with 0"
