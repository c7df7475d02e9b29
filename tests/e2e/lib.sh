# lib.sh: shell helpers for driving the real quillon binary under Xvfb, sourced
# by the end-to-end scripts and scripts/measure-viewer.
#   start_xvfb WxHxDEPTH      starts a server on a free display, exports DISPLAY
#   start_viewer BIN          starts the viewer in the background ($app)
#   answer_question yes|no    waits for the question box and answers it
#   wait_window WANT [SKIP]   prints the id of the QUILLON window that wide
#                             (or WxH), other than SKIP
#   stop_viewer ID            Escape in the window; sets $rc to the exit code
#   thread_cpu_ns PID         CPU time the process's main thread has used
# Everything started is stopped by the EXIT trap that start_xvfb sets.

fail() { echo "FAIL: $*" >&2; exit 1; }

start_xvfb() {
  _dfile=$(mktemp)
  # Xvfb picks a free display itself and names it: runs in parallel never
  # race for the same number.
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$_dfile" >/dev/null 2>&1 &
  xvfb=$!
  trap '[ -n "${app:-}" ] && kill $app 2>/dev/null; kill $xvfb 2>/dev/null; rm -f "$_dfile"' EXIT
  for _ in $(seq 100); do [ -s "$_dfile" ] && break; sleep 0.1; done
  local disp
  disp=$(head -n1 "$_dfile")
  [ -n "$disp" ] || fail "Xvfb did not start"
  export DISPLAY=:$disp
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  fail "Xvfb on $DISPLAY does not answer"
}

start_viewer() {
  # On a loaded machine the server now and then refuses SDL's first
  # connection although it answered xdpyinfo: the viewer then ends at once
  # with 255, and is started again (at most twice).
  local try
  for try in 1 2 3; do
    "$1" &
    app=$!
    sleep 0.3
    kill -0 $app 2>/dev/null && return 0
    wait $app
    [ $? -eq 255 ] || return 0
    echo "the viewer did not reach $DISPLAY (try $try)" >&2
  done
}

# find_window WANT [SKIP]: the id of a window titled QUILLON that is WANT
# wide (800) or WANT in size (800x600), any size if WANT is empty, other than
# the window SKIP.
find_window() {
  xwininfo -root -tree 2>/dev/null | awk -v want="$1" -v skip="${2:-none}" '/"QUILLON"/ && $1 != skip {
    for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) {
      split($i, g, "+"); split(g[1], s, "x")
      if (want == "" || want == s[1] || want == g[1]) { print $1; exit } } }'
}

# wait_window WANT [SKIP]: find_window's answer once there is one (20 s at the
# most, while the viewer in $app runs).
wait_window() {
  local id
  for _ in $(seq 200); do
    id=$(find_window "$1" "${2:-}")
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 $app 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

answer_question() {
  local box
  box=$(wait_window "") || fail "no question box appeared"
  xdotool windowfocus --sync "$box" || fail "cannot focus the question box"
  if [ "$1" = yes ]; then xdotool key Return; else xdotool key Escape; fi
}

stop_viewer() {
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool keydown Escape; sleep 0.2; xdotool keyup Escape
  for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
  kill -0 $app 2>/dev/null && fail "viewer still running 10 s after Escape"
  wait $app
  rc=$?
  app=
}

thread_cpu_ns() { cut -d' ' -f1 "/proc/$1/task/$1/schedstat"; }
