#!/usr/bin/env bash
# install_tree_test.sh CMAKE BUILD_DIR VERSION SOURCE_DIR: `cmake --install` of the build
# folder into a temporary prefix lays out what a Linux desktop expects (programs, data
# folders, desktop entry, metainfo, icons, manual pages), the validators accept it, the
# screenshots the metainfo names are in docs/screenshots, and the installed
# lumbrel-render renders a word file of the installed data folder.
set -euo pipefail
cmake=$1
build=$2
version=$3
source_dir=$4
# shellcheck source=tests/package/installed_checks.sh
source "$(dirname "$0")/installed_checks.sh"

for tool in desktop-file-validate appstreamcli man file; do
    command -v "$tool" >/dev/null || fail "$tool is missing (see scripts/packages.txt)"
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
source "$(dirname "$0")/../private_home.sh" "$tmp/private"
prefix="$tmp/prefix"

"$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 \
    || { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }

lumbrel_check_layout "$prefix"
lumbrel_check_desktop_files "$prefix"
shots=$(sed -n 's|.*<image[^>]*>.*/\([^/<]*\)</image>.*|\1|p' "$prefix/share/metainfo/$LUMBREL_APP_ID.metainfo.xml")
[ -n "$shots" ] || fail "the metainfo names no screenshot image"
for shot in $shots; do
    [ -f "$source_dir/docs/screenshots/$shot" ] || fail "the metainfo names $shot, which is not in docs/screenshots"
done
[ "$("$prefix/bin/lumbrel" --version)" = "lumbrel $version" ] || fail "lumbrel --version does not say $version"
lumbrel_check_render "$prefix/bin/lumbrel-render" "$prefix/share/lumbrel" "$version" "$tmp"
echo "installed tree in order"
