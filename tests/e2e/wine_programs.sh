#!/usr/bin/env bash
# The Windows edition's music programs under Wine:
#   wine_programs.sh XMRENDER_EXE XMPLAY_EXE LINUX_XMRENDER MODULE.xm
# xmrender.exe of the module writes the same bytes as the Linux build; Windows
# paths with non-ASCII names work; bad input gives the one-line errors and
# exit codes of Linux; with no sound device xmplay.exe says so and ends with 1.
set -u
render=$1
play=$2
linux=$3
module=$4
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winealsa.drv,winepulse.drv,wineoss.drv,winecoreaudio.drv=d;mscoree,mshtml="
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$linux" "$module" "$dir/linux.wav" >/dev/null || fail "the Linux render failed"
wine "$render" "$module" "$dir/windows.wav" >/dev/null || fail "xmrender.exe failed"
cmp -s "$dir/linux.wav" "$dir/windows.wav" || fail "xmrender.exe wrote other bytes than the Linux build"
echo "ok: xmrender.exe writes the Linux build's $(stat -c %s "$dir/windows.wav") bytes"

# A Windows path with non-ASCII names, in and out.
mkdir "$dir/müsik ✓"
cp "$module" "$dir/müsik ✓/lied ü.xm"
win=$(winepath -w "$dir/müsik ✓" 2>/dev/null)
[ -n "$win" ] || fail "no Windows path for $dir"
wine "$render" "$win\\lied ü.xm" "$win\\aus ß.wav" --seconds 1 >/dev/null || fail "non-ASCII Windows path refused"
[ "$(stat -c %s "$dir/müsik ✓/aus ß.wav")" = $((44 + 44100 * 4)) ] || fail "non-ASCII output missing or wrong size"
echo "ok: non-ASCII Windows paths"

# Bad input: one line on stderr, the Linux exit code.
printf 'not a module' > "$dir/bad.xm"
while IFS='|' read -r code args said; do
  err=$(eval wine "\"$render\"" $args 2>&1 >/dev/null)
  rc=$?
  [ $rc -eq "$code" ] || fail "xmrender.exe $args: exit $rc, expected $code"
  case "$err" in *"$said"*) ;; *) fail "xmrender.exe $args: said '$err'";; esac
  [ $code -eq 2 ] || [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || fail "xmrender.exe $args: more than one line: $err"
done <<ROWS
1|"$dir/none.xm" "$dir/o.wav"|cannot open
1|"$dir/bad.xm" "$dir/o.wav"|not an XM module
1|"$module" "$dir/no/such/o.wav"|cannot create
2|"$module"|needs an XM file and a WAV file
ROWS
echo "ok: bad input"

err=$(wine "$play" "$module" --seconds 1 2>&1 >/dev/null)
rc=$?
[ $rc -eq 1 ] || fail "xmplay.exe without a sound device: exit $rc"
case "$err" in *"no audio output device"*) ;; *) fail "xmplay.exe said '$err'";; esac
echo "ok: xmplay.exe without a sound device"
