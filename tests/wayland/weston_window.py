#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The window running natively on Wayland, on Debian's weston compositor.

1. weston's headless backend at output scale 2: the window maps with its title, and weston's
   capture of it is pixel for pixel the picture the window draws under X at device pixel
   ratio 2 (QT_SCALE_FACTOR=2 on a virtual X server). The headless backend has no seat, so no
   key can reach a client there; the window is ended with SIGTERM.
2. The keys, on weston's X11 backend (a weston on the virtual X server, whose keyboard is the X
   keyboard that xdotool types on): the window, started as the menu starts it
   (--keep-memory), gets the keys F2 and 1 to 9 through weston's wl_keyboard, plays a game,
   quits on Ctrl+Q and leaves its memory file.

Every wait is on an event (weston's READY=1 from its systemd-notify module, the protocol
messages of weston's log read from a pipe as they come, a program's exit) but one: X says
nothing when a window has painted, so the X window's pixels are read until they match.

Usage: weston_window.py PROGRAM [--keep DIR]   (DIR receives the two captures)
"""

import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

TITLE = "Зельмо"  # the window's title
TIMEOUT = 60  # seconds: a bound for a wait that would otherwise hang, never a wait by itself
PAINT_TIMEOUT = 10


class Failure(Exception):
    pass


def need_modules():
    try:
        from PIL import Image  # noqa: F401
        from Xlib import display  # noqa: F401
    except ImportError as error:
        raise Failure(f"{error}: install the Debian packages python3-pil and python3-xlib "
                      "(scripts/install-deps.sh does)") from error
    for tool, package in (("weston", "weston"), ("weston-screenshooter", "weston"),
                          ("Xvfb", "xvfb"), ("xdotool", "xdotool")):
        if shutil.which(tool) is None:
            raise Failure(f"{tool} is missing: install the Debian package {package}")
    plugin = subprocess.run(["find", "/usr/lib", "-path", "*qt6/plugins/platforms/libqwayland-generic.so"],
                            capture_output=True, text=True, check=False).stdout.strip()
    if not plugin:
        raise Failure("Qt's Wayland platform plugin is missing: install the Debian package qt6-wayland")


class ProtocolLog(threading.Thread):
    """Reads weston's log, protocol messages included, from a pipe as weston writes it, and
    follows the toplevel windows of each client: their surface, title, first buffer, keyboard."""

    LINE = re.compile(r"\[proto\] client (\S+) (rq|ev) (\S+?)@(\d+)\.(\w+)\((.*)\)$")

    def __init__(self, fifo):
        super().__init__(daemon=True)
        self.fifo = fifo
        self.lines = []
        self.changed = threading.Condition()
        self.clients = {}

    def run(self):
        # A copy of the log beside the pipe, left for a look when the test fails.
        with open(self.fifo, "rb") as pipe, open(self.fifo + ".txt", "wb") as copy:
            for raw in pipe:
                copy.write(raw)
                copy.flush()
                line = raw.decode("utf-8", "replace").rstrip("\n")
                with self.changed:
                    self.lines.append(line)
                    self.follow(line)
                    self.changed.notify_all()

    def client(self, name):
        return self.clients.setdefault(name, {"xdg_surfaces": {}, "toplevels": {}, "attached": set(),
                                              "mapped": False, "title": None, "globals": set(),
                                              "keyboard_enter": False, "keys": 0, "syncs": set(),
                                              "active": False, "closed": False})

    def follow(self, line):
        match = self.LINE.search(line)
        if not match:
            return
        name, direction, interface, _, message, args = match.groups()
        c = self.client(name)
        if direction == "ev" and interface == "wl_registry" and message == "global":
            c["globals"].add(args.split('"')[1])
        elif message == "get_xdg_surface":
            ids = re.findall(r"@(\d+)", args)
            c["xdg_surfaces"][ids[0]] = ids[1]
        elif message == "get_toplevel":
            obj = match.group(4)
            c["toplevels"][re.findall(r"@(\d+)", args)[0]] = c["xdg_surfaces"].get(obj)
        elif message == "set_title" and interface == "xdg_toplevel":
            c["title"] = args.strip('"')
        elif interface == "wl_surface" and message == "attach" and "wl_buffer" in args:
            c["attached"].add(match.group(4))
        elif interface == "wl_surface" and message == "commit":
            surfaces = set(c["toplevels"].values())
            if match.group(4) in surfaces and match.group(4) in c["attached"]:
                c["mapped"] = True
        elif direction == "rq" and interface == "xdg_toplevel" and message == "destroy":
            c["closed"] = True
        elif direction == "ev" and interface == "wl_keyboard" and message == "enter":
            c["keyboard_enter"] = True
        # Qt activates a window that got the keyboard only when its next wl_display.sync comes
        # back (a key before that misses the window's shortcuts, F2 and Ctrl+Q): the window is
        # active once a sync answered after the enter leaves none outstanding.
        elif interface == "wl_display" and message == "sync":
            c["syncs"].add(re.findall(r"@(\d+)", args)[0])
        elif direction == "ev" and interface == "wl_callback" and message == "done" \
                and match.group(4) in c["syncs"]:
            c["syncs"].discard(match.group(4))
            c["active"] = c["keyboard_enter"] and not c["syncs"]
        elif direction == "ev" and interface == "wl_keyboard" and message == "key":
            c["keys"] += 1

    def wait(self, what, predicate):
        """Waits until predicate(clients) is true after some line of the log; fails after
        TIMEOUT seconds without it, or when the log ends."""
        deadline = time.monotonic() + TIMEOUT
        with self.changed:
            while True:
                found = predicate(self.clients)
                if found:
                    return found
                left = deadline - time.monotonic()
                if left <= 0 or not self.is_alive():
                    raise Failure(f"weston's log never showed {what}; its last lines:\n"
                                  + "\n".join(self.lines[-15:]))
                self.changed.wait(left)


def titled_window(clients):
    """The client whose toplevel has the program's title and has shown its first buffer."""
    for name, c in clients.items():
        if c["title"] == TITLE and c["mapped"]:
            return name
    return None


