#!/usr/bin/env bash
# The command-line renderer: exact output for "e", usage errors, files.
set -u
render=$1
source "$(dirname "$0")/checks.sh"

"$render" --wpm 20 -o "$tmp/e.wav" e
check "one e at 20 WPM is 42336 bytes of data" '[ "$(stat -c %s "$tmp/e.wav")" -eq $((46 + 42336)) ]'

"$render" --wpm 20 --seed 7 -o "$tmp/a.wav" "paris paris"
"$render" --wpm 20 --seed 7 -o "$tmp/b.wav" "paris paris"
check "the same seed gives the same file" 'cmp -s "$tmp/a.wav" "$tmp/b.wav"'

printf 'cq de\r\n\x00\xff k\n' > "$tmp/text.txt"
"$render" --wpm 25 -o "$tmp/f.wav" -f "$tmp/text.txt"
check "-f renders a file with odd bytes" '[ "$(stat -c %s "$tmp/f.wav")" -gt 46 ]'
"$render" --wpm 25 -o "$tmp/p.wav" -f - <"$tmp/text.txt"
cat "$tmp/text.txt" | "$render" --wpm 25 -o "$tmp/q.wav" -f -
check "-f - renders standard input, a file or a pipe, as -f renders the file" \
    'cmp -s "$tmp/f.wav" "$tmp/p.wav" && cmp -s "$tmp/f.wav" "$tmp/q.wav"'
head -c $((64 * 1024 * 1024 + 1)) /dev/zero | "$render" -f - -o "$tmp/big.wav" 2>"$tmp/err"; status=$?
check "more than 64 MiB on standard input is refused before anything is written" \
    '[ $status -eq 1 ] && grep -q "standard input: it is larger than 64 MiB" "$tmp/err" && [ ! -e "$tmp/big.wav" ]'

"$render" --wpm 0 -o "$tmp/x.wav" e 2>"$tmp/err"; status=$?
check "a speed of 0 is a usage error" '[ $status -eq 2 ] && grep -q -- "--wpm" "$tmp/err"'

# A course plan's 12/8 with two seconds of silence first: the per-mille that gives 8 at
# 12 WPM is 667, so each of the 4 units of "e" stretches to 8820 * 1000 / 667 = 13223
# values (a unit at 12 WPM is 100 ms, 4410 frames, 8820 values).
"$render" --wpm 12 --effective-wpm 8 --pause 2 -o "$tmp/plan.wav" e 2>"$tmp/err"; status=$?
check "12/8 after a pause of 2 s is 2 s of silence and a stretched e" \
    '[ $status -eq 0 ] && [ ! -s "$tmp/err" ] && [ "$(stat -c %s "$tmp/plan.wav")" -eq $((46 + 2 * 176400 + 4 * 13223 * 2)) ] && cmp -s -n $((2 * 176400)) -i 46:0 "$tmp/plan.wav" /dev/zero'
"$render" --wpm 6 --effective 500 -o "$tmp/x.wav" e 2>"$tmp/err"; status=$?
check "an effective speed beyond the stretch cap is noted once" '[ $status -eq 0 ] && [ "$(grep -c "note:.*3.0 WPM.*5.6 WPM" "$tmp/err")" -eq 1 ]'
"$render" -f "$tmp/missing.txt" -o "$tmp/x.wav" 2>/dev/null; status=$?
check "a missing text file is a runtime failure" '[ $status -eq 1 ]'
"$render" -o "$tmp/no/such/dir/x.wav" e 2>/dev/null; status=$?
check "an output that cannot be created is a runtime failure" '[ $status -eq 1 ]'
"$render" --help | grep -q -- "--effective"
check "--help lists the options" '[ $? -eq 0 ]'
"$render" --version | grep -Eq '^lumbrel-render [0-9]+\.[0-9]+'
check "--version prints the version" '[ $? -eq 0 ]'

