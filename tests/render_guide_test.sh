#!/usr/bin/env bash
# lumbrel-render for the first weeks: --introduce and --group-length on the command line.
set -u
render=$1
source "$(dirname "$0")/checks.sh"
words() { tr -d '\n'; }  # the transcript's lines wrap wherever its text reaches the width
session() { "$render" --groups --wpm 20 --chars 5 --minutes 1 --seed 7 "$@"; }

# The newest of five characters, "u" (. . -: 2 + 2 + 4 units and 2 closing it), five
# times, each with a word space of 7 units: 5 x 17 units of 2646 frames at 20 WPM.
# After them the session is the one without the option, frame for frame.
session -o "$tmp/plain.wav" --transcript "$tmp/plain.txt"
session --introduce -o "$tmp/intro.wav" --transcript "$tmp/intro.txt"
start=$((46 + 176400))  # the header and the second of countdown
check "--introduce plays the new character five times alone, then the same session" \
    '[ "$(head -c 10 "$tmp/intro.txt")" = "u u u u u " ] &&
     [ "$(tail -c +11 "$tmp/intro.txt" | words | head -c 80)" = "$(words <"$tmp/plain.txt" | head -c 80)" ] &&
     cmp -s -n 3000000 -i $((start + 85 * 2646 * 4)):$start "$tmp/intro.wav" "$tmp/plain.wav"'

# Group lengths: every group of the transcript but the last, cut by the session's end.
lengths() { tr -s ' \n' '\n\n' <"$1" | sed '$d' | awk '{ print length($0) }' | sort -un | tr '\n' ' '; }
for row in "5:5 " "2-3:2 3 " "1:1 " "20:20 "; do
    arg=${row%%:*} want=${row#*:}
    session --group-length "$arg" -o "$tmp/g.wav" --transcript "$tmp/g.txt"
    check "--group-length $arg gives groups of $want" '[ "$(lengths "$tmp/g.txt")" = "$want" ]'
done
session -o "$tmp/g.wav" --transcript "$tmp/g.txt"
check "without --group-length the groups are 1 to 8 long" '[ "$(lengths "$tmp/g.txt")" = "1 2 3 4 5 6 7 8 " ]'

for bad in "--groups --group-length 0" "--groups --group-length 21" "--groups --group-length 4-3" \
    "--groups --group-length 3-" "--groups --group-length x" "--groups --group-length" \
    "--words --introduce" "--qso --group-length 5" "--introduce e"; do
    "$render" $bad -o "$tmp/x.wav" 2>"$tmp/err"; status=$?
    check "$bad is a usage error" '[ $status -eq 2 ] && [ ! -e "$tmp/x.wav" ] && grep -Eq -- "--(introduce|group-length)" "$tmp/err"'
done
exit $fail
