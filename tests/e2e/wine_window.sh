#!/usr/bin/env bash
# Drives the Windows edition's quillon.exe under Wine on Xvfb as a person
# would, against the Linux build of the same tree.
#   wine_window.sh QUILLON_EXE LINUX_QUILLON windowed
#     answer No: an 800x600 client area whose pane and menu after F2 equal the
#     Linux build's for the same input (the ticker moves, so it is left out);
#     Escape: exit 0
#   wine_window.sh QUILLON_EXE - fullscreen
#     answer Yes: the window covers the screen (Xvfb's fixed screen cannot
#     take 800x600, so the frame is scaled onto the desktop's own mode), it
#     shows the frame; Escape: exit 0
# No sound device is reachable (Wine's sound drivers are switched off): the
# viewer runs silently. Runs on the X display in DISPLAY, the one Wine's
# server was started on (Wine keeps the screen it first saw), with WINEPREFIX
# made beforehand (wineboot); a persistent wineserver saves each run's start.
# Screenshots go to OUT_DIR when it is set.
set -u
exe=$1
linux=$2
mode=$3
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winealsa.drv,winepulse.drv,wineoss.drv,winecoreaudio.drv=d;mscoree,mshtml="
export SDL_AUDIODRIVER=dummy
out=${OUT_DIR:-$(mktemp -d)}

[ -n "${DISPLAY:-}" ] || fail "no DISPLAY: run it on the Xvfb screen Wine was started on"
screen=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ {print $2}')
[ -n "$screen" ] || fail "cannot reach the display $DISPLAY"
app=
trap '[ -n "$app" ] && kill $app 2>/dev/null' EXIT

# The window helpers (find_window, wait_window, fail) are the Linux runs'.
. "$(dirname "$0")/lib.sh"
box=none
# Starts a program in the background; answers the question box with a key.
start() {
  "$@" &
  app=$!
}
answer() {
  box=none
  box=$(wait_window "") || fail "no question box appeared"
  size=$(xwininfo -id "$box" | awk '/geometry/ {print $2}')
  case "$size" in 800x600*|${screen}*) fail "the main window appeared before the question ($size)";; esac
  # The box may be listed a moment before it is mapped and can take focus.
  for i in $(seq 20); do timeout 2 xdotool windowfocus --sync "$box" 2>/dev/null && break; sleep 0.2; done
  [ $i -lt 20 ] || fail "cannot focus the question box"
  sleep 0.2
  xdotool key "$1"
}
# The viewer ends with 0 on Escape held across a frame.
escape_ends() {
  timeout 3 xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
  for i in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
  kill -0 $app 2>/dev/null && fail "$2 still running 10 s after Escape"
  wait $app
  local rc=$?
  app=
  [ $rc -eq 0 ] || fail "$2: exit code $rc after Escape"
}
# Page 2 in a window, the pointer parked on the title: the shot as P6 PPM.
page_two() {
  local win=$1 shot=$2
  xdotool mousemove --window "$win" 300 60
  timeout 3 xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool keydown F2; sleep 0.2; xdotool keyup F2
  sleep 1
  import -window "$win" -depth 8 "ppm:$shot" 2>/dev/null || fail "no screenshot"
}
# The pane (44..762 x 185..579) and the menu (576..799 x 0..140) of a shot.
crop() {
  convert "$1" \( -clone 0 -crop 719x395+44+185 \) \( -clone 0 -crop 224x141+576+0 \) -delete 0 -append +repage \
    -depth 8 "rgb:$2"
}

case "$mode" in
windowed)
  start "$linux"
  answer Escape
  ref=$(wait_window 800x600 "$box") || fail "no Linux window"
  sleep 1
  page_two "$ref" "$out/linux-page2.ppm"
  escape_ends "$ref" "the Linux build"

  start wine "$exe"
  answer Escape
  win=$(wait_window "" "$box") || fail "no window after answering No"
  sleep 1
  size=$(xwininfo -id "$win" | awk '/geometry/ {print $2}')
  [ "${size%%+*}" = 800x600 ] || fail "window geometry $size, expected an 800x600 client area"
  page_two "$win" "$out/wine-page2.ppm"
  escape_ends "$win" "quillon.exe"
  crop "$out/linux-page2.ppm" "$out/linux.rgb"
  crop "$out/wine-page2.ppm" "$out/wine.rgb"
  cmp -s "$out/linux.rgb" "$out/wine.rgb" ||
    fail "pane and menu differ from the Linux build's ($(cmp -l "$out/linux.rgb" "$out/wine.rgb" | wc -l) bytes)"
  echo "ok: windowed, $size, page 2 equals the Linux frame, exit 0"
  ;;
fullscreen)
  start wine "$exe"
  answer Return
  win=$(wait_window "$screen" "$box") || fail "no ${screen} window after answering Yes"
  # The frame is shown (its first frames wait for Wine's renderer): scaled
  # to the screen's height and centred, black bars beside it.
  w=${screen%x*} h=${screen#*x}
  fw=$(( h * 4 / 3 )) ; [ $fw -gt $w ] && fw=$w
  left=$(( (w - fw) / 2 ))
  lit=0
  for i in $(seq 30); do
    import -window root -depth 8 "ppm:$out/wine-fullscreen.ppm" 2>/dev/null
    lit=$(convert "$out/wine-fullscreen.ppm" -crop ${fw}x${h}+${left}+0 -colorspace gray -threshold 20% -format "%[fx:mean]" info:)
    awk -v m="$lit" 'BEGIN { exit !(m > 0.05) }' && break
    sleep 0.5
  done
  awk -v m="$lit" 'BEGIN { exit !(m > 0.05) }' || fail "the full screen shows no frame (lit fraction $lit)"
  if [ $left -gt 0 ]; then
    bars=$(convert "$out/wine-fullscreen.ppm" \( -clone 0 -crop $((left - 1))x${h}+0+0 \) \
      \( -clone 0 -crop $((left - 1))x${h}+$((left + fw + 1))+0 \) -delete 0 -append -format "%[fx:maxima]" info:)
    awk -v m="$bars" 'BEGIN { exit !(m == 0) }' || fail "the bars beside the frame are not black ($bars)"
  fi
  escape_ends "$win" "quillon.exe"
  echo "ok: fullscreen on ${screen}, frame ${fw}x${h} at x ${left} (lit $lit), exit 0"
  ;;
*) fail "mode $mode?" ;;
esac
