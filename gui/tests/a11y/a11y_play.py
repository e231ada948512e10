"""Plays one game of the running program through its accessibility tree.

Reads the tree with pyatspi, the library screen readers' own tests use, and
acts only by keys (xdotool; windows are given the keyboard by their title,
as a window manager would). It checks that the table's places are named
after the cards the library dealt, that the hidden debug controls are not in
the tree and every shown control has a name, that the focus keys select and
play, that the computer's move is told by a notification, and that the
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

import atspi_keys
from atspi_keys import (dialog, exit_game, fail, focused, my_turn, named_focus, places, press, pump,
                        table, wait_for, walk)

folder, run = sys.argv[1], sys.argv[2]
STOPPED = ["faketime", "-f", "2026-03-01 12:00:00"]
os.environ["FAKETIME_DONT_FAKE_MONOTONIC"] = "1"
atspi_keys.deadline = time.monotonic() + float(os.environ.get("A11Y_SECONDS", "100"))
SUITS = {"C": "clubs", "D": "diamonds", "H": "hearts", "S": "spades"}
RANKS = {"A": "ace", "T": "10", "J": "jack", "Q": "queen", "K": "king"}
CONTROLS = {"push button", "label", "list item", "text", "check box", "spin button",
            "combo box", "menu item", "page tab", "table column header", "radio button"}
DEBUG_NAMES = {"Discard", "H", "Debug", "NewGame", "GUI > LOG", "1=H", "2=C", "Label1"}


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


# --- the start: the tree of the window -----------------------------------------------------
told = []  # the words of each notification the program shows


def heard(event):
    if event.detail1 and event.source.getRoleName() == "notification":
        told.append(event.source.name)


pyatspi.Registry.registerEventListener(heard, "object:state-changed:showing")
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
# The back chooser by keys: Tab reaches it, an arrow key chooses the next back,
# the focused item of the list of backs.


def back(node):
    return node is not None and node.getRoleName() == "list item" and \
        node.parent.name == "Card back"


for _ in range(12):
    chooser = focused(box)
    if back(chooser):
        break
    press("New Game Settings", "Tab")
    pump(0.1)
else:
    fail("Tab does not reach the card backs")
before = chooser.name
press("New Game Settings", "Right")
after = wait_for("the next back", lambda: (lambda f: f.name if back(f) and f.name != before
                                           else None)(focused(box)))
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


# The move and the answer are told in one notification.
spoken = wait_for("the computer's move to be told", lambda: next(
    (words for words in told if "\n%s " % computer in "\n" + words), None), 20)
print("Enter played the focused card; the computer's move was told:", spoken)

# --- the rest of the game, by the hint key -----------------------------------------------------
rounds = 1
while True:
    if time.monotonic() > atspi_keys.deadline:
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
stopped = wait_for("the end of the game to be told",
                   lambda: "won the game" in table().description and table().description)
print("the table says:", stopped)

exit_game(program)
print("PASS")
