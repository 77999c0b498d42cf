#!/usr/bin/env bash
# lumbrel-render and the files it is given: inputs that never end, outputs that are
# replaced only by a render that succeeded, and three different files for the audio,
# the transcript and the session's facts.
set -u
render=$1
source "$(dirname "$0")/checks.sh"
# A run that may not take more than 20 s, nor write more than 64 MB.
bounded() { (ulimit -f 65536; timeout 20 "$render" "$@") 2>"$tmp/err"; }

mkfifo "$tmp/fifo"
printf 'cq\n' > "$tmp/cq.txt"
# Reader, input: an endless device and a pipe nobody writes to are refused in one line.
while read -r reader input; do
    bounded $reader "$input" -o "$tmp/x.wav"; status=$?
    check "$reader $input is refused at once" \
        '[ $status -eq 1 ] && [ "$(wc -l < "$tmp/err")" -eq 1 ] && grep -q "plain file" "$tmp/err"'
done <<LIST
-f /dev/zero
-f $tmp/fifo
--text /dev/zero
--text $tmp/fifo
--words /dev/zero
--qso $tmp/fifo
LIST
head -c $((64 * 1024 * 1024 + 1)) /dev/zero | tr '\0' e > "$tmp/huge.txt"
bounded -f "$tmp/huge.txt" -o "$tmp/x.wav"; status=$?
check "-f of a text beyond 64 MiB is refused" '[ $status -eq 1 ] && grep -q "larger than 64 MiB" "$tmp/err"'
rm -f "$tmp/huge.txt"

# A render that fails leaves the file it would have replaced as it was, and no other.
printf 'keep' > "$tmp/keep.wav"
printf 'keep' > "$tmp/keep.mp3"
printf 'keep' > "$tmp/keep.txt"
while read -r args; do
    timeout 20 "$render" $args 2>/dev/null; status=$?
    check "a failed render ($args) keeps the old file" \
        '[ $status -eq 1 ] && [ "$(cat "$tmp/keep.wav")" = keep ] && [ "$(cat "$tmp/keep.txt")" = keep ] && [ "$(ls -A "$tmp" | grep -c keep)" -eq 3 ]'
done <<LIST
-o $tmp/keep.wav --text $tmp/nonexistent --transcript $tmp/keep.txt
-o $tmp/keep.wav -f $tmp/nonexistent
-o $tmp/keep.wav --words $tmp/cq.txt --word-filter z
-o $tmp/keep.wav -f $tmp/fifo
LIST
if ls /usr/lib/*/libmp3lame.so.0 >/dev/null 2>&1; then
    "$render" -o "$tmp/keep.mp3" --text "$tmp/nonexistent" 2>/dev/null; status=$?
    check "a failed MP3 render keeps the old file" '[ $status -eq 1 ] && [ "$(cat "$tmp/keep.mp3")" = keep ]'
fi
chmod 600 "$tmp/keep.wav"
"$render" -o "$tmp/keep.wav" --text "$tmp/cq.txt" --transcript "$tmp/keep.txt"; status=$?
check "a render that succeeds replaces both, keeping the old file's permissions" \
    '[ $status -eq 0 ] && [ "$(head -c 4 "$tmp/keep.wav")" = RIFF ] && [ "$(stat -c %a "$tmp/keep.wav")" = 600 ] && grep -qx " cq" "$tmp/keep.txt" && [ -s "$tmp/keep.session" ]'
ln -s keep.wav "$tmp/link.wav"
"$render" --wpm 20 -o "$tmp/link.wav" e; status=$?
check "a render through a link replaces the file it leads to, the link stays" \
    '[ $status -eq 0 ] && [ -L "$tmp/link.wav" ] && [ "$(stat -c %s "$tmp/keep.wav")" -eq $((46 + 42336)) ]'
check "nothing is left beside the files" '[ -z "$(ls -A "$tmp" | grep "\.new$")" ]'

# The audio, the transcript and the facts file are three files.
mkdir "$tmp/same"
printf 'old' > "$tmp/same/lesson.txt"
ln "$tmp/same/lesson.txt" "$tmp/same/hard.wav"
while read -r out transcript; do
    "$render" --text "$tmp/cq.txt" -o "$tmp/same/$out" --transcript "$tmp/same/$transcript" 2>"$tmp/err"; status=$?
    check "-o $out --transcript $transcript is refused" \
        '[ $status -eq 2 ] && [ "$(wc -l < "$tmp/err")" -eq 1 ] && [ "$(cat "$tmp/same/lesson.txt")" = old ] && [ ! -e "$tmp/same/lesson.session" ]'
done <<LIST
same.wav same.wav
lesson.session lesson.txt
./lesson.session ../same/lesson.TXT
hard.wav lesson.txt
LIST
exit $fail
