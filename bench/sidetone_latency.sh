#!/usr/bin/env bash
# Key to sidetone through a private PulseAudio (tests/sound_server.sh): the sending sound
# on the trainer's PortAudio device at the lowest latency granted, a straight key pressed
# COUNT times, each press's first frame of tone found at the device's DAC time and in
# the null sink's monitor (the server's default source here). The last line:
#   key-to-sound median N ms p99 M ms
#
# Usage: bench/sidetone_latency.sh PATH/TO/lumbrel-sidetone-latency [COUNT]
set -euo pipefail
program=${1:?usage: sidetone_latency.sh PATH/TO/lumbrel-sidetone-latency [COUNT]}
count=${2:-200}
source "$(dirname "$0")/../tests/sound_server.sh"
lumbrel_sound_test_begin sidetone pulseaudio pactl pacat parec
lumbrel_sound_test_server lumbrel_sidetone
pactl set-default-sink lumbrel_sidetone
pactl set-default-source lumbrel_sidetone.monitor
echo "server: $(pactl info | sed -n 's/^Server Name: //p') $(pactl info | sed -n 's/^Server Version: //p'), sink lumbrel_sidetone (null sink)"
"$program" "$count"
