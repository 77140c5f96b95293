#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package that `make package` built with dpkg-buildpackage (ZELMO_DEB names
# it; `make package-test` runs this test): its control fields, dependencies, file list, modes,
# stripped and hardened programs, the debug symbols package beside it, and lintian's findings,
# of which none may be left but those overridden in debian/*.lintian-overrides.
source "$(dirname "$0")/common.sh"
need dpkg-deb dpkg
need readelf binutils
need lintian lintian
deb=${ZELMO_DEB:-}
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
  echo "FAIL: no package to check: ZELMO_DEB='$deb'; run \`make package-test\`, which builds it" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "zelmo_${VERSION}_${arch}.deb" ] || fail "the package is named $(basename "$deb")"
dbgsym=$(dirname "$deb")/zelmo-dbgsym_${VERSION}_${arch}.deb
changes=$(dirname "$deb")/zelmo_${VERSION}_${arch}.changes
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

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
# qt6-wayland lets the window run natively on a Wayland desktop (sharp at fractional scales);
# without it Qt falls back to XWayland.
[ "$(field Recommends | names | sort | tr '\n' ' ')" = "qt6-wayland xdg-utils " ] ||
  fail "Recommends is '$(field Recommends)', not qt6-wayland and xdg-utils"

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

# The programs are stripped (no symbol table left) and hardened as dpkg-buildflags asks: position
# independent, bound at start-up (bindnow) and read-only after relocation (relro), with the
# fortified functions of glibc. Their symbols are in zelmo-dbgsym, under their build ids.
dpkg-deb --extract "$deb" "$out/root"
[ -f "$dbgsym" ] || fail "no debug symbols package $(basename "$dbgsym") beside the package"
[ ! -f "$dbgsym" ] || dpkg-deb --extract "$dbgsym" "$out/dbgsym"
for program in $PROGRAMS; do
  file=$out/root/usr/games/$program
  # grep reads to the end (no -q): readelf must not write into a closed pipe (pipefail).
  ! readelf --section-headers "$file" | grep -F .symtab >/dev/null || fail "/usr/games/$program is not stripped"
  readelf --file-header "$file" | grep 'Type: *DYN' >/dev/null || fail "/usr/games/$program is not position independent"
  readelf --dynamic "$file" | grep 'FLAGS.*BIND_NOW' >/dev/null || fail "/usr/games/$program is not bound now"
  readelf --program-headers "$file" | grep GNU_RELRO >/dev/null || fail "/usr/games/$program has no relro segment"
  readelf --wide --dyn-syms "$file" | grep '__[a-z]*_chk@' >/dev/null ||
    fail "/usr/games/$program calls no fortified function (__*_chk)"
  id=$(readelf --notes "$file" | sed -n 's/.*Build ID: *//p')
  [ -f "$out/dbgsym/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug" ] ||
    fail "zelmo-dbgsym has no symbols for /usr/games/$program (build id '$id')"
done

# lintian, Debian's package checker, on the upload (source and both packages) with every tag
# shown down to the pedantic ones: anything it finds fails the test, but what
# debian/*.lintian-overrides overrides, with its reason.
[ -f "$changes" ] || fail "no $(basename "$changes") beside the package"
if ! lintian --pedantic --display-info --fail-on error,warning,info,pedantic --tag-display-limit 0 \
  "$changes" >"$out/lintian.log" 2>&1; then
  fail "lintian finds these in the packages:"
fi
grep -v 'running with root privileges' "$out/lintian.log" >&2 || true

finish
