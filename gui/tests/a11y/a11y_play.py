"""Plays one game of the running program through its accessibility tree.

Reads the tree with pyatspi, the library screen readers' own tests use, and
acts only by keys (xdotool; windows are given the keyboard by their title,
as a window manager would). It checks that the table's places are named
after the cards the library dealt, that the hidden debug controls are not in
the tree and every shown control has a name, that the focus keys select and
play, that the computer's move is told by a description change, and that the
game can be played to its end.

    a11y_play.py PROGRAM_FOLDER RUN_FOLDER

The deal is known beforehand: the program runs with its clock stopped
(faketime), so the library's shuffle, seeded from the clock at a new game,
is the one it gives when asked directly under the same clock
(a11y_play.py PROGRAM_FOLDER --deal).
"""
import ctypes
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

folder, run = sys.argv[1], sys.argv[2]
STOPPED = ["faketime", "-f", "2026-03-01 12:00:00"]
os.environ["FAKETIME_DONT_FAKE_MONOTONIC"] = "1"
deadline = time.monotonic() + float(os.environ.get("A11Y_SECONDS", "100"))
SUITS = {"C": "clubs", "D": "diamonds", "H": "hearts", "S": "spades"}
RANKS = {"A": "ace", "T": "10", "J": "jack", "Q": "queen", "K": "king"}
CONTROLS = {"push button", "label", "list item", "text", "check box", "spin button",
            "combo box", "menu item", "page tab", "table column header", "radio button"}
DEBUG_NAMES = {"Discard", "H", "Debug", "NewGame", "GUI > LOG", "1=H", "2=C", "Label1"}


def fail(why):
    print("FAIL:", why)
    sys.exit(1)


def card(wire):
    return RANKS.get(wire[0], wire[0]) + " of " + SUITS[wire[1].upper()]


def deal():
    """Prints what the library deals at a new game (run under the stopped clock)."""
    lib = ctypes.CDLL(os.path.join(folder, "libcasino.so"))
    reply = ctypes.create_string_buffer(1001)
    for request in (b"<B>9</>", b"<Z><K>0</>"):
        lib.CallTheLogic(ctypes.c_char_p(request), reply)
        print(reply.value.decode("latin-1"))


if run == "--deal":
    deal()
    sys.exit(0)


def expected_deal():
    """Player 1's hand and the table piles as the library deals them under the stopped clock."""
    dealt = subprocess.run(STOPPED + [sys.executable, __file__, folder, "--deal"], cwd=run,
                           capture_output=True, text=True, check=True).stdout
    hand, piles = {}, {}
    for item in dealt.split("<")[1:]:
        code, text = item[0], item[2:]
        if code == "1":
            hand[int(text[0])] = card(text[2:4])
        elif code == "0":
            piles[int(text[0])] = card(text[2:4])
    return hand, piles


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
    return [child for child in table() if child is not None and child.getRoleName() != "frame"]


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


# --- the start: the tree of the window -----------------------------------------------------
told = []  # (object, its description) at each description change
pyatspi.Registry.registerEventListener(
    lambda e: told.append((e.source.name, e.source.description)),
    "object:property-change:accessible-description")
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
log = open(os.path.join(run, "program.log"), "w")
program = subprocess.Popen(STOPPED + [os.path.join(folder, "casinogui")], cwd=run, env=env,
                           stdout=log, stderr=subprocess.STDOUT)
wait_for("the table in the tree", table, 30)
main = table().parent
for node in walk(main):
    if node.name in DEBUG_NAMES or node.getRoleName() == "text":
        fail("a hidden debug control is in the tree: %s %r" % (node.getRoleName(), node.name))
    if (node.getState().contains(pyatspi.STATE_SHOWING) and node.getRoleName() in CONTROLS
            and not node.name.strip()):
        fail("a %s has no name" % node.getRoleName())
if "New Game (F2)" not in table().description:
    fail("the empty table does not tell how to begin: %r" % table().description)
print("tree: no debug controls, every control named; the table says:", table().description)

# --- a seeded deal, named in the tree --------------------------------------------------------
hand, piles = expected_deal()
press("Casino", "F2")
wait_for("the New Game dialog", lambda: dialog() and dialog().name == "New Game Settings")
box = dialog()
unnamed = [n.getRoleName() for n in walk(box) if n.getState().contains(pyatspi.STATE_SHOWING)
           and n.getRoleName() in CONTROLS - {"text"} and not n.name.strip()]
if unnamed:
    fail("unnamed fields in the New Game dialog: %r" % unnamed)
# The back chooser by keys: Tab reaches it, an arrow key chooses the next back.
for _ in range(12):
    chooser = focused(box)
    if chooser is not None and chooser.name.startswith("Card back "):
        break
    press("New Game Settings", "Tab")
    pump(0.1)
