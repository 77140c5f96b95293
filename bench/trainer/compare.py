#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The trainer's and the watch mode's speed now against an earlier commit, side by side.

Builds zelmo-train of REV (default: the last commit before the computer's moves were explained)
in a Release tree of its own under the build folder, then runs that program and the Release
trainer of `make bench` in turns, RUNS times each, on the same games (a fixed clock and seed),
and prints each one's median CPU seconds (user + system of the finished child, which other load
disturbs less than wall time) and the median of the pair-by-pair ratios.

    bench/trainer/compare.py [--rev REV] [--runs N] [--games N] [--opponent NAME] [--new PATH]
    bench/trainer/compare.py --watch [--instructions] [--rev REV] [--runs N] [--opponent NAME]
    bench/trainer/compare.py --instructions [--rev REV] [--games N] [--opponent NAME]

With --opponent both play that player; a learner, which the old trainer lacks, is set against
its random games: the ratio is then the learner's cost against them (--opponent learner).

With --watch it builds memoryview_bench of REV instead and runs its BM_WindowWatchGames (the
window watching at pace 0, offscreen) in turns with the one of `make bench`, both against the
same player, and compares the games per CPU second.

With --instructions it runs each trainer once under valgrind's callgrind (Debian package
valgrind) on the same games and compares the instructions they execute: a count that does not
depend on the machine's load, for differences smaller than the run-to-run noise of the times.
With --watch as well, it counts the moves and games of BM_WindowWatchFixedGames (2000 games,
the same in every run), which an old copy of the benchmark is given.
"""

import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_REV = "d3733f1"  # before "Every move of the computer explained"


def build_old(rev, target="zelmo-train"):
    tree = os.path.join(ROOT, "build-compare", rev)
    source = os.path.join(tree, "src")
    if not os.path.isdir(source):
        os.makedirs(source)
        archive = subprocess.run(["git", "-C", ROOT, "archive", rev], check=True,
                                 stdout=subprocess.PIPE).stdout
        subprocess.run(["tar", "-x", "-C", source], input=archive, check=True)
    if target == "memoryview_bench":
        mend_old_bench(os.path.join(source, "bench", "memoryview_bench.cpp"))
    build = os.path.join(tree, "build")
    bench = "ON" if target != "zelmo-train" else "OFF"
    subprocess.run(["cmake", "-S", source, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
                    "-DZELMO_BUILD_TESTS=OFF", f"-DZELMO_BUILD_BENCH={bench}"], check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "-j2", "--target", target], check=True,
                   stdout=subprocess.DEVNULL)
    folder = "train" if target == "zelmo-train" else "bench"
    return os.path.join(build, folder, target)


# Where an old copy of the benchmark started watching, and where it is given today's fixed games.
RANDOM_WATCH = """    form.show();
    session.watch(QString::fromLatin1(opponent), 0);
"""
FIXED_WATCH = "    watchFixedGames(form, session, opponent);\n"
WATCH_BENCHMARK = "// The window in watch mode at pace 0: one iteration is one pass of the event loop"


def mend_old_bench(path):
    """Brings an old copy of the benchmark to today's measure: the include it missed for a while
    (when only `make bench` built the benchmarks, it did not compile), and today's fixed games
    (watchFixedGames and BM_WindowWatchFixedGames, taken from the benchmark as it is now)."""
    with open(path, encoding="utf-8") as file:
        text = file.read()
    include = '#include "ui/history/historywindow.h"\n'
    if include not in text and "historyWindow()" in text:
        anchor = '#include "ui/history/historyplot.h"\n'
        text = text.replace(anchor, anchor + include)
    if "watchFixedGames" not in text:
        text = text.replace(RANDOM_WATCH, FIXED_WATCH)
        text = text.replace(WATCH_BENCHMARK, fixed_games() + WATCH_BENCHMARK)
    with open(path, "w", encoding="utf-8") as file:
        file.write(text)


def fixed_games():
    """Today's watchFixedGames and BM_WindowWatchFixedGames, as they stand in the benchmark."""
    with open(os.path.join(ROOT, "bench", "memoryview_bench.cpp"), encoding="utf-8") as file:
        text = file.read()
    found = re.search(r"(// Shows the window and starts it watching.*?)" + re.escape(WATCH_BENCHMARK),
                      text, re.S)
    if found is None:
        sys.exit("bench/memoryview_bench.cpp has no watchFixedGames before BM_WindowWatchGames")
    return found.group(1)


def old_player_for(opponent):
    """The player the old trainer plays: the same, but random for a learner, which it lacks."""
    return "random" if opponent.startswith("learner") else opponent


def cpu_seconds(command):
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if status != 0:
        sys.exit(f"{command[0]} ended with status {status}")
    return usage.ru_utime + usage.ru_stime


