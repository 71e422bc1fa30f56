#!/usr/bin/env bash
# Builds the headless runner and the unit tests for other architectures with Debian's cross
# compilers and runs them under qemu-user, to show the game is the same game there: the unit
# tests, the recorded games under tests/replays (every checkpoint matching, the pinned figures),
# fresh autoplayed rounds recorded on this machine, and a round recorded there that this
# machine's runner plays back.
#   tools/test-arches.sh                    i686 armhf arm64 ppc64el s390x, everything
#   tools/test-arches.sh i686 s390x         those only
#   tools/test-arches.sh --quick i686 s390x the maths tests and one recorded game (what CI runs)
# The compilers and qemu come with tools/install-deps.sh --arches. Builds go to build-<arch>/.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
if [ "${1:-}" = --quick ]; then
  quick=1
  shift
fi
arches=("$@")
[ ${#arches[@]} -gt 0 ] || arches=(i686 armhf arm64 ppc64el s390x)
jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Debian's name for the architecture -> the compilers' triplet, CMake's processor, qemu's name.
describe() {
  case $1 in
    i686) echo "i686-linux-gnu i686 i386" ;;
    armhf) echo "arm-linux-gnueabihf arm arm" ;;
    arm64) echo "aarch64-linux-gnu aarch64 aarch64" ;;
    ppc64el) echo "powerpc64le-linux-gnu ppc64le ppc64le" ;;
    s390x) echo "s390x-linux-gnu s390x s390x" ;;
    *) echo "unknown architecture '$1' (i686, armhf, arm64, ppc64el, s390x)" >&2; return 1 ;;
  esac
}

failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# play RUNNER... -- NAME FILE [PINNED.json]: replays FILE with folders of its own; it must exit 0
# (every checkpoint matched), make no file, and end with the pinned figures when given.
play() {
  local runner=()
  while [ "$1" != -- ]; do runner+=("$1"); shift; done
  shift
  local name=$1 file=$2 pinned=${3:-} dir
  dir=$(mktemp -d "$work/play.XXXXXX")
  local started=$SECONDS
  local status=0
  XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/share "${runner[@]}" --play "$file" --workdir "$dir" \
    >"$dir.out" 2>"$dir.err" || status=$?
  [ $status = 0 ] || { fail "$name: exit $status: $(tail -n 2 "$dir.err")"; return; }
  [ -z "$(ls -A "$dir")" ] || { fail "$name: the replay made $(ls -A "$dir")"; return; }
  if [ -n "$pinned" ]; then
    local diff
    diff=$(python3 -c '
import json, sys
got = json.loads(open(sys.argv[1]).read().strip().splitlines()[-1])
want = json.load(open(sys.argv[2]))
print(" ".join("%s: %s, pinned %s" % (k, got.get(k), v) for k, v in want.items() if got.get(k) != v))' "$dir.out" "$pinned")
    [ -z "$diff" ] || { fail "$name: $diff"; return; }
  fi
  local pages
  pages=$(grep -o '"frames":[0-9]*' "$dir.out" | cut -d: -f2)
  echo "ok   $name: $pages pages, all $((pages / 41)) checkpoints matched ($((SECONDS - started)) s)"
}

# Rounds autoplayed and recorded on this machine, for every architecture to play.
native=build/torvane-headless
fresh=()
if [ $quick = 0 ]; then
  if [ ! -x $native ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
    cmake --build build -j"$jobs" --target torvane-headless
  fi
  for origin in 5100 5200 5300; do
    mkdir -p "$work/fresh-$origin"
    XDG_CONFIG_HOME=$work/fresh-$origin/config XDG_DATA_HOME=$work/fresh-$origin/share \
      $native --autoplay --rounds 1 --clock-origin $origin --workdir "$work/fresh-$origin" \
      --record "$work/fresh-$origin.tvr" >/dev/null
    fresh+=("$work/fresh-$origin.tvr")
  done
fi

for arch in "${arches[@]}"; do
  read -r triplet processor qemu < <(describe "$arch")
  command -v "$triplet-g++" >/dev/null || { fail "$arch: no $triplet-g++ (tools/install-deps.sh --arches)"; continue; }
  command -v "qemu-$qemu" >/dev/null || { fail "$arch: no qemu-$qemu (tools/install-deps.sh --arches)"; continue; }
  echo "== $arch"
  started=$SECONDS
  emulator=("qemu-$qemu" -L "/usr/$triplet")
  build=build-$arch
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
    -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR="$processor" -DCMAKE_CXX_COMPILER="$triplet-g++" \
    "-DCMAKE_CROSSCOMPILING_EMULATOR=qemu-$qemu;-L;/usr/$triplet" >/dev/null
  if [ $quick = 1 ]; then
    cmake --build "$build" -j"$jobs" --target torvane-headless test_base >/dev/null
    ctest --test-dir "$build" --output-on-failure -R '^cross_base$' || fail "$arch: the maths tests"
    echo "   built and tested in $((SECONDS - started)) s"
    play "${emulator[@]}" "$build/torvane-headless" -- "$arch round_keys" tests/replays/round_keys.tvr \
      tests/replays/round_keys.json
  else
    cmake --build "$build" -j"$jobs" >/dev/null
    ctest --test-dir "$build" --output-on-failure -j"$jobs" || fail "$arch: unit tests"
    echo "   built and tested in $((SECONDS - started)) s"
    for game in tests/replays/*.tvr; do
      play "${emulator[@]}" "$build/torvane-headless" -- "$arch $(basename "$game" .tvr)" "$game" "${game%.tvr}.json"
    done
    for game in "${fresh[@]}"; do
      play "${emulator[@]}" "$build/torvane-headless" -- "$arch $(basename "$game" .tvr) (recorded here)" "$game"
    done
    # And the other way: a round recorded there plays here.
    mkdir -p "$work/$arch-round"
    XDG_CONFIG_HOME=$work/$arch-round/config XDG_DATA_HOME=$work/$arch-round/share "${emulator[@]}" \
      "$build/torvane-headless" --autoplay --rounds 1 --clock-origin 5400 --workdir "$work/$arch-round" \
      --record "$work/$arch-round.tvr" >/dev/null
    play $native -- "a round recorded on $arch, played here" "$work/$arch-round.tvr"
  fi
done
[ $failures = 0 ] || { echo "$failures failed"; exit 1; }
echo "every architecture played the same game"
