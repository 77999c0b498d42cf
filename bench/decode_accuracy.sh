#!/usr/bin/env bash
# The decoder's characters right (by edit distance, spaces not counted):
#  - key timelines at 5 to 60 WPM with a Gaussian spread of 20 % of a unit on every mark
#    and gap, 25 and 30 % at 20 WPM, and a change from 15 to 40 WPM in the middle
#    (lumbrel-decode-accuracy keys, about 1,000 characters each);
#  - audio at 20 WPM (700 Hz, 5 ms edges, about 450 characters, a prosign counting as
#    its three) in white noise, against the SNR in a 3 kHz bandwidth, decoded by
#    lumbrel-decode and, on the same files, by Debian's morse2ascii (package morse2ascii), whose output is compared in its own
#    notation: no word spaces, + for ^ar and ( for ^kn, its doubled signs taken once;
#  - the trainer's own renders (lumbrel-render, one minute of random groups of 20
#    characters at 20 WPM): a straight key, band noise, deep fast fading, an effective
#    speed of half the character speed, scored by lumbrel-score.
#
#   bench/decode_accuracy.sh [BUILD_DIR]
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/test}
accuracy=$build/bench/lumbrel-decode-accuracy
decode=$build/tools/decode/lumbrel-decode
render=$build/tools/lumbrel-render
score=$build/tools/score/lumbrel-score
for program in "$accuracy" "$decode" "$render" "$score"; do
    [ -x "$program" ] || { echo "no $program (build it, or give the build folder)" >&2; exit 2; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data  # no settings or history of the user's

echo "Key timelines"
"$accuracy" keys
echo

snrs="10 6 3 0 -3 -6 -8 -9 -10 -11 -12"
# shellcheck disable=SC2086
"$accuracy" wav "$tmp" 20 $snrs
sed 's/\^ar/+/g; s/\^kn/(/g; s/\^bt/=/g' "$tmp/text.txt" > "$tmp/text-m2a.txt"
have_m2a=0
command -v morse2ascii >/dev/null && have_m2a=1
echo "Audio at 20 WPM in white noise ($(wc -w < "$tmp/text.txt") words)"
printf '%8s  %16s  %12s\n' "SNR (dB)" "lumbrel-decode" "morse2ascii"
for snr in $snrs; do
    "$decode" "$tmp/$snr.wav" > "$tmp/$snr.out"
    ours=$("$accuracy" score "$tmp/text.txt" "$tmp/$snr.out")
    theirs="-"
    if [ $have_m2a -eq 1 ]; then
        # The text on standard output, the rest on standard error.
        morse2ascii "$tmp/$snr.wav" 2>/dev/null | tr -d '\n' | sed 's/\([^a-z0-9]\)\1/\1/g' > "$tmp/$snr.m2a"
        theirs="$("$accuracy" score "$tmp/text-m2a.txt" "$tmp/$snr.m2a") %"
    fi
    printf '%8s  %14s %%  %12s\n' "$snr" "$ours" "$theirs"
done
[ $have_m2a -eq 1 ] || echo "(morse2ascii is not installed: apt-get install morse2ascii)"
echo
echo "The trainer's own renders, one minute of groups of 20 characters at 20 WPM"
while IFS='|' read -r what options; do
    # shellcheck disable=SC2086
    "$render" --groups --chars 20 --minutes 1 --wpm 20 --seed 3 $options -o "$tmp/r.wav" --transcript "$tmp/r.txt" > /dev/null 2>&1
    "$decode" "$tmp/r.wav" > "$tmp/r.out"
    printf '%-34s %s\n' "$what" "$("$score" "$tmp/r.txt" "$tmp/r.out" | tail -n 1)"
done <<LIST
clean|
straight key, good fist|--straight-key --fist good
band noise S9|--noise S9
deep fast fading|--qsb fast --qsb-type deep
effective speed 10 WPM|--effective 500
LIST
