#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays the window from the keyboard with the screen reader Orca running, and checks what Orca
says, as a blind player hears it. Orca speaks through a private speech-dispatcher whose one output
module writes each utterance as a line of a file instead of sounding it, so that nothing needs a
sound card and the test reads what was really said.

Run inside a private X server and D-Bus session (orca_test.sh sets them up):
  orca_game.py WORK PROGRAM               plays and checks (the CHECKS below, in order)
  orca_game.py WORK PROGRAM --say KEY...  types the keys and prints what Orca said; a key is a
                                          name for xdotool, click:X,Y for a left click at the
                                          window's co-ordinates X,Y, or wait:S to listen for S
                                          seconds
WORK is an empty folder for the configuration, the logs and the speech."""
import os
import re
import subprocess
import sys
import time

SPEECH_MODULES = "/usr/lib/speech-dispatcher-modules"


class Failure(Exception):
    pass


class Orca:
    """The window, Orca and their buses and speech server, and what Orca has said so far."""

    def __init__(self, work, program):
        self.work = work
        self.program = program
        self.speech = os.path.join(work, "speech.txt")
        self.debug = os.path.join(work, "orca.log")
        self.processes = []  # (name, Popen), stopped in reverse order
        self.pos = 0  # how far expect() has read the speech
        self.window = None

    # Starting and stopping.

    def start(self):
        self.spawn("at-spi-bus-launcher", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        socket = self.start_speech()
        # Orca looks for the user's other Orcas with pgrep and refuses to start beside them; with
        # --replace it kills them all, in every session of the user. This private one sees no
        # other (a pgrep that finds nothing comes first in its PATH) and kills none.
        blind = os.path.join(self.work, "blind-bin")
        os.makedirs(blind, exist_ok=True)
        with open(os.path.join(blind, "pgrep"), "w", encoding="utf-8") as f:
            f.write("#!/bin/sh\nexit 1\n")
        os.chmod(os.path.join(blind, "pgrep"), 0o755)
        env = dict(os.environ, SPEECHD_ADDRESS="unix_socket:" + socket, LANG="C.UTF-8",
                   LANGUAGE="", PATH=blind + os.pathsep + os.environ.get("PATH", ""))
        # Orca stops its whole process group when it ends: it gets a session of its own.
        self.spawn("orca", ["orca", "--debug-file=" + self.debug], env=env,
                   start_new_session=True)
        # Orca starts slowly on a loaded machine: its first words may take a minute or more.
        self.expect(r".", "Orca speaks when it starts (is the speech server answering?)", 150)
        self.spawn("zelmo", [self.program])
        self.window = self.wait(lambda: self.find_window("^Зельмо$"), "the window appears", 30)
        self.focus_window()
        self.expect(r"^Зельмо frame", "Orca names the window when it has the focus")

    def start_speech(self):
        """speech-dispatcher with the generic module writing to the speech file. No sound: the
        module's audio goes to ALSA's null device, and the command it runs only appends the text;
        "|" as the only delimiter keeps each utterance in one line."""
        config = os.path.join(self.work, "speechd")
        os.makedirs(os.path.join(config, "modules"))
        with open(os.path.join(config, "speechd.conf"), "w") as f:
            f.write('AddModule "file" "sd_generic" "file.conf"\n'
                    'DefaultModule file\n'
                    'AudioOutputMethod "alsa"\n'
                    'AudioALSADevice "null"\n')
        # ZELMO_SPEECH_TIMES=1 puts the seconds of the clock before each utterance (for --say
        # runs that time the speech; the checks read plain lines).
        stamp = "$(date +%s.%N) " if os.environ.get("ZELMO_SPEECH_TIMES") else ""
        with open(os.path.join(config, "modules", "file.conf"), "w") as f:
            f.write('GenericExecuteSynth "printf \'%s%s\\\\n\' \\"' + stamp +
                    '\\" \\\'$DATA\\\' >> ' + self.speech + '"\n'
                    'GenericDelimiters "|"\n'
                    'GenericMaxChunkLength 100000\n')
            for language in ("en", "en-us", "ru"):
                f.write('GenericLanguage "%s" "%s" "utf-8"\n' % (language, language))
                f.write('AddVoice "%s" "MALE1" "%s"\n' % (language, language))
        open(self.speech, "w").close()
        socket = os.path.join(os.environ["XDG_RUNTIME_DIR"], "speech-dispatcher", "speechd.sock")
        self.spawn("speech-dispatcher", ["speech-dispatcher", "--run-single", "--timeout", "0",
                                         "--config-dir", config, "--socket-path", socket,
                                         "--log-dir", self.work],
                   stdout_to=os.path.join(self.work, "speechd.out"))
        # Orca's speech client starts the system's server when it finds none: ours comes first.
        self.wait(lambda: os.path.exists(socket), "speech-dispatcher listens", 20)
        return socket

    def spawn(self, name, command, stdout_to=None, **options):
        out = open(stdout_to or os.path.join(self.work, name + ".out"), "w")
        self.processes.append((name, subprocess.Popen(command, stdin=subprocess.DEVNULL,
                                                      stdout=out, stderr=subprocess.STDOUT,
                                                      **options)))

    def stop(self):
        # Orca writes the end of its log when it stops, which needs the bus: the bus goes last.
        for name, process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    # Keys and speech.

    @staticmethod
    def find_window(title):
        """The first shown window whose title matches `title`, or None."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                               capture_output=True, text=True).stdout.split()
        return found[0] if found else None

    def focus_window(self):
        """Gives the main window the focus, as a window manager does when it starts or when a
        window of the program closes (the private X server has none)."""
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], check=True, timeout=10)

    def press(self, *keys):
        for key in keys:
            if key.startswith("click:"):
                x, y = key[len("click:"):].split(",")
                command = ["mousemove", "--window", self.window, x, y, "click", "1"]
            else:
                command = ["key", key]
            subprocess.run(["xdotool"] + command, check=True, timeout=10)

    def said(self, times=False):
        """What Orca said, one utterance a line; without the clock's seconds unless `times`."""
        with open(self.speech, encoding="utf-8", errors="replace") as f:
            text = f.read()
        return text if times else re.sub(r"(?m)^\d+\.\d+ ", "", text)

    @staticmethod
    def wait(found, what, seconds):
        """Polls found() until it gives something; fails with `what` when it did not in time."""
        deadline = time.monotonic() + seconds
        while True:
            result = found()
            if result:
                return result
            if time.monotonic() > deadline:
                raise Failure("not within %d s: %s" % (seconds, what))
            time.sleep(0.05)

    def expect(self, pattern, what, seconds=20):
        """Waits until Orca has said something matching `pattern` (a regular expression over the
        utterances, one a line) after what earlier expectations matched; returns the match."""
        regex = re.compile(pattern, re.MULTILINE)
        try:
            match = self.wait(lambda: regex.search(self.said(), self.pos), what, seconds)
        except Failure as failure:
            raise Failure("%s\n  expected /%s/ in what Orca said since:\n%s" % (
                failure, pattern, indent(self.said()[self.pos:]))) from None
        self.pos = match.end()
        return match

    def quiet(self, seconds=1.0, longest=8):
        """Waits until Orca has said nothing new for `seconds` (for --say, which knows no text
        to wait for)."""
        deadline = time.monotonic() + longest
        size, since = len(self.said()), time.monotonic()
        while time.monotonic() < deadline and time.monotonic() - since < seconds:
            time.sleep(0.1)
            if len(self.said()) != size:
                size, since = len(self.said()), time.monotonic()


