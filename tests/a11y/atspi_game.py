#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts the window (the program given as the first argument) on an AT-SPI bus and checks what
a screen reader sees and hears: the roles and names of the controls, and for one game played
through the controls' press actions, one notification per move that names the marks placed, the
counters that changed and the outcome, and one event for each change of a control; then the help
that F1 opens, a text read line by line; then the keys for the grades, the board and the memory
view, and the watch mode heard in summaries."""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []
events = []  # (type, role, name, detail1) in the order they arrive


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, file=sys.stderr, flush=True)
    return condition


def on_event(event):
    try:
        events.append((event.type, event.source.getRoleName(), event.source.name, event.detail1))
    except Exception:  # an object that is gone already
        pass


def wait_for(found, seconds=10):
    """Runs the main loop until found() holds; False when it did not within `seconds`."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while not found():
        if time.monotonic() > deadline:
            return False
        context.iteration(True)
    return True


def walk(accessible):
    yield accessible
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "Zelmo":
            return app
    return None


def named(objects, role, name):
    return [o for o in objects if o.getRoleName() == role and o.name == name]


def notifications_since(start):
    return [e[2] for e in events[start:]
            if e[0] == "object:state-changed:showing" and e[1] == "notification" and e[3] == 1]


def check_each_change_once(start, what):
    """No control tells the same change twice: no event repeats for one object between moves."""
    seen = set()
    for event in events[start:]:
        if event in seen and event[1] != "notification":
            check(False, "%s: the event %s was sent twice" % (what, event))
        seen.add(event)


def check_tree(objects):
    frames = [o for o in objects if o.getRoleName() == "frame"]
    check([f.name for f in frames] == ["Зельмо"], "the window is one frame 'Зельмо': %s"
          % [(o.getRoleName(), o.name) for o in objects[:2]])
    for k in range(1, 10):
        check(len(named(objects, "push button", "Клетка %d: пусто" % k)) == 1,
              "cell %d is a button named 'Клетка %d: пусто'" % (k, k))
    for name, value in (("Оценка за победу компьютера", 5), ("Оценка за поражение компьютера", 2),
                        ("Оценка за ничью", 4)):
        spins = named(objects, "spin button", name)
        if check(len(spins) == 1, "the grade '%s' is a spin button" % name):
            grade = spins[0].queryValue()
            check((grade.currentValue, grade.minimumValue, grade.maximumValue) == (value, 2, 5),
                  "the grade '%s' has value %d, minimum 2, maximum 5" % (name, value))
    for link in ("zelmo.org", "game@zelmo.org"):
        check(len(named(objects, "link", link)) == 1,
              "'%s' is a link" % link)
    labels = [o.name for o in objects if o.getRoleName() == "label"]
    for counter in ("Партия: 0", "Извилин: 0"):
        check(labels.count(counter) == 1, "the counter '%s' is one label" % counter)
    for caption in ("Партия:", "Извилин:"):
        check(caption not in labels, "the caption '%s' is read with its counter only" % caption)
    check(len([o for o in objects if o.getRoleName() == "notification"]) == 1,
          "the window has one notification")


def press(objects, role, name):
    found = named(objects, role, name)
    if not check(len(found) == 1, "one %s named '%s'" % (role, name)):
        return False
    action = found[0].queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "press" or action.getName(i) == "Press":
            return action.doAction(i)
    return action.doAction(0)