# A whole random-group session through the trainer's engine on the virtual device.
"$render" --groups --minutes 1 --chars 3 --seed 5 -o "$tmp/g.wav" --transcript "$tmp/g.txt"; status=$?
check "a one-minute session renders" '[ $status -eq 0 ]'
bytes=$(( $(stat -c %s "$tmp/g.wav") - 46 ))
check "it holds a minute of audio and at most the two buffers in flight more" \
    '[ $bytes -ge $((60 * 176400)) ] && [ $bytes -le $((75 * 176400)) ]'
check "the transcript holds only the first three Koch characters and spaces" \
    'grep -q "[kmr]" "$tmp/g.txt" && ! grep -q "[^kmr ]" "$tmp/g.txt"'
"$render" --groups --minutes 1 --chars 3 --seed 5 -o "$tmp/g2.wav"
check "a session is reproducible from its seed" 'cmp -s "$tmp/g.wav" "$tmp/g2.wav"'
check "a session starts with the second of its countdown in silence" 'cmp -s -n 176400 -i 46:0 "$tmp/g.wav" /dev/zero'
for plan in "--wpm 12 --effective-wpm 8" "--wpm 12 --effective 667" "--wpm 13 --effective 667"; do
    "$render" --groups --minutes 1 --seed 5 $plan -o "$tmp/plan ${plan//[ -]/}.wav"
done
check "in a session 12/8 is 12 WPM at 667 per mille, and 13 WPM is not 12" \
    'cmp -s "$tmp/plan wpm12effectivewpm8.wav" "$tmp/plan wpm12effective667.wav" && ! cmp -s "$tmp/plan wpm12effective667.wav" "$tmp/plan wpm13effective667.wav"'

# Words, sample QSOs and text files through the trainer's engine.
"$render" --words --minutes 1 --seed 3 -o "$tmp/w.wav" --transcript "$tmp/w.txt"; status=$?
check "a one-minute session of the shipped words renders" '[ $status -eq 0 ]'
bytes=$(( $(stat -c %s "$tmp/w.wav") - 46 ))
check "it lasts the minute and ends with a whole word" \
    '[ $bytes -ge $((60 * 176400)) ] && [ $bytes -le $((75 * 176400)) ] && grep -q " $" "$tmp/w.txt"'
tr ' ' '\n' < "$tmp/w.txt" | sed '/^$/d' > "$tmp/w.words"
check "every word heard is one of the thousand" \
    '[ -s "$tmp/w.words" ] && ! grep -vxFf "$(dirname "$0")/../Word Files/1000 Common Words.txt" "$tmp/w.words"'
"$render" --words --minutes 1 --seed 3 -o "$tmp/w2.wav"
check "a word session is reproducible from its seed" 'cmp -s "$tmp/w.wav" "$tmp/w2.wav"'

"$render" --words --my-characters --chars 12 --minutes 1 --seed 3 -o "$tmp/m.wav" --transcript "$tmp/m.txt"; status=$?
check "words of my characters are made of the first twelve Koch characters only" \
    '[ $status -eq 0 ] && grep -q "[a-z]" "$tmp/m.txt" && ! tr -d " \n" < "$tmp/m.txt" | grep -q "[^kmrsuaptlowi]"'

printf 'QRL\r\nqrz\nqsl?\nabc\nqthqth\n\n' > "$tmp/words.txt"
"$render" --words "$tmp/words.txt" --word-filter Q --max-word-length 4 --words-size 100 --minutes 1 --seed 1 \
    -o "$tmp/w3.wav" --transcript "$tmp/w3.txt"; status=$?
tr ' ' '\n' < "$tmp/w3.txt" | sed '/^$/d' | sort -u > "$tmp/w3.words"
check "a word file of our own, filtered by letter and length" \
    '[ $status -eq 0 ] && [ -s "$tmp/w3.words" ] && ! grep -vxE "qrl|qrz|qsl\?" "$tmp/w3.words"'

