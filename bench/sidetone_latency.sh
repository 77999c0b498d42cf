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
work=$(mktemp -d "${TMPDIR:-/tmp}/lumbrel-sidetone.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/../tests/sound_server.sh"
lumbrel_start_sound_server "$work" lumbrel_sidetone || { echo "the private sound server did not start" >&2; exit 1; }
pactl set-default-sink lumbrel_sidetone
pactl set-default-source lumbrel_sidetone.monitor
echo "server: $(pactl info | sed -n 's/^Server Name: //p') $(pactl info | sed -n 's/^Server Version: //p'), sink lumbrel_sidetone (null sink)"
"$program" "$count"
