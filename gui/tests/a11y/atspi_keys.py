"""What the tests that play by keys share: the program's windows and table as
the accessibility tree shows them (pyatspi), waiting on the tree, and keys
pressed into a window as a window manager would give it the keyboard
(xdotool). Used by a11y_play.py and orca_play.py."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

deadline = float("inf")  # time.monotonic() after which every wait fails


def fail(why):
    print("FAIL:", why)
    sys.exit(1)


def pump(seconds=0.0):
    until = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= until:
            return
        time.sleep(0.02)


def wait_for(what, test, seconds=20):
    until = min(time.monotonic() + seconds, deadline)
    while True:
        pump()
        try:
            found = test()
        except Exception:  # a window closing under the reader
            found = None
        if found:
            return found
        if time.monotonic() >= until:
            fail("timed out waiting for " + what)
        time.sleep(0.05)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Casino":
            return app
    return None


def windows():
    """The program's shown top-level windows by title; the main one is the frame with the table."""
    shown = []
    for window in application() or []:
        if window is not None and window.getState().contains(pyatspi.STATE_SHOWING):
            shown.append(window)
    return shown


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def table():
    for window in windows():
        for child in window:
            if child is not None and child.name == "Card table":
                return child
    return None


def places():
    """The places of the table, the cards of a hand and the piles read out of their lists."""
    found = []
    for child in table():
        if child is None or child.getRoleName() == "frame":
            continue
        if child.getRole() == pyatspi.ROLE_LIST:
            found.extend(c for c in child if c is not None)
        else:
            found.append(child)
    return found


def my_turn():
    """The keys of the hand are told while it is the person's turn."""
    return any(p.name.startswith("Your hand") and "(key " in p.name for p in places())


def dialog():
    main = table().parent
    for window in windows():
        if window != main:
            return window
    return None


def press(title, *keys):
    """Gives the keyboard to the window titled `title` and presses `keys`."""
    pattern = "^%s$" % title.replace("?", "\\?")
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                           capture_output=True, text=True).stdout.split()
    if not found:
        fail("no window titled " + title)
    subprocess.run(["xdotool", "windowfocus", "--sync", found[0]], check=True)
    subprocess.run(["xdotool", "key", "--delay", "30", *keys], check=True)


def focused(node):
    """The innermost object with the focus under `node` (a place rather than the table)."""
    inside = [n for n in walk(node) if n.getState().contains(pyatspi.STATE_FOCUSED)]
    return inside[-1] if inside else None


def named_focus(node, name):
    f = focused(node)
    return f is not None and f.name == name


def exit_game(program):
    """Ends the game by its Exit command (F6) and OK; fails unless it ends with status 0."""
    press("Casino", "F6")
    wait_for("the exit question", lambda: dialog() and dialog().name == "Exit Casino?")
    press("Exit Casino?", "Return")
    try:
        status = program.wait(20)
    except subprocess.TimeoutExpired:
        fail("the program did not end")
    if status != 0:
        fail("the program ended with status %d" % status)
