#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from this build tree with CPack (the same configuration that
# `make package` uses on a Release tree) and checks its control fields, its file list and
# what lintian finds: an error fails the test.
source "$(dirname "$0")/common.sh"
: "${CPACK:?}"
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need readelf binutils
need lintian lintian

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! (cd "$out" && "$CPACK" --config "$BUILD_DIR/CPackConfig.cmake" -G DEB -B "$out" >cpack.log 2>&1); then
  cat "$out/cpack.log" >&2
  echo "FAIL: cpack could not build the package" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)
deb=$out/zelmo_${VERSION}_${arch}.deb
if [ ! -f "$deb" ]; then
  echo "FAIL: no package $(basename "$deb"); cpack made: $(cd "$out" && ls ./*.deb 2>/dev/null)" >&2
  exit 1
fi

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = zelmo ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$VERSION" ] || fail "Version is '$(field Version)', not $VERSION"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)', not $arch"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)', not games"
[ "$(field Homepage)" = "https://$HOMEPAGE_HOST/" ] || fail "Homepage is '$(field Homepage)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
# sed reads to the end: head would leave dpkg-deb writing into a closed pipe (pipefail).
summary=$(field Description | sed -n 1p)
grep -q 'noughts and crosses' <<<"$summary" || fail "Description begins '$summary'"
[ "$(field Description | sed -n 2p | sed 's/^ *//')" != "$summary" ] || fail "Description repeats its summary"
[ "$(field Description | wc -l)" -ge 3 ] || fail "Description has no long text"

# Dependencies: the libraries found by dpkg-shlibdeps and every font of the package list.
# xdg-utils, which opens the contact links, is only recommended: without it a link warns.
names() { tr ',' '\n' | sed 's/^ *//; s/ .*//; s/|.*//'; }
depends=$(field Depends | names)
fonts=$(sed 's/#.*//' "$SOURCE_DIR/scripts/packages.txt" | tr -d ' \t' | grep '^fonts-' || true)
[ -n "$fonts" ] || fail "scripts/packages.txt lists no fonts"
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 $fonts; do
  grep -qxF "$package" <<<"$depends" || fail "Depends lacks $package: $(field Depends)"
done
! grep -qxF xdg-utils <<<"$depends" || fail "Depends holds xdg-utils: $(field Depends)"
[ "$(field Recommends | names)" = xdg-utils ] || fail "Recommends is '$(field Recommends)', not xdg-utils"

# The files, under /usr only, with the programs executable and nothing writable by others.
# The programs of a game go to /usr/games, as the Debian policy asks.
listing=$(dpkg-deb --contents "$deb")
files=$(awk '$1 !~ /^d/ {print $NF}' <<<"$listing" | sed 's|^\./|/|')
expected=$(
  for program in $PROGRAMS; do echo "/usr/games/$program"; done
  echo "/usr/share/applications/$APP_ID.desktop"
  echo "/usr/share/metainfo/$APP_ID.metainfo.xml"
  echo "/usr/share/mime/packages/$APP_ID.xml"
  manpages /usr
  echo "/usr/share/doc/zelmo/copyright"
  echo "/usr/share/doc/zelmo/changelog.gz"
  for size in $ICON_SIZES; do echo "/usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png"; done
  echo "/usr/share/icons/hicolor/scalable/apps/$APP_ID.svg"
)
if ! diff <(sort <<<"$expected") <(sort <<<"$files") >&2; then
  fail "package files differ from the expected list (< expected, > packaged)"
fi
while read -r mode owner _ _ _ name; do
  [ "$owner" = root/root ] || fail "$name is owned by $owner, not root/root"
  case "$mode" in
    -rwxr-xr-x) [[ "$name" == ./usr/games/* ]] || fail "$name is executable" ;;
    -rw-r--r--) [[ "$name" != ./usr/games/* ]] || fail "$name is not executable" ;;
    drwxr-xr-x) ;;
    *) fail "$name has mode $mode" ;;
  esac
done <<<"$listing"

# Release packages carry stripped programs: no symbol table left.
dpkg-deb --extract "$deb" "$out/root"
for program in $PROGRAMS; do
  if readelf --section-headers "$out/root/usr/games/$program" | grep -F .symtab >/dev/null; then
    fail "/usr/games/$program is not stripped"
  fi
done

# lintian, Debian's package checker: its findings are shown, and an error fails the test.
# Warnings are left to the README's list of those that remain, with the reason for each.
if ! lintian --fail-on error --tag-display-limit 0 "$deb" >"$out/lintian.log" 2>&1; then
  fail "lintian finds errors in the package"
fi
cat "$out/lintian.log" >&2

finish
