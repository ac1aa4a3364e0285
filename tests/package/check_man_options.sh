#!/usr/bin/env bash
# Fails when an option is in PROGRAM --help and not in its manual page, or the
# other way round.
#   check_man_options.sh PROGRAM PAGE.scd
set -euo pipefail
program=$1 page=$2
long_options() { grep -o -- '--[a-z][a-z0-9-]*' | sort -u; }

from_help=$("$program" --help | long_options)
# The page's option list: the lines that start an entry, such as "*-h*, *--help*".
from_page=$(sed -n '/^# OPTIONS/,/^# /p' "$page" | grep '^\*-' | long_options)
if ! diff <(echo "$from_help") <(echo "$from_page") >&2; then
  echo "options of --help (<) and of $(basename "$page") (>) differ" >&2
  exit 1
fi
