#!/usr/bin/env bash
# The control socket on a shared machine, tried as other local users and careless
# clients would: another user's socket at the paths a trainer might guess, another
# user's program behind a socket of this user's, another user sending requests, two
# thousand silent connections, and a socket path too long for the system. The trainer
# must keep running, serve only its own user and never believe or obey anybody else.
#
# The cases with another user need root (CI runs as root): a user is added for the test
# and removed again; elsewhere they are skipped.
#
# Usage: control_socket_test.sh PATH/TO/lumbrel PATH/TO/lumbrel-socket-peer
# Exit: 0 passed, 1 failed.
set -euo pipefail
peer=${2:?usage: control_socket_test.sh PATH/TO/lumbrel PATH/TO/lumbrel-socket-peer}
source "$(dirname "$0")/trainers.sh" "${1:?usage: control_socket_test.sh PATH/TO/lumbrel PATH/TO/lumbrel-socket-peer}"
chmod 711 "$work"
stop_signal=KILL
intruder=
cleanup_more() {
    if [ -n "$intruder" ]; then
        userdel "$intruder" 2>/dev/null || true
    fi
}

passed=0

# ---- Another user ------------------------------------------------------------------
if [ "$(id -u)" -eq 0 ] && command -v useradd >/dev/null && command -v setpriv >/dev/null; then
    intruder=lumbrel-t$$
    useradd --system --no-create-home --shell /usr/sbin/nologin "$intruder" ||
        fail "useradd $intruder"
    as_intruder=(setpriv --reuid="$(id -u "$intruder")" --regid="$(id -g "$intruder")" --clear-groups)
    shared=$work/shared  # a folder every user may write, as /tmp
    mkdir -m 1777 "$shared"

    # 1. With no runtime folder, the other user binds what the trainer could guess in the
    # shared temporary folder first: its socket and Qt's runtime folder for this user.
    "${as_intruder[@]}" mkdir -m 700 "$shared/runtime-$(id -un)"
    "${as_intruder[@]}" "$peer" listen "$shared/lumbrel-$(id -u)" "$shared/heard.log" >"$work/impostor.log" 2>&1 &
    pids+=($!)
    wait_for_socket "$shared/lumbrel-$(id -u)"
    guessing=(-u XDG_RUNTIME_DIR TMPDIR="$shared")
    start_trainer guessed "${guessing[@]}"
    still_running "another user's socket at the guessable path" 2
    env "${guessing[@]}" "$lumbrel" --start 2>"$work/guessed-start.err" || fail "guessed: --start to its own trainer"
    env "${guessing[@]}" "$lumbrel" --stop 2>"$work/guessed-stop.err" || fail "guessed: --stop to its own trainer"
    [ ! -s "$shared/heard.log" ] || fail "guessed: the other user received: $(cat "$shared/heard.log")"
    stop_trainer
    passed=$((passed + 1))

    # 2. Another user's program behind a socket file of this user's, in a folder of this
    # user's: neither the single-copy check nor --start believes it.
    held=$work/held
    mkdir -m 777 "$held"
    "${as_intruder[@]}" "$peer" listen "$held/control" "$shared/held.log" >"$work/held-impostor.log" 2>&1 &
    pids+=($!)
    wait_for_socket "$held/control"
    chmod 700 "$held"
    chown "$(id -u):$(id -g)" "$held/control"
    if LUMBREL_CONTROL_SOCKET=$held/control "$lumbrel" --start 2>"$work/held-start.err"; then
        fail "held: --start believed another user's program"
    fi
    grep -q "another user" "$work/held-start.err" || fail "held: not said why: $(cat "$work/held-start.err")"
    start_trainer held LUMBREL_CONTROL_SOCKET="$held/control"
    [ "$(said_off held)" -ge 1 ] || fail "held: the trainer did not say that start and stop are off"
    still_running "another user's program behind this user's socket" 2
    [ ! -s "$shared/held.log" ] || fail "held: the other user received: $(cat "$shared/held.log")"
    stop_trainer
    passed=$((passed + 1))

    # 3. The other user reaches the trainer's socket (its file made open to all): the
    # trainer answers nothing and obeys nothing.
    open=$work/open
    mkdir -m 711 "$open"
    start_trainer open LUMBREL_CONTROL_SOCKET="$open/control"
    wait_for_socket "$open/control"
    # Answered once it has checked the socket it made: only then is the file opened up.
    LUMBREL_CONTROL_SOCKET=$open/control "$lumbrel" --stop || fail "open: --stop of its own user before"
    chmod 777 "$open/control"
    answer=$("${as_intruder[@]}" "$peer" send "$open/control" stop) || fail "open: the other user could not connect"
    [ -z "$answer" ] || fail "open: another user's request was answered: $answer"
    LUMBREL_CONTROL_SOCKET=$open/control "$lumbrel" --stop || fail "open: --stop of its own user"
    stop_trainer
    passed=$((passed + 1))
else
    echo "SKIP: the cases with another user (need root, useradd and setpriv)"
fi

# ---- Two thousand silent connections -------------------------------------------------
# Four clients of 500 each, so that none of them needs more than the usual limit of
# open files; nothing raises any limit.
socket=$work/control
start_trainer idle LUMBREL_CONTROL_SOCKET="$socket"
wait_for_socket "$socket"
idlers=()
for i in 1 2 3 4; do
    "$peer" idle "$socket" 500 >"$work/idle$i.log" 2>&1 &
    idlers+=($!)
    pids+=($!)
done
for _ in $(seq 300); do
    [ "$(cat "$work"/idle?.log 2>/dev/null | grep -c '^open')" -eq 4 ] && break
    sleep 0.1
done
opened=0
for n in $(sed -n 's/^open //p' "$work"/idle?.log); do opened=$((opened + n)); done
[ "$opened" -ge 2000 ] || fail "idle: only $opened of 2000 connections were made"
LUMBREL_CONTROL_SOCKET=$socket timeout 10 "$lumbrel" --stop || fail "idle: --stop after 2000 silent connections"
LUMBREL_CONTROL_SOCKET=$socket timeout 10 "$lumbrel" --start || fail "idle: --start after 2000 silent connections"
files=$(ls "/proc/$trainer/fd" | wc -l)
[ "$files" -lt 300 ] || fail "idle: the trainer holds $files open files"
kill -0 "$trainer" || fail "idle: the trainer is gone"
for pid in "${idlers[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
stop_trainer
passed=$((passed + 1))

# ---- A path too long for a socket ----------------------------------------------------
deep=$work/$(printf 'a-folder-with-a-long-name-%.0s' 1 2 3 4)
mkdir -m 700 "$deep"
socket=$deep/control
[ "${#socket}" -gt 108 ] || fail "long: the path is not long enough to test with"
start_trainer long LUMBREL_CONTROL_SOCKET="$socket"
serves_start "$socket" || fail "long: --start"
grep -q "$off" "$work/long.err" && fail "long: start and stop are off: $(cat "$work/long.err")"
# A second copy hands over instead of opening a second window.
LUMBREL_CONTROL_SOCKET=$socket timeout 10 "$lumbrel" >"$work/long-second.log" 2>&1 ||
    fail "long: a second copy did not hand over"
kill -0 "$trainer" || fail "long: the first trainer is gone"
stop_trainer
passed=$((passed + 1))

echo "$passed passed, 0 failed"