def wayland_client_env(env):
    """The environment of the window as a Wayland client. Under the sanitizers, leaks are not
    looked for in it: Qt 6.4's Wayland plugin leaves its libwayland-client proxies and plugin
    memory allocated at exit (its own, not the program's); address and behaviour errors still
    abort it."""
    env = dict(env, QT_QPA_PLATFORM="wayland")
    if "ASAN_OPTIONS" in env:
        env["ASAN_OPTIONS"] += ":detect_leaks=0"
    return env


class Weston:
    """A weston on its own socket, started with its systemd-notify module so that READY=1 on a
    socket of ours says when it accepts clients; its log goes through a pipe to ProtocolLog."""

    def __init__(self, work, name, backend_args, env):
        self.env = dict(env, WAYLAND_DISPLAY=name)
        notify_path = os.path.join(work, f"{name}.notify")
        fifo = os.path.join(work, f"{name}.log")
        os.mkfifo(fifo)
        self.log = ProtocolLog(fifo)
        self.log.start()
        with socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM) as notify:
            notify.bind(notify_path)
            notify.settimeout(TIMEOUT)
            self.process = subprocess.Popen(
                ["weston", *backend_args, f"--socket={name}", "--debug", f"--log={fifo}",
                 "--logger-scopes=log,proto", "--modules=systemd-notify.so",
                 f"--config={os.path.join(work, 'weston.ini')}"],
                env=dict(env, NOTIFY_SOCKET=notify_path), stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                while notify.recv(4096).strip() != b"READY=1":
                    pass
            except socket.timeout as error:
                raise Failure(f"weston {' '.join(backend_args)} did not start:\n"
                              + "\n".join(self.log.lines[-15:])) from error

    def screenshot(self, folder):
        """weston's capture of its whole output (weston-screenshooter, allowed by --debug)."""
        os.makedirs(folder, exist_ok=True)
        subprocess.run(["weston-screenshooter"], cwd=folder, env=self.env, check=True,
                       stdin=subprocess.DEVNULL, timeout=TIMEOUT)
        shots = [f for f in os.listdir(folder) if f.endswith(".png")]
        if len(shots) != 1:
            raise Failure(f"weston-screenshooter made {shots}")
        return os.path.join(folder, shots[0])

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=TIMEOUT)


def start_xvfb(work):
    """A virtual X server on a free display (it writes the number it picked to a pipe)."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                             "-screen", "0", "1600x1200x24"], pass_fds=(write_end,),
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=open(os.path.join(work, "xvfb.log"), "w"))
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        raise Failure("Xvfb did not start: " + open(os.path.join(work, "xvfb.log")).read())
    return xvfb, f":{number}"


def xdotool(env, *args):
    return subprocess.run(["xdotool", *args], env=env, check=True, capture_output=True, text=True,
                          timeout=TIMEOUT).stdout.split()


class ExitHang(Failure):
    """The window closed but its process did not end: Qt 6.4's Wayland plugin may hang in its
    teardown (see docs/development.md)."""


def ended(process, what):
    try:
        status = process.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired as error:
        process.kill()
        raise ExitHang(f"{what} did not end") from error
    if status != 0:
        raise Failure(f"{what} exited with {status}")


def x_capture(display_name, window_id):
    """The window's pixels as the X server holds them."""
    from PIL import Image
    from Xlib import X, display
    d = display.Display(display_name)
    window = d.create_resource_object("window", window_id)
    geometry = window.get_geometry()
    raw = window.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap, 0xFFFFFFFF).data
    d.close()
    return Image.frombytes("RGB", (geometry.width, geometry.height), raw, "raw", "BGRX")


