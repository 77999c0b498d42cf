#!/usr/bin/env bash
# lumbrel-score and what it is given to read: pipes and devices, stray bytes in UTF-8,
# Latin-1, and copies as long as it takes.
set -u
score=$1
source "$(dirname "$0")/../checks.sh"

# A pipe nobody writes to and an endless device are refused in one line, at once.
mkfifo "$tmp/fifo"
printf 'kmr\n' > "$tmp/sent.txt"
while read -r sent copy; do
    timeout 20 "$score" "$sent" "$copy" > /dev/null 2> "$tmp/err"; status=$?
    check "lumbrel-score $sent $copy is refused" \
        '[ $status -eq 2 ] && [ "$(wc -l < "$tmp/err")" -eq 1 ] && grep -q "plain file" "$tmp/err"'
done <<LIST
$tmp/fifo $tmp/sent.txt
$tmp/sent.txt $tmp/fifo
$tmp/sent.txt /dev/zero
/dev/urandom $tmp/sent.txt
LIST
mkfifo "$tmp/sent.session"
timeout 20 "$score" "$tmp/sent.txt" "$tmp/sent.txt" --save > /dev/null 2> "$tmp/err"; status=$?
check "a pipe in place of the facts file is refused" '[ $status -eq 2 ] && grep -q "sent.session" "$tmp/err"'

# UTF-8 with one stray byte is UTF-8 with one character that was not sent; Latin-1 is Latin-1.
printf 'caf\xc3\xa9 \xc3\xa9t\xc3\xa9 na\xc3\xafve\n' > "$tmp/utf8.txt"
printf 'caf\xc3\xa9 \xc3\xa9t\xff\xc3\xa9 na\xc3\xafve\n' > "$tmp/stray.txt"
printf 'caf\xe9 \xe9t\xe9 na\xefve\n' > "$tmp/latin1.txt"
"$score" "$tmp/utf8.txt" "$tmp/stray.txt" > "$tmp/out"; status=$?
check "a stray byte in a UTF-8 copy costs one added character" \
    '[ $status -eq 0 ] && grep -q "correct 12, wrong 0, dropped 0, added 1$" "$tmp/out" && [ "$(tail -n 1 "$tmp/out")" = "accuracy 91.6%" ]'
"$score" "$tmp/utf8.txt" "$tmp/latin1.txt" > "$tmp/out"; status=$?
check "a Latin-1 copy is read as Latin-1" '[ $status -eq 0 ] && [ "$(tail -n 1 "$tmp/out")" = "accuracy 100.0%" ]'

# Copies of the most characters there are, aligned exactly: 199,000 characters of groups
# of five, in every 1000 groups one missed, one added and one with a character wrong.
awk 'BEGIN { srand(7); split("k m r s u a p t l o", c, " ");
             for (g = 0; g < 33167; g++) { w = ""; for (k = 0; k < 5; k++) w = w c[int(rand() * 10) + 1]; print w } }' \
    > "$tmp/groups"
head -c 199000 <(tr '\n' ' ' < "$tmp/groups") > "$tmp/long-sent.txt"
awk '{ if (NR % 1000 == 0) next; if (NR % 1000 == 500) print "xxxxx"; if (NR % 1000 == 250) sub(/^./, "q"); print }' \
    "$tmp/groups" | tr '\n' ' ' | head -c 199000 > "$tmp/long-copy.txt"
check "the long texts are 199,000 characters each" \
    '[ "$(wc -c < "$tmp/long-sent.txt")" -eq 199000 ] && [ "$(wc -c < "$tmp/long-copy.txt")" -eq 199000 ]'
"$score" "$tmp/long-sent.txt" "$tmp/long-copy.txt" > "$tmp/out"; status=$?
check "two copies of 199,000 characters align exactly" \
    '[ $status -eq 0 ] && ! grep -q "exact" "$tmp/out" && grep -qx "characters sent 165834, correct 165636, wrong 33, dropped 165, added 165" "$tmp/out"'
exit $fail
