#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzz target of a fuzzing build, one after another on one core.
#   tests/fuzz/run.sh BUILD_DIR SECONDS|default [TARGET...]
# TARGET is a name like "chart" (the program NAME_fuzz); without targets all of them run.
# SECONDS is the time of every target. "default" runs each target FUZZ_DEFAULT_SECONDS (600)
# and then, if it has not yet made FUZZ_MIN_RUNS executions (a million; the slow targets need
# hours for them, see docs/fuzzing.md), on from what it learnt until it has.
# Each target starts from its seed corpus (tests/fuzz/corpus/NAME, never written to), with the
# dictionary NAME.dict and the flags of NAME.options when there are, and keeps what it learns
# in BUILD_DIR/fuzz-corpus/NAME; findings go to BUILD_DIR/fuzz-findings/ and end the run with a
# failure. An input that takes more than FUZZ_TIMEOUT seconds (default 10) is a finding too:
# the chart and the editor must answer in bounded time. With FUZZ_KEEP_GOING=1 a target goes
# on after a finding (libFuzzer's fork mode) and keeps every one of them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?build directory}
seconds=${2:?seconds per target, or default}
min_runs=${FUZZ_MIN_RUNS:-1000000}
default_seconds=${FUZZ_DEFAULT_SECONDS:-600}
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in "$here"/corpus/*/; do
    name=$(basename "$dir")
    [ -x "$build/tests/fuzz/${name}_fuzz" ] && targets+=("$name")
  done
fi
export QT_QPA_PLATFORM=offscreen
# Any sanitizer report ends the input as a finding; leaks are checked by libFuzzer itself.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1:symbolize=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:abort_on_error=1:print_stacktrace=1}
findings="$build/fuzz-findings"
mkdir -p "$findings"
status=0

# One libFuzzer run of target $1 with the extra flags that follow; its log is appended to
# BUILD_DIR/fuzz-NAME.log. Sets `executed` to the number of inputs it ran; returns 1 on findings.
fuzz_once() {
  local name=$1
  shift
  local work="$build/fuzz-corpus/$name" log="$build/fuzz-$name.log"
  mkdir -p "$work"
  local args=(-timeout="${FUZZ_TIMEOUT:-10}" -rss_limit_mb=4096 -print_final_stats=1
              -artifact_prefix="$findings/$name-" "$@")
  [ -f "$here/$name.dict" ] && args+=(-dict="$here/$name.dict")
  # NAME.options: more libFuzzer flags for one target, one a line ("#" begins a comment).
  if [ -f "$here/$name.options" ]; then
    while read -r flag; do
      [ -n "$flag" ] && args+=("$flag")
    done < <(sed -e 's/#.*//' -e 's/[[:space:]]*$//' "$here/$name.options")
  fi
  [ "${FUZZ_KEEP_GOING:-0}" = 1 ] && args+=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  local before after ok=1 part
  before=$(find "$findings" -name "$name-*" | wc -l)
  part=$(mktemp)
  "$build/tests/fuzz/${name}_fuzz" "${args[@]}" "$work" "$here/corpus/$name" >"$part" 2>&1 || ok=0
  cat "$part" >>"$log"
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$part" | tail -n 1)
  executed=${executed:-0}
  rm -f "$part"
  after=$(find "$findings" -name "$name-*" | wc -l)
  if [ $ok = 0 ] || [ "$after" != "$before" ]; then
    echo "!! $name: $((after - before)) finding(s), see $log and $findings/" >&2
    tail -n 40 "$log" >&2
    return 1
  fi
  return 0
}

for name in "${targets[@]}"; do
  : >"$build/fuzz-$name.log"
  time=$seconds
  [ "$seconds" = default ] && time=$default_seconds
  echo "== $name: $time s"
  start=$SECONDS
  total=0
  ok=1
  fuzz_once "$name" -max_total_time="$time" || ok=0
  total=$executed
  if [ $ok = 1 ] && [ "$seconds" = default ] && [ "$total" -lt "$min_runs" ] &&
     [ "${FUZZ_KEEP_GOING:-0}" != 1 ]; then
    echo "== $name: $total executions so far, on to $min_runs"
    fuzz_once "$name" -runs=$((min_runs - total)) || ok=0
    total=$((total + executed))
  fi
  [ $ok = 1 ] || status=1
  echo "$name: $total executions in $((SECONDS - start)) s"
  grep -E '^stat::(average_exec_per_sec|peak_rss_mb)' "$build/fuzz-$name.log" || true
done
exit $status