def find_inside(big, small):
    """The top-left corner where small appears pixel for pixel inside big, or None."""
    big_bytes, small_bytes = big.convert("RGB").tobytes(), small.convert("RGB").tobytes()
    bw, (sw, sh) = big.width * 3, small.size
    first_row = small_bytes[: sw * 3]
    for y in range(big.height - sh + 1):
        row = big_bytes[y * bw:(y + 1) * bw]
        x = row.find(first_row)
        while x >= 0:
            if x % 3 == 0 and all(
                    big_bytes[(y + r) * bw + x:(y + r) * bw + x + sw * 3]
                    == small_bytes[r * sw * 3:(r + 1) * sw * 3] for r in range(sh)):
                return x // 3, y
            x = row.find(first_row, x + 1)
    return None


def headless_at_scale_two(program, work, env):
    weston = Weston(work, "zelmo-headless", ["--backend=headless-backend.so", "--use-pixman",
                                             "--width=1024", "--height=768", "--scale=2"], env)
    window = subprocess.Popen([program], env=wayland_client_env(weston.env), stdin=subprocess.DEVNULL)
    try:
        client = weston.log.wait(f"a window titled «{TITLE}» with a buffer", titled_window)
        print(f"headless weston, scale 2: the window maps with the title «{TITLE}»")
        seat = "wl_seat" in weston.log.clients[client]["globals"]
        print("headless weston offers " + ("a seat" if seat else
              "no seat (wl_seat): no key can reach a window there; keys are sent on weston's "
              "X11 backend below"))
        capture = weston.screenshot(os.path.join(work, "headless"))
    finally:
        window.send_signal(signal.SIGTERM)
        try:
            window.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired as error:
            window.kill()
            raise ExitHang("the window on headless weston, sent SIGTERM, did not end") from error
        finally:
            weston.stop()
    return capture


def under_x_at_ratio_two(program, env, wayland):
    """The window under X at ratio 2, found pixel for pixel in weston's capture. X tells no
    client when another has painted, so its pixels are read again every 50 ms until they are
    found there, for PAINT_TIMEOUT seconds at most."""
    window = subprocess.Popen([program], env=dict(env, QT_QPA_PLATFORM="xcb", QT_SCALE_FACTOR="2"),
                              stdin=subprocess.DEVNULL)
    window_id = int(xdotool(env, "search", "--sync", "--onlyvisible", "--name", f"^{TITLE}$")[0])
    deadline = time.monotonic() + PAINT_TIMEOUT
    while True:
        capture = x_capture(env["DISPLAY"], window_id)
        where = find_inside(wayland, capture)
        if where or time.monotonic() > deadline:
            break
        time.sleep(0.05)
    xdotool(env, "windowfocus", "--sync", str(window_id))
    xdotool(env, "key", "ctrl+q")
    ended(window, "the window under X after Ctrl+Q")
    return capture, where


def keys_on_x11_backend(program, work, env):
    weston = Weston(work, "zelmo-x11", ["--backend=x11-backend.so", "--use-pixman",
                                        "--width=1024", "--height=768"], env)
    try:
        # weston names its X window in its log; the keyboard follows the X input focus.
        output = weston.log.wait("the X window of weston's output", lambda _: next(
            (m.group(1) for m in map(re.compile(r"x11 output .*window id (\d+)").search,
                                     weston.log.lines) if m), None))
        xdotool(env, "windowfocus", "--sync", output)
        memory = os.path.join(env["XDG_DATA_HOME"], "zelmo", "memory.zelmo")
        window = subprocess.Popen([program, "--keep-memory"], env=wayland_client_env(weston.env),
                                  stdin=subprocess.DEVNULL)
        client = weston.log.wait(f"a window titled «{TITLE}» active with the keyboard's focus",
                                 lambda clients: next((name for name, c in clients.items()
                                                       if c["title"] == TITLE and c["mapped"]
                                                       and c["active"]), None))
        xdotool(env, "key", "F2", "1", "2", "3", "4", "5", "6", "7", "8", "9")
        xdotool(env, "key", "ctrl+q")
        weston.log.wait("the window closing on Ctrl+Q", lambda clients: clients[client]["closed"])
        # Qt 6.4's Wayland plugin can hang at exit once its window is gone: ~QWaylandDisplay
        # waits for its event thread, which waits in wl_display_read_events for a read that the
        # main thread prepared and never finishes. It is a failure of the program all the same.
        ended(window, "the window on weston, closed on Ctrl+Q,")
        keys = weston.log.clients[client]["keys"]
        print(f"weston's X11 backend: the window got {keys} key events through wl_keyboard, "
              "played a game and quit on Ctrl+Q")
        if not os.path.getsize(memory):
            raise Failure(f"the window left an empty memory file {memory}")
        print(f"its kept memory was written: {memory}, {os.path.getsize(memory)} bytes")
    except FileNotFoundError as error:
        raise Failure(f"the window left no memory file: {error}") from error
    finally:
        weston.stop()


