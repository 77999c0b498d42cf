#!/usr/bin/env bash
# The audio device contract on PortAudio, through a private sound server: the cases
# that skip without an output elsewhere must pass here.
#
# Usage: device_contract_test.sh PATH/TO/lumbrel-audio-tests
# Exit: 0 passed, 1 failed, 77 skipped (pulseaudio or pulseaudio-utils not installed).
set -euo pipefail

tests=${1:?usage: device_contract_test.sh PATH/TO/lumbrel-audio-tests}
for tool in pulseaudio pactl pacat; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (packages pulseaudio, pulseaudio-utils)"
        exit 77
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lumbrel-contract.XXXXXX")
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/../private_home.sh" "$work/private"
source "$(dirname "$0")/../sound_server.sh"
if ! lumbrel_start_sound_server "$work" lumbrel_contract; then
    echo "FAIL: the private sound server did not start"
    cat "$work/server.log"
    exit 1
fi
# An idle null sink wakes only every couple of seconds; a silent stream keeps it awake.
pacat --latency-msec=10 --raw --format=s16le --rate=44100 --channels=2 </dev/zero &
pids+=($!)

export LUMBREL_TEST_SOUND_OUTPUT=1
"$tests" --gtest_filter='PortAudioContract/*'
