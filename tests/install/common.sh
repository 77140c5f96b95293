# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the install tests: failing with a message, and tools that must be present.
# The variables below come from CTest (tests/install/CMakeLists.txt).
set -euo pipefail
# A command that fails outside a check ends the test; say which, or ctest shows nothing.
trap 'echo "FAIL: ${BASH_SOURCE[0]}:$LINENO: \"$BASH_COMMAND\" exited with $?" >&2' ERR
: "${BUILD_DIR:?}" "${SOURCE_DIR:?}" "${APP_ID:?}" "${VERSION:?}" "${HOMEPAGE_HOST:?}"
: "${ICON_SIZES:?}" "${PROGRAMS:?}"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# A missing tool is a failure of the test, never a silent skip.
need() {
  local tool=$1 package=$2
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "FAIL: $tool is missing; install the Debian package $package (scripts/install-deps.sh does)" >&2
    exit 1
  fi
}

# Width and height of a PNG file, read from its IHDR chunk (bytes 16 to 23, big-endian).
png_size() {
  local bytes
  bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' \n' ' ')
  read -r w1 w2 w3 w4 h1 h2 h3 h4 <<<"$bytes"
  echo "$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))x$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))"
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}

# The installed manual pages under PREFIX: one for each page source in data/ (zelmo.6.in gives
# PREFIX/share/man/man6/zelmo.6.gz).
manpages() {
  (cd "$SOURCE_DIR/data" && for page in *.6.in; do echo "$1/share/man/man6/${page%.in}.gz"; done)
}
