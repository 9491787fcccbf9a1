#!/usr/bin/env python3
"""End-to-end cases: the real program on an X server of its own (Xvfb), driven with real X input
(xdotool). Each case gets a fresh folder with a copy of the program, its own "Zupfwerk.ini" and a copy
of the default chord table, and asserts on the saved files, the settings file and the window titles.

Usage: e2e.py CASE --program zupfwerk --dump zw_table_dump --table "Gitarre, E-A-D-G-H-E.cho"
"""

import argparse
import configparser
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TABLE_NAME = "Gitarre, E-A-D-G-H-E.cho"
MAIN_TITLE = "Zupfwerk - Gitarre, E-A-D-G-H-E"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def log(text):
    print(text, flush=True)


# The program under test, whose unexpected end ends every wait.
watched = None


def wait_for(what, probe, timeout=10.0, interval=0.05):
    """Polls probe until it returns a true value, which is returned; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        if watched is not None and watched.poll() is not None:
            raise Failure("the program ended unexpectedly (exit code %d) while waiting for %s"
                          % (watched.returncode, what))
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def stays(what, probe, duration=1.5, interval=0.1):
    """Fails if probe turns false within duration seconds (for things that must not happen)."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if watched is not None and watched.poll() is not None:
            raise Failure("the program ended unexpectedly (exit code %d)" % watched.returncode)
        if not probe():
            raise Failure("%s did not hold" % what)
        time.sleep(interval)


# ---------------------------------------------------------------------------------------------
# Chord-table files, read through the model's own reader (zw_table_dump).


class Table:
    def __init__(self, dump_program, path):
        result = subprocess.run([dump_program, path], capture_output=True, timeout=30)
        self.path = path
        self.lines = [line.split("\t") for line in result.stdout.decode("utf-8").splitlines()]
        self.load_result = int(self.field("laden")[0])
        check(self.load_result == 0, "'%s' does not load: reader result %d" % (path, self.load_result))
        self.check_result = int(self.field("pruefen")[0])
        self.tuning = self.field("stimmung")
        self.types = [line[2] for line in self.lines if line[0] == "typ"]
        self.grips = [
            {
                "index": int(line[1]),
                "root": int(line[2]),
                "root_name": line[3],
                "type": int(line[4]),
                "type_name": line[5],
                "frets": line[6],
                "recognised": line[7],
            }
            for line in self.lines
            if line[0] == "griff"
        ]

    def field(self, key):
        for line in self.lines:
            if line[0] == key:
                return line[1:]
        raise Failure("no '%s' line in the dump of '%s'" % (key, self.path))

    def type_index(self, name):
        check(name in self.types, "no chord type '%s' in the catalogue %s" % (name, self.types))
        return self.types.index(name)

    def with_frets(self, frets):
        return [grip for grip in self.grips if grip["frets"] == frets]


def shape_at(shape, lowest):
    """The frets of a fretted shape (string 1 first, "x" muted) moved so that its lowest fret is lowest."""
    frets = [int(f) for f in shape if f != "x"]
    shift = lowest - min(frets)
    return "-".join(f if f == "x" else str(int(f) + shift) for f in shape)


def read_ini(path):
    ini = configparser.ConfigParser(strict=False, interpolation=None)
    ini.optionxform = str
    if os.path.exists(path):
        with open(path, encoding="latin-1") as f:
            ini.read_file(f)
    return ini


def ini_value(path, section, key):
    ini = read_ini(path)
    return ini.get(section, key, fallback=None)


# ---------------------------------------------------------------------------------------------
# The X server, the program, windows, keys and the mouse.


