#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The figures of docs/lesson.md: ten games of a fresh memory against the random player (seed 1,
# the computer's clock from 0 by 1777 ms), written as
#   docs/lesson-trace.txt       zelmo-train's trace of the games, move by move with the reasons
#   docs/lesson-memory-3.png    the memory view after game 3, its lesson and its moves explained
#   docs/lesson-memory-10.png   the memory view after game 10
#   docs/lesson-history.png     the history's window (F4) after game 10
# The pictures come from the real window off screen (tools/lesson), which plays the same games;
# the script stops if the window's games are not the trainer's. Builds in BUILD_DIR (default
# build, the tree of `make test`).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
GAMES=10
SEED=1

[ -f "$BUILD_DIR/CMakeCache.txt" ] || cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$BUILD_DIR" -j2 --target zelmo-train zelmo_lesson >/dev/null

"$BUILD_DIR/train/zelmo-train" -n "$GAMES" -b "$GAMES" --clock 0 --seed "$SEED" \
  --opponent random --trace "$GAMES" >docs/lesson-trace.txt
window=$(QT_QPA_PLATFORM=offscreen "$BUILD_DIR/tools/lesson/zelmo_lesson" docs "$GAMES" "$SEED" 3 "$GAMES" 2>/dev/null)

# The same games: every outcome and the positions at the end.
python3 - docs/lesson-trace.txt "$window" <<'PY'
import re, sys
trace = open(sys.argv[1], encoding="utf-8").read()
names = {"выиграл игрок": "player", "выиграл компьютер": "computer", "ничья": "draw"}
trainer = [names[m] for m in re.findall(r"^партия \d+: (.+)$", trace, re.M)]
window = re.findall(r"^game \d+: (\w+), positions (\d+)$", sys.argv[2], re.M)
total = trace.strip().splitlines()[-1].split("\t")
if [w[0] for w in window] != trainer or window[-1][1] != total[-1]:
    sys.exit("the window's games are not the trainer's:\n" + sys.argv[2])
print(f"{len(trainer)} games, {total[-1]} positions: the window played the trainer's games")
PY
