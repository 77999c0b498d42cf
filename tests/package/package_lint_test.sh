#!/usr/bin/env bash
# package_lint_test.sh CPACK BUILD_DIR SOURCE_DIR: packs the built tree twice and checks
# what a Debian maintainer checks, without installing anything:
#   - the two packs are the same bytes (the files are dated by the changelog), and the
#     programs hold no path of this machine's source or build tree;
#   - the relations: no package twice in Depends, no qt6-qpa-plugins (it holds only the
#     VNC and touch plugins), qt6-wayland and libmp3lame0 recommended;
#   - the desktop entry, the metainfo and the manual pages pass their validators;
#   - lintian --pedantic reports nothing (when lintian is installed).
set -euo pipefail
cpack=$1
build=$(cd "$2" && pwd)
source_dir=$(cd "$3" && pwd)
# shellcheck source=tests/package/installed_checks.sh
source "$(dirname "$0")/installed_checks.sh"

for tool in dpkg-deb desktop-file-validate appstreamcli man strings; do
    command -v "$tool" >/dev/null || fail "$tool is missing (see scripts/packages.txt)"
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
source "$(dirname "$0")/../private_home.sh" "$tmp/private"

# Two packs of the same build, as a packager's two runs would be.
for run in a b; do
    (cd "$build" && env -u SOURCE_DATE_EPOCH "$cpack" -G DEB -B "$tmp/$run") >"$tmp/cpack-$run.log" 2>&1 \
        || { cat "$tmp/cpack-$run.log" >&2; fail "cpack -G DEB failed"; }
done
debs=("$tmp"/a/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
deb=${debs[0]}
cmp "$deb" "$tmp/b/$(basename "$deb")" \
    || fail "two packs of the same build differ: diffoscope $deb $tmp/b/$(basename "$deb") tells where"

dpkg-deb -x "$deb" "$tmp/root"
for program in "$tmp"/root/usr/bin/*; do
    for tree in "$source_dir" "$build"; do
        # Strings of 8-bit characters and of 16-bit ones (Qt's string literals).
        if strings -a "$program" | grep -Fq "$tree" || strings -a -e l "$program" | grep -Fq "$tree"; then
            fail "$(basename "$program") holds the path $tree"
        fi
    done
done

field() { dpkg-deb -f "$deb" "$1"; }
names() { tr ',|' '\n' <<<"$1" | awk 'NF {print $1}'; }
twice=$(names "$(field Depends)" | sort | uniq -d)
[ -z "$twice" ] || fail "Depends names $twice more than once: $(field Depends)"
names "$(field Depends)" | grep -Fxq qt6-qpa-plugins && fail "Depends names qt6-qpa-plugins: $(field Depends)"
for package in qt6-wayland libmp3lame0; do
    names "$(field Recommends)" | grep -Fxq "$package" || fail "Recommends lacks $package: $(field Recommends)"
done
grep -q '^Files: \*$' "$tmp/root/usr/share/doc/lumbrel/copyright" || fail "the copyright file is not machine-readable"
grep -q '^License: CC-BY-SA-3.0$' "$tmp/root/usr/share/doc/lumbrel/copyright" \
    || fail "the copyright file does not name the word lists' licence"

lumbrel_check_desktop_files "$tmp/root/usr"

if ! command -v lintian >/dev/null; then
    echo "lintian is not installed: the package's lint was not checked (scripts/packages.txt lists it)"
else
    # Information tags (-I) aside: every error, warning and pedantic note counts.
    lintian --pedantic --no-cfg --fail-on error,warning,pedantic "$deb" >"$tmp/lintian.txt" 2>&1 \
        || { cat "$tmp/lintian.txt" >&2; fail "lintian --pedantic complains about $(basename "$deb")"; }
    if grep -E '^[EWP]: ' "$tmp/lintian.txt"; then
        fail "lintian --pedantic complains about $(basename "$deb")"
    fi
fi
echo "package $(basename "$deb"): reproducible, no build path, relations, validators and lintian in order"