class Session:
    """One Xvfb on a free display and one working folder for one case."""

    def __init__(self, args, name):
        self.args = args
        self.name = name
        self.folder = tempfile.mkdtemp(prefix="zw-e2e-%s-" % name)
        self.bin = os.path.join(self.folder, "bin")
        self.work = os.path.join(self.folder, "work")
        self.home = os.path.join(self.folder, "home")
        for folder in (self.bin, self.work, self.home):
            os.makedirs(folder)
        os.makedirs(os.path.join(self.home, "runtime"), mode=0o700)
        self.program = os.path.join(self.bin, "zupfwerk")
        shutil.copy2(args.program, self.program)
        self.ini = os.path.join(self.bin, "Zupfwerk.ini")
        self.table = os.path.join(self.work, TABLE_NAME)
        shutil.copy2(args.table, self.table)
        self.xvfb = None
        self.display = None
        self.process = None
        self.log_path = os.path.join(self.folder, "program.log")

    # X server

    def start_x(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_end,),
            stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(self.folder, "xvfb.log"), "w"),
        )
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n"):
            check(time.monotonic() < deadline, "Xvfb did not report its display")
            chunk = os.read(read_end, 16)
            check(chunk, "Xvfb ended before it reported its display")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        log("Xvfb on display %s, folder %s" % (self.display, self.folder))

    def env(self):
        env = {
            key: value
            for key, value in os.environ.items()
            if not key.startswith(("QT_", "XDG_", "WAYLAND", "DBUS_SESSION"))
        }
        env.update(
            DISPLAY=self.display,
            HOME=self.home,
            XDG_CONFIG_HOME=os.path.join(self.home, "config"),
            XDG_RUNTIME_DIR=os.path.join(self.home, "runtime"),
            QT_QPA_PLATFORM="xcb",
        )
        return env

    def x(self, *command, timeout=10):
        result = subprocess.run(list(command), env=self.env(), capture_output=True, timeout=timeout)
        return result.stdout.decode("utf-8", "replace").strip()

    def xdotool(self, *arguments):
        return self.x("xdotool", *[str(a) for a in arguments])

    def keyboard_layout(self, layout):
        self.x("setxkbmap", "-display", self.display, layout)
        query = self.x("setxkbmap", "-display", self.display, "-query")
        check("layout:     %s" % layout in query, "setxkbmap did not switch to '%s': %s" % (layout, query))

    # Program

    def start(self):
        global watched
        check(self.process is None, "the program runs already")
        log("start the program")
        self.process = subprocess.Popen(
            [self.program],
            cwd=self.work,
            env=self.env(),
            stdout=open(self.log_path, "a"),
            stderr=subprocess.STDOUT,
        )
        watched = self.process
        main = wait_for("the main window", lambda: self.window("^Zupfwerk - "), timeout=60)
        log("main window: %s" % self.title(main))
        return main

    def running(self):
        return self.process is not None and self.process.poll() is None

    def quit(self):
        """Ends the program with Alt+F4 ("&Beenden") in the main window."""
        global watched
        log("quit with Alt+F4")
        self.focus(self.main())
        self.key("alt+F4")
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure("Alt+F4 did not end the program; visible windows: %s" % self.describe_windows())
        code = self.process.returncode
        self.process = None
        watched = None
        check(code == 0, "the program ended with exit code %d" % code)

    def stop(self):
        global watched
        watched = None
        if self.running():
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process = None
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()
            self.xvfb = None

    # Windows

    def windows(self):
        """Visible windows of the program, top-level ones and pop-ups."""
        if not self.running():
            return []
        out = self.xdotool("search", "--all", "--onlyvisible", "--pid", self.process.pid, "")
        return [int(w) for w in out.split()]

    def window(self, pattern):
        """The visible window of the program whose title matches the pattern, or None."""
        if not self.running():
            raise Failure("the program ended unexpectedly (exit code %s)" % self.process.returncode)
        out = self.xdotool("search", "--all", "--onlyvisible", "--pid", self.process.pid, "--name", pattern)
        found = [int(w) for w in out.split()]
        return found[0] if found else None

    def main(self):
        return wait_for("the main window", lambda: self.window("^Zupfwerk"))

    def grifftab(self):
        return self.window("^Grifftabelle$")

    def title(self, window):
        return self.xdotool("getwindowname", window)

    def describe_windows(self):
        return ", ".join("%d '%s'" % (w, self.title(w)) for w in self.windows()) or "none"

    def geometry(self, window):
        values = dict(
            line.split("=", 1) for line in self.xdotool("getwindowgeometry", "--shell", window).splitlines()
        )
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def focused(self):
        out = self.xdotool("getwindowfocus", "-f")
        return int(out) if out.isdigit() else None

    def focus(self, window):
        self.xdotool("windowfocus", "--sync", window)
        wait_for("the focus on window %d" % window, lambda: self.focused() == window)

    def new_window(self, before, what, timeout=10):
        """Waits for a visible titled window that was not among before, and for the focus on it."""

        def probe():
            return next((w for w in self.windows() if w not in before and self.title(w)), None)

        window = wait_for(what, probe, timeout)
        wait_for("the focus on %s" % what, lambda: self.focused() == window, timeout)
        log("%s: '%s'" % (what, self.title(window)))
        return window

    def dialog(self, title):
        """Waits for the window with this title and for the focus on it."""
        # Generous: a loaded machine (the test command runs two cases at once) shows boxes late.
        window = wait_for("the window '%s'" % title, lambda: self.window("^%s$" % title), 30)
        wait_for("the focus on the window '%s'" % title, lambda: self.focused() == window, 30)
        return window

    def popup(self, before):
        menu = wait_for("a pop-up menu", lambda: next((w for w in self.windows() if w not in before), None))
        # Away from the menu, so that the pointer chooses no item.
        self.xdotool("mousemove", "--sync", 1279, 1023)
        return menu

    def sync(self):
        """Waits until the program has handled all input sent so far: Ctrl+F ("&Fingerzahlen"), which
        comes after it, writes the settings file; a second Ctrl+F restores the view."""
        for _ in range(2):
            before = ini_value(self.ini, "Diagramm", "Fingersatz") or "1"
            self.key("ctrl+f")
            wait_for("the program to handle the keys sent",
                     lambda: (ini_value(self.ini, "Diagramm", "Fingersatz") or "1") != before)

    def gone(self, window, what):
        wait_for("%s to close" % what, lambda: window not in self.windows())

    # Input

    def key(self, *keys):
        self.xdotool("key", "--delay", 40, *keys)

    def type(self, text):
        self.xdotool("type", "--delay", 40, text)

    def click(self, window, x, y, button=1):
        left, top, _, _ = self.geometry(window)
        self.xdotool("mousemove", "--sync", left + x, top + y)
        self.xdotool("click", button)

    # Pictures

    def screenshot(self, name):
        path = os.path.join(self.folder, name + ".png")
        self.x("import", "-display", self.display, "-window", "root", path, timeout=30)
        return path

    def snapshot(self, name):
        """A screenshot kept for a look at what the case drove, taken only when the folder is kept."""
        if self.args.keep:
            time.sleep(0.3)  # lets the last input be drawn; no assertion reads these pictures
            self.screenshot(name)

    def grey_image(self, window):
        """The window's pixels as grey values: (width, height, bytes of one byte per pixel)."""
        data = subprocess.run(
            ["import", "-display", self.display, "-window", str(window), "-colorspace", "gray", "-depth", "8",
             "pgm:-"],
            env=self.env(),
            capture_output=True,
            timeout=30,
        ).stdout
        # Binary PGM: "P5", width, height, maximum, each followed by white space, then the pixels.
        fields = []
        position = 0
        while len(fields) < 4:
            while data[position:position + 1].isspace():
                position += 1
            end = position
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        check(fields[0] == b"P5", "no greyscale picture of window %d" % window)
        width, height = int(fields[1]), int(fields[2])
        pixels = data[position + 1:]
        check(len(pixels) >= width * height, "short picture of window %d" % window)
        return width, height, pixels