def indent(text):
    return "".join("    " + line + "\n" for line in text.splitlines()) or "    (nothing)\n"


LINES = ((1, 2, 3), (4, 5, 6), (7, 8, 9), (1, 4, 7), (2, 5, 8), (3, 6, 9), (1, 5, 9), (3, 5, 7))


def outcome(board):
    for mark in ("X", "0"):
        if any(all(board.get(k) == mark for k in line) for line in LINES):
            return mark
    return "draw" if len(board) == 9 else None


# The checks, each a step of what a player does with Orca running, in order. Each presses keys
# and expects what Orca must say. A new check is one more function in CHECKS.

def game_by_keys(orca):
    """A whole game from the keyboard: the new game, every move of both sides, the outcome and
    the score."""
    orca.press("F2")
    orca.expect(r"^notification Партия: 1\.", "F2 starts the first game, and it is announced")
    board = {}
    while True:
        cell = min(k for k in range(1, 10) if k not in board)
        orca.press(str(cell))
        orca.expect(r"^notification Клетка %d: крестик" % cell, "the cross on %d is said" % cell)
        board[cell] = "X"
        if outcome(board) is None:
            answer = orca.expect(r"Клетка (\d): нолик", "the computer's answer is said")
            board[int(answer.group(1))] = "0"
        if outcome(board) is not None:
            break
    said, score = {"X": ("вы выиграли", "1, Компьютер: 0, Ничья: 0"),
                   "0": ("компьютер выиграл", "0, Компьютер: 1, Ничья: 0"),
                   "draw": ("ничья", "0, Компьютер: 0, Ничья: 1")}[outcome(board)]
    orca.expect(r"%s\. Счёт\. Игрок: %s\.$" % (said, score),
                "the outcome «%s» and then the score end the game" % said)


def grade_by_keys(orca):
    """Alt+2 puts the focus on the loss grade, whose text a typed digit replaces; Escape takes it
    back to the button that had it, where digits play again."""
    orca.press("alt+2")
    orca.expect(r"^Оценка за поражение компьютера 2 spin button\.$", "Alt+2 focuses the grade")
    orca.press("4")
    orca.expect(r"^4$", "a typed grade replaces the old one")
    orca.press("Escape")
    orca.expect(r"^промыть мозги push button\.$", "Escape goes back to the game")
    orca.press("F2")
    orca.expect(r"^notification Партия: 2\.", "the next game begins")


