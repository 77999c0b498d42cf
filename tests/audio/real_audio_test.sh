#!/usr/bin/env bash
# Real-audio test of PortAudioDevice: plays a known sequence of tone bursts through
# PortAudio (ALSA's default device, which leads to PulseAudio) into a private sound
# server with a null sink, records the sink's monitor, and checks both the recording
# (lengths, dropouts, clicks) and the completion reports (order, timing).
#
# Usage: real_audio_test.sh PATH/TO/lumbrel-play-bursts
# Exit: 0 passed, 1 failed, 77 skipped (pulseaudio or pulseaudio-utils not installed).
set -euo pipefail

player=${1:?usage: real_audio_test.sh PATH/TO/lumbrel-play-bursts}
source "$(dirname "$0")/../sound_server.sh"
lumbrel_sound_test_begin audio pulseaudio pactl pacat parec


lumbrel_sound_test_server lumbrel_test

# An idle null sink wakes only every couple of seconds, so a new stream can wait that
# long before the server first pulls from it. A silent stream keeps the sink awake;
# mixed with the test audio it adds nothing (zeros).
pacat --latency-msec=10 --raw --format=s16le --rate=44100 --channels=2 </dev/zero &
pids+=($!)

# One pass: record the monitor (a small latency, or parec drops audio), play, stop
# recording a moment after the last completion, analyse.
run_pass() {
    local name=$1
    shift
    local capture="$work/$name.raw"
    parec --latency-msec=10 --device=lumbrel_test.monitor \
        --format=s16le --rate=44100 --channels=2 --raw >"$capture" &
    local recorder=$!
    pids+=("$recorder")
    sleep 0.3
    local status=0
    echo "== $name: play"
    "$player" play "$@" || status=1
    sleep 0.5
    kill "$recorder" 2>/dev/null || true
    wait "$recorder" 2>/dev/null || true
    echo "== $name: analyze"
    "$player" analyze "$capture" || status=1
    return "$status"
}

status=0
run_pass callback-mode || status=1
run_pass window-mode --window || status=1

if [ "$status" -ne 0 ]; then
    echo "== sound server log (last lines)"
    tail -n 20 "$work/server.log"
    echo "real-audio test FAILED"
    exit 1
fi
echo "real-audio test passed"
