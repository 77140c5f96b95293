#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Crash consistency of the memory file: kills the trainer and the window with SIGKILL at random
moments while they save, and checks after every kill that the file loads and holds exactly the
old memory or one that the program saved.

Usage: crash_consistency.py BUILD_DIR [--trials N] [--seed S] [--folder DIR]

The trainer plays a fixed run from the old file and saves once at its end; the window (the real
main window, tests/crash/window_driver.cpp) saves after every game. Both runs are made
repeatable by a stepping clock and a seeded player, so a reference run gives every memory a
save may write. Exit code 1 when any kill left a file that does not load or is neither.
"""
import argparse
import datetime
import os
import random
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def encoded_memories(stream):
    """Splits the driver's --dump output into the encoded memories, one per game, each written
    after its length."""
    data = stream.read()
    memories, at = [], 0
    while at < len(data):
        size = int.from_bytes(data[at:at + 4], "little")
        memories.append(data[at + 4:at + 4 + size])
        at += 4 + size
    return memories


def read_file(path):
    with open(path, "rb") as handle:
        return handle.read()


def temporaries(folder, name):
    return [f for f in os.listdir(folder) if f.startswith("." + name + ".") and f.endswith(".tmp")]


class Tally:
    def __init__(self, name):
        self.name = name
        self.old = self.new = self.inside = self.finished = self.bad = 0
        self.kills = 0

    def report(self):
        return (f"{self.name}: {self.kills} kills; file afterwards: old memory {self.old}, "
                f"a saved memory {self.new}; killed inside a save before its rename (its "
                f"temporary was left) "
                f"{self.inside}; run ended before the kill {self.finished}; "
                f"unloadable or foreign {self.bad}")


def loads(train, path):
    return subprocess.run([train, "-n", "0", "--load", path], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def wait_line(process, timeout):
    ready, _, _ = select.select([process.stdout], [], [], timeout)
    return process.stdout.readline() if ready else b""


def kill_trial(tally, train, command, path, old, saved, delay, env=None):
    """One run of `command` killed `delay` seconds after its first line; checks `path`."""
    folder, name = os.path.split(path)
    shutil.copyfile(old, path)
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               env=env)
    wait_line(process, 60)
    time.sleep(delay)
    ended = process.poll() is not None
    process.kill()
    process.wait()
    tally.kills += 1
    tally.finished += ended
    # A run that ended by itself must have succeeded: one refused the lock that the killed
    # run before it left (exit status 3) would leave the old file and pass unseen.
    if ended and process.returncode != 0:
        tally.bad += 1
        print(f"FAIL: {tally.name} run {tally.kills} ended with status {process.returncode}",
              file=sys.stderr)
        return
    mine = f".{name}.{process.pid}."
    tally.inside += any(f.startswith(mine) for f in temporaries(folder, name))
    data = read_file(path)
    if not loads(train, path) or (data != read_file(old) and data not in saved):
        tally.bad += 1
        keep = f"{path}.bad{tally.bad}"
        shutil.copyfile(path, keep)
        print(f"FAIL: {tally.name} kill {tally.kills} after {delay:.4f} s left a file that is "
              f"neither the old nor a saved memory: kept as {keep}", file=sys.stderr)
    elif data == read_file(old):
        tally.old += 1
    else:
        tally.new += 1


def timed_run(command, env=None):
    """Seconds from the first line of output to the end of the run."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               env=env)
    wait_line(process, 60)
    started = time.monotonic()
    process.communicate()
    return time.monotonic() - started


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--trials", type=int, default=300)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--folder", default=None)
    args = parser.parse_args()
    train = os.path.join(args.build, "train", "zelmo-train")
    driver = os.path.join(args.build, "tests", "crash", "crash_window_driver")
    rng = random.Random(args.seed)
    folder = tempfile.mkdtemp(prefix="zelmo-crash-", dir=args.folder)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    old = os.path.join(folder, "old.zelmo")
    path = os.path.join(folder, "memory.zelmo")
    subprocess.run([train, "-n", "3000", "--clock", "5", "--save", old], check=True,
                   stdout=subprocess.DEVNULL)

    # The trainer: load the old file, play a short run, save once over the same file.
    run = [train, "-n", "50", "-s", "3", "--clock", "9", "-b", "100000", "--load", path,
           "--save", path]
    shutil.copyfile(old, path)
    subprocess.run(run, check=True, stdout=subprocess.DEVNULL)
    saved = {read_file(path)}
    length = sorted(timed_run(run) for _ in range(5))[2]
    trainer = Tally("trainer")
    for _ in range(args.trials):
        shutil.copyfile(old, path)
        kill_trial(trainer, train, run, path, old, saved, rng.uniform(0, length))
    left_trainer = len(temporaries(folder, "memory.zelmo"))

    # The window: the same games every run, a save after each; the reference run gives the
    # memory after every game.
    games = 1000
    shutil.copyfile(old, path)
    reference = subprocess.Popen([driver, path, str(games), "--dump"], stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL, env=env)
    memories = encoded_memories(reference.stdout)
    reference.wait()
    if len(memories) != games:
        print(f"FAIL: the reference run gave {len(memories)} memories", file=sys.stderr)
        return 1
    saved = set(memories)
    shutil.copyfile(old, path)
    length = sorted(timed_run([driver, path, str(games)], env) for _ in range(3))[1]
    window = Tally("window")
    for _ in range(args.trials):
        kill_trial(window, train, [driver, path, str(games)], path, old, saved,
                   rng.uniform(0, length * 0.5), env)
    left_window = len(temporaries(folder, "memory.zelmo"))

    print(f"{datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC, seed {args.seed}")
    for tally in (trainer, window):
        print(tally.report())
    print(f"temporaries left beside the file at the end: {left_trainer} after the trainer's "
          f"kills, {left_window} after the window's")
    failed = trainer.bad + window.bad
    if failed == 0:
        shutil.rmtree(folder)
    else:
        print(f"files kept in {folder}", file=sys.stderr)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