# ---------------------------------------------------------------------------------------------
# The fretboard of the main window, found in its picture: string lines and fret lines are the long
# dark lines of the board.

DARK = bytes(1 if value < 90 else 0 for value in range(256))


def clusters(positions, gap=3):
    groups = []
    for p in positions:
        if groups and p - groups[-1][1] <= gap:
            groups[-1][1] = p
        else:
            groups.append([p, p])
    return groups


class Board:
    def __init__(self, width, height, pixels, strings, frets):
        rows = [pixels[y * width:(y + 1) * width].translate(DARK) for y in range(height)]
        runs = [max(len(run) for run in row.split(b"\0")) for row in rows]
        longest = max(runs)
        check(longest > width // 3, "no fretboard in the main window's picture")
        lines = clusters([y for y in range(height) if runs[y] >= longest * 0.9])
        self.strings = [(a + b) // 2 for a, b in lines]
        check(len(self.strings) == strings,
              "expected %d string lines, found %d" % (strings, len(self.strings)))
        top, bottom = lines[0][0], lines[-1][1]
        span = bottom - top + 1
        columns = [sum(rows[y][x] for y in range(top, bottom + 1)) for x in range(width)]
        self.frets = clusters([x for x in range(width) if columns[x] >= span * 0.95])
        check(len(self.frets) == frets + 1,
              "expected %d fret lines (nut included), found %d" % (frets + 1, len(self.frets)))
        self.top = top
        self.spacing = (bottom - top) // max(1, strings - 1)

    def spot(self, fret, string):
        """Window coordinates of the middle of fret column fret (the board starts at fret 1) on a string."""
        left = self.frets[fret - 1][1]
        right = self.frets[fret][0]
        return (left + right) // 2, self.strings[len(self.strings) - string]


def find_board(session, window, strings=6, frets=8):
    """The board once two pictures in a row show it at the same place: the window may still be laying
    itself out when it first paints."""
    seen = []

    def probe():
        try:
            board = Board(*session.grey_image(window), strings, frets)
        except Failure:
            seen.clear()
            return None
        stable = seen and (seen[-1].strings, seen[-1].frets) == (board.strings, board.frets)
        seen.append(board)
        return board if stable else None

    return wait_for("the fretboard to be drawn", probe, interval=0.2)


def title_area(session, window, board):
    """The pixels above the board (the menu bar and the chord name drawn over the board)."""
    width, _, pixels = session.grey_image(window)
    return pixels[: width * (board.top - 3)]


# ---------------------------------------------------------------------------------------------
# Cases

# Windows side by side: the chord-table window at the left, the main window (whole fretboard with
# 8 frets) beside it.
LAYOUT = """[Computer]
WindowTop0=200
WindowLeft0=330
WindowHeight0=420
WindowWidth0=900
[Diagramm]
AkkordBestimmt=0
Bundanz0=8
[Grifftab]
WindowTop=0
WindowLeft=0
WindowHeight=600
WindowWidth=300
Width0=80
Width1=120
Anzeigen=1
"""


def prepare_layout(session):
    with open(session.ini, "w", encoding="latin-1") as f:
        f.write(LAYOUT)


def clear_grip(session, main):
    """Shift+Del ("&Alle Finger entfernen") on a grip with fingers: no fingers, every string muted."""
    session.focus(main)
    session.key("shift+Delete")


def place(session, main, board, spots):
    for fret, string in spots:
        x, y = board.spot(fret, string)
        session.click(main, x, y)


def store_here(session, main):
    """"S" on a grip without sounding open strings: the store dialog, answered with "&Speichern"."""
    session.key("s")
    dialog = session.dialog("Griff in Grifftabelle speichern")
    session.key("Return")
    session.gone(dialog, "the store dialog")
    session.focus(main)


def save(session):
    before = os.stat(session.table).st_mtime_ns
    session.key("ctrl+s")
    wait_for("Ctrl+S to save '%s'" % session.table, lambda: os.stat(session.table).st_mtime_ns != before)


def popup_item(session, main, board, fret, string, downs):
    """Right click on a spot, then the pop-up menu's item number downs (1 = the first) with the keys."""
    before = session.windows()
    x, y = board.spot(fret, string)
    session.click(main, x, y, button=3)
    menu = session.popup(before)
    session.key(*(["Down"] * downs), "Return")
    session.gone(menu, "the pop-up menu")


def case_grifftab_comes_back(session, args):
    """Quitting keeps "Anzeigen" at 1: the chord-table window is back at the next start. Only hiding it
    (Ctrl+B) writes 0, and then it stays hidden at the next start."""
    session.start()
    wait_for("the chord-table window at the first start", session.grifftab)
    session.quit()
    shown = ini_value(session.ini, "Grifftab", "Anzeigen")
    check(shown in (None, "1"), "after quitting, Anzeigen in [Grifftab] is %s, not 1" % shown)

    main = session.start()
    wait_for("the chord-table window at the second start", session.grifftab)
    session.focus(main)
    session.key("ctrl+b")
    wait_for("Ctrl+B to hide the chord-table window", lambda: session.grifftab() is None)
    check(ini_value(session.ini, "Grifftab", "Anzeigen") == "0", "hiding did not write Anzeigen=0")
    session.quit()
    check(ini_value(session.ini, "Grifftab", "Anzeigen") == "0", "quitting changed Anzeigen=0")

    main = session.start()
    stays("the chord-table window staying hidden", lambda: session.grifftab() is None)
    session.focus(main)
    session.key("ctrl+b")
    wait_for("Ctrl+B to show the chord-table window", session.grifftab)
    check(ini_value(session.ini, "Grifftab", "Anzeigen") == "1", "showing did not write Anzeigen=1")
    session.quit()
    check(ini_value(session.ini, "Grifftab", "Anzeigen") == "1", "quitting changed Anzeigen=1")
    session.start()
    wait_for("the chord-table window after showing it again", session.grifftab)
    session.quit()


def case_moved_type_files_grip_under_its_chord(session, args):
    """A minor grip built by clicks, then "m" moved up in the chord-table window, then "S" with no other
    edit in between: the saved table loads and files the grip under "m" at its new place."""
    original = Table(args.dump, session.table)
    minor = original.type_index("m")
    check(minor > 0, "precondition: 'm' must not be the first chord type")
    grip = "x-x-4-4-3-2"  # H minor on the four highest strings
    check(not original.with_frets(grip), "precondition: the default table must not hold %s" % grip)
    prepare_layout(session)
    main = session.start()
    table_window = wait_for("the chord-table window", session.grifftab)

    # Choose "m" in the chord-type list with the keys; this fetches a stored grip of it.
    session.focus(table_window)
    session.click(table_window, 80 + 60, 60)
    session.key("Home", *(["Down"] * minor))

    clear_grip(session, main)
    board = find_board(session, main)
    place(session, main, board, [(4, 3), (4, 4), (3, 5), (2, 6)])
    session.snapshot("minor-grip")

    # Back in the chord-type list, which keeps its focus and selection: Ctrl+H ("&Hoch").
    session.focus(table_window)
    session.key("ctrl+h")
    session.snapshot("type-moved")
    session.focus(main)
    store_here(session, main)
    session.snapshot("minor-grip-stored")
    save(session)
    session.quit()

    saved = Table(args.dump, session.table)
    check(saved.check_result == 0, "the saved table fails its check (%d)" % saved.check_result)
    check(saved.types[minor - 1] == "m" and saved.types[minor] == original.types[minor - 1],
          "'m' did not move up: %s" % saved.types[: minor + 2])
    stored = saved.with_frets(grip)
    check(len(stored) == 1, "expected the grip %s stored once, found %d" % (grip, len(stored)))
    check(len(saved.grips) == len(original.grips) + 1,
          "expected %d grips, found %d" % (len(original.grips) + 1, len(saved.grips)))
    check(stored[0]["root_name"] == "H" and stored[0]["type_name"] == "m",
          "the grip %s is filed under '%s' + '%s' (type %d), not under H + 'm' (type %d)"
          % (grip, stored[0]["root_name"], stored[0]["type_name"], stored[0]["type"], minor - 1))

    # The saved table opens again without complaint.
    session.start()
    wait_for("the chord-table window", session.grifftab)
    stays("no message at the start", lambda: len(session.windows()) == 2)
    check(session.title(session.main()) == MAIN_TITLE, "the saved table was not opened")
    session.quit()


def case_all_strings_refresh_the_chord(session, args):
    """"Alle Saiten spielen" and "Alle Saiten dämpfen" from the board's pop-up show and store the chord
    the strings then sound."""
    original = Table(args.dump, session.table)
    fretted, ringing = "x-3-2-x-x-3", "0-3-2-0-0-3"  # C, and with every string open Cmaj7
    for grip in (fretted, ringing):
        check(not original.with_frets(grip), "precondition: the default table must not hold %s" % grip)
    maj7 = original.type_index("maj7")
    prepare_layout(session)
    main = session.start()
    clear_grip(session, main)
    board = find_board(session, main)
    place(session, main, board, [(3, 2), (2, 3), (3, 6)])

    # The chord name drawn over the board must be the one that storing (which recognises afresh) shows.
    popup_item(session, main, board, 1, 1, 3)  # "Alle Saiten &spielen"
    session.sync()
    shown = title_area(session, main, board)
    session.key("s")  # open strings sound: stored without the dialog
    session.sync()
    check(shown == title_area(session, main, board),
          "the chord name after 'Alle Saiten spielen' differs from the one after storing the grip")

    popup_item(session, main, board, 1, 1, 2)  # "Alle Saiten &dämpfen"
    session.sync()
    shown = title_area(session, main, board)
    store_here(session, main)
    session.sync()
    check(shown == title_area(session, main, board),
          "the chord name after 'Alle Saiten dämpfen' differs from the one after storing the grip")
    check(session.title(main) == MAIN_TITLE, "main window title: '%s'" % session.title(main))
    save(session)
    session.quit()

    saved = Table(args.dump, session.table)
    check(saved.check_result == 0, "the saved table fails its check (%d)" % saved.check_result)
    for frets, type_index in ((ringing, maj7), (fretted, 0)):
        stored = saved.with_frets(frets)
        check(len(stored) == 1, "expected the grip %s stored once, found %d" % (frets, len(stored)))
        check(stored[0]["root"] == 0 and stored[0]["type"] == type_index,
              "the grip %s is filed under '%s%s', not under 'C%s'"
              % (frets, stored[0]["root_name"], stored[0]["type_name"], saved.types[type_index]))


def case_range_store_stores_the_range_shown(session, args):
    """The range store with start fret 3 and the end fret "12" shown stores frets 3 to 12, no more."""
    original = Table(args.dump, session.table)
    shape = "x-x-4-4-3-2".split("-")  # H minor on the four highest strings, lowest fret 2
    minor = original.type_index("m")
    before = {lowest for lowest in range(1, 28) if original.with_frets(shape_at(shape, lowest))}
    prepare_layout(session)
    main = session.start()
    clear_grip(session, main)
    board = find_board(session, main)
    place(session, main, board, [(4, 3), (4, 4), (3, 5), (2, 6)])

    session.key("s")
    dialog = session.dialog("Griff in Grifftabelle speichern")
    session.key("alt+t")  # "Automatisch &transponieren auf....": the focus goes to the start list
    session.key("Home", "Down", "Down")  # start fret 3; the end list still shows 12
    session.screenshot("range-dialog")
    session.key("Return")
    session.gone(dialog, "the store dialog")
    session.focus(main)
    save(session)
    session.quit()

    saved = Table(args.dump, session.table)
    check(saved.check_result == 0, "the saved table fails its check (%d)" % saved.check_result)
    after = {lowest for lowest in range(1, 28) if saved.with_frets(shape_at(shape, lowest))}
    added = sorted(after - before)
    expected = sorted(set(range(3, 13)) - before)
    check(added == expected, "the range store added the frets %s, expected %s" % (added, expected))
    check(len(saved.grips) == len(original.grips) + len(expected),
          "expected %d grips, found %d" % (len(original.grips) + len(expected), len(saved.grips)))
    for lowest in range(3, 13):
        for grip in saved.with_frets(shape_at(shape, lowest)):
            root = (11 + lowest - 2) % 12
            check(grip["root"] == root and grip["type"] == minor,
                  "the grip at fret %d is filed under root %d type %d, not %d type %d"
                  % (lowest, grip["root"], grip["type"], root, minor))


def case_shortcuts_work_in_chord_table_window(session, args):
    """Ctrl+S, Ctrl+O, Ctrl+U, Ctrl+B and F12 work while the chord-table window is the active window;
    the single key S does not."""
    original = Table(args.dump, session.table)
    grip = "x-x-4-4-3-2"
    prepare_layout(session)
    main = session.start()
    table_window = wait_for("the chord-table window", session.grifftab)
    clear_grip(session, main)
    board = find_board(session, main)
    place(session, main, board, [(4, 3), (4, 4), (3, 5), (2, 6)])

    # The single key S is no shortcut there: it would open the store dialog for this grip.
    session.key("F12")  # from the main window to the chord-table window
    wait_for("F12 to activate the chord-table window", lambda: session.focused() == table_window)
    session.key("s")
    stays("no store dialog after S in the chord-table window",
          lambda: session.window("^Griff in Grifftabelle speichern$") is None)
    session.focus(main)
    store_here(session, main)

    session.key("F12")
    wait_for("F12 to activate the chord-table window", lambda: session.focused() == table_window)
    save(session)
    check(len(Table(args.dump, session.table).with_frets(grip)) == 1, "Ctrl+S did not save the stored grip")

    windows = session.windows()
    session.key("ctrl+o")
    dialog = session.new_window(windows, "the open dialog")
    session.key("Escape")
    session.gone(dialog, "the open dialog")
    check(session.title(main) == MAIN_TITLE, "cancelling the open dialog changed the title")

    session.focus(table_window)
    view = ini_value(session.ini, "Diagramm", "AkkordBestimmt")
    session.key("ctrl+u")
    wait_for("Ctrl+U to switch the view",
             lambda: ini_value(session.ini, "Diagramm", "AkkordBestimmt") not in (None, view))

    session.focus(table_window)
    session.key("F12")
    wait_for("F12 to activate the main window", lambda: session.focused() == main)
    session.key("F12")
    wait_for("F12 to activate the chord-table window again", lambda: session.focused() == table_window)

    session.key("ctrl+b")
    wait_for("Ctrl+B to hide the chord-table window", lambda: session.grifftab() is None)
    check(ini_value(session.ini, "Grifftab", "Anzeigen") == "0", "Ctrl+B did not write Anzeigen=0")
    session.focus(main)
    session.key("ctrl+b")
    wait_for("Ctrl+B to show the chord-table window", session.grifftab)
    check(ini_value(session.ini, "Grifftab", "Anzeigen") == "1", "Ctrl+B did not write Anzeigen=1")

    # Saved from the chord-table window: quitting asks nothing.
    session.quit()
    saved = Table(args.dump, session.table)
    check(len(saved.grips) == len(original.grips) + 1, "the saved table lost or gained grips")


def case_export_over_table_is_refused(session, args):
    """"Diagramm als Bild..." onto the open chord table's own name is refused with a message before
    anything is written; the dialog comes again, and the table stays byte for byte."""
    with open(session.table, "rb") as f:
        before = f.read()
    prepare_layout(session)
    files = sorted(os.listdir(session.work))
    main = session.start()
    session.focus(main)

    windows = session.windows()
    session.key("alt+d")
    session.popup(windows)
    session.key("e")  # "&Exportieren"
    session.key("b")  # "Diagramm als &Bild..."
    size = session.dialog("Diagramm als Bild")
    windows = session.windows()
    session.key("Return")  # the size as offered
    session.gone(size, "the image size dialog")
    save_dialog = session.new_window(windows, "the export dialog")
    session.type(TABLE_NAME)

    def refusal():
        return next((w for w in session.windows() if w not in windows and w != save_dialog
                     and session.title(w) == "Speichern unter"), None)

    session.key("Return")
    try:
        box = wait_for("the refusal", refusal, timeout=3)
    except Failure:
        session.key("Return")  # the first Return only closed the name completion
        box = wait_for("the refusal", refusal)
    with open(session.table, "rb") as f:
        check(f.read() == before, "the chord table changed before the refusal was answered")
    wait_for("the focus on the refusal", lambda: session.focused() == box)
    session.key("Return")
    session.gone(box, "the refusal")
    # The export dialog again, for another name: cancelled.
    again = wait_for("the export dialog again",
                     lambda: next((w for w in session.windows() if w not in windows and w != box
                                   and session.title(w)), None))
    wait_for("the focus on the export dialog", lambda: session.focused() == again)
    session.key("Escape")
    session.gone(again, "the export dialog")
    session.quit()
    with open(session.table, "rb") as f:
        check(f.read() == before, "the chord table was replaced")
    check(sorted(os.listdir(session.work)) == files, "files appeared: %s" % sorted(os.listdir(session.work)))


def octave_keys(session, args, layout, shift_plus):
    """In the new-table dialog Shift with the plus key raises the selected string by an octave and Shift
    with the minus key lowers it, on a real keyboard of the given layout."""
    original = Table(args.dump, session.table)
    prepare_layout(session)
    session.keyboard_layout(layout)
    main = session.start()
    session.focus(main)

    windows = session.windows()
    session.key("alt+d")
    session.popup(windows)
    session.key("n")  # "&Neu"
    dialog = session.dialog("Neue Grifftabelle")
    session.key("alt+s")  # "&Saiten": the string list, its top line (the highest string) selected
    session.key(shift_plus)
    session.key("Down", "shift+minus")
    session.key("alt+g")  # "Anle&gen"
    session.gone(dialog, "the new-table dialog")
    wait_for("the title of the new table", lambda: session.title(main) == "Zupfwerk - (unbenannt)")

    windows = session.windows()
    session.focus(main)
    session.key("ctrl+s")  # an unnamed table asks for a name
    save_dialog = session.new_window(windows, "the save dialog")
    session.type("Oktaven")
    session.key("Return")
    session.gone(save_dialog, "the save dialog")
    wait_for("the title of the saved table", lambda: session.title(main) == "Zupfwerk - Oktaven")
    path = ini_value(session.ini, "Computer", "LetzteDatei")
    check(path is not None and path.endswith("Oktaven.cho"), "LetzteDatei is %s" % path)
    session.quit()

    tuning = Table(args.dump, path).tuning
    expected = list(original.tuning)
    expected[5] = "E +2"
    expected[4] = "H -1"
    check(tuning == expected, "tuning %s, expected %s" % (tuning, expected))


def wait_for_optional(probe, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if probe():
            return True
        time.sleep(0.05)
    return False


class Second:
    """A second instance of the program on the same table: its own copy, so its own settings file."""

    def __init__(self, session, name):
        self.session = session
        folder = os.path.join(session.folder, name)
        os.makedirs(folder, exist_ok=True)
        self.program = os.path.join(folder, "zupfwerk")
        shutil.copy2(session.program, self.program)
        self.process = subprocess.Popen(
            [self.program, session.table],
            cwd=session.work,
            env=session.env(),
            stdout=open(session.log_path, "a"),
            stderr=subprocess.STDOUT,
        )

    def window(self, pattern):
        check(self.process.poll() is None, "the second instance ended (exit code %s)" % self.process.returncode)
        out = self.session.xdotool("search", "--all", "--onlyvisible", "--pid", self.process.pid, "--name", pattern)
        found = [int(w) for w in out.split()]
        return found[0] if found else None

    def dialog(self, title):
        window = wait_for("the second instance's window '%s'" % title, lambda: self.window("^%s$" % title), 60)
        self.session.focus(window)
        return window

    def quit(self):
        self.session.focus(wait_for("the second main window", lambda: self.window("^Zupfwerk - ")))
        self.session.key("alt+F4")
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise Failure("Alt+F4 did not end the second instance")
        check(self.process.returncode == 0, "the second instance ended with %d" % self.process.returncode)


def case_two_instances_on_one_table(session, args):
    """A second instance is told that the table is in use and opens it read-only, so that Ctrl+S asks
    for another name. With the lock removed by force it saves; the first instance then offers to
    reload when it is active again, and its Ctrl+S asks before replacing the other one's save."""
    main = session.start()
    lock = os.path.join(session.work, "." + TABLE_NAME + ".lock")
    wait_for("the lock beside the table", lambda: os.path.exists(lock))
    original_bytes = open(session.table, "rb").read()

    second = Second(session, "zweite")
    second.dialog("In Benutzung")
    session.key("alt+j")  # open read-only
    other = wait_for("the second main window", lambda: second.window("^Zupfwerk - "), 30)
    session.focus(other)
    session.key("ctrl+s")
    save_dialog = wait_for("the save dialog of the read-only table",
                           lambda: next((w for w in session.xdotool(
                               "search", "--all", "--onlyvisible", "--pid", second.process.pid, "").split()
                               if int(w) != other and session.title(int(w))
                               and not session.title(int(w)).startswith(("Zupfwerk", "Grifftabelle"))), None))
    session.key("Escape")
    session.gone(int(save_dialog), "the save dialog")
    check(open(session.table, "rb").read() == original_bytes, "the read-only instance wrote the table")
    second.quit()

    # The lock removed by force: the next instance opens the table for writing and saves it.
    os.remove(lock)
    second = Second(session, "dritte")
    other = wait_for("the third main window", lambda: second.window("^Zupfwerk - "), 60)
    session.focus(other)
    before = os.stat(session.table).st_mtime_ns
    session.key("ctrl+s")
    wait_for("Ctrl+S in the other instance", lambda: os.stat(session.table).st_mtime_ns != before)
    theirs = open(session.table, "rb").read()
    second.quit()

    # Back in the first instance: told once, and the save asks before replacing. The focus may come
    # back to it by itself when the other one ends.
    log("back in the first instance")
    for _ in range(3):
        if wait_for_optional(lambda: session.window("^Geändert$"), 2.0):
            break
        # Away and back: the activation is what makes it look.
        grifftab = session.grifftab()
        if grifftab:
            session.xdotool("windowfocus", "--sync", grifftab)
        session.xdotool("windowfocus", "--sync", main)
    session.dialog("Geändert")
    session.key("alt+n")  # no reload
    wait_for("the question to close", lambda: session.window("^Geändert$") is None)
    check(open(session.table, "rb").read() == theirs, "declining the reload changed the table")

    # Its Ctrl+S asks before replacing the other one's save: "&Abbruch" keeps it, "&Ja" replaces it.
    session.focus(main)
    session.sync()
    session.key("ctrl+s")
    session.dialog("Geändert")
    session.key("alt+a")
    wait_for("the save question to close", lambda: session.window("^Geändert$") is None)
    check(open(session.table, "rb").read() == theirs, "the first instance replaced the other one's save")
    session.focus(main)
    session.sync()
    before = os.stat(session.table).st_mtime_ns
    session.key("ctrl+s")
    session.dialog("Geändert")
    session.key("alt+j")
    wait_for("the knowing overwrite", lambda: os.stat(session.table).st_mtime_ns != before)
    wait_for("the save question to close", lambda: session.window("^Geändert$") is None)
    session.quit()


def case_octave_keys_us_layout(session, args):
    # On a US keyboard plus is the shifted "=" key: Shift with that key.
    octave_keys(session, args, "us", "shift+equal")


def case_octave_keys_de_layout(session, args):
    # On a German keyboard plus has a key of its own, Shift with it gives "*".
    octave_keys(session, args, "de", "shift+plus")


def case_popup_keys_mute_a_string(session, args):
    """Keys alone: Shift+F10 opens the board's pop-up at the chosen spot and "Alle Saiten &spielen" opens
    every string; the arrows choose string 2, the Menu key opens the pop-up there and "O" mutes it.
    The stored and saved grip then has string 2 muted."""
    original = Table(args.dump, session.table)
    grip = "0-x-0-0-0-0"
    check(not original.with_frets(grip), "precondition: the default table must not hold %s" % grip)
    prepare_layout(session)
    main = session.start()
    clear_grip(session, main)
    board = find_board(session, main)
    left, top, _, _ = session.geometry(main)

    def popup_at(keys, fret, string):
        before = session.windows()
        session.key(keys)
        menu = wait_for("a pop-up menu from %s" % keys,
                        lambda: next((w for w in session.windows() if w not in before), None))
        x, y, _, _ = session.geometry(menu)
        spot_x, spot_y = board.spot(fret, string)
        distance = max(abs(x - left - spot_x), abs(y - top - spot_y))
        check(distance <= board.spacing // 2,
              "%s opened the pop-up at (%d, %d), not at the chosen spot (%d, %d) of fret %d, string %d"
              % (keys, x - left, y - top, spot_x, spot_y, fret, string))
        return menu

    # The spot goes to fret 1 of the lowest string, wherever it was.
    session.key(*(["Left"] * 10), *(["Down"] * 6))
    menu = popup_at("shift+F10", 1, 1)
    session.key("s")  # "Alle Saiten &spielen"
    session.gone(menu, "the pop-up menu")
    session.key("Up")
    menu = popup_at("Menu", 1, 2)
    session.key("o")  # "Saite spielen (&O) / dämpfen (X)"
    session.gone(menu, "the pop-up menu")
    session.snapshot("string-2-muted")
    session.key("s")  # open strings sound: stored without the dialog
    save(session)
    session.quit()

    saved = Table(args.dump, session.table)
    stored = saved.with_frets(grip)
    check(len(stored) == 1, "expected the grip %s stored once, found %d; new grips: %s"
          % (grip, len(stored), [g["frets"] for g in saved.grips if not original.with_frets(g["frets"])]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case")
    parser.add_argument("--program", required=True)
    parser.add_argument("--dump", required=True)
    parser.add_argument("--table", required=True)
    parser.add_argument("--keep", action="store_true", help="keep the case's folder")
    args = parser.parse_args()
    run = globals().get("case_" + args.case)
    if run is None:
        print("unknown case %s" % args.case, file=sys.stderr)
        return 2
    for tool in ("Xvfb", "xdotool", "setxkbmap", "import"):
        if shutil.which(tool) is None:
            print("%s is missing: run scripts/setup.sh" % tool, file=sys.stderr)
            return 1

    session = Session(args, args.case)
    ok = False
    try:
        session.start_x()
        run(session, args)
        ok = True
    except (Failure, subprocess.TimeoutExpired) as error:
        print("FAIL: %s" % error, file=sys.stderr)
        try:
            if session.display and session.running():
                print("visible windows: %s" % session.describe_windows(), file=sys.stderr)
                print("screenshot: %s" % session.screenshot("failure"), file=sys.stderr)
        except Exception as extra:  # the report must not hide the failure
            print("(no screenshot: %s)" % extra, file=sys.stderr)
    finally:
        session.stop()
        if os.path.exists(session.ini):
            with open(session.ini, encoding="latin-1") as f:
                settings = f.read()
            if not ok:
                print("Zupfwerk.ini:\n" + settings, file=sys.stderr)
        if os.path.exists(session.log_path) and not ok:
            with open(session.log_path, encoding="utf-8", errors="replace") as f:
                print("program output:\n" + f.read(), file=sys.stderr)
    if ok and not args.keep:
        shutil.rmtree(session.folder, ignore_errors=True)
    else:
        if not ok and os.path.exists(session.program):
            os.remove(session.program)  # the copy of the program is all that is big there
        print("kept: %s" % session.folder, file=sys.stderr if not ok else sys.stdout)
    print("ok" if ok else "failed")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
