# shellcheck shell=bash
# Sourced by the tests and benchmarks that play into a private sound server.
#
# lumbrel_start_sound_server WORK SINK: a PulseAudio of its own, with its runtime folder,
# home (client cookie) and socket below WORK, so that it neither finds nor disturbs a
# desktop sound server. Two modules only: the socket and a null sink SINK in the
# trainer's format, whose monitor source (SINK.monitor) can be recorded. Exports what its
# clients need (XDG_RUNTIME_DIR, PULSE_RUNTIME_PATH, HOME, PULSE_SERVER), adds the
# server's pid to the caller's array pids, and fails when the server does not answer.
lumbrel_sound_server_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

lumbrel_start_sound_server() {
    local work=$1 sink=$2 _
    mkdir -p "$work/runtime/pulse" "$work/home"
    chmod 700 "$work/runtime" "$work/runtime/pulse"
    export XDG_RUNTIME_DIR="$work/runtime" PULSE_RUNTIME_PATH="$work/runtime/pulse" HOME="$work/home"
    local socket="$work/runtime/pulse/native"
    export PULSE_SERVER="unix:$socket"
    unset PULSE_SINK PULSE_SOURCE
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --use-pid-file=no \
        -L "module-native-protocol-unix socket=$socket auth-anonymous=1" \
        -L "module-null-sink sink_name=$sink rate=44100 channels=2 format=s16le" \
        >"$work/server.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    pactl info >/dev/null 2>&1
}

# lumbrel_sound_test_begin NAME TOOL...: how each script on a private sound server starts.
# Skips (status 77) when a tool is missing; makes the scratch folder $work, removed at
# exit after every process of the array pids is stopped; gives the script a private home.
lumbrel_sound_test_begin() {
    local name=$1 tool
    shift
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed (packages pulseaudio, pulseaudio-utils)"
            exit 77
        fi
    done
    work=$(mktemp -d "${TMPDIR:-/tmp}/lumbrel-$name.XXXXXX")
    pids=()
    trap lumbrel_sound_test_end EXIT
    source "$lumbrel_sound_server_dir/private_home.sh" "$work/private"
}

lumbrel_sound_test_end() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}

# The server of lumbrel_start_sound_server, or a FAIL line with its log and status 1.
lumbrel_sound_test_server() {
    if ! lumbrel_start_sound_server "$work" "$1"; then
        echo "FAIL: the private sound server did not start"
        cat "$work/server.log"
        exit 1
    fi
}
