#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One window per memory file, with real processes on a private X server: `zelmo --keep-memory`
# started while a window holds the kept memory opens nothing, brings that window to the front
# (it gets the focus back from another window) and exits 0; a start on another file opens a
# window of its own as usual.
# Usage: second_start_test.sh PATH/TO/zelmo
set -uo pipefail
program=${1:?the window program}
here=$(dirname "$0")
source "$here/../a11y/privatex.sh"
need Xvfb xvfb
need xdotool xdotool
start_private_x 1024x768x24
export QT_QPA_PLATFORM=xcb
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pids=()
trap 'for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null; done; if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null; fi; rm -rf "$work"' EXIT
kept=$HOME/.local/share/zelmo/memory.zelmo

# until COMMAND...: runs it until it succeeds, for at most 20 s.
until_true() {
  for _ in $(seq 400); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}
holds() { [ "$(cat "$1.lock" 2>/dev/null)" = "zelmo $2" ] && [ -S "$XDG_RUNTIME_DIR/zelmo-window-$2" ]; }
focused_on() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
window_of() { xdotool search --sync --onlyvisible --pid "$1" 2>/dev/null | head -n 1; }

"$program" --keep-memory >"$work/first.log" 2>&1 &
first=$!
pids+=("$first")
until_true holds "$kept" "$first" || fail "the first window does not hold the kept memory: $(cat "$work/first.log")"
firstWindow=$(window_of "$first")

# Another window (no memory file) takes the focus.
"$program" >"$work/other.log" 2>&1 &
other=$!
pids+=("$other")
otherWindow=$(window_of "$other")
xdotool windowraise "$otherWindow" windowfocus --sync "$otherWindow"
until_true focused_on "$otherWindow" || fail "the other window did not take the focus"

# The menu entry started again: no second window on the file, the first comes forward.
timeout 30 "$program" --keep-memory >"$work/second.log" 2>&1
code=$?
[ "$code" = 0 ] || fail "the second start exited with $code, expected 0: $(cat "$work/second.log")"
until_true focused_on "$firstWindow" || fail "the first window did not come forward (focus on $(xdotool getwindowfocus))"
kill -0 "$first" 2>/dev/null || fail "the first window has gone"
[ "$(cat "$kept.lock")" = "zelmo $first" ] || fail "the kept memory changed hands: $(cat "$kept.lock")"

# A window on another file opens as usual.
"$program" --memory "$work/other.zelmo" >"$work/third.log" 2>&1 &
third=$!
pids+=("$third")
until_true holds "$work/other.zelmo" "$third" || fail "a start on another file opened no window of its own"

# Two starts on one file at the same moment: one window, the other start brings it forward and
# exits 0 (before, both opened and the second showed the "busy" box). Each window listens on its
# socket before it takes the lock, so the loser always finds the winner's socket.
for round in 1 2 3; do
  race=$work/race-$round.zelmo
  "$program" --memory "$race" >"$work/race-a.log" 2>&1 &
  a=$!
  "$program" --memory "$race" >"$work/race-b.log" 2>&1 &
  b=$!
  pids+=("$a" "$b")
  until_true holds "$race" "$a" || until_true holds "$race" "$b" ||
    fail "round $round: neither start holds the file"
  holder=$a
  loser=$b
  holds "$race" "$b" && { holder=$b; loser=$a; }
  for _ in $(seq 200); do
    kill -0 "$loser" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$loser" 2>/dev/null; then
    fail "round $round: two windows opened on one file ($(cat "$work/race-a.log" "$work/race-b.log"))"
    kill -KILL "$loser"
  fi
  wait "$loser"
  code=$?
  [ "$code" = 0 ] || fail "round $round: the second start exited with $code, expected 0"
  kill -TERM "$holder"
  wait "$holder"
done

for pid in "$third" "$other" "$first"; do
  kill -TERM "$pid"
  wait "$pid"
  code=$?
  [ "$code" = 0 ] || fail "window $pid ended with $code after SIGTERM, expected 0"
done
pids=()

[ "$failures" = 0 ] || exit 1
echo "all checks passed"
