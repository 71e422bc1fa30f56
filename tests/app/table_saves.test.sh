#!/usr/bin/env bash
# Whole games saving into tables that are hard to save into: a table in a folder the player
# may not write, under a file-size limit of 0 (the game ends normally and the table is byte
# for byte what it was), and pairs of identical games finishing together into one table (both
# keep their entries). The lost round's recorded keys finish a game and record it as LOST.
# Usage: table_saves.test.sh <torvane> <torvane-headless>
set -u
headless=$(readlink -f "${2:?path of torvane-headless}")
script=$(readlink -f "$(dirname "$0")/../replays/lost_round.script")
fail() { echo "FAIL: $*"; exit 1; }
command -v setpriv >/dev/null || fail "setpriv is not installed"
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
game() { "$headless" --rounds 1 --clock-origin 2000 --until-ms 400000 --script "$script" --workdir "$1" >/dev/null 2>"$1.log"; }

# As an ordinary user (root may write anywhere), in a folder only root may write.
mkdir -p "$work/locked/data"
printf 'old table\r\n' >"$work/locked/data/hs.dat"
cp "$work/locked/data/hs.dat" "$work/before"
chmod 666 "$work/locked/data/hs.dat"
chmod 755 "$work/locked/data"
# The limit is the game's alone: what it says goes through a pipe to a writer without one.
setpriv --reuid=65534 --regid=65534 --clear-groups -- bash -c "ulimit -f 0; exec '$headless' --rounds 1 \
  --clock-origin 2000 --until-ms 400000 --script '$script' --workdir '$work/locked'" 2>&1 | cat >"$work/locked.log"
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || { cat "$work/locked.log"; fail "the game under ulimit -f 0 ended with status $status"; }
cmp -s "$work/before" "$work/locked/data/hs.dat" || fail "the table changed under ulimit -f 0: $(od -c "$work/locked/data/hs.dat" | head -3)"
grep -q "rewritten in place" "$work/locked.log" || fail "the save did not go in place: $(cat "$work/locked.log")"
echo "ulimit -f 0, unwritable folder: exit 0, table unchanged"

# Six pairs of identical games, each pair into one table at the same moment.
for pair in 1 2 3 4 5 6; do
  mkdir -p "$work/pair$pair"
  game "$work/pair$pair" & first=$!
  game "$work/pair$pair" & second=$!
  wait $first && wait $second || fail "pair $pair: a game failed"
  entries=$(python3 - "$work/pair$pair/data/hs.dat" <<'PY'
import sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
names = [bytes((b - ord("vantry"[i % 6])) % 256 for i, b in enumerate(l)).decode("latin-1") for l in lines[:4]]
print(names.count("LOST"))
PY
)
  [ "$entries" = 2 ] || fail "pair $pair: $entries entries named LOST, not 2"
done
echo "six pairs of games into one table: both entries kept every time"
echo "PASS"
