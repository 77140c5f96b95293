#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the screen reader Orca says while the window is played from the keyboard: starts a private
# virtual X server, D-Bus session and AT-SPI bus, Orca with its debug log, and the window; types
# the given keys into it (a key name for xdotool, or click:X,Y for a left click at window
# co-ordinates X,Y) and prints every line Orca spoke. Orca needs no sound for this: it logs what
# it hands to the speech server.
#   scripts/orca-speech.sh [PROGRAM [KEY...]]
# The default plays one game from start-up (Tab to играть, Space, the digits 1 to 9 in turn, of
# which the free ones play), raises the draw grade with its up arrow, and starts a second game.
# Needs orca and xdotool (installed when missing, as root or through sudo), and the packages of
# the accessibility test (xvfb, dbus-daemon, at-spi2-core).
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/app/zelmo}")
shift || true
keys=("$@")
if [ ${#keys[@]} -eq 0 ]; then
  keys=(Tab space 1 2 3 4 5 6 7 8 9 click:125,259 Tab Tab space 1 2 3 4 5 6 7 8 9)
fi
[ -x "$program" ] || { echo "no program $program; build it first (make test)" >&2; exit 1; }

bash scripts/install-deps.sh orca xdotool xvfb dbus-daemon at-spi2-core

source "$(dirname "$0")/../tests/a11y/privatex.sh"
start_private_x 1280x1024x24
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb
unset AT_SPI_BUS_ADDRESS

status=0
dbus-run-session -- bash -s "$program" "$work/orca.log" "${keys[@]}" <<'SESSION' 2>/dev/null || status=$?
program=$1 log=$2
shift 2
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
# Orca ends its whole process group when it stops: it gets a session of its own.
setsid orca --replace --debug-file="$log" >/dev/null 2>&1 </dev/null &
orca=$!
for _ in $(seq 200); do grep -qs 'SPEECH OUTPUT' "$log" && break; sleep 0.05; done
"$program" </dev/null &
zelmo=$!
window=
for _ in $(seq 200); do
  window=$(xdotool search --name 'Зельмо' 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.05
done
xdotool windowfocus --sync "$window"
sleep 2
for key in "$@"; do
  case $key in
    click:*) xy=${key#click:}; xdotool mousemove --window "$window" "${xy%,*}" "${xy#*,}" click 1 ;;
    *) xdotool key --window "$window" "$key" ;;
  esac
  sleep 1
done
sleep 1
# Orca writes the end of its log when it stops, which needs the bus: the bus goes last.
kill "$zelmo" "$orca" 2>/dev/null
for _ in $(seq 100); do kill -0 "$orca" 2>/dev/null || break; sleep 0.05; done
kill "$launcher" 2>/dev/null
exit 0
SESSION
[ "$status" -eq 0 ] || echo "the session ended with status $status" >&2
sed -n "s/^.*SPEECH OUTPUT: '\(.*\)' *{.*$/\1/p" "$work/orca.log"
