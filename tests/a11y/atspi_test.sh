#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs atspi_game.py against the window on a private virtual X server, D-Bus session and AT-SPI
# bus, so that it needs no desktop and touches none. Usage: atspi_test.sh PROGRAM
set -euo pipefail
program=${1:?the window program}
here=$(dirname "$0")

source "$here/privatex.sh"
need_session_tools
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "FAIL: the Python module pyatspi is missing; install the Debian package python3-pyatspi" >&2
  exit 1
fi

start_private_x 1024x768x24
# Qt exposes its widgets on the AT-SPI bus only under a window system (not offscreen), and
# without a screen reader running only when told to.
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset QT_ACCESSIBILITY NO_AT_BRIDGE AT_SPI_BUS_ADDRESS
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  status=0
  /usr/bin/python3 "$0" "$1" || status=$?
  kill $launcher 2>/dev/null
  wait $launcher 2>/dev/null
  exit $status' "$here/atspi_game.py" "$program" </dev/null 2> >(grep -v -e "fd limit" -e "^dbus-daemon" -e SpiRegistry >&2)
