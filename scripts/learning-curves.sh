#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Learning curves of the computer: plays zelmo-train for ten seeds against the random and the
# perfect player, with the default grades (5, 2, 4) and with one other setting, and writes
#   docs/learning-curves.png  median and spread (lowest to highest seed) of the computer's loss
#                             and draw rates per block of 100 games over the first 10 000 games,
#                             default grades
#   docs/learning-curves.dat  the plotted numbers
#   docs/learning-curves.txt  the table of docs/learning-curves.md, from the same runs
# Needs gnuplot (Debian package gnuplot-nox) and python3; installs the missing ones as root or
# through sudo. Builds zelmo-train in build-curves/ (no window, no tests).
set -euo pipefail
cd "$(dirname "$0")/.."

GAMES=20000     # games per run
BLOCK=10        # games per CSV line (the curves add up 10 lines to blocks of 100)
SEEDS=$(seq 1 10)
# name:win:loss:draw
SETTINGS="default:5:2:4 drawnothing:5:2:3"

bash scripts/install-deps.sh gnuplot-nox python3

cmake -S . -B build-curves -DCMAKE_BUILD_TYPE=Release -DZELMO_WITH_UI=OFF \
  -DZELMO_BUILD_TESTS=OFF -DZELMO_BUILD_BENCH=OFF >/dev/null
cmake --build build-curves -j2 --target zelmo-train >/dev/null
train=build-curves/train/zelmo-train

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for setting in $SETTINGS; do
  IFS=: read -r name win loss draw <<<"$setting"
  for player in random perfect; do
    for seed in $SEEDS; do
      # The computer's clock starts at another time of day for every seed.
      clock=$(( (seed * 7654321) % 86400000 ))
      cmd=("$train" -n "$GAMES" -b "$BLOCK" -p "$player" --win "$win" --loss "$loss"
           --draw "$draw" -s "$seed" --clock "$clock" --csv "$work/$name-$player-$seed.csv")
      echo "${cmd[*]}" >>"$work/commands"
      "${cmd[@]}" >/dev/null
    done
  done
done

python3 - "$work" "$SETTINGS" "$SEEDS" <<'PY'
import csv, statistics, sys
work, settings, seeds = sys.argv[1], sys.argv[2].split(), [int(s) for s in sys.argv[3].split()]

def load(name, player, seed):
    with open(f"{work}/{name}-{player}-{seed}.csv") as f:
        return [{k: int(v) for k, v in row.items()} for row in csv.DictReader(f)]

def spread(values):
    return statistics.median(values), min(values), max(values)

def rate(rows, first, last, column):
    """The share of games first..last (1-based) that ended with `column`."""
    games = [r for r in rows if first <= r["games"] <= last]
    return sum(r[column] for r in games) / (last - first + 1)

def fmt(values, percent=False, digits=1):
    m, lo, hi = spread(values)
    f = (lambda v: f"{100 * v:.{digits}f} %") if percent else (lambda v: f"{v:g}")
    return f"{f(m)} ({f(lo)}–{f(hi)})"

runs = {(s.split(":")[0], p): [load(s.split(":")[0], p, seed) for seed in seeds]
        for s in settings for p in ("random", "perfect")}

# Curves: default grades, blocks of 100 games over the first 5000.
with open("docs/learning-curves.dat", "w") as out:
    out.write("# SPDX-License-Identifier: GPL-3.0-or-later\n")
    out.write("# games  random: loss median min max  draw median min max"
              "  perfect: loss median min max  draw median min max\n")
    for end in range(100, 10001, 100):
        cols = [end]
        for player in ("random", "perfect"):
            for column in ("player_wins", "draws"):
                cols += spread([rate(rows, end - 99, end, column) for rows in runs[("default", player)]])
        out.write(" ".join(f"{c:g}" for c in cols) + "\n")

lines = []
for s in settings:
    name, win, loss, draw = s.split(":")
    perfect, rnd = runs[(name, "perfect")], runs[(name, "random")]
    last_loss = []
    for rows in perfect:
        lost = [r["games"] for r in rows if r["player_wins"] > 0]
        last_loss.append(lost[-1] if lost else 0)
    never = sum(1 for v, rows in zip(last_loss, perfect) if v == rows[-1]["games"])
    lines.append(f"grades win {win}, loss {loss}, draw {draw}:")
    lines.append(f"  perfect player: last lost game within the block of 10 ending at {fmt(last_loss)}"
                 + (f"; {never} seeds still losing at the end" if never else ""))
    lines.append(f"  perfect player: loss rate in games 1001-2000 {fmt([rate(r, 1001, 2000, 'player_wins') for r in perfect], True)}")
    lines.append(f"  perfect player: positions remembered after {perfect[0][-1]['games']} games {fmt([r[-1]['positions'] for r in perfect])}")
    for after in (1000, 10000):
        lines.append(f"  random player: loss rate in games {after + 1}-{after + 1000} "
                     f"{fmt([rate(r, after + 1, after + 1000, 'player_wins') for r in rnd], True)}")
    lines.append(f"  random player: draw rate in games 10001-11000 {fmt([rate(r, 10001, 11000, 'draws') for r in rnd], True)}")
    for after in (1000, 10000, rnd[0][-1]["games"]):
        pos = [next(x["positions"] for x in r if x["games"] == after) for r in rnd]
        lines.append(f"  random player: positions remembered after {after} games {fmt(pos)}")
with open("docs/learning-curves.txt", "w") as out:
    out.write("median (lowest–highest) over seeds " + " ".join(map(str, seeds)) + "\n")
    out.write("\n".join(lines) + "\n")
print(open("docs/learning-curves.txt").read(), end="")
PY

gnuplot <<'GP'
set terminal pngcairo size 1000,420 font "DejaVu Sans,10"
set output "docs/learning-curves.png"
set multiplot layout 1,2 title "Zelmo learning curves: grades win 5, loss 2, draw 4; median and range of 10 seeds, blocks of 100 games"
set xlabel "games played"
set ylabel "share of the block's games"
set yrange [0:1]
set xrange [0:10000]
set key top right
set grid
set style fill transparent solid 0.25 noborder
set title "against the random player"
plot "docs/learning-curves.dat" using 1:3:4 with filledcurves lc rgb "#cc0000" notitle, \
     "" using 1:2 with lines lw 2 lc rgb "#cc0000" title "computer loses", \
     "" using 1:6:7 with filledcurves lc rgb "#0044cc" notitle, \
     "" using 1:5 with lines lw 2 lc rgb "#0044cc" title "draw"
set title "against the perfect player"
set key center right
plot "docs/learning-curves.dat" using 1:9:10 with filledcurves lc rgb "#cc0000" notitle, \
     "" using 1:8 with lines lw 2 lc rgb "#cc0000" title "computer loses", \
     "" using 1:12:13 with filledcurves lc rgb "#0044cc" notitle, \
     "" using 1:11 with lines lw 2 lc rgb "#0044cc" title "draw"
unset multiplot
GP
echo "first run: $(head -1 "$work/commands")"
echo "wrote docs/learning-curves.png, docs/learning-curves.dat, docs/learning-curves.txt"