def play(app):
    objects = list(walk(app))
    check_tree(objects)

    start = len(events)
    press(objects, "push button", "играть")
    check(wait_for(lambda: notifications_since(start)), "a started game is announced")
    check(notifications_since(start) == ["Партия: 1. Ваш ход"],
          "the game number and whose move it is are announced: %s"
          % notifications_since(start))
    check([e for e in events[start:] if e[2] == "Партия: 1" and e[1] == "label"]
          == [("object:property-change:accessible-name", "label", "Партия: 1", 0)],
          "the game number changes once")
    check_each_change_once(start, "start")

    for move in range(5):
        objects = list(walk(app))
        free = sorted(o.name for o in objects if o.getRoleName() == "push button"
                      and o.name.endswith(": пусто"))
        if not check(free, "a free cell while the game runs"):
            break
        cell = free[0].split(":")[0]
        start = len(events)
        press(objects, "push button", free[0])
        if not check(wait_for(lambda: notifications_since(start)), "%s is announced" % cell):
            break
        said = notifications_since(start)
        check(len(said) == 1, "one message for one move: %s" % said)
        check(said[0].startswith(cell + ": крестик"), "the message begins with the cross: %s"
              % said[0])
        check_each_change_once(start, "move %d" % (move + 1))
        objects = list(walk(app))
        status = [o for o in objects if o.getRoleName() == "status bar"][0]
        outcome = [o.name for o in walk(status) if o.getRoleName() == "label" and o.name]
        if outcome:
            check(outcome[0] + ". Счёт. Игрок: " in said[0],
                  "the outcome and then the score end the message: %s" % said[0])
            return
        answers = [part for part in said[0].split(". ") if part.endswith(": нолик")]
        check(len(answers) == 1, "the computer's answer is in the message: %s" % said[0])
        check(all(named(objects, "push button", a) for a in answers),
              "the answer names a cell: %s" % answers)
        check(any(part.startswith("Извилин: ") for part in said[0].split(". ")),
              "a new position remembered is announced: %s" % said[0])
    check(False, "the game ended within five moves")


def grade(app):
    spins = named(list(walk(app)), "spin button", "Оценка за ничью")
    if not check(len(spins) == 1, "the draw grade is a spin button"):
        return
    start = len(events)
    spins[0].queryValue().currentValue = 5
    check(wait_for(lambda: notifications_since(start)), "a changed grade is announced")
    check(notifications_since(start) == ["Оценка за ничью: 5"], "the new grade is said: %s"
          % notifications_since(start))
    check([e[0] for e in events[start:] if e[1] == "spin button" and "value" in e[0]]
          == ["object:property-change:accessible-value"], "the grade's value changes once")


def focused(app, role):
    return [o for o in walk(app) if o.getRoleName() == role
            and o.getState().contains(pyatspi.STATE_FOCUSED)]


def key(name):
    subprocess.run(["xdotool", "key", name], check=True, timeout=10)


def said_after(start, name):
    """Presses key `name` and returns the notifications it brought."""
    key(name)
    wait_for(lambda: notifications_since(start))
    return notifications_since(start)


def focus_window():
    """Gives the main window the keyboard focus, as a window manager would (there is none)."""
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Зельмо$"],
                            capture_output=True, text=True).stdout.split()
    if not check(window, "the window is shown on the X server"):
        return False
    subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=True, timeout=10)
    return True


def keys(app):
    """After the game: the grade keys move the focus to a grade and back; the board is read on
    demand; a digit between games says why it plays nothing; the memory view (F3) opens on its
    first position, its list named with the summary, and no position keeps the focus once it is
    closed."""
    key("Escape")  # closes the help
    if not focus_window():
        return
    for name, grade in (("alt+1", "Оценка за победу компьютера"), ("alt+3", "Оценка за ничью")):
        key(name)
        check(wait_for(lambda: [o.name for o in focused(app, "spin button")] == [grade]),
              "%s focuses the grade '%s': %s" % (name, grade, focused(app, "spin button")))
    key("Escape")
    check(wait_for(lambda: not focused(app, "spin button")), "Escape takes the focus back")
    for name, said in (("0", r"Ряд 1: \w+, \w+, \w+; Ряд 2: .*; Ряд 3: .*\. Счёт: игрок \d+"),
                       ("5", r"^Партия не начата")):
        start = len(events)
        messages = said_after(start, name)
        check(len(messages) == 1 and re.search(said, messages[0]),
              "key %s says /%s/: %s" % (name, said, messages))

    key("F3")
    check(wait_for(lambda: focused(app, "list item")), "the memory view focuses a position")
    items = focused(app, "list item")
    if items:
        positions = items[0].parent
        # The list's items are the positions alone, so that a screen reader's «N of M» counts
        # positions; the headings are drawn, not listed. The first position has the focus.
        names = [positions.getChildAtIndex(i).name for i in range(positions.childCount)]
        check(names and all(n.startswith("Позиция") for n in names),
              "the list's items are the positions alone: %s" % [n[:12] for n in names])
        check(items[0].getIndexInParent() == 0, "the first position has the focus: %d of %d"
              % (items[0].getIndexInParent(), positions.childCount))
        summary = [o.name for o in walk(positions.parent) if o.getRoleName() == "label" and o.name]
        check(summary and re.findall(r"\d+", summary[0]) == re.findall(r"\d+", positions.name),
              "the list is named with the summary: '%s', %s" % (positions.name, summary))
        check(summary and int(re.findall(r"\d+", summary[0])[0]) == positions.childCount,
              "as many items as the summary counts positions: %d, %s"
              % (positions.childCount, summary))
        # Right passes a heading to the next group's first position: the focus event names the
        # item at the position's place among positions.
        start = len(events)
        key("Right")
        check(wait_for(lambda: [o.getIndexInParent() for o in focused(app, "list item")] == [1]),
              "Right focuses the second position, the next group's first: %s"
              % [(o.getIndexInParent(), o.name[:12]) for o in focused(app, "list item")])
        told = [e[2] for e in events[start:] if e[0] == "object:state-changed:focused"
                and e[1] == "list item" and e[3] == 1]
        check(told and told[-1] == names[1], "the focus event names the second position: %s, %s"
              % ([n[:12] for n in told], names[1][:12]))
    key("Escape")
    check(wait_for(lambda: not focused(app, "list item")),
          "no position reports the focus once the memory view is closed: %s"
          % [(o.name[:20], o.description) for o in focused(app, "list item")])


