#!/bin/bash
# ventrix-decode --store as several users run it: MODE "concurrency" runs 8
# writers on one database for 20 rounds and counts every session; MODE "edges"
# checks the store and export edges of the command line.
set -u
mode=$1 decode=$2 synth=$3 examples=$4
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Recordings of different sessions: the RS200 example with other calories.
for i in 1 2 3 4 5 6 7 8; do
    sed "s/^d6 00 /$(printf '%02x' $((0xd6 + i))) 00 /" "$examples/rs200-run.hex" > "$work/r$i.hex"
    "$synth" "$work/r$i.hex" "$work/r$i.wav" > /dev/null || fail "synthesizing r$i"
done

if [ "$mode" = concurrency ]; then
    for round in $(seq 20); do
        store=$work/round$round.xml pids=()
        for i in 1 2 3 4 5 6 7 8; do
            "$decode" --store "$store" "$work/r$i.wav" > /dev/null 2>&1 & pids+=($!)
        done
        for pid in "${pids[@]}"; do wait "$pid" || fail "round $round: a writer exited $?"; done
        count=$(grep -c '<RunSession ' "$store")
        [ "$count" -eq 8 ] || fail "round $round: $count of 8 sessions stored"
    done
    echo "1 passed, 0 failed: 8 writers, 20 rounds, no session lost"
    exit 0
fi

# An empty --store is a usage error before anything is decoded.
out=$("$decode" --store "" "$work/r1.wav" 2>&1); status=$?
[ $status -eq 2 ] && [[ $out == *"--store needs a file name"* ]] || fail "--store \"\": $status $out"

# Past ulimit -f the save fails with the usual message; the database stays as it was.
"$decode" --store "$work/limit.xml" "$work/r1.wav" > /dev/null || fail "first store"
cp "$work/limit.xml" "$work/before.xml"
out=$(ulimit -f 2; "$decode" --store "$work/limit.xml" "$work/r2.wav" 2>&1); status=$?
[ $status -eq 1 ] && [[ $out == *"cannot save sessions to $work/limit.xml: File too large"* ]] || fail "ulimit: $status $out"
cmp -s "$work/limit.xml" "$work/before.xml" || fail "ulimit: the database changed"

# A database at the reader's limit of 200,000 sessions takes no more: the save is refused and the file stays.
{ echo '<VentrixStore formatVersion="1">'; yes '<RunSession/>' | head -n 200000; echo '</VentrixStore>'; } > "$work/full.xml"
cp "$work/full.xml" "$work/before.xml"
out=$("$decode" --store "$work/full.xml" "$work/r1.wav" 2>&1); status=$?
[ $status -eq 1 ] && [[ $out == *"cannot save sessions to $work/full.xml: 200001 sessions are more than a database may hold (200000)"* ]] \
    || fail "full store: $status $out"
cmp -s "$work/full.xml" "$work/before.xml" || fail "full store: the database changed"

# Names that are not UTF-8 (a Latin-1 "ä") are used byte for byte: recording, database, lock and export.
latin=$(printf 'l\344')
mkdir "$work/$latin" && cp "$work/r1.wav" "$work/$latin.wav"
"$decode" --store "$work/$latin.xml" --export-dir "$work/$latin" "$work/$latin.wav" > /dev/null || fail "Latin-1 names"
[ "$(grep -c '<RunSession ' "$work/$latin.xml")" -eq 1 ] && [ -e "$work/$latin.xml.lock" ] && [ -s "$work/$latin/$latin-1.csv" ] \
    || fail "Latin-1 names: $(ls "$work" "$work/$latin")"

# Two recordings of one base name export under two numbers, never through a link.
mkdir -p "$work/a" "$work/b" "$work/out"
cp "$work/r1.wav" "$work/a/run.wav" && cp "$work/r2.wav" "$work/b/run.wav"
echo victim > "$work/victim" && ln -s "$work/victim" "$work/out/run-1.csv"
"$decode" --export-dir "$work/out" "$work/a/run.wav" "$work/b/run.wav" > /dev/null || fail "export"
[ "$(cat "$work/victim")" = victim ] || fail "an export wrote through a link"
[ -s "$work/out/run-2.csv" ] && [ -s "$work/out/run-3.csv" ] && ! cmp -s "$work/out/run-2.csv" "$work/out/run-3.csv" \
    || fail "exports: $(ls "$work/out")"

# A writer waits for the lock up to 10 s, says so, then gives up naming the holder.
"$decode" --store "$work/held.xml" "$work/r1.wav" > /dev/null || fail "first store"
flock "$work/held.xml.lock" sleep 15 & holder=$!
sleep 1
out=$("$decode" --store "$work/held.xml" "$work/r2.wav" 2>&1); status=$?
kill $holder
[ $status -eq 1 ] && [[ $out == *"waiting up to 10 seconds for $work/held.xml"* ]] \
    && [[ $out == *"cannot lock $work/held.xml: another process has held it for 10 seconds"* ]] || fail "lock: $status $out"
[ "$(grep -c '<RunSession ' "$work/held.xml")" -eq 1 ] || fail "saved without the lock"
echo "1 passed, 0 failed: store and export edges of ventrix-decode"
