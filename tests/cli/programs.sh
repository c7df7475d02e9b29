#!/bin/bash
# The real programs' exit paths: one-line errors and exit codes for bad
# input, xmplay without an audio device, with the dummy device for a timed
# play, and ended by SIGTERM; xmrender on the built-in module twice, byte
# for byte the same, and in large writes (where strace is installed).
#   programs.sh XMRENDER XMPLAY MODULE.xm
set -u
render=$1 play=$2 module=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() {  # check NAME WANT_CODE GOT_CODE STDERR_FILE [TEXT]
    local lines
    lines=$(wc -l < "$4")
    if [ "$3" != "$2" ]; then echo "FAIL $1: exit $3, wanted $2"; cat "$4"; fail=1; fi
    if [ -n "${5:-}" ] && ! grep -qF -- "$5" "$4"; then echo "FAIL $1: no '$5' in:"; cat "$4"; fail=1; fi
    if [ "$2" = 1 ] && [ "$lines" != 1 ]; then echo "FAIL $1: $lines lines on stderr"; cat "$4"; fail=1; fi
}

: > "$dir/empty.xm"
head -c 3000 /dev/urandom > "$dir/random.xm"
mkdir "$dir/folder.xm"
for prog in "$render" "$play"; do
    name=$(basename "$prog")
    extra=(); [ "$name" = xmrender ] && extra=("$dir/out.wav")
    for f in missing.xm folder.xm empty.xm random.xm; do
        "$prog" "$dir/$f" "${extra[@]}" > /dev/null 2> "$dir/err"
        check "$name $f" 1 $? "$dir/err" "'$dir/$f'"
    done
    "$prog" --bogus > /dev/null 2> "$dir/err"
    check "$name usage" 2 $? "$dir/err" "usage: $name"
done
[ -e "$dir/out.wav" ] && { echo "FAIL: a WAV file after failed renders"; fail=1; }

SDL_AUDIODRIVER=no_such_driver "$play" "$module" --seconds 1 < /dev/null > /dev/null 2> "$dir/err"
check "xmplay without a device" 1 $? "$dir/err" "no audio output device"

if SDL_AUDIODRIVER=dummy "$play" "$module" --seconds 0.3 < /dev/null > "$dir/out" 2> "$dir/err"; then
    grep -qF '"Quillon' "$dir/out" || { echo "FAIL: xmplay did not name the song"; cat "$dir/out"; fail=1; }
    SDL_AUDIODRIVER=dummy "$play" "$module" < /dev/null > /dev/null 2>&1 &
    pid=$!
    sleep 0.5
    kill -TERM $pid
    wait $pid
    code=$?
    [ $code = 143 ] || { echo "FAIL: xmplay ended by SIGTERM gave $code"; fail=1; }
else
    echo "note: no dummy audio driver here; the timed play and SIGTERM checks are skipped"
fi

"$render" "$module" "$dir/a.wav" > "$dir/out" 2> "$dir/err"
check "xmrender module" 0 $? "$dir/err"
"$render" "$module" "$dir/b.wav" > /dev/null 2>&1
cmp -s "$dir/a.wav" "$dir/b.wav" || { echo "FAIL: two renders differ"; fail=1; }
# The WAV goes out in large blocks: a 21 MB file in a few dozen writes, not thousands.
if command -v strace > /dev/null && strace -o "$dir/trace" -e trace=write "$render" "$module" "$dir/c.wav" > /dev/null 2>&1; then
    writes=$(grep -c '^write(' "$dir/trace")
    [ "$writes" -lt 100 ] || { echo "FAIL: xmrender made $writes writes"; fail=1; }
else
    echo "note: no strace here; the count of writes is not checked"
fi
cat "$dir/out"
exit $fail
