#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs orca_game.py (the screen reader Orca, reading the window played from the keyboard) on a
# private virtual X server and D-Bus session, so that it needs no desktop, no sound and touches
# none. Usage: orca_test.sh PROGRAM [--say KEY...]
set -euo pipefail
program=${1:?the window program}
shift
here=$(dirname "$0")

source "$here/privatex.sh"
need_session_tools
need orca orca
need speech-dispatcher speech-dispatcher
need /usr/lib/speech-dispatcher-modules/sd_generic speech-dispatcher

start_private_x 1280x1024x24
# Orca keeps its settings in a fresh folder; Qt exposes the window on the AT-SPI bus because a
# screen reader runs.
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb
unset AT_SPI_BUS_ADDRESS QT_ACCESSIBILITY QT_LINUX_ACCESSIBILITY_ALWAYS_ON NO_AT_BRIDGE \
  SPEECHD_ADDRESS
mkdir "$work/orca" "$work/users-orca"
# The user's own Orca, as the system sees it (a process named orca of the same user): the test's
# private Orca must leave it running.
ln -s "$(command -v sleep)" "$work/users-orca/orca"
"$work/users-orca/orca" 600 &
users_orca=$!
status=0
dbus-run-session -- /usr/bin/python3 "$here/orca_game.py" "$work/orca" "$program" "$@" \
  </dev/null 2> >(grep -v -e "fd limit" -e "^dbus-daemon" -e SpiRegistry >&2) || status=$?
if ! kill -0 "$users_orca" 2>/dev/null; then
  echo "FAIL: the user's own Orca did not survive the test's private one" >&2
  status=1
fi
kill "$users_orca" 2>/dev/null || true
exit "$status"
