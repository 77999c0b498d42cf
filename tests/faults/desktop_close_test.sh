#!/usr/bin/env bash
# The desktop ends the trainer: `kill PID` (SIGTERM, as at logout and shutdown) and
# SIGHUP (its terminal closed). Each ends the program as its Exit command does: status
# 0, the settings and the window's placement written, the control socket removed.
#
# Usage: desktop_close_test.sh PATH/TO/lumbrel
# Exit: 0 passed, 1 failed.
set -euo pipefail
source "$(dirname "$0")/trainers.sh" "${1:?usage: desktop_close_test.sh PATH/TO/lumbrel}"
export LUMBREL_CONTROL_SOCKET=$work/control
settings="$XDG_CONFIG_HOME/Zelph Software/Lumbrel.conf"
shown_on_failure=("$settings")

passed=0
for signal in TERM HUP; do
    rm -f "$settings"
    mkdir -p "$(dirname "$settings")"
    # A pitch of the learner's own, which the exit save writes back as it is.
    printf '[Setup]\nPitch=640\n' >"$settings"
    start_trainer trainer
    wait_for_socket "$LUMBREL_CONTROL_SOCKET"
    sleep 0.5
    kill -"$signal" "$trainer"
    status=0
    for _ in $(seq 100); do
        kill -0 "$trainer" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$trainer" 2>/dev/null && fail "$signal: the trainer is still running 10 s later"
    wait "$trainer" || status=$?
    [ "$status" -eq 0 ] || fail "$signal: exit status $status"
    grep -q '^Letters=' "$settings" || fail "$signal: the options were not saved"
    grep -q '^Pitch=640$' "$settings" || fail "$signal: the pitch was not kept"
    grep -q '^\[FormState\]' "$settings" && grep -q '^Saved=' "$settings" ||
        fail "$signal: the window's placement was not saved"
    [ ! -e "$LUMBREL_CONTROL_SOCKET" ] || fail "$signal: the socket file was left behind"
    passed=$((passed + 1))
done

echo "$passed passed, 0 failed"
