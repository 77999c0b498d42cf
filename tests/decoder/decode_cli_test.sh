#!/usr/bin/env bash
# lumbrel-decode: key timelines and WAV files through the command line, and the one
# clear line and status 2 for what it cannot read.
set -u
decode=$1
render=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
source "$(dirname "$0")/../private_home.sh" "$tmp/private"
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; else echo "ok: $1"; fi; }

# A hand-sent L at 20 WPM (60 ms a unit) with a gap of 3.1 units after its dot.
printf '0 down\n60 up\n246 down\n426 up\n486 down\n546 up\n606 down\n666 up\n' > "$tmp/l.keys"
"$decode" --keys "$tmp/l.keys" > "$tmp/out"; status=$?
check "an L with a long gap is read as ED, on one line" '[ $status -eq 0 ] && [ "$(cat "$tmp/out")" = ed ]'
"$decode" --keys "$tmp/l.keys" --fist --expect l > "$tmp/out"; status=$?
check "--fist adds name value lines after the text" \
    '[ $status -eq 0 ] && [ "$(head -n 1 "$tmp/out")" = ed ] && grep -qx "speed 20.0" "$tmp/out" &&
     grep -qx "note L read as ED: the gap after the first dot was 3.1 dot units" "$tmp/out" &&
     ! tail -n +2 "$tmp/out" | grep -qv "^[a-z_]* "'

# Bad input: one line on standard error, nothing on standard output, status 2.
printf 'RIFF\0\0\0\0WAVEjunk' > "$tmp/short.wav"
printf 'not audio at all\n' > "$tmp/text.wav"
printf '0 down\n60 up\n50 down\n' > "$tmp/order.keys"
: > "$tmp/empty.keys"
: > "$tmp/empty.wav"
mkfifo "$tmp/fifo"
while IFS='|' read -r what args message; do
    eval "timeout 20 \"$decode\" $args" > "$tmp/out" 2> "$tmp/err"; status=$?
    check "$what: status 2 and one line" \
        '[ $status -eq 2 ] && [ ! -s "$tmp/out" ] && [ "$(wc -l < "$tmp/err")" -eq 1 ] && grep -qF -- "$message" "$tmp/err"'
done <<LIST
not a WAV|"$tmp/text.wav"|text.wav: not a WAV file (no RIFF/WAVE header)
an empty WAV|"$tmp/empty.wav"|empty.wav: not a WAV file (no RIFF/WAVE header)
a WAV without format|"$tmp/short.wav"|short.wav: not a WAV file (no format chunk)
events out of order|--keys "$tmp/order.keys"|order.keys: line 3: the events are out of order (50 ms after 60 ms)
an empty key file|--keys "$tmp/empty.keys"|empty.keys: no key events
a pipe|--keys "$tmp/fifo"|is not a plain file
a device|/dev/zero|is not a plain file
a missing file|"$tmp/none.wav"|there is no file
no file|--fist|expected either --keys FILE or a WAV file (--help shows the usage)
two files|a.wav b.wav|expected one file (--help shows the usage)
an unknown option|--speed 5 x.wav|unknown option --speed (--help shows the usage)
a bad pitch|--pitch 5 "$tmp/text.wav"|--pitch takes a tone of 50 to 10000 Hz, not 5
LIST

# The trainer's own render, with and without band noise, read back.
printf 'cq cq de ^ar kn 599 tu\n' > "$tmp/sent.txt"
"$render" --wpm 25 --tone 650 -o "$tmp/clean.wav" -f "$tmp/sent.txt" > /dev/null 2>&1
"$decode" "$tmp/clean.wav" --fist > "$tmp/out"; status=$?
check "a rendered WAV is read, its pitch named" \
    '[ $status -eq 0 ] && [ "$(head -n 1 "$tmp/out")" = "cq cq de ^ar kn 599 tu" ] && grep -q "^pitch 6[45][0-9]" "$tmp/out" && grep -q "^speed 2[45]\." "$tmp/out"'
"$decode" --print-keys "$tmp/clean.wav" > "$tmp/clean.keys" && "$decode" --keys "$tmp/clean.keys" > "$tmp/out"; status=$?
check "the key timeline printed from a WAV reads back as its text" \
    '[ $status -eq 0 ] && [ "$(cat "$tmp/out")" = "cq cq de ^ar kn 599 tu" ] && [ "$(head -n 1 "$tmp/clean.keys")" != "" ]'
"$render" --text "$tmp/sent.txt" --wpm 20 --tone 700 --noise S5 --signal S9 --seed 4 -o "$tmp/noisy.wav" > /dev/null 2>&1
"$decode" --pitch 700 "$tmp/noisy.wav" > "$tmp/out"; status=$?
check "a rendered WAV in band noise is read at the pitch named" \
    '[ $status -eq 0 ] && grep -q "cq cq de ^ar kn 599 tu" "$tmp/out"'
exit $fail
