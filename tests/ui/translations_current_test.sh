#!/bin/sh
# The German translation holds every text of the sources: lupdate, run over them on a
# copy of translations/lumbrel_de.ts, adds nothing unfinished and finds nothing gone;
# then the window tests' check of the translation reads that copy.
# Usage: translations_current_test.sh LUPDATE LIST-FILE TS-FILE UI-TESTS
set -eu
lupdate=$1 list=$2 ts=$3 tests=$4
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$ts" "$dir/lumbrel_de.ts"
"$lupdate" -silent -locations none "@$list" -ts "$dir/lumbrel_de.ts"
LUMBREL_CHECK_TS="$dir/lumbrel_de.ts" QT_QPA_PLATFORM=offscreen \
    "$tests" --gtest_filter='Translations.GermanIsComplete*' --gtest_brief=1
