#!/usr/bin/env bash
# lumbrel-score: the aligned pair, the last line, the exit status, and bad files.
set -u
score=$1
tmp=$(mktemp -d)
trap 'chmod -R u+rwx "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
source "$(dirname "$0")/../private_home.sh" "$tmp/private"
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; else echo "ok: $1"; fi; }

printf 'kmr mkk rrm kmk\n' > "$tmp/sent.txt"
printf 'KMR\n\nrrm  kxk zz\n' > "$tmp/copy.txt"
"$score" "$tmp/sent.txt" "$tmp/copy.txt" > "$tmp/out" 2> "$tmp/err"; status=$?
check "a copy scores with status 0" '[ $status -eq 0 ] && [ ! -s "$tmp/err" ]'
check "the sent line comes first" '[ "$(sed -n 1p "$tmp/out")" = "sent  kmr mkk rrm kmk __" ]'
check "the copy line is under it" '[ "$(sed -n 2p "$tmp/out")" = "copy  kmr ___ rrm kxk zz" ]'
check "the marks line marks dropped, wrong and added" '[ "$(sed -n 3p "$tmp/out")" = "          ---      ^  ++" ]'
check "the counts are given" 'grep -q "^characters sent 12, correct 8, wrong 1, dropped 3, added 2$" "$tmp/out"'
check "the last line is the accuracy" '[ "$(tail -n 1 "$tmp/out")" = "accuracy 50.0%" ]'

"$score" "$tmp/sent.txt" "$tmp/sent.txt" > "$tmp/out"; status=$?
check "a perfect copy is 100.0%" '[ $status -eq 0 ] && [ "$(tail -n 1 "$tmp/out")" = "accuracy 100.0%" ]'
: > "$tmp/empty.txt"
"$score" "$tmp/sent.txt" "$tmp/empty.txt" > "$tmp/out"; status=$?
check "an empty copy is 0.0%" '[ $status -eq 0 ] && [ "$(tail -n 1 "$tmp/out")" = "accuracy 0.0%" ]'
check "the last line has the form accuracy NN.N%" 'tail -n 1 "$tmp/out" | grep -Eq "^accuracy [0-9]{1,3}\.[0-9]%$"'

"$score" "$tmp/sent.txt" "$tmp/missing.txt" > "$tmp/out" 2> "$tmp/err"; status=$?
check "a missing file is status 2 with a message" '[ $status -eq 2 ] && grep -q "missing.txt: no such file" "$tmp/err" && [ ! -s "$tmp/out" ]'
"$score" "$tmp" "$tmp/copy.txt" 2> "$tmp/err"; status=$?
check "a folder is status 2 with a message" '[ $status -eq 2 ] && grep -q "folder" "$tmp/err"'
printf 'kmr\0\001\002\377 mkk' > "$tmp/binary.bin"
"$score" "$tmp/sent.txt" "$tmp/binary.bin" 2> "$tmp/err"; status=$?
check "a binary file is status 2 with a message" '[ $status -eq 2 ] && grep -q "binary.bin is not a text file" "$tmp/err"'
"$score" "$tmp/empty.txt" "$tmp/copy.txt" 2> "$tmp/err"; status=$?
check "a sent text without characters is status 2" '[ $status -eq 2 ] && grep -q "no characters" "$tmp/err"'
if [ "$(id -u)" -ne 0 ]; then
    cp "$tmp/copy.txt" "$tmp/locked.txt"
    chmod 000 "$tmp/locked.txt"
    "$score" "$tmp/sent.txt" "$tmp/locked.txt" 2> "$tmp/err"; status=$?
    check "an unreadable file is status 2 with a message" '[ $status -eq 2 ] && grep -q "cannot be read" "$tmp/err"'
else
    echo "ok: an unreadable file (not checked: root reads every file)"
fi
"$score" "$tmp/sent.txt" 2> "$tmp/err"; status=$?
check "one file only is a usage error" '[ $status -eq 2 ] && grep -q "usage:" "$tmp/err"'
"$score" --help > "$tmp/out"; status=$?
check "--help explains" '[ $status -eq 0 ] && grep -q "usage: lumbrel-score SENT.txt COPY.txt" "$tmp/out"'

exit $fail