def board_on_demand(orca):
    """0 reads the board row by row, whose move it is and the score; a digit on a taken cell
    says why it plays nothing."""
    orca.press("0")
    said = orca.expect(r"^notification Ряд 1: (.*); Ряд 2: (.*); Ряд 3: (.*)\. Ваш ход\. "
                       r"Счёт: игрок (\d+), компьютер (\d+), ничьих (\d+)\.$",
                       "0 reads the board, the turn and the score")
    marks = ", ".join(said.groups()[:3]).split(", ")
    if len(marks) != 9 or marks.count("нолик") != 1 or marks.count("пусто") != 8:
        raise Failure("the board holds the computer's opening move: %s" % marks)
    if sum(int(n) for n in said.groups()[3:]) != 1:
        raise Failure("the score counts the first game: %s" % (said.groups()[3:],))
    taken = marks.index("нолик") + 1
    orca.press(str(taken))
    orca.expect(r"^notification Клетка %d занята\.$" % taken, "a taken cell says so")


def escape_back_to_game(orca, window, what):
    """Escape closes the window whose title matches `window`; the game has the focus again."""
    orca.press("Escape")
    orca.wait(lambda: not orca.find_window(window), what, 10)
    orca.focus_window()
    orca.expect(r"^Зельмо frame", "the game has the focus again")


def help_by_keys(orca):
    """F1 opens the help as a named read-only text with the focus, read line by line with the
    arrows, each line a whole sentence; Tab goes on to its button, Escape closes it."""
    orca.press("F1")
    orca.expect(r"справка dialog\.$", "F1 opens the help")
    orca.expect(r"^Справка read only text\.$", "the help's text has the focus and a name")
    orca.expect(r"^.{3,100}$", "the line with the caret follows")
    orca.press("Down")
    orca.expect(r"^(?!down )[^\n]{10,300}[.:] ?$", "Down reads the next line, a whole sentence")
    orca.press("Tab")
    orca.expect(r"^Закрыть push button\.$", "Tab goes on to the button")
    escape_back_to_game(orca, "справка", "Escape closes the help")


def memory_view_opens(orca):
    """F3 opens the memory view, read with its summary and the position that has the focus;
    Escape closes it."""
    orca.press("F3")
    orca.expect(r"^Память компьютера frame\.$", "F3 opens the memory view")
    orca.expect(r"^Запомненные позиции: \d+ позици\w* из 1000", "the summary is read")
    orca.expect(r"^Позиция 1: клетка 1 ", "then the focused position")
    escape_back_to_game(orca, "^Память компьютера$", "Escape closes it")


def watch_announced(orca):
    """F5 starts the watch mode, which is said; then the games are summarised; F5 stops it,
    which is said."""
    orca.press("F5")
    orca.expect(r"^notification Окно само играет за «X»", "the watch mode's start is said")
    orca.expect(r"^notification \d+ (тысяч\w* |миллион\w* )?парти\w*: компьютер \d+ %, ничьи \d+ %",
                "the games are summarised", 30)
    orca.press("F5")
    orca.expect(r"Окно больше не играет за «X»", "the watch mode's end is said")


CHECKS = [game_by_keys, grade_by_keys, board_on_demand, help_by_keys, memory_view_opens,
          watch_announced]


def main():
    work, program = sys.argv[1], sys.argv[2]
    keys = sys.argv[4:] if sys.argv[3:4] == ["--say"] else None
    orca = Orca(work, program)
    status = 0
    try:
        orca.start()
        if keys is not None:
            orca.quiet()
            for key in keys:
                if key.startswith("wait:"):
                    time.sleep(float(key[len("wait:"):]))
                    continue
                if os.environ.get("ZELMO_SPEECH_TIMES"):
                    with open(orca.speech, "a", encoding="utf-8") as f:
                        f.write("%.9f [key %s]\n" % (time.time(), key))
                orca.press(key)
                orca.quiet()
        else:
            for check in CHECKS:
                check(orca)
    except (Failure, subprocess.SubprocessError, OSError) as failure:
        print("FAIL: %s" % failure, file=sys.stderr)
        for log in ("orca.out", "speechd.out", "zelmo.out"):
            path = os.path.join(work, log)
            if os.path.exists(path) and os.path.getsize(path):
                with open(path, errors="replace") as f:
                    print("--- %s (end):\n%s" % (log, indent(f.read()[-3000:])), file=sys.stderr)
        status = 1
    finally:
        orca.stop()
    if keys is not None:
        print(orca.said(times=True), end="")
    elif status == 0:
        print("Orca said:\n%s" % indent(orca.said()))
        print("all %d checks passed" % len(CHECKS))
    return status


if __name__ == "__main__":
    sys.exit(main())
