#!/bin/sh
# The time to render a series of spoken-answer lessons and the size of its folder:
# by default 20 lessons of 10 minutes of common words at 20/25/30 WPM, each spoken
# after it is sent, as MP3.
#   bench/speech_series.sh build/test/tools/lumbrel-render [LESSONS] [MINUTES] [FORMAT] [SOURCE]
# SOURCE is --words (default) or --calls.
set -eu
render=${1:?usage: $0 path/to/lumbrel-render [lessons] [minutes] [mp3|wav] [--words|--calls]}
lessons=${2:-20}
minutes=${3:-10}
format=${4:-mp3}
source=${5:---words}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
start=$(date +%s.%N)
"$render" --speak after "$source" --speed-steps 20,25,30 --seed 1 --minutes "$minutes" \
    --format "$format" --series "$dir/series" --lessons "$lessons"
end=$(date +%s.%N)
audio=$(awk -F'[:,]' '/^#EXTINF:/ { s += $2 } END { print s }' "$dir/series/lessons.m3u")
echo "lessons: $lessons of $minutes min ($format, $source)"
echo "audio: $audio s"
echo "render time: $(echo "$end - $start" | bc) s"
echo "folder size: $(du -sk "$dir/series" | cut -f1) KiB ($(ls "$dir/series" | wc -l) files)"
xmllint --noout "$dir/series/feed.xml" && echo "feed: well-formed"
