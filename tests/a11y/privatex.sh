# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the accessibility tests (atspi_test.sh, orca_test.sh).

# Fails, naming the Debian package PACKAGE, unless the program TOOL (a name or a path) is there.
need() {
  if ! command -v "$1" >/dev/null 2>&1 && [ ! -x "$1" ]; then
    echo "FAIL: $1 is missing; install the Debian package $2 (scripts/install-deps.sh does)" >&2
    exit 1
  fi
}

# What both tests need: the virtual X server, the D-Bus session and AT-SPI bus, Python and
# the tool that types keys into the window.
need_session_tools() {
  need Xvfb xvfb
  need dbus-run-session dbus-daemon
  need /usr/libexec/at-spi-bus-launcher at-spi2-core
  need /usr/bin/python3 python3
  need xdotool xdotool
}

# A private work folder and a virtual X server of SIZE (WxHxD) on a free display, both gone when
# the script ends. Sets work, DISPLAY, HOME and XDG_RUNTIME_DIR.
start_private_x() {
  local size=$1
  work=$(mktemp -d)
  xvfb=
  trap 'if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
  # The server picks a free display number and writes it to the descriptor.
  Xvfb -displayfd 3 -nolisten tcp -screen 0 "$size" 3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  if [ ! -s "$work/display" ]; then
    cat "$work/xvfb.log" >&2
    echo "FAIL: Xvfb did not start" >&2
    exit 1
  fi
  export DISPLAY=":$(cat "$work/display")" HOME="$work" XDG_RUNTIME_DIR="$work/run"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
}
