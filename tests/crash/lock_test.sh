#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One writer per memory file, with two real processes: the window (the crash test's driver,
# the real main window) and the trainer each refuse the file the other holds, naming its
# process, and the refused side writes nothing.
# Usage: lock_test.sh PATH/TO/crash_window_driver PATH/TO/zelmo-train
set -uo pipefail
driver=$1 train=$2
dir=$(mktemp -d)
trap 'kill -KILL $(jobs -p) 2>/dev/null; rm -rf "$dir"' EXIT
export QT_QPA_PLATFORM=offscreen
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# waitFor FILE LINES: until FILE has LINES lines (the process has got that far).
waitFor() {
  for _ in $(seq 600); do
    [ "$(wc -l <"$1" 2>/dev/null)" -ge "$2" ] 2>/dev/null && return 0
    sleep 0.05
  done
  return 1
}

# A window holds the file: the trainer is refused before its first game.
"$driver" "$dir/window.zelmo" 2000000000 >"$dir/driver.out" 2>"$dir/driver.err" &
window=$!
waitFor "$dir/driver.out" 1 || fail "the window did not start: $(cat "$dir/driver.err")"
"$train" -n 5 --save "$dir/window.zelmo" >"$dir/train.out" 2>"$dir/train.err"
code=$?
[ "$code" = 3 ] || fail "a file the window holds: the trainer's exit code $code, expected 3"
grep -q "занят: в него пишет окно Zelmo (процесс $window)" "$dir/train.err" ||
  fail "the trainer does not name the window: $(cat "$dir/train.err")"
[ -s "$dir/train.out" ] && fail "the refused trainer played"
kill -TERM "$window"
wait "$window" 2>/dev/null

# The trainer holds the file: the window says so and neither reads nor writes it.
"$train" -n 2147483647 --clock 1 --save "$dir/trainer.zelmo" >"$dir/long.out" 2>/dev/null &
trainer=$!
waitFor "$dir/long.out" 2 || fail "the trainer did not start"
"$driver" "$dir/trainer.zelmo" 3 >"$dir/driver.out" 2>"$dir/driver.err"
grep -q "занят: в него пишет тренировка zelmo-train (процесс $trainer)" "$dir/driver.err" ||
  fail "the window does not name the trainer: $(cat "$dir/driver.err")"
[ -e "$dir/trainer.zelmo" ] && fail "the window wrote the file the trainer holds"
kill -TERM "$trainer"
wait "$trainer"
code=$?
[ "$code" = 143 ] || fail "the trainer stopped with $code, expected 143"
"$train" -n 0 --load "$dir/trainer.zelmo" >/dev/null 2>&1 || fail "the trainer's memory is not saved"

[ "$failures" = 0 ] || exit 1
echo "all checks passed"
