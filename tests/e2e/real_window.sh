#!/usr/bin/env bash
# Drives the real quillon binary under Xvfb as a person would.
#   real_window.sh QUILLON windowed   answer No, check the centred 800x600 window, Escape: exit 0
#   real_window.sh QUILLON fullscreen answer Yes, check the window covers the screen, Escape: exit 0
#   real_window.sh QUILLON nodisplay  no display reachable: exit -1 (255) at once, saying why
# A screenshot of the window is left as OUT_DIR/quillon-<mode>.png when OUT_DIR is set.
set -u
bin=$1
mode=$2
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=0:${ASAN_OPTIONS:-}

. "$(dirname "$0")/lib.sh"

if [ "$mode" = nodisplay ]; then
  start=$(date +%s%N)
  err=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$bin" 2>&1 >/dev/null)
  rc=$?
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  [ $rc -eq 255 ] || fail "exit code $rc without a display, expected 255"
  [ "$err" = "no display: run QUILLON in a desktop session" ] || fail "standard error: '$err'"
  [ $ms -lt 5000 ] || fail "took ${ms} ms to give up"
  echo "ok: exit 255 after ${ms} ms"
  exit 0
fi

start_xvfb 1024x768x24
start_viewer "$bin"

box=$(wait_window "") || fail "no question box appeared"
geometry=$(xwininfo -id "$box" | awk '/geometry/ {print $2}')
case "$geometry" in 800x600*|1024x768*) fail "the main window appeared before the question ($geometry)";; esac
xdotool windowfocus --sync "$box" || fail "cannot focus the question box"
if [ "$mode" = fullscreen ]; then xdotool key Return; want=1024; else xdotool key Escape; want=800; fi

wait_window $want >/dev/null || fail "no ${want}-wide QUILLON window after answering"
sleep 1
# Look again: the window may be made anew when its renderer starts.
win=$(wait_window $want) || fail "the ${want}-wide window went away"
geometry=$(xwininfo -id "$win" | awk '/geometry/ {print $2}')
if [ "$mode" = windowed ]; then
  [ "$geometry" = "800x600+112+84" ] || fail "window geometry $geometry, expected 800x600+112+84"
else
  [ "${geometry%%+*}" = "1024x768" ] || fail "full-screen geometry $geometry"
fi
if [ -n "${OUT_DIR:-}" ]; then
  import -window "$win" -depth 8 "png:$OUT_DIR/quillon-$mode.png" 2>/dev/null
fi
kill -0 $app 2>/dev/null || fail "viewer ended early"

stop_viewer "$win"
[ $rc -eq 0 ] || fail "exit code $rc after Escape"
echo "ok: $mode, geometry $geometry, exit 0"
