#!/usr/bin/env bash
# Installs the real TCX reader that the export tests run, into DIR in the
# build tree: the npm packages pinned in package.json beside this script.
# Quick when they are already there. Never fails: when they could not be had
# (no registry) they are left missing, with the reason in DIR/npm.log, and the
# tests that need them skip and say so.
#
#   install.sh DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
mkdir -p "$dir"
# The reader tests may start at the same time; one installs, the other waits.
exec 9>"$dir/.lock"
flock 9

# npm keeps its cache and settings inside DIR, away from the user's own.
export npm_config_cache="$dir/npm-cache"
export npm_config_userconfig="$dir/npmrc"
export npm_config_update_notifier=false
if ! cmp -s "$here/package.json" "$dir/package.json" \
   || [ ! -f "$dir/node_modules/@sports-alliance/sports-lib/package.json" ] \
   || [ ! -f "$dir/node_modules/@xmldom/xmldom/package.json" ]; then
  cp "$here/package.json" "$dir/package.json"
  if ! (cd "$dir" && timeout 300 npm install --no-audit --no-fund --no-package-lock) >"$dir/npm.log" 2>&1; then
    # A half-done install must not pass for a finished one next time.
    rm -f "$dir/package.json"
    echo "npm install of the TCX readers failed; see $dir/npm.log" >&2
  fi
fi

exit 0
