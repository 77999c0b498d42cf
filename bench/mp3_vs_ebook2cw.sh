#!/usr/bin/env bash
# CPU time of lumbrel-render writing MP3, side by side with Debian's ebook2cw (a
# text-to-Morse converter that writes MP3 through the same LAME library), for the same
# text (about 5,000 characters of common words), speed (25 WPM), pitch (750 Hz) and bit
# rate (16, 32 and 64 kbit/s). CPU time is user + system of the whole process, so other
# work on a shared machine matters less than with wall time; each program runs RUNS
# times, alternating, and the median counts. A ratio at or below 1.00 means
# lumbrel-render needs no more CPU than ebook2cw.
#
#   bench/mp3_vs_ebook2cw.sh [path/to/lumbrel-render] [RUNS]
#
# ebook2cw is not needed to build or test Lumbrel; install it for this comparison with
# `apt-get install ebook2cw`.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
render=${1:-$here/build/test/tools/lumbrel-render}
runs=${2:-3}
[ -x "$render" ] || { echo "no lumbrel-render at $render (give its path)" >&2; exit 2; }
command -v ebook2cw >/dev/null || { echo "ebook2cw is not installed: apt-get install ebook2cw" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp  # ebook2cw writes its configuration folder into HOME on its first run

# The same words every time: a fixed pseudo-random walk through the shipped word list.
awk 'BEGIN { x = 12345 }
     { word[NR] = $0 }
     END {
         s = ""
         while (length(s) < 5000) {
             x = (x * 1103515245 + 12345) % 2147483648
             s = s (s == "" ? "" : " ") word[1 + int(x / 65536) % NR]
         }
         print s
     }' "$here/Word Files/1000 Common Words.txt" | fold -s -w 70 > "$tmp/text.txt"

# Seconds of CPU (user + system) of one command.
cpu() {
    local TIMEFORMAT='%U %S'
    { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.2f", $1 + $2 }'
}

median() {
    tr ' ' '\n' | grep . | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

echo "text: $(wc -c < "$tmp/text.txt") characters, 25 WPM, 750 Hz; $runs runs each, median CPU seconds (user + system)"
printf '%-8s %12s %12s %7s\n' kbit/s lumbrel ebook2cw ratio
for kbps in 16 32 64; do
    ours=""
    theirs=""
    for _ in $(seq "$runs"); do
        ours="$ours $(cpu "$render" --wpm 25 --tone 750 --bitrate "$kbps" -f "$tmp/text.txt" -o "$tmp/lumbrel.mp3")"
        theirs="$theirs $(cpu ebook2cw -w 25 -f 750 -b "$kbps" -c "" -o "$tmp/ebook2cw" "$tmp/text.txt")"
    done
    a=$(echo "$ours" | median)
    b=$(echo "$theirs" | median)
    printf '%-8s %12.2f %12.2f %7.2f\n' "$kbps" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { print a / b }')"
done