else:
    fail("Tab does not reach the card backs")
before = chooser.name
press("New Game Settings", "Right")
after = wait_for("the next back", lambda: (lambda f: f.name if f and f.name != before and
                                           f.name.startswith("Card back ") else None)(focused(box)))
print("the back chooser says:", before, "->", after)
# Faster play: animation off and no delay, reached by Tab and the fields' names.
for _ in range(12):
    if named_focus(box, "Animation"):
        break
    press("New Game Settings", "Tab")
    pump(0.1)
if not named_focus(box, "Animation"):
    fail("Tab does not reach a field named Animation")
press("New Game Settings", "space", "Tab", "0", "Return")
wait_for("the deal", lambda: len([p for p in places() if p.name.startswith("Your hand")]) == 4)
names = [p.name for p in places()]
for slot, name in sorted(hand.items()):
    want = "Your hand, card %d of 4: %s (key %s)" % (slot, name, "UIOP"[slot - 1])
    if want not in names:
        fail("no place named %r among %r" % (want, names))
for column, name in sorted(piles.items()):
    want = "Table pile %d (key %d): %s" % (column, column, name)
    if want not in names:
        fail("no place named %r among %r" % (want, names))
computer = next(n for n in names if "'s hand: 4 cards, face down" in n).split("'s hand")[0]
if "Your turn" not in table().description:
    fail("the table does not tell whose turn it is: %r" % table().description)
print("deal named as dealt:", "; ".join(names))
print("the table says:", table().description)

# --- the focus keys ----------------------------------------------------------------------------
press("Casino", "Down")
pile = wait_for("the focus on a pile", lambda: (lambda f: f if f and f.name.startswith(
    "Table pile") else None)(focused(table())))
press("Casino", "space")
wait_for("Space to select the pile", lambda: (lambda f: f and f.name.endswith(", selected") and
                                              f.getState().contains(pyatspi.STATE_SELECTED))(
    focused(table())))
press("Casino", "space")
wait_for("Space again to deselect it", lambda: (lambda f: f and not f.name.endswith(
    ", selected"))(focused(table())))
press("Casino", "Up")
wait_for("the focus on a hand card", lambda: (lambda f: f and f.name.startswith("Your hand"))(
    focused(table())))
del told[:]
press("Casino", "Return")


def answer_dialogs():
    """Answers an open dialog by keys; the winner's sentence once the game is over."""
    box = dialog()
    if box is None:
        return None
    title = box.name
    if title == "Choose Action":
        # Put is always offered: Tab to it by its name.
        for _ in range(6):
            if named_focus(box, "Put"):
                break
            press(title, "Tab")
            pump(0.05)
        press(title, "space")
    elif title == "New Game":
        text = " ".join(n.name for n in walk(box) if n.getRoleName() == "label")
        press(title, "Escape")
        return text or "?"
    else:  # the hint, the next round, a message: OK has the focus
        press(title, "Return")
    wait_for(title + " to close", lambda: dialog() is None or dialog() != box, 10)
    return None


# The change is told to the table and to the hand card that has the focus.
spoken = wait_for("the computer's move to be told", lambda: next(
    (words for source, words in told
     if source == "Card table" and "\n%s " % computer in "\n" + words), None), 20)
if not any(source.startswith("Your hand") and words == spoken for source, words in told):
    fail("the focused card was not told %r: %r" % (spoken, told))
print("Enter played the focused card; the computer's move was told:", spoken)

# --- the rest of the game, by the hint key -----------------------------------------------------
rounds = 1
while True:
    if time.monotonic() > deadline:
        fail("no end of the game in time (%d rounds)" % rounds)
    if program.poll() is not None:
        fail("the program ended during the game")
    box = dialog()
    if box is not None:
        if box.name == "Continue Game":
            rounds += 1
        ended = answer_dialogs()
        if ended:
            break
        continue
    if my_turn():
        press("Casino", "question")
        wait_for("the hint or the move", lambda: dialog() or not my_turn(), 10)
    else:
        pump(0.05)
if "has won the game" not in ended:
    fail("the end of the game says %r" % ended)
print("game over after %d rounds: %s" % (rounds, ended))
stopped = wait_for("the end of the game to be told", lambda: next(
    (words for source, words in told if source == "Card table" and "won the game" in words), None))
print("the table says:", stopped)

press("Casino", "F6")
wait_for("the exit question", lambda: dialog() and dialog().name == "Exit Casino?")
press("Exit Casino?", "Return")
try:
    status = program.wait(20)
except subprocess.TimeoutExpired:
    fail("the program did not end")
if status != 0:
    fail("the program ended with status %d" % status)
print("PASS")
