#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the source package's autopkgtest suite (debian/tests) against the package that
# scripts/build-deb.sh built in OUTDIR, as Debian's CI would, on this machine (autopkgtest's
# `null` virtualisation: it installs the package and the tests' dependencies here with apt, so
# it needs root). The log and summary go to OUTDIR/autopkgtest/.
#   scripts/autopkgtest.sh OUTDIR
set -euo pipefail
out=${1:?usage: scripts/autopkgtest.sh OUTDIR}
dsc=$(ls "$out"/zelmo_*.dsc)
deb=$(ls "$out"/zelmo_*_"$(dpkg --print-architecture)".deb)
rm -rf "$out/autopkgtest"
status=0
# -B: test the package given, do not build the source again.
autopkgtest -B --output-dir "$out/autopkgtest" --summary-file "$out/autopkgtest.summary" \
  "$dsc" "$deb" -- null </dev/null >"$out/autopkgtest.log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -n 60 "$out/autopkgtest.log" >&2
  echo "FAIL: autopkgtest exited with $status; the whole log is $out/autopkgtest.log" >&2
fi
echo "autopkgtest summary ($out/autopkgtest.summary):"
cat "$out/autopkgtest.summary"
exit "$status"
