#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The trainer as a process: a reader that goes away, stop signals, closed standard streams.
# Usage: process_test.sh PATH/TO/zelmo-train
set -uo pipefail
train=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
loads() { "$train" -n 0 --load "$1" >/dev/null 2>&1; }

# A reader that stops after one line: the run goes on, saves, and reports the failed output.
"$train" -n 200000 --clock 1 --save "$dir/piped" 2>"$dir/piped.err" | head -1 >/dev/null
code=${PIPESTATUS[0]}
[ "$code" = 1 ] || fail "a closed pipe: exit code $code, expected 1"
grep -q 'стандартный вывод' "$dir/piped.err" || fail "a closed pipe is not reported"
loads "$dir/piped" || fail "a closed pipe: the memory was not saved"

# A stop signal ends the run after the current game with the last line written and the memory
# saved; the CSV has every finished block before that. Job control gives the background run
# the default SIGINT that an interactive shell would.
set -m
for signal in INT TERM HUP; do
  rm -f "$dir/run.csv" "$dir/run.zelmo" "$dir/run.out"
  "$train" -n 2147483647 -b 1000 --clock 1 --csv "$dir/run.csv" --save "$dir/run.zelmo" \
    >"$dir/run.out" 2>"$dir/run.err" &
  pid=$!
  for _ in $(seq 400); do
    [ "$(wc -l <"$dir/run.out" 2>/dev/null)" -ge 3 ] 2>/dev/null && break
    sleep 0.05
  done
  csvLines=$(wc -l <"$dir/run.csv")
  [ "$csvLines" -ge 2 ] || fail "SIG$signal: the CSV held $csvLines lines while the run went on"
  # Twice with no gap, as a closed terminal sends SIGHUP: the second must not lose the run.
  kill -s "$signal" "$pid"
  kill -s "$signal" "$pid" 2>/dev/null
  wait "$pid"
  code=$?
  expected=$((128 + $(kill -l "$signal")))
  [ "$code" = "$expected" ] || fail "SIG$signal: exit code $code, expected $expected"
  loads "$dir/run.zelmo" || fail "SIG$signal: the memory was not saved"
  last=$(tail -1 "$dir/run.csv" | cut -d, -f1)
  total=$(awk -F'\t' '$1 == "итого" { print $2 + $3 + $4 }' "$dir/run.out")
  [ -n "$last" ] && [ "$last" = "$total" ] ||
    fail "SIG$signal: the CSV ends at game $last, the run played $total"
  grep -q "остановлено сигналом SIG$signal" "$dir/run.err" || fail "SIG$signal is not reported"
done
set +m

# One writer per file: a second run on the --save file of a running one is refused before its
# first game (exit code 3, naming the holder's process); a holder killed outright leaves its
# lock file, and the next run takes the lock over.
rm -f "$dir/held.zelmo" "$dir/held.out"
"$train" -n 2147483647 --clock 1 --save "$dir/held.zelmo" >"$dir/held.out" 2>/dev/null &
pid=$!
for _ in $(seq 400); do
  [ "$(wc -l <"$dir/held.out" 2>/dev/null)" -ge 2 ] 2>/dev/null && break
  sleep 0.05
done
"$train" -n 1 --save "$dir/held.zelmo" >"$dir/second.out" 2>"$dir/second.err"
code=$?
[ "$code" = 3 ] || fail "a held file: exit code $code, expected 3"
grep -q "занят: в него пишет тренировка zelmo-train (процесс $pid)" "$dir/second.err" ||
  fail "a held file: the holder is not named: $(cat "$dir/second.err")"
[ -s "$dir/second.out" ] && fail "a held file: the refused run played"
kill -KILL "$pid"
wait "$pid" 2>/dev/null
[ -e "$dir/held.zelmo.lock" ] || fail "a killed holder left no lock file"
"$train" -n 1 --save "$dir/held.zelmo" >/dev/null 2>"$dir/second.err" ||
  fail "the lock of a killed run is not taken over: $(cat "$dir/second.err")"
[ -e "$dir/held.zelmo.lock" ] && fail "a run that ended left its lock file"

# Closed standard streams are opened on /dev/null, so no file takes their place.
"$train" -n 3 -b 1 --clock 1 --csv "$dir/closed-out.csv" >&-
csv=$dir/closed-out.csv
[ "$(head -1 "$csv")" = games,player_wins,computer_wins,draws,errors,positions ] &&
  [ "$(wc -l <"$csv")" = 4 ] && [ "$(grep -c '^[0-9]' "$csv")" = 3 ] ||
  fail "standard output closed: the CSV holds $(cat "$csv")"
"$train" -n 30 -b 30 --clock 0 --win 2147483647 --loss 2147483647 --draw 2147483647 \
  --csv "$dir/closed-err.csv" >/dev/null 2>&-
code=$?
[ "$(grep -cv '^[0-9g]' "$dir/closed-err.csv")" = 0 ] ||
  fail "standard error closed: the CSV holds $(cat "$dir/closed-err.csv")"
[ "$code" = 0 ] || fail "standard error closed: exit code $code"

[ "$failures" = 0 ] || exit 1
echo "all checks passed"
