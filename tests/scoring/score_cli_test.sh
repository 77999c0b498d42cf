#!/usr/bin/env bash
# lumbrel-score: the aligned pair, the last line, the exit status, bad files, and the
# history of lessons rendered by lumbrel-render, which favours the characters it says
# were missed when asked.
set -u
score=$1
render=$2
source "$(dirname "$0")/../checks.sh"

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
printf 'cq de k1abc ^ar ^kn ^bt ^sk\n' > "$tmp/prosigns.txt"
printf 'CQ DE K1ABC + ( = <SK>\n' > "$tmp/prosigncopy.txt"
"$score" "$tmp/prosigns.txt" "$tmp/prosigncopy.txt" > "$tmp/out"; status=$?
check "prosigns copied as + ( = <SK> are right, one character each" \
    '[ $status -eq 0 ] && grep -q "^characters sent 13, correct 13," "$tmp/out" && [ "$(tail -n 1 "$tmp/out")" = "accuracy 100.0%" ]'
mkdir -p "$XDG_CONFIG_HOME/Zelph Software"
printf '[MorseLetter1]\nContent=".-.-."\nDisplay="AR"\n' > "$XDG_CONFIG_HOME/Zelph Software/Lumbrel.conf"
printf 'kARm mAR\n' > "$tmp/ar.txt"
printf 'kam mar\n' > "$tmp/arcopy.txt"
"$score" "$tmp/ar.txt" "$tmp/arcopy.txt" > "$tmp/out"; status=$?
check "a character defined as AR counts as one" '[ $status -eq 0 ] && grep -q "^characters sent 5, correct 4, wrong 1, dropped 0, added 0$" "$tmp/out"'
"$score" --help > "$tmp/out"; status=$?
check "--help explains" '[ $status -eq 0 ] && grep -q "usage: lumbrel-score SENT.txt COPY.txt" "$tmp/out"'

# A rendered lesson keeps its facts beside the transcript; its copy is saved where the
# window keeps its history and listed as a table and as CSV.
export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/share"
history="$XDG_DATA_HOME/Zelph Software/Zelph Morse Trainer/history.sqlite"
"$score" --history > "$tmp/out"; status=$?
check "an empty history says so and makes no file" '[ $status -eq 0 ] && grep -q "No checked sessions yet" "$tmp/out" && [ ! -e "$history" ]'
"$score" "$tmp/sent.txt" "$tmp/copy.txt" --save > "$tmp/out" 2> "$tmp/err"; status=$?
check "--save without the facts stores nothing" '[ $status -eq 2 ] && grep -q "sent.session" "$tmp/err" && [ ! -s "$tmp/out" ] && [ ! -e "$history" ]'
"$render" --groups --minutes 1 --chars 5 --effective 500 --seed 4 -o "$tmp/l.wav" --transcript "$tmp/l.txt"
check "the render writes the facts beside the transcript" \
    'grep -qx "characters=5" "$tmp/l.session" && grep -qx "effective_permille=500" "$tmp/l.session" && grep -qx "seed=4" "$tmp/l.session"'
"$score" "$tmp/l.txt" "$tmp/empty.txt" --save > "$tmp/out" 2> "$tmp/err"; status=$?
check "--save refuses an empty copy and stores nothing" \
    '[ $status -eq 2 ] && grep -q "nothing to check" "$tmp/err" && [ ! -e "$history" ]'
sed 's/k/m/' "$tmp/l.txt" > "$tmp/lcopy.txt"
"$score" "$tmp/l.txt" "$tmp/lcopy.txt" --save > "$tmp/out"; status=$?
check "--save stores in the window's history, the accuracy still last" \
    '[ $status -eq 0 ] && [ -s "$history" ] && grep -q "^saved to the history" "$tmp/out" && tail -n 1 "$tmp/out" | grep -q "^accuracy "'
accuracy=$(tail -n 1 "$tmp/out" | cut -d" " -f2)
"$score" --history > "$tmp/out"
check "--history shows the id, N, the speeds and the accuracy" \
    'tail -n 1 "$tmp/out" | grep -Eq "^1 +[0-9-]+ [0-9:]+ +groups +5 +25 +12\.5 +1:0[0-9] +$accuracy$"'
"$score" --csv > "$tmp/out"
check "--csv gives the header and the session" '[ $(wc -l < "$tmp/out") -eq 2 ] && grep -q ",groups,koch,5,25,12.5,1," "$tmp/out"'
"$score" --csv drills > "$tmp/out"; status=$?
check "--csv drills gives the drills' header" '[ $status -eq 0 ] && [ "$(head -n 1 "$tmp/out")" = "$(printf "id,ended,kind,duration_seconds,character_wpm,answers,right,calls,calls_missed,step_wpm,top_wpm,score\r")" ]'
"$score" --csv nothing > /dev/null 2>&1; status=$?
check "--csv of something else is a usage error" '[ $status -eq 2 ]'
sed 's/k/m/g' "$tmp/l.txt" > "$tmp/nok.txt"
"$score" "$tmp/l.txt" "$tmp/nok.txt" --save > /dev/null
before=$(tr -cd k < "$tmp/l.txt" | wc -c)
"$render" --groups --minutes 1 --chars 5 --effective 500 --seed 4 --favour-missed -o "$tmp/f.wav" --transcript "$tmp/f.txt"
check "--favour-missed sends the character missed in the history more often" \
    '[ "$(tr -cd k < "$tmp/f.txt" | wc -c)" -gt $((before * 2)) ]'

"$score" --history > "$tmp/out"
check "both checked sessions are listed" '[ "$(grep -c " groups " "$tmp/out")" -eq 2 ]'
"$score" --delete 2 > "$tmp/out"; status=$?
"$score" --history > "$tmp/after"
check "--delete removes a session by its id" \
    '[ $status -eq 0 ] && grep -q "^deleted session 2" "$tmp/out" && [ "$(grep -c " groups " "$tmp/after")" -eq 1 ] && grep -q "^1 " "$tmp/after"'
"$score" --delete 2 > /dev/null 2> "$tmp/err"; status=$?
check "--delete of an id not in the history is status 1" '[ $status -eq 1 ] && grep -q "no session 2" "$tmp/err"'
"$score" --delete two > /dev/null 2> "$tmp/err"; status=$?
check "--delete of a bad id is a usage error" '[ $status -eq 2 ] && grep -q "not an id" "$tmp/err"'

# Reading never changes the history: a favoured render and --history leave a damaged one as it is.
head -c 8192 /dev/zero | tr '\0' x > "$history"
cp "$history" "$tmp/spoilt"
"$render" --groups --minutes 1 --chars 5 --favour-missed -o "$tmp/g.wav" 2> "$tmp/err"; status=$?
"$score" --history > "$tmp/out" 2>> "$tmp/err"
check "reading a damaged history says so and leaves it" \
    '[ $status -eq 0 ] && grep -q "damaged" "$tmp/err" && cmp -s "$history" "$tmp/spoilt" && [ -z "$(ls "$history".* 2>/dev/null)" ]'

exit $fail
