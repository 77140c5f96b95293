#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build tree into a temporary prefix and checks what lands there: the exact list
# of files, the programs, the icon sizes, and that the desktop entry, the metainfo and the
# manual pages pass their validators.
source "$(dirname "$0")/common.sh"
: "${CMAKE:?}"
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need groff groff-base
need lexgrog man-db
need update-mime-database shared-mime-info
need gio libglib2.0-bin

prefix=$(mktemp -d)
trap 'rm -rf "$prefix" "$prefix.log"' EXIT
if ! "$CMAKE" --install "$BUILD_DIR" --prefix "$prefix" >"$prefix.log" 2>&1; then
  cat "$prefix.log" >&2
  echo "FAIL: cmake --install into $prefix failed" >&2
  exit 1
fi

desktop=share/applications/$APP_ID.desktop
metainfo=share/metainfo/$APP_ID.metainfo.xml
mime=share/mime/packages/$APP_ID.xml
manpages=$(manpages . | sed 's|^\./||')
docdir=share/doc/zelmo

# Nothing more, nothing less: a stray or a missing file shows up in the difference.
expected=$(
  for program in $PROGRAMS; do echo "bin/$program"; done
  echo "$desktop"
  echo "$metainfo"
  echo "$mime"
  echo "$manpages"
  echo "$docdir/copyright"
  echo "$docdir/changelog.gz"
  for size in $ICON_SIZES; do echo "share/icons/hicolor/${size}x${size}/apps/$APP_ID.png"; done
  echo "share/icons/hicolor/scalable/apps/$APP_ID.svg"
)
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||')
if ! diff <(sort <<<"$expected") <(sort <<<"$actual") >&2; then
  fail "installed files differ from the expected list (< expected, > installed)"
fi

for program in $PROGRAMS; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not an executable file"
done

for size in $ICON_SIZES; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png
  [ -f "$png" ] || continue
  if [ "$(head -c8 "$png" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
    fail "$png is not a PNG file"
  elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
    fail "$png is $(png_size "$png"), not ${size}x${size}"
  fi
done
svg=$prefix/share/icons/hicolor/scalable/apps/$APP_ID.svg
grep -q '<svg' "$svg" || fail "$svg is not an SVG picture"

if [ -f "$prefix/$desktop" ]; then
  desktop-file-validate "$prefix/$desktop" >&2 || fail "desktop-file-validate rejects $desktop"
  # The menu starts the program by its name on the PATH, shows the theme icon of the same id,
  # and names it in Russian and English.
  for line in "Exec=zelmo --keep-memory %f" "MimeType=$MIME_TYPE;" "Icon=$APP_ID" "Name=Zelmo" "Name[ru]=Зельмо" "Categories=Game;BoardGame;"; do
    grep -qxF "$line" "$prefix/$desktop" || fail "$desktop lacks the line '$line'"
  done
  grep -q '^Comment=.' "$prefix/$desktop" || fail "$desktop has no English comment"
  grep -q '^Comment\[ru\]=.' "$prefix/$desktop" || fail "$desktop has no Russian comment"
fi

# The MIME package: the shared MIME database of the prefix built from it knows a memory file by
# its name and, under any name, by its first bytes.
if [ -f "$prefix/$mime" ]; then
  if ! update-mime-database "$prefix/share/mime" >&2; then
    fail "update-mime-database rejects $mime"
  else
    printf 'ZELMOMEM' >"$prefix.named.zelmo"
    cp "$SOURCE_DIR/tests/fuzz/corpus/memoryfile/one-entry" "$prefix.unnamed"
    for file in "$prefix.named.zelmo" "$prefix.unnamed"; do
      type=$(XDG_DATA_DIRS=$prefix/share XDG_DATA_HOME=$prefix/none gio info -a standard::content-type "$file" |
        sed -n 's/^ *standard::content-type: //p')
      [ "$type" = "$MIME_TYPE" ] || fail "$(basename "$file") is of type '$type', not $MIME_TYPE"
    done
    rm -f "$prefix.named.zelmo" "$prefix.unnamed"
  fi
fi

if [ -f "$prefix/$metainfo" ]; then
  appstreamcli validate --no-net --explain "$prefix/$metainfo" >&2 || fail "appstreamcli rejects $metainfo"
  for text in "<id>$APP_ID</id>" "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" \
    "<summary xml:lang=\"ru\">" "<p xml:lang=\"ru\">" "<content_rating type=\"oars-1.1\"" \
    "<release version=\"$VERSION\"" "https://$HOMEPAGE_HOST/"; do
    grep -qF "$text" "$prefix/$metainfo" || fail "$metainfo lacks '$text'"
  done
  # The software centre shows the window at device pixel ratio 2 first and at ratio 1 beside it:
  # the pictures of docs/, published on the home page, each with the size it really has.
  images=$(grep -o '<image type="source"[^<]*' "$prefix/$metainfo" | sed 's/<image type="source" //')
  expected_images=$(for shot in "760 606 screenshot-2x.png" "380 303 screenshot.png"; do
    read -r w h file <<<"$shot"
    echo "width=\"$w\" height=\"$h\">https://$HOMEPAGE_HOST/$file"
    [ "$(png_size "$SOURCE_DIR/docs/$file")" = "${w}x${h}" ] || echo "docs/$file is $(png_size "$SOURCE_DIR/docs/$file")"
  done)
  [ "$images" = "$expected_images" ] || fail "$metainfo shows the screenshots $images, not $expected_images"
  [ "$(grep -c '<screenshot type="default">' "$prefix/$metainfo")" = 1 ] || fail "$metainfo has not one default screenshot"
  [ "$(grep -c '<caption xml:lang="ru">' "$prefix/$metainfo")" = 2 ] || fail "$metainfo lacks Russian captions"
fi

# Each page: no groff warning (-ww turns every warning on; without -k groff reads ASCII only, so
# any other character must be written as a \[uXXXX] escape), a NAME
# line that lexgrog (which builds the whatis database) can read, and the options it must cover.
check_manpage() {
  local page=$1 name=$2
  shift 2
  [ -f "$prefix/$page" ] || return 0
  local warnings text
  warnings=$(gzip -dc "$prefix/$page" | groff -man -Tutf8 -ww -z 2>&1) || fail "groff fails on $page"
  [ -z "$warnings" ] || fail "groff warns about $page: $warnings"
  lexgrog "$prefix/$page" | grep -qF ": \"$name - " || fail "lexgrog reads no NAME line for $name in $page"
  text=$(gzip -dc "$prefix/$page" | groff -k -man -Tutf8 -P-cbou 2>/dev/null)
  for option in "$@"; do
    grep -q -- "$option" <<<"$text" || fail "$page does not describe $option"
  done
}
check_manpage share/man/man6/zelmo.6.gz zelmo --memory FILE Ctrl+O Ctrl+Shift+S Ctrl+R "context menu" \
  "One window per memory file" SIGTERM
check_manpage share/man/man6/zelmo-train.6.gz zelmo-train --games --player --win --loss --draw \
  --seed --clock --load --save --start-over --block --csv --help --version SIGINT "EXIT STATUS" \
  EXAMPLES FILES

# The copyright file in Debian's machine-readable format, naming the licence.
copyright=$prefix/$docdir/copyright
if [ -f "$copyright" ]; then
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" ||
    fail "$docdir/copyright has no machine-readable Format line"
  grep -qx 'License: GPL-3+' "$copyright" || fail "$docdir/copyright does not name GPL-3+"
fi

finish
