#!/usr/bin/env bash
# The command-line renderer: exact output for "e", usage errors, files.
set -u
render=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; else echo "ok: $1"; fi; }

"$render" --wpm 20 -o "$tmp/e.wav" e
check "one e at 20 WPM is 42336 bytes of data" '[ "$(stat -c %s "$tmp/e.wav")" -eq $((46 + 42336)) ]'

"$render" --wpm 20 --seed 7 -o "$tmp/a.wav" "paris paris"
"$render" --wpm 20 --seed 7 -o "$tmp/b.wav" "paris paris"
check "the same seed gives the same file" 'cmp -s "$tmp/a.wav" "$tmp/b.wav"'

printf 'cq de\r\n\x00\xff k\n' > "$tmp/text.txt"
"$render" --wpm 25 -o "$tmp/f.wav" -f "$tmp/text.txt"
check "-f renders a file with odd bytes" '[ "$(stat -c %s "$tmp/f.wav")" -gt 46 ]'

"$render" --wpm 0 -o "$tmp/x.wav" e 2>"$tmp/err"; status=$?
check "a speed of 0 is a usage error" '[ $status -eq 2 ] && grep -q -- "--wpm" "$tmp/err"'
"$render" --bogus e 2>/dev/null; status=$?
check "an unknown option is a usage error" '[ $status -eq 2 ]'
"$render" --effective 333 e 2>/dev/null; status=$?
check "an effective speed off the list is a usage error" '[ $status -eq 2 ]'
"$render" -o "$tmp/x.wav" 2>/dev/null; status=$?
check "no text is a usage error" '[ $status -eq 2 ]'
"$render" -f "$tmp/missing.txt" -o "$tmp/x.wav" 2>/dev/null; status=$?
check "a missing text file is a runtime failure" '[ $status -eq 1 ]'
"$render" -o "$tmp/no/such/dir/x.wav" e 2>/dev/null; status=$?
check "an output that cannot be created is a runtime failure" '[ $status -eq 1 ]'
"$render" --help | grep -q -- "--effective"
check "--help lists the options" '[ $? -eq 0 ]'
"$render" --version | grep -Eq '^lumbrel-render [0-9]+\.[0-9]+'
check "--version prints the version" '[ $? -eq 0 ]'

# A whole random-group session through the trainer's engine on the virtual device.
"$render" --groups --minutes 1 --chars 3 --seed 5 -o "$tmp/g.wav" --transcript "$tmp/g.txt"; status=$?
check "a one-minute session renders" '[ $status -eq 0 ]'
bytes=$(( $(stat -c %s "$tmp/g.wav") - 46 ))
check "it holds a minute of audio and at most the two buffers in flight more" \
    '[ $bytes -ge $((60 * 176400)) ] && [ $bytes -le $((75 * 176400)) ]'
check "the transcript holds only the first three Koch characters and spaces" \
    'grep -q "[kmr]" "$tmp/g.txt" && ! grep -q "[^kmr ]" "$tmp/g.txt"'
"$render" --groups --minutes 1 --chars 3 --seed 5 -o "$tmp/g2.wav"
check "a session is reproducible from its seed" 'cmp -s "$tmp/g.wav" "$tmp/g2.wav"'
"$render" --groups --wpm 17 -o "$tmp/x.wav" 2>/dev/null; status=$?
check "a session speed off the 5 WPM steps is a usage error" '[ $status -eq 2 ]'
"$render" --groups -o "$tmp/x.wav" hello 2>/dev/null; status=$?
check "a session takes no text" '[ $status -eq 2 ]'
"$render" --groups --noise S4 -o "$tmp/x.wav" 2>/dev/null; status=$?
check "an unknown noise level is a usage error" '[ $status -eq 2 ]'
"$render" --play -o "$tmp/x.wav" e 2>/dev/null; status=$?
check "--play without --groups is a usage error" '[ $status -eq 2 ]'

exit $fail
