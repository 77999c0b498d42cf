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
source "$(dirname "$0")/trainers.sh" "${1:?usage: remote_socket_faults_test.sh PATH/TO/lumbrel}"
chmod 755 "$work"
# No sound server: the trainer says it has no sound output and goes on; no server of
# the desktop is found or started.
unset XDG_RUNTIME_DIR

# 1. A plain file of the user's at the socket's path.
socket=$work/control
printf "the user's data\n" >"$socket"
start_trainer plain-file LUMBREL_CONTROL_SOCKET="$socket"
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
start_trainer first LUMBREL_CONTROL_SOCKET="$socket"
wait_for_socket "$socket"
kill -KILL "$trainer"
wait "$trainer" 2>/dev/null || true
[ -S "$socket" ] || fail "killed trainer: no socket file was left to test with"
start_trainer second LUMBREL_CONTROL_SOCKET="$socket"
serves_start "$socket" || fail "killed trainer: the next trainer does not serve --start"
LUMBREL_CONTROL_SOCKET=$socket "$lumbrel" --stop || fail "killed trainer: --stop"
still_running second
[ "$(grep -c "$off" "$work/second.err" || true)" -eq 0 ] || fail "killed trainer: said off although it serves"
stop_trainer

# 3. A folder that does not exist.
socket=$work/missing/control
start_trainer missing-folder LUMBREL_CONTROL_SOCKET="$socket"
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
        start_trainer locked-folder LUMBREL_CONTROL_SOCKET="$locked/control" "${runner[@]}"
        [ "$(said_off locked-folder)" -eq 1 ] || fail "locked folder: not said once"
        still_running locked-folder
        [ -z "$(ls -A "$locked")" ] || fail "locked folder: something was made"
        stop_trainer
    fi
fi

echo "remote socket faults: passed"
