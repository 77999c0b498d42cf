#!/usr/bin/env bash
# The program started while its control socket's path is taken: by a user's plain file,
# by the socket of a trainer that was killed, or in a folder where no socket can be
# made. The trainer must keep running each time, and either serve `lumbrel --start` or
# say once on standard error that start and stop from other programs are off; a file
# that is not a socket stays as it was.
#
# Usage: remote_socket_faults_test.sh PATH/TO/lumbrel
# Exit: 0 passed, 1 failed.
set -euo pipefail
lumbrel=${1:?usage: remote_socket_faults_test.sh PATH/TO/lumbrel}

work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    chmod -R u+rwx "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/../private_home.sh" "$work/private"
export QT_QPA_PLATFORM=offscreen
# No sound server: the trainer says it has no sound output and goes on; no server of
# the desktop is found or started.
export PULSE_SERVER=unix:$work/no-sound-server
unset XDG_RUNTIME_DIR
off="start and stop from other programs are off"

fail() {
    echo "FAIL: $*"
    for log in "$work"/*.err; do
        [ -f "$log" ] && { echo "== $log"; cat "$log"; }
    done
    exit 1
}

# start_trainer NAME SOCKET [RUNNER...]: a trainer in the background; its pid in $trainer.
start_trainer() {
    local name=$1 socket=$2
    shift 2
    LUMBREL_CONTROL_SOCKET=$socket "$@" "$lumbrel" >"$work/$name.out" 2>"$work/$name.err" &
    trainer=$!
    pids+=("$trainer")
}

# said_off NAME: waits up to 10 s for the line on standard error; how often it came.
said_off() {
    local _
    for _ in $(seq 100); do
        grep -q "$off" "$work/$1.err" && break
        sleep 0.1
    done
    grep -c "$off" "$work/$1.err" || true
}

# still_running NAME: the trainer is alive a second later (no crash, no exit).
still_running() {
    sleep 1
    kill -0 "$trainer" 2>/dev/null || fail "$1: the trainer did not keep running"
}

stop_trainer() {
    kill "$trainer" 2>/dev/null || true
    wait "$trainer" 2>/dev/null || true
}

# 1. A plain file of the user's at the socket's path.
socket=$work/control
printf "the user's data\n" >"$socket"
start_trainer plain-file "$socket"
[ "$(said_off plain-file)" -eq 1 ] || fail "plain file: not said once that start and stop are off"
grep -q "$socket is in the way and is not a socket" "$work/plain-file.err" || fail "plain file: no reason given"
still_running plain-file
[ "$(grep -c "$off" "$work/plain-file.err")" -eq 1 ] || fail "plain file: said more than once"
if LUMBREL_CONTROL_SOCKET=$socket "$lumbrel" --start 2>/dev/null; then
    fail "plain file: --start was taken"
fi
stop_trainer
[ -f "$socket" ] && [ ! -S "$socket" ] || fail "plain file: it was removed or replaced"
[ "$(cat "$socket")" = "the user's data" ] || fail "plain file: its contents changed"

# 2. The socket of a trainer that was killed: the next trainer takes the name over.
socket=$work/control-killed
start_trainer first "$socket"
for _ in $(seq 100); do
    [ -S "$socket" ] && break
    sleep 0.1
done
[ -S "$socket" ] || fail "killed trainer: the first trainer made no socket"
kill -KILL "$trainer"
wait "$trainer" 2>/dev/null || true
[ -S "$socket" ] || fail "killed trainer: no socket file was left to test with"
start_trainer second "$socket"
served=no
for _ in $(seq 50); do
    if LUMBREL_CONTROL_SOCKET=$socket "$lumbrel" --start 2>/dev/null; then
        served=yes
        break
    fi
    sleep 0.2
done
[ "$served" = yes ] || fail "killed trainer: the next trainer does not serve --start"
LUMBREL_CONTROL_SOCKET=$socket "$lumbrel" --stop || fail "killed trainer: --stop"
still_running second
[ "$(grep -c "$off" "$work/second.err" || true)" -eq 0 ] || fail "killed trainer: said off although it serves"
stop_trainer

# 3. A folder that does not exist.
socket=$work/missing/control
start_trainer missing-folder "$socket"
[ "$(said_off missing-folder)" -eq 1 ] || fail "missing folder: not said once"
still_running missing-folder
[ ! -e "$work/missing" ] || fail "missing folder: something was made"
stop_trainer

# 4. A folder that is not writable. Root may write anywhere: the trainer then runs as
# the unprivileged user nobody, where the system allows that.
runner=()
locked=$work/locked
mkdir -p "$locked" "$work/config"
if [ "$(id -u)" -eq 0 ]; then
    if command -v setpriv >/dev/null 2>&1 && id nobody >/dev/null 2>&1 &&
        setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups true 2>/dev/null; then
        chown nobody "$locked" "$work/config"
        runner=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
    else
        echo "SKIP: a not writable folder (no way to run as an unprivileged user)"
        locked=
    fi
fi
if [ -n "$locked" ]; then
    chmod 555 "$locked"
    if "${runner[@]}" test -w "$locked"; then
        echo "SKIP: a not writable folder (the folder stays writable here)"
    else
        start_trainer locked-folder "$locked/control" "${runner[@]}"
        [ "$(said_off locked-folder)" -eq 1 ] || fail "locked folder: not said once"
        still_running locked-folder
        [ -z "$(ls -A "$locked")" ] || fail "locked folder: something was made"
        stop_trainer
    fi
fi

echo "remote socket faults: passed"
