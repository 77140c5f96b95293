#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the screen reader Orca says while the window is played from the keyboard: starts a private
# virtual X server, D-Bus session, AT-SPI bus and speech server (whose only voice writes each
# utterance as a line instead of sounding it, so no sound card is needed), Orca and the window;
# types the given keys into it (a key name for xdotool, or click:X,Y for a left click at window
# co-ordinates X,Y, or wait:S to listen for S seconds), waiting after each until Orca is quiet,
# and prints every line Orca spoke.
#   scripts/orca-speech.sh [PROGRAM [KEY...]]
# The default plays one game from start-up (F2, then the digits 1 to 9 in turn, of which the free
# ones play), raises the draw grade with its up arrow, and starts a second game. The packages it
# needs are in scripts/packages.txt (installed when missing, as root or through sudo). The CTest
# test orca_game (tests/a11y/orca_game.py) runs the same set-up and checks what Orca says.
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/app/zelmo}")
shift || true
keys=("$@")
if [ ${#keys[@]} -eq 0 ]; then
  keys=(F2 1 2 3 4 5 6 7 8 9 click:125,259 F2 1 2 3 4 5 6 7 8 9)
fi
[ -x "$program" ] || { echo "no program $program; build it first (make test)" >&2; exit 1; }

bash scripts/install-deps.sh
exec bash tests/a11y/orca_test.sh "$program" --say "${keys[@]}"
