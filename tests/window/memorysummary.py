#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints what a memory file holds, for the window tests: "POSITIONS TOTAL" where TOTAL is the
sum of the absolute weights of every answer (every finished game changes it), or "unreadable"
when there is no such file or it is not a whole memory file (docs/memory-file.md)."""
import struct
import sys
import zlib

try:
    data = open(sys.argv[1], "rb").read()
    name, version, _, count, head_crc = struct.unpack_from("<8sHHiI", data, 0)
    # Entries start after the header: 20 bytes in version 1, 32 in version 2, 44 in version 3,
    # 48 in version 4 (a learner's for "X").
    start = {1: 20, 2: 32, 3: 44, 4: 48}.get(version, 0)
    ok = (name == b"ZELMOMEM" and start > 0 and head_crc == zlib.crc32(data[:16])
          and len(data) >= start + 72 * count + 4
          and struct.unpack_from("<I", data, len(data) - 4)[0] == zlib.crc32(data[:-4]))
except (OSError, struct.error):
    ok = False
if not ok:
    print("unreadable")
    sys.exit(1)
total = 0
for j in range(count):
    for k in range(9):
        answer, weight, _ = struct.unpack_from("<hiB", data, start + 72 * j + 9 + 7 * k)
        total += abs(weight) if answer else 0
print(count, total)