def cells_renamed(start, end=None):
    return [e for e in events[start:end]
            if e[0] == "object:property-change:accessible-name" and e[2].startswith("Клетка")]


def watching(app):
    """While the window plays by itself (F5) faster than the summaries, the cells' changes are
    held back and only the announcer speaks; when it stops, the cells are told once."""
    if not focus_window():
        return
    start = len(events)
    key("F5")
    check(wait_for(lambda: len(notifications_since(start)) >= 2, 30),
          "watching is said and then summarised: %s" % notifications_since(start))
    stop = len(events)
    key("F5")
    check(wait_for(lambda: len(notifications_since(stop)) >= 1), "the stop is said")
    check(not cells_renamed(start, stop), "no cell was renamed while watching: %s"
          % cells_renamed(start, stop)[:3])
    check(wait_for(lambda: cells_renamed(stop)), "the cells are told again when it stops")


def focused_text(app):
    for o in walk(app):
        if o.getRoleName() == "text" and o.getState().contains(pyatspi.STATE_FOCUSED):
            return o
    return None


def help_text(app):
    """F1 opens the help: a read-only text with a name and the focus, its caret at the start, read
    as lines (no table marks), each key a line of its own."""
    if not focus_window():
        return
    key("F1")
    if not check(wait_for(lambda: focused_text(app) is not None),
                 "F1 gives the focus to a text: %s" % [(o.getRoleName(), o.name) for o in walk(app)
                                                       if o.getRoleName() in ("dialog", "text")]):
        return
    help = focused_text(app)
    check(help.name == "Справка", "the help's text has a name: '%s'" % help.name)
    states = help.getState()
    check(states.contains(pyatspi.STATE_READ_ONLY) and not states.contains(pyatspi.STATE_EDITABLE),
          "the help's text is read-only")
    text = help.queryText()
    whole = text.getText(0, -1)
    check(text.caretOffset == 0, "the caret starts at the beginning: %d" % text.caretOffset)
    marks = [c for c in "\ufdd0\ufdd1\ufffc" if c in whole]
    check(not marks, "the help reads without table marks: %s" % [hex(ord(c)) for c in marks])
    first = whole.find("F1 — ")
    if check(first >= 0, "the keys are written «key — what it does»"):
        line = text.getTextAtOffset(first, pyatspi.TEXT_BOUNDARY_LINE_START)[0]
        check(line.startswith("F1 — ") and "F2" not in line,
              "each key is a line of its own: '%s'" % line)


def main():
    pyatspi.Registry.registerEventListener(on_event, "object", "window", "focus")
    GLib.timeout_add(50, lambda: True)  # wakes the loop up to look at the clock
    program = subprocess.Popen(sys.argv[1:])
    try:
        app = None
        if check(wait_for(lambda: application() is not None, 20),
                 "the window appears on the AT-SPI bus (is Qt's accessibility on?)"):
            app = application()
            wait_for(lambda: any(o.getRoleName() == "frame" for o in walk(app)), 10)
            play(app)
            grade(app)
            help_text(app)
            keys(app)
            watching(app)
    finally:
        program.terminate()
        program.wait(10)
    if failures:
        print("%d check(s) failed" % len(failures), file=sys.stderr)
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
