#!/usr/bin/env bash
# lumbrel-render plays the effective speed it is asked for, timed on PARIS over the whole
# output, in every mode, or says once that the stretch cap holds it back and what plays;
# plain text refuses the options only a session uses.
set -u
render=$1
source "$(dirname "$0")/checks.sh"

# Seconds of audio in a WAV file, less `skip` seconds of leading silence.
seconds() { awk -v b="$(stat -c %s "$1")" -v s="${2:-0}" 'BEGIN { printf "%.4f", (b - 46) / 176400 - s }'; }
# Words per minute of `units` units in `secs` seconds: 1.2 s / W a unit on average.
wpm() { awk -v u="$1" -v s="$2" 'BEGIN { printf "%.3f", u / 50 / (s / 60) }'; }
# Whether a is within `pct` percent of b.
near() { awk -v a="$1" -v b="$2" -v p="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= b * p / 100) }'; }
# Units of a transcript of PARIS words: 46 a word (its characters with their closing
# gaps), 7 each word space (one before the first word, one after each).
paris_units() { awk '{ for (i = 1; i <= NF; i++) if ($i == "paris") n++ } END { print 46 * n + 7 * (n + 1) }' "$1"; }

printf 'paris\n' > "$tmp/paris.txt"
printf 'paris %.0s' $(seq 30) > "$tmp/thirty.txt"

# -f: every unit stretches; 30 words at 20/10 last three minutes.
"$render" --wpm 20 --effective-wpm 10 -f "$tmp/thirty.txt" -o "$tmp/f.wav" 2>"$tmp/err"; status=$?
got=$(wpm $((30 * 53)) "$(seconds "$tmp/f.wav")")
check "-f at 20/10 plays 10 WPM ($got)" '[ $status -eq 0 ] && [ ! -s "$tmp/err" ] && near "$got" 10 0.5'

# Words, "Each Word": the word spaces take all the stretch.
"$render" --words "$tmp/paris.txt" --wpm 25 --effective-wpm 18 --minutes 3 --seed 1 -o "$tmp/w.wav" \
    --transcript "$tmp/w.txt" 2>"$tmp/err"; status=$?
got=$(wpm "$(paris_units "$tmp/w.txt")" "$(seconds "$tmp/w.wav")")
facts=$(grep -o 'effective_permille=[0-9]*' "$tmp/w.session" | cut -d= -f2)
check "words at 25/18 play 18 WPM ($got), and the facts say so ($facts)" \
    '[ $status -eq 0 ] && [ ! -s "$tmp/err" ] && near "$got" 18 1.5 && [ "$facts" -ge 712 ] && [ "$facts" -le 728 ]'

"$render" --words "$tmp/paris.txt" --wpm 25 --effective-wpm 12 --effective-mode char --minutes 3 --seed 1 \
    -o "$tmp/c.wav" --transcript "$tmp/c.txt" 2>"$tmp/err"; status=$?
got=$(wpm "$(paris_units "$tmp/c.txt")" "$(seconds "$tmp/c.wav")")
check "words at 25/12, each character stretched, play 12 WPM ($got)" '[ $status -eq 0 ] && near "$got" 12 1.5'

# Beyond the cap: 7 word-space units of at most 19000 values with 46 units of 4232 values
# make a PARIS word of 327672 values, 3.715 s for 53 units: 17.1 WPM.
"$render" --words "$tmp/paris.txt" --wpm 25 --effective-wpm 12 --minutes 3 --seed 1 -o "$tmp/k.wav" \
    --transcript "$tmp/k.txt" 2>"$tmp/err"; status=$?
got=$(wpm "$(paris_units "$tmp/k.txt")" "$(seconds "$tmp/k.wav")")
facts=$(grep -o 'effective_permille=[0-9]*' "$tmp/k.session" | cut -d= -f2)
check "words at 25/12 say once that 17.1 WPM plays, and play it ($got, facts $facts)" \
    '[ $status -eq 0 ] && [ "$(grep -c "note:.*12.0 WPM.*plays at 17.1 WPM" "$tmp/err")" -eq 1 ] && [ "$(wc -l < "$tmp/err")" -eq 1 ] && near "$got" 17.12 1.5 && [ "$facts" -ge 677 ] && [ "$facts" -le 692 ]'

# Random groups of k (12 units) and m (10 units) beyond the cap: units of 19000 values,
# 0.215 s, 5.6 WPM, after the second of countdown.
"$render" --groups --chars 2 --wpm 25 --effective-wpm 3 --minutes 2 --seed 2 -o "$tmp/g.wav" \
    --transcript "$tmp/g.txt" 2>"$tmp/err"; status=$?
count() { tr -cd "$1" < "$tmp/g.txt" | wc -c; }
units=$(( $(count k) * 12 + $(count m) * 10 + $(count ' ') * 7 ))
got=$(wpm "$units" "$(seconds "$tmp/g.wav" 1)")
check "groups at 25/3 say once that 5.6 WPM plays, and play it ($got)" \
    '[ $status -eq 0 ] && [ "$(grep -c "note:.*3.0 WPM.*plays at 5.6 WPM" "$tmp/err")" -eq 1 ] && near "$got" 5.57 3'

# Plain text renders the characters alone: the session's options are refused, by name.
for option in "--noise S9" "--qsb fast" "--qrm" "--straight-key" "--weighting" "--chirp" "--signal S5" \
    "--transcript $tmp/t.txt" "--chars 5" "--minutes 2" "--effective-mode char"; do
    "$render" $option -f "$tmp/paris.txt" -o "$tmp/x.wav" 2>"$tmp/err"; status=$?
    name=${option%% *}
    check "-f refuses $name" \
        '[ $status -eq 2 ] && grep -q -- "^lumbrel-render: $name is not used with -f FILE: it goes with .*--" "$tmp/err" && [ ! -e "$tmp/x.wav" ]'
done
"$render" --straight-key -o "$tmp/x.wav" paris 2>"$tmp/err"; status=$?
check "TEXT refuses --straight-key too" '[ $status -eq 2 ] && grep -q -- "--straight-key is not used with TEXT" "$tmp/err"'
"$render" --chars 5 -f "$tmp/paris.txt" -o "$tmp/x.wav" 2>"$tmp/err"
check "--chars names the mode that takes it" 'grep -q -- "it goes with --groups$" "$tmp/err"'
"$render" --groups --noise S9 --minutes 1 --seed 1 -o "$tmp/x.wav" 2>"$tmp/err"; status=$?
check "a session still takes them" '[ $status -eq 0 ]'

exit $fail
