# Checks of an installed Lumbrel, shared by install_tree_test.sh (cmake --install into
# a folder) and package_test.sh (the Debian package on this machine).
# shellcheck shell=bash

LUMBREL_APP_ID=io.github.lumbrel.Lumbrel
LUMBREL_ICON_SIZES="48 64 128 256"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Every file the installation must hold, one a line, relative to the prefix.
lumbrel_expected_files() {
    local size
    echo "bin/lumbrel"
    echo "bin/lumbrel-render"
    echo "bin/lumbrel-score"
    echo "bin/lumbrel-decode"
    echo "share/applications/$LUMBREL_APP_ID.desktop"
    echo "share/metainfo/$LUMBREL_APP_ID.metainfo.xml"
    echo "share/icons/hicolor/scalable/apps/$LUMBREL_APP_ID.svg"
    for size in $LUMBREL_ICON_SIZES; do
        echo "share/icons/hicolor/${size}x${size}/apps/$LUMBREL_APP_ID.png"
    done
    echo "share/man/man1/lumbrel.1.gz"
    echo "share/man/man1/lumbrel-render.1.gz"
    echo "share/man/man1/lumbrel-score.1.gz"
    echo "share/man/man1/lumbrel-decode.1.gz"
    echo "share/doc/lumbrel/copyright"
    echo "share/doc/lumbrel/changelog.gz"
    echo "share/lumbrel/Word Files/1000 Common Words.txt"
    echo "share/lumbrel/QSO Files/QSO.txt"
}

# lumbrel_check_layout PREFIX: the files are there, the programs run, the pictures are
# PNG files of their nominal size, and the data folders hold text files.
lumbrel_check_layout() {
    local prefix=$1 rel size kind
    while IFS= read -r rel; do
        [ -f "$prefix/$rel" ] || fail "not installed: $prefix/$rel"
    done < <(lumbrel_expected_files)
    [ -x "$prefix/bin/lumbrel" ] || fail "$prefix/bin/lumbrel is not executable"
    [ -x "$prefix/bin/lumbrel-render" ] || fail "$prefix/bin/lumbrel-render is not executable"
    [ -x "$prefix/bin/lumbrel-score" ] || fail "$prefix/bin/lumbrel-score is not executable"
    [ -x "$prefix/bin/lumbrel-decode" ] || fail "$prefix/bin/lumbrel-decode is not executable"
    for size in $LUMBREL_ICON_SIZES; do
        kind=$(file -b "$prefix/share/icons/hicolor/${size}x${size}/apps/$LUMBREL_APP_ID.png")
        case $kind in
            "PNG image data, $size x $size,"*) ;;
            *) fail "icon ${size}x${size} is: $kind" ;;
        esac
    done
    grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$LUMBREL_APP_ID.svg" \
        || fail "the scalable icon is no SVG"
}

# lumbrel_check_desktop_files PREFIX: desktop-file-validate and appstreamcli accept the
# desktop entry and the metainfo (hints and pedantic notes aside), they name each other,
# an installed program and an installed icon, and the manual pages format without a
# warning.
lumbrel_check_desktop_files() {
    local prefix=$1 desktop metainfo out exec icon page
    desktop="$prefix/share/applications/$LUMBREL_APP_ID.desktop"
    metainfo="$prefix/share/metainfo/$LUMBREL_APP_ID.metainfo.xml"

    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
    if grep -E ': (error|warning):' <<<"$out"; then
        fail "desktop-file-validate complains about $desktop"
    fi
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"

    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -x "$prefix/bin/$exec" ] || fail "the desktop entry starts '$exec', which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] \
        || fail "the desktop entry names icon '$icon', which is not installed"
    grep -q "<launchable type=\"desktop-id\">$LUMBREL_APP_ID.desktop</launchable>" "$metainfo" \
        || fail "the metainfo does not launch $LUMBREL_APP_ID.desktop"
    grep -q '<screenshot' "$metainfo" || fail "the metainfo has no screenshot"
    grep -q '@[A-Z_]*@' "$metainfo" && fail "the metainfo holds an unfilled @VARIABLE@"

    for page in lumbrel lumbrel-render lumbrel-score lumbrel-decode; do
        out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
              man --warnings -E UTF-8 -l -Tutf8 -Z "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null) \
            || fail "man $page: $out"
        [ -z "$out" ] || fail "man $page warns: $out"
        zgrep -q '@[A-Z_]*@' "$prefix/share/man/man1/$page.1.gz" && fail "$page.1 holds an unfilled @VARIABLE@"
        zgrep -q '^\.SH SYNOPSIS' "$prefix/share/man/man1/$page.1.gz" || fail "$page.1 has no synopsis"
    done
    # The desktop entry hands the files a file manager opens to the program.
    grep -qx 'Exec=lumbrel %F' "$desktop" || fail "the desktop entry does not pass files: $(grep '^Exec=' "$desktop")"
    grep -qx 'MimeType=text/plain;' "$desktop" || fail "the desktop entry opens no text files"
    grep -q '<project_license>GPL-3.0-or-later' "$metainfo" || fail "the metainfo names no project licence"
    return 0
}

# lumbrel_check_render RENDER DATA_DIR VERSION OUT_DIR: the program states VERSION,
# and renders the smallest word file of DATA_DIR/Word Files into a WAV file.
lumbrel_check_render() {
    local render=$1 data=$2 version=$3 out=$4 words kind bytes
    [ "$("$render" --version)" = "lumbrel-render $version" ] \
        || fail "$render --version says '$("$render" --version)', not 'lumbrel-render $version'"
    words=$(find "$data/Word Files" -maxdepth 1 -type f -name '*.txt' -printf '%s\t%p\n' | sort -n | head -n 1 | cut -f 2)
    [ -n "$words" ] || fail "no word file in $data/Word Files"
    "$render" --wpm 40 -f "$words" -o "$out/words.wav" || fail "$render -f '$words' failed"
    kind=$(file -b "$out/words.wav")
    case $kind in
        *"WAVE audio, Microsoft PCM, 16 bit, stereo 44100 Hz"*) ;;
        *) fail "rendered '$words' into: $kind" ;;
    esac
    # At 40 WPM a character takes well over 0.05 s: 4410 frames of 4 bytes.
    bytes=$(stat -c %s "$out/words.wav")
    [ "$bytes" -gt $((44 + 4410 * 4 * $(wc -c < "$words"))) ] \
        || fail "'$words' gave only $bytes bytes of WAV"
}
