#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The code checks CI runs after `make test`: the committed .clang-format over every C++ file
# in git, then clang-tidy with the committed .clang-tidy over the compile database of BUILD_DIR
# (default build/). Any formatting difference or any clang-tidy finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
jobs=${JOBS:-2}
for tool in clang-format run-clang-tidy clang-tidy; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (Debian package clang-format / clang-tidy)" >&2; exit 1; }
done
[ -f "$build/compile_commands.json" ] || { echo "FAIL: no $build/compile_commands.json; build first (make test)" >&2; exit 1; }

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
echo "clang-format: ${#sources[@]} files"
clang-format --dry-run -Werror "${sources[@]}"

# Our own translation units only (not moc output or Qt's), fuzz targets excepted: they are
# built by clang with libFuzzer's flags and are not in this database.
root=$(pwd)
mapfile -t units < <(git ls-files '*.cpp' | grep -v '^tests/fuzz/')
echo "clang-tidy: ${#units[@]} files"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
regex="^$root/($(IFS='|'; echo "${units[*]}" | sed 's/[.+]/\\&/g'))\$"
if ! run-clang-tidy -p "$build" -j "$jobs" -quiet "$regex" >"$log" 2>&1 ||
   grep -qE '(warning|error):' "$log"; then
  sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E -A3 '(warning|error):' >&2 || cat "$log" >&2
  echo "FAIL: clang-tidy findings above" >&2
  exit 1
fi
echo "clang-tidy: no findings"
