# shellcheck shell=bash
# Sourced by the shell tests that are a list of checks: a scratch folder $tmp, removed at
# exit with any job still running; a private home below it (private_home.sh); and
# `check WHAT CONDITION`, which evaluates CONDITION, says "ok: WHAT" or "FAIL: WHAT" and
# keeps a failure in $fail for the script's `exit $fail`.
tmp=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; chmod -R u+rwx "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/private_home.sh" "$tmp/private"
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; else echo "ok: $1"; fi; }