printf 'cq de qa1abc ^ar k\nqa1abc de qb2xy ^kn\n' > "$tmp/qso.txt"
"$render" --qso "$tmp/qso.txt" --seed 2 -o "$tmp/q.wav" --transcript "$tmp/q.txt"; status=$?
check "one QSO of a QSO file is sent whole" \
    '[ $status -eq 0 ] && grep -qxE " (cq de qa1abc \^ar k|qa1abc de qb2xy \^kn)" "$tmp/q.txt"'
"$render" --qso --seed 2 -o "$tmp/q2.wav" --transcript "$tmp/q2.txt"; status=$?
check "a QSO of the shipped file" '[ $status -eq 0 ] && [ "$(wc -c < "$tmp/q2.txt")" -gt 5 ]'
"$render" --qso generated --seed 5 --wpm 50 -o "$tmp/g1.wav" --transcript "$tmp/g1.txt"; status=$?
"$render" --qso generated --seed 5 --wpm 50 -o "$tmp/g2.wav" --transcript "$tmp/g2.txt"
"$render" --qso generated --seed 6 --wpm 50 -o "$tmp/g3.wav" --transcript "$tmp/g3.txt"
check "a contact made at the moment plays whole, the same from the same seed" \
    '[ $status -eq 0 ] && [ "$(wc -w < "$tmp/g1.txt")" -gt 8 ] && cmp -s "$tmp/g1.txt" "$tmp/g2.txt" && ! cmp -s "$tmp/g1.txt" "$tmp/g3.txt"'

printf "' one station\nCQ,25,0,0,1\n" > "$tmp/station.txt"
"$render" --text "$tmp/station.txt" --seed 4 -o "$tmp/s.wav" --transcript "$tmp/s.txt"; status=$?
check "a parameter line plays its station and logs it" \
    '[ $status -eq 0 ] && grep -qxE " *[0-9]+ 25, [0-9]+, 0, 1, CQ" "$tmp/s.txt" && [ "$(grep -c . "$tmp/s.txt")" -eq 1 ]'
printf 'CQ CQ DE\r\nK\r\n' > "$tmp/plain.txt"
"$render" --text "$tmp/plain.txt" -o "$tmp/p.wav" --transcript "$tmp/p.txt"; status=$?
check "a plain text file plays through the engine" '[ $status -eq 0 ] && grep -qx " cq cq de k" "$tmp/p.txt"'
"$render" --text "$(dirname "$0")/../Text Files/Pileup.txt" --seed 1 -o "$tmp/pile.wav" --transcript "$tmp/pile.txt"; status=$?
check "the shipped pile-up logs a line per station" '[ $status -eq 0 ] && [ "$(grep -c . "$tmp/pile.txt")" -ge 5 ]'

"$render" --text "$tmp/missing.txt" -o "$tmp/x.wav" 2>"$tmp/err"; status=$?
check "a missing text file is a runtime failure" '[ $status -eq 1 ] && grep -q "missing.txt" "$tmp/err"'
"$render" --words "$tmp/missing.txt" -o "$tmp/x.wav" 2>/dev/null; status=$?
check "a missing word file is a runtime failure" '[ $status -eq 1 ]'
"$render" --words "$tmp/words.txt" --word-filter z -o "$tmp/x.wav" 2>"$tmp/err"; status=$?
check "a word file with nothing left after filtering is a runtime failure" '[ $status -eq 1 ] && grep -q "filter" "$tmp/err"'
truncate -s 9M "$tmp/big.txt"
"$render" --qso "$tmp/big.txt" -o "$tmp/x.wav" 2>"$tmp/err"; status=$?
check "a list too large is refused" '[ $status -eq 1 ] && grep -q "too large" "$tmp/err"'
# Usage errors, status 2: the arguments, then what is wrong with them.
while IFS='|' read -r args why; do
    eval "\"\$render\" $args" </dev/null 2>/dev/null; status=$?
    check "$why is a usage error" '[ $status -eq 2 ]'
