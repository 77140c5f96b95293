#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every module of the program (each .h/.cpp of engine/, ui/, app/, train/, chart/) is named in
# docs/development.md, so that a developer finds each file's place there. Names the missing.
set -euo pipefail
cd "$(dirname "$0")/.."
doc=docs/development.md
missing=0
while IFS= read -r file; do
  base=$(basename "$file")
  name=${base%.*}
  if ! grep -qE "\`($name|$name\\.h|$name\\.cpp|$base)\`|\`$name\\b|$name\\.\\*" "$doc"; then
    echo "not named in $doc: $file" >&2
    missing=1
  fi
done < <(find engine ui app train chart -name '*.h' -o -name '*.cpp' | sort)
exit "$missing"
