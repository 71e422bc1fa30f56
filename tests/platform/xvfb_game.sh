# Shared by the real-window tests: sourced with the game's path in $game and a time limit in
# $limit. Re-runs the calling script inside a virtual X server, then offers start_game,
# close_game, expect_clean_exit, press and fail, with the game's working folder in $work.
for tool in xvfb-run xdotool import convert python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# -noreset: a game started the moment the one before it ended must not meet the server
# resetting itself after its last client left (it would find no display, or lose it).
if [ -z "${TORVANE_IN_XVFB:-}" ]; then
  export TORVANE_IN_XVFB=1
  exec timeout "$limit" xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$game"
fi

work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The game's window as shown now: SDL may make a window and replace it while it opens the
# display (seen on a loaded machine), so the one found first may be gone by the next key.
# Keeps the one found last when none is shown.
find_window() {
  local shown
  shown=$(xdotool search --onlyvisible --name '^Torvane$' 2>/dev/null | tail -n 1)
  [ -n "$shown" ] && window=$shown
}

# Starts the game in $work (the high-score file stays out of the tree) with the environment
# given as arguments, and waits for its window: $window.
start_game() {
  cd "$work" || fail "no working folder"
  env "$@" "$game" >"$work/game.log" 2>&1 &
  pid=$!
  window=
  for _ in $(seq 100); do
    find_window && return 0
    kill -0 "$pid" 2>/dev/null || { cat "$work/game.log"; fail "the game ended before its window appeared"; }
    sleep 0.1
  done
  fail "no window named Torvane within 10 s"
}

# The game must end with status 0 within 10 s of what $1 says it was asked to.
expect_clean_exit() {
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "the game was still running 10 s after $1"
  wait "$pid"
  local status=$?
  pid=
  [ "$status" -eq 0 ] || { cat "$work/game.log"; fail "the game exited with status $status after $1"; }
}

# The close button (the window manager's polite request, not a destroyed window) ends the game.
close_game() {
  find_window || fail "no window to close"
  python3 "$here/close_window.py" "$window" || fail "could not send the close request"
  expect_clean_exit "its window was closed"
}

# The game polls keys once a frame (24 ms): each key is held over several frames.
press() {
  find_window
  xdotool keydown --window "$window" "$1"
  sleep 0.15
  # A key that ended the game leaves no window to take its release: it is released in the
  # server, or the next game (the server is not reset between them) would find it held.
  xdotool keyup --window "$window" "$1" 2>/dev/null || xdotool keyup "$1"
  sleep 0.35
}

# The loudest 16-bit sample SDL's disk driver wrote to $1 (0 for no file).
audio_peak() {
  python3 -c '
import array, sys
data = array.array("h")
raw = open(sys.argv[1], "rb").read()
data.frombytes(raw[: len(raw) // 2 * 2])
print(max((abs(s) for s in data), default=0))' "$1" 2>/dev/null || echo 0
}
