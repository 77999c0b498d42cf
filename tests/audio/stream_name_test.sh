#!/usr/bin/env bash
# The trainer's sound is listed by the sound server under the program's name, icon and
# a media role: the lumbrel program, started on a private sound server with a null sink
# and an offscreen display, is asked to start a session, and `pactl list sink-inputs`
# must show its stream as "Lumbrel".
#
# Usage: stream_name_test.sh PATH/TO/lumbrel
# Exit: 0 passed, 1 failed, 77 skipped (pulseaudio or pulseaudio-utils not installed).
set -euo pipefail
lumbrel=${1:?usage: stream_name_test.sh PATH/TO/lumbrel}
source "$(dirname "$0")/../sound_server.sh"
lumbrel_sound_test_begin stream pulseaudio pactl
# Nothing of the user's environment names the stream in its place.
for variable in $(env | sed -n 's/^\(PULSE_PROP[A-Za-z0-9_.]*\)=.*/\1/p'); do
    unset "$variable"
done

export QT_QPA_PLATFORM=offscreen
lumbrel_sound_test_server lumbrel_test

"$lumbrel" >"$work/lumbrel.log" 2>&1 &
pids+=($!)
control=$XDG_RUNTIME_DIR/lumbrel-$(id -u)
for _ in $(seq 100); do [ -S "$control" ] && break; sleep 0.1; done
[ -S "$control" ] || { echo "FAIL: the trainer did not start"; cat "$work/lumbrel.log"; exit 1; }
"$lumbrel" --start || { echo "FAIL: the trainer did not take --start"; exit 1; }

# The countdown, then the session's stream.
found=0
for _ in $(seq 100); do
    pactl list sink-inputs >"$work/inputs.txt" 2>&1 || true
    if grep -q 'application.name = "Lumbrel"' "$work/inputs.txt"; then
        found=1
        break
    fi
    sleep 0.1
done
"$lumbrel" --stop || true
grep -E '^Sink Input|media\.|application\.(name|icon_name)' "$work/inputs.txt" || true
[ "$found" = 1 ] || { echo "FAIL: no stream of the trainer is named Lumbrel"; cat "$work/inputs.txt" "$work/lumbrel.log"; exit 1; }
for property in 'application.icon_name = "io.github.lumbrel.Lumbrel"' 'media.role = "music"'; do
    grep -Fq "$property" "$work/inputs.txt" || { echo "FAIL: the stream lacks $property"; exit 1; }
done
echo "the trainer's stream is named Lumbrel"
