#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The trainer's speed now against its speed at an earlier commit, side by side.

Builds zelmo-train of REV (default: the last commit before the computer's moves were explained)
in a Release tree of its own under the build folder, then runs that program and the Release
trainer of `make bench` in turns, RUNS times each, on the same games (a fixed clock and seed),
and prints each one's median CPU seconds (user + system of the finished child, which other load
disturbs less than wall time) and the median of the pair-by-pair ratios.

    bench/trainer/compare.py [--rev REV] [--runs N] [--games N] [--opponent NAME] [--new PATH]

With --opponent the new trainer plays that player and the old one random: the ratio is then the
cost of that player against random games of the old trainer, e.g. --opponent learner.
"""

import argparse
import os
import statistics
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_REV = "d3733f1"  # before "Every move of the computer explained"


def build_old(rev):
    tree = os.path.join(ROOT, "build-compare", rev)
    source = os.path.join(tree, "src")
    if not os.path.isdir(source):
        os.makedirs(source)
        archive = subprocess.run(["git", "-C", ROOT, "archive", rev], check=True,
                                 stdout=subprocess.PIPE).stdout
        subprocess.run(["tar", "-x", "-C", source], input=archive, check=True)
    build = os.path.join(tree, "build")
    subprocess.run(["cmake", "-S", source, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
                    "-DZELMO_BUILD_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "-j2", "--target", "zelmo-train"], check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(build, "train", "zelmo-train")


def cpu_seconds(command):
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if status != 0:
        sys.exit(f"{command[0]} ended with status {status}")
    return usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rev", default=DEFAULT_REV)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--games", type=int, default=1000000)
    parser.add_argument("--opponent", default="random")
    parser.add_argument("--new", default=os.path.join(ROOT, "build-release", "train", "zelmo-train"))
    args = parser.parse_args()
    old = build_old(args.rev)
    common = ["-n", str(args.games), "--clock", "0", "--seed", "1"]
    new_command = [args.new, *common, "--opponent", args.opponent]
    old_command = [old, *common, "--player", "random"]
    news, olds, ratios = [], [], []
    cpu_seconds(new_command)  # warm-up, not counted
    cpu_seconds(old_command)
    for _ in range(args.runs):
        new = cpu_seconds(new_command)
        old_time = cpu_seconds(old_command)
        news.append(new)
        olds.append(old_time)
        ratios.append(new / old_time)
    print(f"{args.games} games, {args.runs} runs each, in turns")
    print(f"now ({args.opponent}):  median {statistics.median(news):.3f} s CPU "
          f"(min {min(news):.3f}, max {max(news):.3f})")
    print(f"{args.rev} (random): median {statistics.median(olds):.3f} s CPU "
          f"(min {min(olds):.3f}, max {max(olds):.3f})")
    print(f"ratio now / {args.rev}: median {statistics.median(ratios):.3f} "
          f"(min {min(ratios):.3f}, max {max(ratios):.3f})")


if __name__ == "__main__":
    main()
