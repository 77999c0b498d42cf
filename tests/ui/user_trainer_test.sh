#!/usr/bin/env bash
# The learner's own trainer is open while the window and remote-control tests run in the
# learner's environment (as when started by hand, outside CTest): it still answers
# --start and --stop on its default socket, and its folders are as they were.
# Usage: user_trainer_test.sh PATH/TO/lumbrel PATH/TO/lumbrel-ui-tests PATH/TO/remote_cli_test.sh
set -euo pipefail
lumbrel=$1
user=$(mktemp -d)
trainer=
trap 'set +e; [ -n "$trainer" ] && kill "$trainer" && wait "$trainer" 2>/dev/null; rm -rf "$user"' EXIT
fail() { echo "FAIL: $*"; tail -n 20 "$user"/*.log; exit 1; }

mkdir -p -m 700 "$user"/{home,config,data,cache,state,runtime} "$user/config/Zelph Software"
export HOME=$user/home XDG_CONFIG_HOME=$user/config XDG_DATA_HOME=$user/data XDG_CACHE_HOME=$user/cache \
    XDG_STATE_HOME=$user/state XDG_RUNTIME_DIR=$user/runtime QT_QPA_PLATFORM=offscreen \
    PULSE_SERVER=unix:$user/no-sound-server
unset LUMBREL_PRIVATE_HOME LUMBREL_CONTROL_SOCKET
printf '[Setup]\nPitch=700\n' >"$user/config/Zelph Software/Lumbrel.conf"
"$lumbrel" >"$user/trainer.log" 2>&1 &
trainer=$!
socket=$user/runtime/lumbrel-$(id -u)
for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.1; done
[ -S "$socket" ] || fail "the learner's trainer made no socket"
snapshot() { (cd "$user" && find home config data cache state -type f -print0 | sort -z | xargs -0 -r md5sum); }
before=$(snapshot)

"$2" --gtest_filter='MainWindow*:RemoteControl*' >"$user/ui-tests.log" 2>&1 || fail "the window and remote-control tests"
"$3" "$lumbrel" >"$user/remote-cli.log" 2>&1 || fail "the remote-control script"
kill -0 "$trainer" || fail "the learner's trainer is gone"
"$lumbrel" --start && "$lumbrel" --stop || fail "the learner's trainer does not answer --start and --stop"
[ "$(snapshot)" = "$before" ] || fail "the learner's files changed"
echo "1 passed, 0 failed"