done <<'LIST'
--bogus e|an unknown option
--effective 1001 -o "$tmp/x.wav" e|--effective 1001
--wpm 12 --effective-wpm 13 -o "$tmp/x.wav" e|--wpm 12 --effective-wpm 13
--effective 500 --effective-wpm 5 -o "$tmp/x.wav" e|--effective 500 --effective-wpm 5
--pause 61 -o "$tmp/x.wav" e|--pause 61
-o "$tmp/x.wav"|no text
--groups --wpm 81 -o "$tmp/x.wav"|a session speed above 80 WPM
--groups -o "$tmp/x.wav" hello|a text for a session
--groups --noise S4 -o "$tmp/x.wav"|an unknown noise level
--play -o "$tmp/x.wav" e|--play without --groups
--words --qso -o "$tmp/x.wav"|two sessions at once
--words --word-filter 1 -o "$tmp/x.wav"|a word filter of no letters
--qso --word-filter abc -o "$tmp/x.wav"|a word option without --words
--words --words-size 300 -o "$tmp/x.wav"|an unknown number of words
--words --max-word-length 1 -o "$tmp/x.wav"|a word length below 2
--text|--text without a file
--text "$tmp/plain.txt" -f "$tmp/plain.txt"|--text with -f
--bitrate 20 -o "$tmp/x.mp3" e|a bit rate off the list
LIST
"$render" --help | grep -q -- "--words" && "$render" --help | grep -q -- "--qso" && "$render" --help | grep -q -- "--text FILE"
check "--help lists the word, QSO and text options" '[ $? -eq 0 ]'

# Outputs: WAV on standard output, MP3 through the LAME library, the stations mixed in.
"$render" --wpm 20 -o - e > "$tmp/stdout.wav"
check "-o - writes a WAV stream to standard output" \
    '[ "$(head -c 4 "$tmp/stdout.wav")" = RIFF ] && [ "$(stat -c %s "$tmp/stdout.wav")" -eq $((46 + 42336)) ]'
if ls /usr/lib/*/libmp3lame.so.0 >/dev/null 2>&1; then
    "$render" --groups --minutes 1 --seed 2 --bitrate 64 -o "$tmp/g.mp3"; status=$?
    check "a session renders to MP3 ending with its 128-byte tag" \
        '[ $status -eq 0 ] && [ "$(tail -c 128 "$tmp/g.mp3" | head -c 3)" = TAG ]'
    # Header bytes 1 and 3: MPEG-2.5 (MPEG-2 above 4 kHz) with CRC; mono, copyright, original.
    header() { od -An -tx1 -N4 "$1" | awk '{ print $2, $4 }'; }
    "$render" --tone 4500 --bitrate 16 -o "$tmp/high.mp3" e
    check "MP3 is mono at 11025 Hz, at 22050 Hz for a tone above 4 kHz" \
        '[ "$(header "$tmp/g.mp3")" = "e2 cc" ] && [ "$(header "$tmp/high.mp3")" = "f2 cc" ]'
fi
"$render" --groups --minutes 1 --seed 9 -o "$tmp/plain.wav"
"$render" --groups --minutes 1 --seed 9 --qrm -o "$tmp/qrm.wav"; status=$?
check "--qrm mixes the two stations into the file" \
    '[ $status -eq 0 ] && ! cmp -s "$tmp/plain.wav" "$tmp/qrm.wav" && [ "$(stat -c %s "$tmp/qrm.wav")" -ge "$(stat -c %s "$tmp/plain.wav")" ]'

"$render" --groups --minutes 1 --seed 3 -o "$tmp/quiet.wav" 2>"$tmp/quiet.err"; status=$?
check "no progress bar when standard error is not a terminal" '[ $status -eq 0 ] && [ ! -s "$tmp/quiet.err" ]'

exit $fail
