#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window ends in order, with two real processes: a SIGTERM (or SIGHUP twice, as a closed
# terminal sends it) during the watch mode closes it as Ctrl+Q does (exit status 0), also with
# an error box open, and when its X server is killed under it, Qt ends it with
# exit(); both times the save that the watch mode held back is written first, so the file
# holds the games played after the last spaced save.
# Usage: end_requests_test.sh PATH/TO/zelmo
set -uo pipefail
program=${1:?the window program}
here=$(dirname "$0")
source "$here/../a11y/privatex.sh"
need Xvfb xvfb
need /usr/bin/python3 python3
start_private_x 640x480x24
export QT_QPA_PLATFORM=xcb
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
summary() { /usr/bin/python3 "$here/memorysummary.py" "$1"; }

# watchUntilSaved FILE [OPPONENT]: starts the window watching OPPONENT (perfect) at full speed on
# FILE and returns once FILE has been saved twice (the spaced saves come about once a second);
# sets window.
watchUntilSaved() {
  local file=$1 opponent=${2:-perfect} first=
  "$program" --memory "$file" --opponent "$opponent" --pace 0 >"$work/window.log" 2>&1 &
  window=$!
  for _ in $(seq 400); do
    if [ -s "$file" ]; then
      if [ -z "$first" ]; then
        first=$(stat -c %Y.%i "$file")
      elif [ "$(stat -c %Y.%i "$file")" != "$first" ]; then
        return 0
      fi
    fi
    kill -0 "$window" 2>/dev/null || break
    sleep 0.05
  done
  fail "the window saved no two memories: $(cat "$work/window.log")"
  return 1
}

# endWhileWatching NAME SIGNAL...: the signals, back to back, to a window watching on a file of
# its own: closed as Ctrl+Q, the held-back save written, exit 0. A closed terminal sends SIGHUP
# twice; the second must not end the window before the first has had the memory written.
endWhileWatching() {
  local name=$1 signal
  shift
  file=$work/$name.zelmo
  watchUntilSaved "$file" || return
  before=$(summary "$file")
  cp "$file" "$work/before.zelmo"
  for signal in "$@"; do
    kill -s "$signal" "$window"
  done
  wait "$window"
  code=$?
  after=$(summary "$file")
  echo "$* while watching: file before: $before, after: $after (positions, sum of |weights|)"
  [ "$code" = 0 ] || fail "after $*: the window exited with $code, expected 0"
  [ "$after" != unreadable ] || fail "after $*: the file is not a whole memory"
  cmp -s "$file" "$work/before.zelmo" && fail "after $*: the held-back save is lost"
  [ ! -e "$file.lock" ] || fail "after $*: the window ended without letting its lock go"
}
endWhileWatching term TERM
endWhileWatching hangup HUP HUP

# A save that fails opens its error box; a SIGTERM then still ends the window within seconds
# (the box dismissed, its text on standard error), where before it waited for a click. A second
# hard link makes every save fail, also for root.
file=$work/failing.zelmo
if watchUntilSaved "$file"; then
  ln "$file" "$work/failing-link.zelmo"
  for _ in $(seq 100); do
    grep -q . "$work/window.log" 2>/dev/null && break
    sleep 0.05
  done
  sleep 0.5
  kill -TERM "$window"
  for _ in $(seq 100); do
    kill -0 "$window" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$window" 2>/dev/null; then
    fail "SIGTERM with a failing save: the window still runs after 5 s"
    kill -KILL "$window"
  fi
  wait "$window"
  echo "SIGTERM with a failing save: the window ended with $?; it said: $(head -c 300 "$work/window.log")"
fi

# The X server killed under the watching window: Qt calls exit(), the exit hook writes, the
# learner's file too (its own saves come only every half minute).
file=$work/display.zelmo
learner=$work/learner.zelmo
if watchUntilSaved "$file" "learner:$learner"; then
  before=$(summary "$file")
  cp "$file" "$work/before.zelmo"
  kill -KILL "$xvfb"
  wait "$xvfb" 2>/dev/null
  xvfb=
  wait "$window"
  code=$?
  after=$(summary "$file")
  echo "X server killed while watching: file before: $before, after: $after; exit status $code"
  [ "$after" != unreadable ] || fail "after the display went the file is not a whole memory"
  cmp -s "$file" "$work/before.zelmo" && fail "after the display went the held-back save is lost"
  echo "the learner's file then: $(summary "$learner" 2>&1)"
  [ "$(summary "$learner" 2>&1)" != unreadable ] || fail "the learner's file was not written at exit"
fi

[ "$failures" = 0 ] || exit 1
echo "all checks passed"