def main():
    if len(sys.argv) not in (2, 4) or (len(sys.argv) == 4 and sys.argv[2] != "--keep"):
        print(__doc__, file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    keep = os.path.abspath(sys.argv[3]) if len(sys.argv) == 4 else None
    try:
        need_modules()
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    from PIL import Image

    work = tempfile.mkdtemp(prefix="zelmo-wayland-")
    runtime = os.path.join(work, "run")
    os.mkdir(runtime, 0o700)
    with open(os.path.join(work, "weston.ini"), "w") as ini:
        ini.write("[shell]\nbackground-color=0xff204060\npanel-position=none\nlocking=false\n"
                  "animation=none\nstartup-animation=none\nclose-animation=none\n"
                  "focus-animation=none\n")
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR")}
    env.update(XDG_RUNTIME_DIR=runtime, HOME=work, XDG_DATA_HOME=os.path.join(work, "data"),
               XDG_CONFIG_HOME=os.path.join(work, "config"))
    # Qt scaled by QT_SCALE_FACTOR leaves the glyphs unhinted whatever fontconfig says, while on
    # Wayland at buffer scale 2 it hints them at device pixels as fontconfig says (Debian:
    # hintslight), which moves a few pixels of the chart's text, drawn without antialiasing.
    # Both read this configuration, which turns hinting off, so that the pictures compare.
    os.makedirs(os.path.join(work, "config", "fontconfig"))
    with open(os.path.join(work, "config", "fontconfig", "fonts.conf"), "w") as conf:
        conf.write('<?xml version="1.0"?>\n<fontconfig>\n'
                   '  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>\n'
                   '  <match target="font"><edit name="hintstyle" mode="assign">'
                   '<const>hintnone</const></edit></match>\n</fontconfig>\n')
    xvfb = None
    ok = False
    hang = False
    try:
        wayland_file = headless_at_scale_two(program, work, env)
        xvfb, env["DISPLAY"] = start_xvfb(work)
        wayland = Image.open(wayland_file)
        x_picture, where = under_x_at_ratio_two(program, env, wayland)
        x_picture.save(os.path.join(work, "x-ratio2.png"))
        if where is None:
            raise Failure(f"the window under X at ratio 2 ({x_picture.width}x{x_picture.height}) "
                          f"is nowhere pixel for pixel in weston's capture at scale 2 "
                          f"({wayland.width}x{wayland.height}): see {work}")
        print(f"weston's capture at scale 2 ({wayland.width}x{wayland.height}) holds the window "
              f"under X at ratio 2 ({x_picture.width}x{x_picture.height}) pixel for pixel, "
              f"at {where[0]},{where[1]}")
        keys_on_x11_backend(program, work, env)
        ok = True
        if keep:
            os.makedirs(keep, exist_ok=True)
            shutil.copy(wayland_file, os.path.join(keep, "weston-headless-scale2.png"))
            shutil.copy(os.path.join(work, "x-ratio2.png"), os.path.join(keep, "x-ratio2.png"))
    except (Failure, subprocess.SubprocessError) as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        hang = isinstance(failure, ExitHang)
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        if ok:
            shutil.rmtree(work)
        else:
            print(f"the captures and logs are left in {work}", file=sys.stderr)
    print("wayland: all checks passed" if ok else "wayland: failed")
    return 0 if ok else 3 if hang else 1


if __name__ == "__main__":
    code = main()
    if code == 3:
        # Only the known hang of Qt's Wayland teardown earns a second run; it is said, not hidden.
        print("wayland: the window's process hung in Qt's teardown after it closed (a known "
              "Qt 6.4 fault); the whole check runs once more", file=sys.stderr)
        code = main()
    sys.exit(1 if code == 3 else code)
