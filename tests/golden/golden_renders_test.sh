#!/usr/bin/env bash
# Golden renders: lumbrel-render runs with fixed seeds, one of every kind of session and
# signal, whose output files must stay byte for byte what they were.
#
#   golden_renders_test.sh RENDER [--update]
#
# The runs are the lines of renders.txt (a name, then lumbrel-render's arguments; @TEXT@
# stands for the source tree's "Text Files" folder, @HERE@ for this folder), their files'
# SHA-256 sums are in renders.sha256. On a mismatch the file that came out is kept here as
# NAME.FILE.actual, to be listened to or compared; when the change is meant, --update
# writes the new sums.
set -u
render=$1
update=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
source_root=$(cd "$here/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
source "$here/../private_home.sh" "$tmp/private"

sums="$tmp/sums"
: >"$sums"
fail=0
while IFS='|' read -r name args; do
    name=${name//[[:space:]]/}
    [ -z "$name" ] || [ "${name:0:1}" = "#" ] && continue
    root20=${source_root// /%20}
    args=${args//@TEXT@/$root20/Text%20Files}
    args=${args//@HERE@/$root20/tests/golden}
    out="$tmp/$name"
    mkdir -p "$out"
    # The arguments are split at spaces; a path with a space is written with %20.
    read -r -a argv <<<"$args"
    for i in "${!argv[@]}"; do argv[i]=${argv[i]//%20/ }; done
    if ! (cd "$out" && "$render" "${argv[@]}" >"$tmp/$name.log" 2>&1); then
        echo "FAIL: $name: lumbrel-render failed"
        cat "$tmp/$name.log"
        fail=1
        continue
    fi
    (cd "$tmp" && find "$name" -type f -print0 | sort -z | xargs -0 sha256sum) >>"$sums"
done <"$here/renders.txt"

if [ "$update" = --update ]; then
    cp "$sums" "$here/renders.sha256"
    echo "wrote $(wc -l <"$sums") sums to renders.sha256"
    exit $fail
fi

while read -r expected file; do
    actual=$(grep -F "  $file" "$sums" | awk -v f="$file" '$2 == f { print $1 }')
    if [ -z "$actual" ]; then
        echo "FAIL: $file was not written"
        fail=1
    elif [ "$actual" != "$expected" ]; then
        kept="$here/${file//\//.}.actual"
        cp "$tmp/$file" "$kept"
        echo "FAIL: $file differs; kept as ${kept#"$source_root"/}"
        fail=1
    else
        echo "ok: $file"
    fi
done <"$here/renders.sha256"
extra=$(awk '{ print $2 }' "$sums" | grep -v -x -F -f <(awk '{ print $2 }' "$here/renders.sha256") || true)
if [ -n "$extra" ]; then
    echo "FAIL: files without a golden sum (run with --update if they are meant): $extra"
    fail=1
fi
exit $fail
