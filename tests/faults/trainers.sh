# shellcheck shell=bash
# Sourced by the scripts that run the trainer itself: `source trainers.sh PATH/TO/lumbrel`.
# A scratch folder $work, removed at exit after every process of the array pids is
# killed (and cleanup_more run, where the script has one); a private home; windows
# offscreen and no sound server to find; $off, the line that says start and stop from
# other programs are off; and the steps below.
lumbrel=$1
work=$(mktemp -d)
pids=()
trainer=
shown_on_failure=()
off="start and stop from other programs are off"
lumbrel_trainers_end() {
    local pid
    for pid in "${pids[@]}"; do
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if declare -F cleanup_more >/dev/null; then cleanup_more; fi
    chmod -R u+rwx "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap lumbrel_trainers_end EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../private_home.sh" "$work/private"
export QT_QPA_PLATFORM=offscreen
export PULSE_SERVER=unix:$work/no-sound-server

# fail WHAT: says so with the end of every log in $work and of shown_on_failure; status 1.
fail() {
    local log
    echo "FAIL: $*"
    for log in "$work"/*.err "$work"/*.log "${shown_on_failure[@]}"; do
        [ -f "$log" ] && { echo "== $log"; tail -n 40 "$log"; }
    done
    exit 1
}

# start_trainer NAME [VARIABLE=VALUE...] [RUNNER...]: a trainer in the background, its
# output in $work/NAME.out and .err; its pid in $trainer.
start_trainer() {
    local name=$1
    shift
    env "$@" "$lumbrel" >"$work/$name.out" 2>"$work/$name.err" &
    trainer=$!
    pids+=("$trainer")
}
# stop_trainer: ends it with $stop_signal (TERM unless the script says otherwise).
stop_trainer() {
    kill -"${stop_signal:-TERM}" "$trainer" 2>/dev/null || true
    wait "$trainer" 2>/dev/null || true
}
# wait_for_socket PATH: up to 10 s for a socket there.
wait_for_socket() {
    local _
    for _ in $(seq 100); do
        [ -S "$1" ] && return 0
        sleep 0.1
    done
    fail "no socket at $1"
}
# still_running WHAT [SECONDS]: the trainer is alive a second (or SECONDS) later.
still_running() {
    sleep "${2:-1}"
    kill -0 "$trainer" 2>/dev/null || fail "$1: the trainer did not keep running"
}
# said_off NAME: waits up to 10 s for $off on NAME's standard error; how often it came.
said_off() {
    local _
    for _ in $(seq 100); do
        grep -q "$off" "$work/$1.err" && break
        sleep 0.1
    done
    grep -c "$off" "$work/$1.err" || true
}
# serves_start SOCKET: `lumbrel --start` on SOCKET succeeds within 10 s.
serves_start() {
    local _
    for _ in $(seq 50); do
        LUMBREL_CONTROL_SOCKET=$1 timeout 10 "$lumbrel" --start 2>/dev/null && return 0
        sleep 0.2
    done
    return 1
}
