#!/usr/bin/env bash
# What a screen reader hears of the main window, over the desktop's accessibility bus
# (AT-SPI): the window test of the session time and the status line runs on an X
# server of its own (Xvfb) with a private session bus, on which the accessibility bus
# is started, so that Qt announces every change of an accessible name as it would to
# Orca.
# Usage: screen_reader_test.sh PATH/TO/lumbrel-ui-tests
# Exit: 0 passed, 1 failed, 77 skipped (no dbus-run-session, Xvfb or AT-SPI bus).
set -euo pipefail
tests=${1:?usage: screen_reader_test.sh PATH/TO/lumbrel-ui-tests}
for tool in dbus-run-session dbus-send xvfb-run xauth; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: the AT-SPI bus (at-spi2-core) is not installed"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
source "$(dirname "$0")/../private_home.sh" "$tmp/private"

# shellcheck disable=SC2016  # the inner script expands its own arguments
env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS -u AT_SPI_BUS_ADDRESS \
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    dbus-run-session -- sh -c '
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null &&
        xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
            "$1" --gtest_filter=Keyboard.AScreenReaderHearsTheTimeAndTheStatusLineChange
    ' sh "$tests" >"$tmp/out.txt" 2>&1 || { cat "$tmp/out.txt"; echo "FAIL: the screen reader test failed"; exit 1; }
grep -q '^\[  SKIPPED \]' "$tmp/out.txt" && { cat "$tmp/out.txt"; echo "FAIL: the accessibility bus did not come up"; exit 1; }
grep -q '^\[  PASSED  \] 1 test' "$tmp/out.txt" || { cat "$tmp/out.txt"; echo "FAIL: the test did not run"; exit 1; }
echo "the time and the status line are announced over AT-SPI"
