#!/usr/bin/env bash
# Measures the drills' timing on the real PortAudio device through a private PulseAudio
# (as the real-audio test runs it): plays COUNT characters, each "answered" DELAY_MS
# after its heard report, records the null sink's monitor and prints what the
# recording shows (lumbrel-drill-latency analyze).
#
# Usage: bench/drill_latency.sh PATH/TO/lumbrel-drill-latency [COUNT] [DELAY_MS]
set -euo pipefail
program=${1:?usage: drill_latency.sh PATH/TO/lumbrel-drill-latency [COUNT] [DELAY_MS]}
count=${2:-20}
delay=${3:-300}
source "$(dirname "$0")/../tests/sound_server.sh"
lumbrel_sound_test_begin drill pulseaudio pactl pacat parec
lumbrel_sound_test_server lumbrel_drill
pacat --latency-msec=10 --raw --format=s16le --rate=44100 --channels=2 </dev/zero &
pids+=($!)
parec --latency-msec=10 --device=lumbrel_drill.monitor --format=s16le --rate=44100 --channels=2 --raw \
    >"$work/capture.raw" &
recorder=$!
pids+=("$recorder")
sleep 0.3
"$program" play "$count" "$delay"
sleep 0.5
kill "$recorder" 2>/dev/null || true
wait "$recorder" 2>/dev/null || true
"$program" analyze "$work/capture.raw" "$delay"
