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

fail() { echo "FAIL: $*" >&2; exit 1; }

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

# Xvfb picks a free display itself and names it: runs in parallel never race
# for the same number.
dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; [ -n "${app:-}" ] && kill $app 2>/dev/null; rm -f "$dfile"' EXIT
for i in $(seq 100); do [ -s "$dfile" ] && break; sleep 0.1; done
disp=$(head -n1 "$dfile")
[ -n "$disp" ] || fail "Xvfb did not start"
export DISPLAY=:$disp
for i in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$bin" &
app=$!

# window_id TITLE WIDTH: the id of the window with that title and width.
find_window() {
  xwininfo -root -tree 2>/dev/null | awk -v w="$1" '/"QUILLON"/ { split($0, a, " "); for (i in a) if (a[i] ~ /^[0-9]+x[0-9]+\+/) { split(a[i], s, "x"); if (w == "" || s[1] == w) { print $1; exit } } }'
}
wait_window() {
  for i in $(seq 100); do
    id=$(find_window "$1")
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 $app 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

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

xdotool windowfocus --sync "$win" 2>/dev/null
xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
for i in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
kill -0 $app 2>/dev/null && fail "viewer still running 10 s after Escape"
wait $app
rc=$?
app=
[ $rc -eq 0 ] || fail "exit code $rc after Escape"
echo "ok: $mode, geometry $geometry, exit 0"
