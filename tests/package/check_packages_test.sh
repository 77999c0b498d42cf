#!/usr/bin/env bash
# scripts/check-packages on this build: the project's list passes; a copy without
# libqt6opengl6-dev (which Qt6Charts' config needs) fails with one line per file of that
# package the build used, and no other line.
# Usage: check_packages_test.sh SOURCE_DIR BUILD_DIR. Exit 77 without a dpkg database.
set -euo pipefail
command -v dpkg-query >/dev/null || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$1/scripts/check-packages" "$2" || { echo "FAIL: the project's list"; exit 1; }
grep -vx 'libqt6opengl6-dev' "$1/scripts/packages.txt" >"$work/list"
status=0
"$1/scripts/check-packages" "$2" "$work/list" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] && grep -q '/Qt6OpenGL/Qt6OpenGLConfig\.cmake$' "$work/err" &&
    ! grep -v "^check-packages: add libqt6opengl6-dev to $work/list: the build uses /" "$work/err" ||
    { cat "$work/err"; echo "FAIL: status $status without libqt6opengl6-dev"; exit 1; }
echo "1 passed, 0 failed"
