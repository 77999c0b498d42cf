#!/usr/bin/env bash
# The audio device contract on PortAudio, through a private sound server: the cases
# that skip without an output elsewhere must pass here.
#
# Usage: device_contract_test.sh PATH/TO/lumbrel-audio-tests
# Exit: 0 passed, 1 failed, 77 skipped (pulseaudio or pulseaudio-utils not installed).
set -euo pipefail

tests=${1:?usage: device_contract_test.sh PATH/TO/lumbrel-audio-tests}
source "$(dirname "$0")/../sound_server.sh"
lumbrel_sound_test_begin contract pulseaudio pactl pacat

lumbrel_sound_test_server lumbrel_contract
# An idle null sink wakes only every couple of seconds; a silent stream keeps it awake.
pacat --latency-msec=10 --raw --format=s16le --rate=44100 --channels=2 </dev/zero &
pids+=($!)

export LUMBREL_TEST_SOUND_OUTPUT=1
"$tests" --gtest_filter='PortAudioContract/*'
