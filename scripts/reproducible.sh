#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages twice from this source tree and checks that the two builds give
# bit-identical .deb files. The second build differs from the first as two machines' builds
# would: another folder (of another length), a clock 400 days later (libfaketime), another time
# zone, locale and umask, and fresh compiles for both (no ccache). SOURCE_DATE_EPOCH comes from
# debian/changelog in both, as dpkg-buildpackage sets it.
#   scripts/reproducible.sh [WORKDIR]     (default: build-repro)
# Prints the SHA-256 of each package of both builds; exits 1 if any pair differs, after writing
# diffoscope's report of the difference beside them when diffoscope is installed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$here/build-repro}
mkdir -p "$work"
work=$(cd "$work" && pwd)
export CCACHE_DISABLE=1

echo "First build, in $work/a, at $(date -u '+%F %T') UTC"
bash "$here/scripts/build-deb.sh" "$work/a" >/dev/null
echo "Second build, in $work/second-build-elsewhere, 400 days later by its clock"
(
  umask 0002
  export TZ=Pacific/Auckland LC_ALL=C.UTF-8 LANG=C.UTF-8
  faketime -f '+400d' bash "$here/scripts/build-deb.sh" "$work/second-build-elsewhere" >/dev/null
)

status=0
for first in "$work"/a/*.deb; do
  name=$(basename "$first")
  second=$work/second-build-elsewhere/$name
  (cd "$work" && sha256sum "a/$name" "second-build-elsewhere/$name")
  if cmp "$first" "$second"; then
    echo "identical: $name"
  else
    status=1
    echo "DIFFERENT: $name" >&2
    if command -v diffoscope >/dev/null 2>&1; then
      diffoscope --text "$work/$name.diffoscope.txt" "$first" "$second" || true
      echo "diffoscope's report: $work/$name.diffoscope.txt" >&2
    fi
  fi
done
exit $status