def watch_games_per_second(bench, opponent):
    """One run of the window's watch-mode benchmark: its games per CPU second."""
    result = subprocess.run(
        [bench, f"--benchmark_filter=BM_WindowWatchGames/{opponent}/", "--benchmark_format=json"],
        check=True, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
        env={**os.environ, "QT_QPA_PLATFORM": "offscreen"})
    runs = json.loads(result.stdout)["benchmarks"]
    if len(runs) != 1:
        sys.exit(f"{bench}: expected one BM_WindowWatchGames/{opponent}, got {len(runs)}")
    # Per CPU second of the benchmark's thread, which other load on the machine disturbs less
    # than the wall-clock rate the benchmark reports.
    run = runs[0]
    return run["items_per_second"] * run["real_time"] / run["cpu_time"]


def watch_instructions(bench, opponent):
    """The instructions of the watch mode's moves and games (WatchMode::step, not the display
    brought up to date once a frame, which follows the clock) in BM_WindowWatchFixedGames."""
    return instructions([bench, f"--benchmark_filter=BM_WindowWatchFixedGames/{opponent}"],
                        only="zelmo::ui::WatchMode::step()",
                        env={**os.environ, "QT_QPA_PLATFORM": "offscreen"})


def compare_watch(args):
    old = build_old(args.rev, "memoryview_bench")
    new = os.path.join(ROOT, "build-release", "bench", "memoryview_bench")
    if args.instructions:
        print_counts(f"2000 watched games against {args.opponent}", args.rev, 2000,
                     watch_instructions(new, args.opponent),
                     watch_instructions(old, args.opponent))
        return
    print(f"watch mode against {args.opponent}, {args.runs} runs each, in turns")
    print_medians(args.rev, "games per CPU second", ",.0f",
                  [(watch_games_per_second(new, args.opponent),
                    watch_games_per_second(old, args.opponent)) for _ in range(args.runs)])


def print_counts(title, rev, games, now, then):
    print(f"{title}, instructions executed (callgrind)")
    print(f"now:  {now:,} ({now / games:,.0f} a game)")
    print(f"{rev}: {then:,} ({then / games:,.0f} a game)")
    print(f"ratio now / {rev}: {now / then:.4f}")


def print_medians(rev, unit, form, pairs, now_name="now", then_name=None):
    """Each side's median (and range) of the (now, then) pairs, and of their ratios."""
    news = [now for now, _ in pairs]
    olds = [then for _, then in pairs]
    ratios = [now / then for now, then in pairs]
    for name, values in ((now_name, news), (then_name or rev, olds)):
        print(f"{name}: median {statistics.median(values):{form}} {unit} "
              f"(min {min(values):{form}}, max {max(values):{form}})")
    print(f"ratio now / {rev}: median {statistics.median(ratios):.3f} "
          f"(min {min(ratios):.3f}, max {max(ratios):.3f})")


def instructions(command, only=None, env=None):
    """The instructions a run of `command` executes (within the function `only` when given),
    counted by callgrind."""
    toggle = [f"--toggle-collect={only}"] if only else []
    with tempfile.TemporaryDirectory() as folder:
        result = subprocess.run(
            ["valgrind", "--tool=callgrind", f"--callgrind-out-file={folder}/out", *toggle,
             *command],
            check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, env=env)
    counted = re.search(r"Collected : (\d+)", result.stderr)
    if counted is None:
        sys.exit("callgrind counted nothing:\n" + result.stderr)
    return int(counted.group(1))


def compare_instructions(args):
    old = build_old(args.rev)
    common = ["-n", str(args.games), "--clock", "0", "--seed", "1"]
    print_counts(f"{args.games} games against {args.opponent}", args.rev, args.games,
                 instructions([args.new, *common, "--opponent", args.opponent]),
                 instructions([old, *common, "--player", old_player_for(args.opponent)]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rev", default=DEFAULT_REV)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--games", type=int, default=1000000)
    parser.add_argument("--opponent", default="random")
    parser.add_argument("--new", default=os.path.join(ROOT, "build-release", "train", "zelmo-train"))
    parser.add_argument("--watch", action="store_true")
    parser.add_argument("--instructions", action="store_true")
    args = parser.parse_args()
    if args.watch:
        compare_watch(args)
        return
    if args.instructions:
        compare_instructions(args)
        return
    old = build_old(args.rev)
    common = ["-n", str(args.games), "--clock", "0", "--seed", "1"]
    new_command = [args.new, *common, "--opponent", args.opponent]
    old_command = [old, *common, "--player", old_player_for(args.opponent)]
    cpu_seconds(new_command)  # warm-up, not counted
    cpu_seconds(old_command)
    print(f"{args.games} games, {args.runs} runs each, in turns")
    print_medians(args.rev, "s CPU", ".3f",
                  [(cpu_seconds(new_command), cpu_seconds(old_command)) for _ in range(args.runs)],
                  now_name=f"now ({args.opponent})",
                  then_name=f"{args.rev} ({old_player_for(args.opponent)})")


if __name__ == "__main__":
    main()
