#!/usr/bin/env bash
# Installs the real TCX readers that the export tests run, into DIR in the
# build tree: the npm packages pinned in package.json beside this script, and
# the TCX version 2 schema, which Debian ships only inside the pytrainer
# package (taken out of the downloaded package; pytrainer is not installed).
# Quick when both are already there. Never fails: whatever could not be had
# (no registry, no apt lists) is left missing, with the reason in DIR/*.log,
# and the tests that need it skip and say so.
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

schema="$dir/GarminTrainingCenterDatabase_v2.xsd"
if [ ! -s "$schema" ]; then
  work=$(mktemp -d)
  if (cd "$work" && timeout 120 apt-get download pytrainer) >"$dir/schema.log" 2>&1 \
     && dpkg-deb --fsys-tarfile "$work"/pytrainer_*.deb \
        | tar -xO ./usr/share/pytrainer/schemas/GarminTrainingCenterDatabase_v2.xsd >"$schema.part" 2>>"$dir/schema.log" \
     && [ -s "$schema.part" ]; then
    mv "$schema.part" "$schema"
  else
    echo "the TCX schema could not be taken from Debian's pytrainer package; see $dir/schema.log" >&2
  fi
  rm -rf "$work" "$schema.part"
fi
exit 0
