#!/usr/bin/env bash
# lumbrel-render --text of a text longer than six hours of audio renders it whole.
set -u
render=$1
source "$(dirname "$0")/../checks.sh"

# At 60 WPM a unit is 20 ms, 882 frames, 3528 bytes. "paris " is 53 units in a session:
# p a r i s (31 units of elements and 4 gaps of 3 between them), the gap of 3 after the
# last character and the word space of 7; the session begins with a word space of 7.
# 20500 words are 1086507 units, 6 h 2 min.
words=20500
yes paris | head -n $words | tr '\n' ' ' > "$tmp/long.txt"
echo >> "$tmp/long.txt"
"$render" --text "$tmp/long.txt" --wpm 60 -o - --transcript "$tmp/long.out" 2>"$tmp/err" | wc -c > "$tmp/bytes"
status=${PIPESTATUS[0]}
check "the render ends with status 0 and says nothing" '[ $status -eq 0 ] && [ ! -s "$tmp/err" ]'
check "the audio is the whole text by the timing rules" '[ "$(cat "$tmp/bytes")" -eq $((46 + 3528 * (7 + 53 * words))) ]'
check "the transcript holds every word" '[ "$(tr " " "\n" < "$tmp/long.out" | grep -cx paris)" -eq $words ]'
exit $fail
