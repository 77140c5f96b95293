# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the accessibility test and scripts/orca-speech.sh: a private work folder and a
# virtual X server of SIZE (WxHxD) on a free display, both gone when the script ends. Sets
# work, DISPLAY, HOME and XDG_RUNTIME_DIR.
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
