#!/usr/bin/env bash
# scripts/check-packages on this build: the project's package list passes, and a copy
# without the line that brings Qt6Charts' OpenGL dependency fails, naming that package
# once for each of its files the build used and nothing else.
#
# Usage: check_packages_test.sh SOURCE_DIR BUILD_DIR
# Exit: 0 passed, 1 failed, 77 skipped (no dpkg database here).
set -euo pipefail
source_dir=$1
build=$2
command -v dpkg-query >/dev/null || { echo "no dpkg-query: not a Debian system"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
check=$source_dir/scripts/check-packages

"$check" "$build" >"$work/out" 2>&1 || { cat "$work/out"; echo "FAIL: the project's list does not pass"; exit 1; }

grep -vx 'libqt6opengl6-dev' "$source_dir/scripts/packages.txt" >"$work/packages.txt"
status=0
"$check" "$build" "$work/packages.txt" >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || { echo "FAIL: a list without libqt6opengl6-dev exits $status, not 1"; exit 1; }
grep -q '/Qt6OpenGL/Qt6OpenGLConfig\.cmake$' "$work/err" || { cat "$work/err"; echo "FAIL: Qt6OpenGLConfig.cmake not named"; exit 1; }
if grep -v "^check-packages: add libqt6opengl6-dev to $work/packages.txt: the build uses /" "$work/err"; then
    echo "FAIL: lines that do not name libqt6opengl6-dev"
    exit 1
fi
echo "1 passed, 0 failed"
