#!/usr/bin/env bash
# The learner's own trainer is open while the suite runs. After the window and
# remote-control tests have run in the learner's environment (as when they are started
# by hand, outside CTest), that trainer still answers `lumbrel --start` and `--stop` on
# its default socket, and its settings and data folders are as they were.
#
# Usage: user_trainer_test.sh PATH/TO/lumbrel PATH/TO/lumbrel-ui-tests PATH/TO/remote_cli_test.sh
# Exit: 0 passed, 1 failed.
set -euo pipefail
lumbrel=$1
ui_tests=$2
remote_cli=$3

user=$(mktemp -d)
trainer=
cleanup() {
    if [ -n "$trainer" ]; then
        kill "$trainer" 2>/dev/null || true
        wait "$trainer" 2>/dev/null || true
    fi
    rm -rf "$user"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    for log in "$user"/*.log; do
        [ -f "$log" ] && { echo "== $log"; tail -n 30 "$log"; }
    done
    exit 1
}

# The learner's environment: folders of a desktop session, not marked as a test's.
for folder in home config data cache state runtime; do
    mkdir -p -m 700 "$user/$folder"
done
export HOME=$user/home XDG_CONFIG_HOME=$user/config XDG_DATA_HOME=$user/data \
    XDG_CACHE_HOME=$user/cache XDG_STATE_HOME=$user/state XDG_RUNTIME_DIR=$user/runtime
unset LUMBREL_PRIVATE_HOME LUMBREL_CONTROL_SOCKET
export QT_QPA_PLATFORM=offscreen
# No sound server: the trainer says so and goes on.
export PULSE_SERVER=unix:$user/no-sound-server
mkdir -p "$user/config/Zelph Software"
printf '[Setup]\nPitch=700\nPause=1\n' >"$user/config/Zelph Software/Lumbrel.conf"

"$lumbrel" >"$user/trainer.log" 2>&1 &
trainer=$!
socket=$user/runtime/lumbrel-$(id -u)
for _ in $(seq 100); do
    [ -S "$socket" ] && break
    sleep 0.1
done
[ -S "$socket" ] || fail "the learner's trainer made no socket at $socket"

# Every file of the learner's folders, with its contents.
snapshot() { (cd "$user" && find home config data cache state -type f -print0 | sort -z | xargs -0 -r md5sum); }
before=$(snapshot)

"$ui_tests" --gtest_filter='MainWindow*:RemoteControl*' >"$user/ui-tests.log" 2>&1 ||
    fail "the window and remote-control tests failed"
"$remote_cli" "$lumbrel" >"$user/remote-cli.log" 2>&1 || fail "the remote-control script failed"

kill -0 "$trainer" 2>/dev/null || fail "the learner's trainer is gone"
[ -S "$socket" ] || fail "the learner's socket is gone"
"$lumbrel" --start 2>"$user/start.log" || fail "the learner's trainer does not answer --start"
"$lumbrel" --stop 2>"$user/stop.log" || fail "the learner's trainer does not answer --stop"
[ "$(snapshot)" = "$before" ] || fail "the learner's files changed: $(diff <(echo "$before") <(snapshot) || true)"
echo "1 passed, 0 failed"
