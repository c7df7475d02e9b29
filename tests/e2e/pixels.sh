#!/usr/bin/env bash
# The real binary under one Xvfb server of the given depth, against the
# scripted back end's frames: for every surface layout, windowed and full
# screen, the session script is played with xdotool and the window's
# screenshot must be one of the scripted run's frames, pixel for pixel
# (e2e_frames). With --audio, the first run also plays its sound through
# SDL's disk driver, and the bytes it consumed must equal the offline render.
#   pixels.sh QUILLON E2E_FRAMES E2E_GRAB SCRIPT DEPTH [--audio]
# The server is 1600 x 1200, so the full screen holds the frame in 2 x 2 blocks.
set -u
bin=$1
frames=$2
grab=$3
script=$4
depth=$5
audio=${6:-}
. "$(dirname "$0")/lib.sh"
export ASAN_OPTIONS=detect_leaks=0:${ASAN_OPTIONS:-}
out=$(mktemp -d)
start_xvfb 1600x1200x$depth
trap '[ -n "${app:-}" ] && kill $app 2>/dev/null; kill $xvfb 2>/dev/null; rm -f "$_dfile"; rm -rf "$out"' EXIT

# play WIN MODE SHOT: the script's inputs, at 60 frames a second, then the screenshot.
play() {
  local win=$1 mode=$2 shot=$3 k=1 ox=0 oy=0 at=0 frame kind a b
  if [ "$mode" = fullscreen ]; then
    local g w h
    g=$(xwininfo -id "$win" | awk '/geometry/ {print $2}')
    w=${g%%x*}; h=${g#*x}; h=${h%%+*}
    k=$(( w / 800 < h / 600 ? w / 800 : h / 600 ))
    ox=$(( (w - 800 * k) / 2 )); oy=$(( (h - 600 * k) / 2 ))
  fi
  xdotool windowfocus --sync "$win" 2>/dev/null
  while read -r frame kind a b <&4; do
    case "$frame" in ''|\#*) continue;; esac
    sleep "$(awk -v d=$(( frame - at )) 'BEGIN { printf "%.3f", d / 60 }')"
    at=$frame
    case "$kind" in
      key) xdotool keydown "$a"; sleep 0.25; xdotool keyup "$a"; at=$(( at + 15 ));;
      move) xdotool mousemove --window "$win" $(( ox + a * k + k / 2 )) $(( oy + b * k + k / 2 ));;
      click) xdotool mousemove --window "$win" $(( ox + a * k + k / 2 )) $(( oy + b * k + k / 2 ))
             xdotool mousedown 1; sleep 0.25; xdotool mouseup 1; at=$(( at + 15 ));;
      shot) timeout 20 "$grab" "$win" "$shot" || fail "no screenshot";;
    esac
  done 4< "$script"
}

shots=()
first=1
for layout in ${QUILLON_E2E_LAYOUTS:-xrgb8888 xbgr8888 rgb888 bgr888 rgb565 bgr565 rgb555 bgr555}; do
  for mode in ${QUILLON_E2E_MODES:-windowed fullscreen}; do
    unset SDL_DISKAUDIOFILE
    export SDL_AUDIODRIVER=dummy
    if [ -n "$audio" ] && [ $first = 1 ]; then
      export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$out/sound.raw
    fi
    QUILLON_PIXEL_LAYOUT=$layout start_viewer "$bin"
    if [ "$mode" = fullscreen ]; then answer_question yes; want=1600; else answer_question no; want=800; fi
    wait_window $want >/dev/null || fail "$layout $mode: no ${want}-wide window"
    # Look again: the window is made anew when its renderer starts.
    sleep 0.5
    win=$(wait_window $want) || fail "$layout $mode: the window went away"
    shot=$out/$layout-$mode-$depth.ppm
    play "$win" $mode "$shot"
    if [ -n "$audio" ] && [ $first = 1 ]; then sleep 3; fi
    stop_viewer "$win"
    [ "$rc" = 0 ] || fail "$layout $mode: exit code $rc"
    shots+=("$shot:$layout:$depth")
    first=0
  done
done
"$frames" "$script" "${shots[@]}" || fail "screenshots differ from the scripted frames"
if [ -n "$audio" ]; then "$frames" --audio "$out/sound.raw" || fail "sound differs"; fi
echo "ok: ${#shots[@]} screenshots on a $depth-bit server equal the scripted frames"
