#!/usr/bin/env bash
# Fails when an option is in PROGRAM --help and not in its manual page, or the
# other way round. AHEAD names options the page describes before the program
# has them; one that the program has by now must leave that list.
#   check_man_options.sh PROGRAM PAGE.scd [AHEAD...]
set -euo pipefail
program=$1 page=$2
shift 2
long_options() { grep -o -- '--[a-z][a-z0-9-]*' | sort -u; }

from_help=$("$program" --help | long_options)
# The page's option list: the lines that start an entry, such as "*-h*, *--help*".
from_page=$(sed -n '/^# OPTIONS/,/^# /p' "$page" | grep '^\*-' | long_options)
status=0
for option in "$@"; do
  if grep -qx -- "$option" <<<"$from_help"; then
    echo "$option is in $(basename "$program") by now: take it off the list of options ahead" >&2
    status=1
  fi
  from_help=$(printf '%s\n%s\n' "$from_help" "$option" | sort -u)
done
if ! diff <(echo "$from_help") <(echo "$from_page") >&2; then
  echo "options of --help (<) and of $(basename "$page") (>) differ" >&2
  status=1
fi
exit $status
