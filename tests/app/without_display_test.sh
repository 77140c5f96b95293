#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs zelmo with no display at all: what the command line alone answers must not need one.
# Usage: without_display_test.sh PATH/TO/zelmo
zelmo=$1
failures=0
out=$(mktemp) err=$(mktemp)

# expect CODE TEXT-IN-OUTPUT ARGS...: exit code and a text found on stdout or stderr.
expect() {
    code=$1 text=$2
    shift 2
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$zelmo" "$@" >"$out" 2>"$err" </dev/null
    got=$?
    if [ "$got" -ne "$code" ]; then
        echo "FAIL: zelmo $*: exit $got, expected $code"; cat "$out" "$err"
        failures=$((failures + 1))
    elif ! grep -qF -- "$text" "$out" "$err"; then
        echo "FAIL: zelmo $*: no \"$text\" in the output"; cat "$out" "$err"
        failures=$((failures + 1))
    fi
}

expect 0 "--keep-memory" --help
expect 0 "--memory" -h
expect 0 "zelmo 1." --version
expect 2 "«--bogus»" --bogus
expect 2 "нужно имя файла" --memory
expect 2 "«extra»" -- file extra
expect 2 "вместе" --memory=a --keep-memory
expect 2 "mixed:P" --opp mixed:2
[ -s "$out" ] && { echo "FAIL: a refused line printed on stdout"; failures=$((failures + 1)); }

# A command line that asks for the window: without a display, a Russian message and status 1
# (not Qt's abort), and no file touched.
dir=$(mktemp -d)
trap 'rm -f "$out" "$err"; rm -rf "$dir"' EXIT
expect 1 "нет связи с графическим дисплеем (переменные окружения DISPLAY и WAYLAND_DISPLAY"
expect 1 "графическом сеансе" --memory "$dir/memory.zelmo" --opponent random
[ -z "$(ls -A "$dir")" ] || { echo "FAIL: files made without a display"; failures=$((failures + 1)); }
if env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:4097 "$zelmo" --keep-memory >"$out" 2>"$err" </dev/null; then
    echo "FAIL: zelmo on an unreachable display exited 0"; failures=$((failures + 1))
else
    code=$?
    [ "$code" -eq 1 ] || { echo "FAIL: an unreachable display: exit $code"; failures=$((failures + 1)); }
    grep -qF "дисплей «:4097» недоступен" "$err" ||
        { echo "FAIL: an unreachable display is not named"; cat "$err"; failures=$((failures + 1)); }
    grep -q "qt\.qpa" "$err" && { echo "FAIL: Qt's English lines shown"; failures=$((failures + 1)); }
fi

# A help or version that cannot be written is a failure, not a success.
for option in --help --version; do
    if [ -w /dev/full ] && env -u DISPLAY "$zelmo" "$option" >/dev/full 2>/dev/null; then
        echo "FAIL: zelmo $option >/dev/full exited 0"; failures=$((failures + 1))
    fi
done

# Closed standard streams are opened on /dev/null at start-up, so the version still "prints".
if ! env -u DISPLAY "$zelmo" --version >&- 2>&-; then
    echo "FAIL: zelmo --version with standard output closed did not exit 0"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "all command lines answered without a display"
exit "$failures"
