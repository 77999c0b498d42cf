#!/usr/bin/env bash
# `lumbrel --start` and `lumbrel --stop`: status 1 with a message when no trainer runs,
# status 0 once a trainer (offscreen, on a private settings folder) listens.
set -euo pipefail
lumbrel=$1
work=$(mktemp -d)
trainer=
cleanup() {
    if [ -n "$trainer" ]; then
        kill "$trainer" 2>/dev/null || true
        wait "$trainer" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/../private_home.sh" "$work/private"
export LUMBREL_CONTROL_SOCKET=$work/control
export QT_QPA_PLATFORM=offscreen

# Without a display: one line that says so, status 1; an unknown option is named, with
# the usage, status 2, even then.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$lumbrel")
status=0; "${nodisplay[@]}" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "no display could be opened" "$work/err" ||
    { echo "FAIL: without a display: status $status, $(cat "$work/err")"; exit 1; }
status=0; "${nodisplay[@]}" --bogus 2>"$work/err" || status=$?
[ "$status" -eq 2 ] && grep -q "^lumbrel: unknown option '--bogus'$" "$work/err" && grep -q '^Usage: lumbrel' "$work/err" ||
    { echo "FAIL: --bogus: status $status, $(cat "$work/err")"; exit 1; }

if "$lumbrel" --start 2>"$work/err"; then
    echo "FAIL: --start succeeded with no trainer running"; exit 1
else
    status=$?
fi
[ "$status" -eq 1 ] || { echo "FAIL: --start exited $status, not 1"; exit 1; }
grep -q "no Lumbrel trainer is running" "$work/err" || { echo "FAIL: message: $(cat "$work/err")"; exit 1; }

"$lumbrel" >"$work/trainer.log" 2>&1 &
trainer=$!
for _ in $(seq 1 100); do
    [ -S "$work/control" ] && break
    sleep 0.1
done
[ -S "$work/control" ] || { echo "FAIL: the trainer made no socket"; cat "$work/trainer.log"; exit 1; }
"$lumbrel" --start || { echo "FAIL: --start to a running trainer"; exit 1; }
"$lumbrel" --stop || { echo "FAIL: --stop to a running trainer"; exit 1; }
# A second copy brings the running one to the front and leaves at once.
timeout 10 "$lumbrel" >"$work/second.log" 2>&1 || { echo "FAIL: a second copy did not hand over"; cat "$work/second.log"; exit 1; }
kill -0 "$trainer" || { echo "FAIL: the first trainer is gone"; exit 1; }
echo "1 passed, 0 failed"
