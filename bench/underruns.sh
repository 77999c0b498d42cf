#!/usr/bin/env bash
# Dropouts of a live session on a busy machine: two busy loops run beside a session of
# random groups played by `lumbrel-render --play` (the trainer's engine on PortAudio) at
# 25 and at 80 WPM, into a private PulseAudio with a null sink (as the tests run it),
# whose monitor is recorded. lumbrel-underrun-count then counts the marks and gaps off
# the unit grid by more than 2 ms (goal: 0). The same audio rendered to a file and
# played with paplay under the same load gives the reference.
#
# Usage: bench/underruns.sh BUILD_DIR [SECONDS] [WPM...]
#        (BUILD_DIR holds tools/lumbrel-render and bench/lumbrel-underrun-count;
#        SECONDS is the session length, rounded to whole minutes, default 60)
set -euo pipefail
build=${1:?usage: underruns.sh BUILD_DIR [SECONDS] [WPM...]}
seconds=${2:-60}
shift $(($# >= 2 ? 2 : 1))
speeds=("$@")
[ ${#speeds[@]} -eq 0 ] && speeds=(25 80)
render=$build/tools/lumbrel-render
count=$build/bench/lumbrel-underrun-count
minutes=$(((seconds + 59) / 60))

work=$(mktemp -d "${TMPDIR:-/tmp}/lumbrel-underruns.XXXXXX")
pids=()
busy=()
cleanup() {
    for pid in "${busy[@]}" "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/../tests/sound_server.sh"
lumbrel_start_sound_server "$work" lumbrel_bench || { echo "the private sound server did not start" >&2; exit 1; }

start_load() {
    busy=()
    local _
    for _ in 1 2; do
        (while :; do :; done) &
        busy+=($!)
    done
}
stop_load() {
    local pid
    for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait "${busy[@]}" 2>/dev/null || true
    busy=()
}
# record NAME COMMAND...: the monitor while COMMAND plays, under load; then the count.
record() {
    local name=$1
    shift
    parec --latency-msec=10 --device=lumbrel_bench.monitor --format=s16le --rate=44100 --channels=2 --raw \
        >"$work/$name.raw" &
    local recorder=$!
    sleep 0.3
    start_load
    "$@" >/dev/null 2>"$work/$name.err" || { echo "$name: the player failed:"; cat "$work/$name.err"; }
    stop_load
    sleep 0.3
    kill "$recorder" 2>/dev/null || true
    wait "$recorder" 2>/dev/null || true
}

echo "cores: $(nproc), load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for wpm in "${speeds[@]}"; do
    session=(--groups --wpm "$wpm" --chars 10 --minutes "$minutes" --pause 0 --seed 7)
    record "play-$wpm" "$render" "${session[@]}" --play
    echo "lumbrel-render --play, $wpm WPM, ${minutes} min, two busy loops: $("$count" "$work/play-$wpm.raw" "$wpm")"
    "$render" "${session[@]}" -o "$work/session-$wpm.wav" 2>/dev/null
    record "paplay-$wpm" paplay "$work/session-$wpm.wav"
    echo "paplay of the same audio, same load: $("$count" "$work/paplay-$wpm.raw" "$wpm" | head -n 1)"
done
