#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A double-click on a memory file in a file manager, in an installed prefix: with the prefix's
# MIME and desktop databases made as a package's triggers make them, the desktop takes a
# memory file (by its name or by its first bytes) for Zelmo's type, names Zelmo's entry as its
# application, and `gio open FILE` (what a file manager runs) starts the installed zelmo on
# that file: the window holds the file and keeps the memory in it.
source "$(dirname "$0")/common.sh"
source "$SOURCE_DIR/tests/a11y/privatex.sh"
: "${CMAKE:?}" "${MIME_TYPE:?}"
need update-mime-database shared-mime-info
need update-desktop-database desktop-file-utils
need gio libglib2.0-bin
need Xvfb xvfb

start_private_x 640x480x24
prefix=$work/prefix
if ! "$CMAKE" --install "$BUILD_DIR" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install into $prefix failed" >&2
  exit 1
fi
update-mime-database "$prefix/share/mime"
update-desktop-database "$prefix/share/applications"
# Only the prefix's data: nothing of the machine's own desktop settings takes part.
export XDG_DATA_DIRS=$prefix/share XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
export XDG_CONFIG_DIRS=$work/config PATH=$prefix/bin:$PATH QT_QPA_PLATFORM=xcb
mkdir -p "$work/data" "$work/config"

file=$work/brain
cp "$SOURCE_DIR/tests/fuzz/corpus/memoryfile/one-entry" "$file"
type=$(gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
echo "gio info: $(basename "$file") is $type"
[ "$type" = "$MIME_TYPE" ] || fail "a memory file without the suffix is of type '$type'"
default=$(gio mime "$MIME_TYPE" | sed -n '1s/.*: //p')
echo "gio mime: $default"
[ "$default" = "$APP_ID.desktop" ] || fail "the default application of $MIME_TYPE is '$default'"

gio open "$file" 2>"$work/open.log" || fail "gio open failed: $(cat "$work/open.log")"
window=
for _ in $(seq 400); do
  holder=$(cat "$file.lock" 2>/dev/null || true)
  if [[ "$holder" == "zelmo "* ]]; then
    window=${holder#zelmo }
    break
  fi
  sleep 0.05
done
if [ -z "$window" ]; then
  fail "gio open started no window on the file"
else
  echo "gio open: window $window ($(tr '\0' ' ' <"/proc/$window/cmdline")) holds the file"
  kill -TERM "$window"
  for _ in $(seq 400); do
    kill -0 "$window" 2>/dev/null || break
    sleep 0.05
  done
  [ ! -e "$file.lock" ] || fail "the window did not end in order"
fi
finish
