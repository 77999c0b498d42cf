#!/usr/bin/env bash
# package_test.sh CPACK BUILD_DIR VERSION: builds the Debian package from the build
# folder, installs it on this machine, checks what it installed, runs lumbrel-render
# on an installed word file and the installed lumbrel under Xvfb for two seconds, then
# removes the package again. Needs root (status 77, skipped, otherwise).
set -euo pipefail
cpack=$1
build=$2
version=$3
# shellcheck source=tests/package/installed_checks.sh
source "$(dirname "$0")/installed_checks.sh"

if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: installing a package needs root"
    exit 77
fi
if ! command -v dpkg >/dev/null || ! command -v apt-get >/dev/null; then
    echo "skipped: not a Debian system (no dpkg or apt-get)"
    exit 77
fi
if dpkg-query -W -f='${Status}' lumbrel 2>/dev/null | grep -q 'ok installed'; then
    echo "skipped: a lumbrel package is installed already; this test installs and removes its own (dpkg -r lumbrel)"
    exit 77
fi
for tool in dpkg-shlibdeps objdump desktop-file-validate appstreamcli man file xvfb-run xauth xwininfo xprop; do
    command -v "$tool" >/dev/null || fail "$tool is missing (see scripts/packages.txt)"
done

tmp=$(mktemp -d)
installed=0
cleanup() {
    if [ "$installed" = 1 ]; then
        dpkg -r lumbrel >"$tmp/remove.log" 2>&1 || { cat "$tmp/remove.log" >&2; echo "FAIL: dpkg -r lumbrel" >&2; }
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
# apt reads the package file as its own unprivileged user.
chmod 755 "$tmp"
source "$(dirname "$0")/../private_home.sh" "$tmp/private"

# The package, from the tree that is built already.
(cd "$build" && "$cpack" -G DEB -B "$tmp/out") >"$tmp/cpack.log" 2>&1 \
    || { cat "$tmp/cpack.log" >&2; fail "cpack -G DEB failed"; }
debs=("$tmp"/out/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "cpack made no single .deb: ${debs[*]}"
fi
deb=${debs[0]}

# Its control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = lumbrel ] || fail "package name: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version), not $version"
[ "$(field Maintainer)" = "Lumbrel developers <lumbrel@example.org>" ] || fail "maintainer: $(field Maintainer)"
depends=$(field Depends)
# The package names of a relation field, one a line, versions left out.
names() { tr ',|' '\n' <<<"$1" | awk 'NF {print $1}'; }
has_dependency() { names "$depends" | grep -Fx "$1" >/dev/null; }
# The Debian package of every library the programs load by name (from their dynamic
# section, found where the loader finds it), and the plugins Qt loads on its own: a
# window, SVG icons, and the SQLite driver when Qt SQL is used.
dpkg-deb -x "$deb" "$tmp/root"
programs=("$tmp/root/usr/bin/lumbrel" "$tmp/root/usr/bin/lumbrel-render" "$tmp/root/usr/bin/lumbrel-score" "$tmp/root/usr/bin/lumbrel-decode")
needed=$(objdump -p "${programs[@]}" | awk '$1 == "NEEDED" {print $2}' | sort -u)
[ -n "$needed" ] || fail "no libraries found in the programs' dynamic sections"
expected="libqt6svg6"
grep -q '^libQt6Sql\.' <<<"$needed" && expected="$expected libqt6sql6-sqlite"
found=$(ldd "${programs[@]}")
for soname in $needed; do
    path=$(awk -v so="$soname" '$1 == so && $3 ~ /^\// {print $3}' <<<"$found" | head -n 1)
    [ -n "$path" ] || fail "the loader does not find $soname"
    # With a merged /usr, dpkg knows a library under one of the two names.
    case $path in /usr/*) other=${path#/usr} ;; *) other=/usr$path ;; esac
    owner=$( (dpkg -S "$path" 2>/dev/null || dpkg -S "$other" 2>/dev/null) | head -n 1 | cut -d: -f1)
    [ -n "$owner" ] || fail "no installed package holds $path"
    expected="$expected $owner"
done
# A library's shlibs may name a package that depends on the one holding it (TagLib's
# libtag1v5 for libtag1v5-vanilla): either is enough.
depends_through() {
    local d
    for d in $(names "$depends"); do
        names "$(dpkg-query -W -f='${Depends}' "$d" 2>/dev/null)" | grep -Fx "$1" >/dev/null && return 0
    done
    return 1
}
for package in $expected; do
    has_dependency "$package" || depends_through "$package" || fail "Depends lacks $package: $depends"
done
names "$(field Recommends)" | grep -Fx libmp3lame0 >/dev/null || fail "Recommends lacks libmp3lame0"
names "$(field Recommends)" | grep -Fx hamradio-files >/dev/null || fail "Recommends lacks hamradio-files"
grep -q mp3lame <<<"$depends" && fail "MP3 is optional, but Depends names LAME: $depends"

# Installed with what it depends on.
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >"$tmp/install.log" 2>&1 \
    || { cat "$tmp/install.log" >&2; fail "apt-get install $deb failed"; }
installed=1
owned=$(dpkg -L lumbrel)
while IFS= read -r rel; do
    grep -Fxq "/usr/$rel" <<<"$owned" || fail "the package does not install /usr/$rel"
done < <(lumbrel_expected_files)
lumbrel_check_layout /usr
lumbrel_check_desktop_files /usr

# The command-line renderer on the installed word folder.
lumbrel_check_render /usr/bin/lumbrel-render /usr/share/lumbrel "$version" "$tmp"
[ "$(/usr/bin/lumbrel --version)" = "lumbrel $version" ] || fail "lumbrel --version does not say $version"

# The trainer on an X display of its own, with a home, settings and runtime folder of
# its own (no trainer of this user is reachable, nothing of the user is touched). After
# two seconds it must still run and show its window, whose class is the one the
# desktop entry announces.
mkdir -p "$tmp/home" "$tmp/runtime"
chmod 700 "$tmp/runtime"
wm_class=$(sed -n 's/^StartupWMClass=//p' "/usr/share/applications/$LUMBREL_APP_ID.desktop")
status=0
# shellcheck disable=SC2016  # the script below expands its own variables
env -u LUMBREL_CONTROL_SOCKET -u WAYLAND_DISPLAY -u DISPLAY \
    HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.local/share" \
    XDG_CACHE_HOME="$tmp/home/.cache" XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c '
        /usr/bin/lumbrel & pid=$!
        sleep 2
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" && code=0 || code=$?
            echo "FAIL: lumbrel ended within two seconds, status $code" >&2
            exit 1
        fi
        xwininfo -root -tree >"$1/windows.txt" 2>&1
        shown=0
        classes=
        for w in $(awk "/\"lumbrel\"/ {print \$1}" "$1/windows.txt"); do
            xwininfo -id "$w" | grep -q "Map State: IsViewable" && shown=1
            classes="$classes $(xprop -id "$w" WM_CLASS)"
        done
        kill "$pid"
        wait "$pid" 2>/dev/null || true
        [ "$shown" = 1 ] || { echo "FAIL: lumbrel shows no window" >&2; exit 1; }
        if [ -n "$2" ]; then
            printf "%s\n" "$classes" | grep -Fq "\"$2\"" \
                || { echo "FAIL: StartupWMClass=$2 matches no window class:$classes" >&2; exit 1; }
        fi
        exit 0
    ' sh "$tmp" "$wm_class" >"$tmp/lumbrel.log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    cat "$tmp/lumbrel.log" >&2
    [ -f "$tmp/windows.txt" ] && cat "$tmp/windows.txt" >&2
    fail "the installed lumbrel did not run under Xvfb"
fi

# Removed again: the programs go with it.
dpkg -r lumbrel >"$tmp/remove.log" 2>&1 || { cat "$tmp/remove.log" >&2; fail "dpkg -r lumbrel failed"; }
installed=0
if [ -e /usr/bin/lumbrel ] || [ -e /usr/bin/lumbrel-render ]; then
    fail "dpkg -r left the programs behind"
fi
echo "package $(basename "$deb") built, installed, run and removed"
