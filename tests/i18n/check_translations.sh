#!/bin/sh
# Each translation is what lupdate makes of today's sources (no text missing,
# none left over) and has every entry translated.
# Usage: check_translations.sh LUPDATE SOURCE_DIR TRANSLATED_DIR...
set -eu
lupdate=$1 src=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for ts in "$src"/translations/*.ts; do
  cp "$ts" "$work/fresh.ts"
  (cd "$src" && "$lupdate" -silent "$@" -ts "$work/fresh.ts" -no-obsolete -locations none)
  diff -u "$ts" "$work/fresh.ts" || { echo "FAIL: $ts is out of date: build the update_translations target"; exit 1; }
  ! grep -n 'type="\(unfinished\|vanished\|obsolete\)"' "$ts" || { echo "FAIL: $ts has untranslated entries"; exit 1; }
done
