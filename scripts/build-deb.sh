#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian source package zelmo and the binary packages zelmo and zelmo-dbgsym from this
# source tree with debhelper, as a distribution would: the files git knows (committed or not,
# less what .gitignore leaves out) are copied to OUTDIR/zelmo-VERSION/ and `dpkg-buildpackage
# -us -uc` runs there, so no build folder of the work tree leaks in; the source (.dsc, .tar.xz),
# the packages (.deb), .buildinfo and .changes land in OUTDIR.
#   scripts/build-deb.sh OUTDIR
set -euo pipefail
out=${1:?usage: scripts/build-deb.sh OUTDIR}
here=$(cd "$(dirname "$0")/.." && pwd)
version=$(dpkg-parsechangelog -l "$here/debian/changelog" -S Version)
# ccache's base_dir makes it rewrite the compiler's absolute paths into relative ones, which
# ends in the program (__FILE__): a build with it would differ from one without. The package is
# built with the paths dpkg-buildflags maps, ccache or not.
unset CCACHE_BASEDIR
mkdir -p "$out"
out=$(cd "$out" && pwd)
src=$out/zelmo-$version
rm -rf "$src" "$out"/zelmo_* "$out"/zelmo-dbgsym_* "$out"/build.log
mkdir "$src"
(cd "$here" && git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
  tar --null -T - -cf -) | tar -C "$src" -xf -
echo "Building the Debian packages in $src"
(cd "$src" && dpkg-buildpackage -us -uc -j"${JOBS:-2}") >"$out/build.log" 2>&1 || {
  tail -n 40 "$out/build.log" >&2
  echo "FAIL: dpkg-buildpackage failed; the whole log is $out/build.log" >&2
  exit 1
}
grep -E '^dpkg-(deb|genchanges|buildpackage): ' "$out/build.log" || true
ls "$out"/*.deb
