"""Plays one round of the running program by keys alone while the screen
reader Orca listens, and checks what it spoke: the deal, every move of the
round (the player's and the computer's) once each, a chosen pile's state,
the cards first when the table takes the focus, and both players' points
with the end-of-round question.

    orca_play.py PROGRAM_FOLDER RUN_FOLDER SPOKEN_FILE

SPOKEN_FILE is written by the test's voice: each utterance after a record
separator (\\036), followed by a unit separator (\\037) once it was spoken to
its end. The tree (pyatspi) is read only to know when to press the next key.
"""
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "a11y"))
import atspi_keys  # noqa: E402
from atspi_keys import (dialog, exit_game, fail, my_turn, named_focus, places, press,  # noqa: E402
                        pump, table, wait_for)
import orca_speech  # noqa: E402
from orca_speech import heard, lines_of, quiet, utterances  # noqa: E402

folder, run, spoken_file = sys.argv[1], sys.argv[2], sys.argv[3]
atspi_keys.deadline = time.monotonic() + float(os.environ.get("ORCA_SECONDS", "150"))
orca_speech.spoken_file = spoken_file


heard_ready = re.compile(r"Screen reader on")
wait_for("the screen reader to start",
         lambda: any(heard_ready.search(text) for text, _ in utterances()), 30)
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
log = open(os.path.join(run, "program.log"), "w")
program = subprocess.Popen([os.path.join(folder, "casinogui")], cwd=run, env=env,
                           stdout=log, stderr=subprocess.STDOUT)
wait_for("the table in the tree", table, 30)
quiet()

# --- a new game, by keys: animation off and no delay ------------------------------------------
press("Casino", "F2")
wait_for("the New Game dialog", lambda: dialog() and dialog().name == "New Game Settings")
box = dialog()
for _ in range(12):
    if named_focus(box, "Animation"):
        break
    press("New Game Settings", "Tab")
    pump(0.1)
else:
    fail("Tab does not reach a field named Animation")
quiet()
start = len(utterances())
press("New Game Settings", "space", "Tab", "0", "Return")
deal = heard("the deal to be told", r"New round: you hold .+; on the table ", start)
print("the deal:", deal)
wait_for("the dialog to close", lambda: dialog() is None)
names = [p.name for p in places()]
computer = next(n for n in names if "'s hand: 4 cards, face down" in n).split("'s hand")[0]
quiet()

# --- the cards first: the table takes the focus from the Hint button and back ----------------
press("Casino", "Tab")
heard("the Hint button", r"Hint", start)
quiet()
entered = len(utterances())
press("Casino", "shift+Tab")
first = heard("a card on entering the table", r"Your hand, card \d of \d", entered)
before = " ".join(text for text, _ in utterances()[entered:])
before = before[:before.index(first)]
if re.search(r"aces|Aces|POINTS|2 of Spades", before):
    fail("the score sheet is read before the card: %r" % before)
print("entering the table:", first)
quiet()

# --- Where Am I (the keypad's Enter) tells the place's position in its row ---------------------
at = len(utterances())
press("Casino", "KP_Enter")
print("where am I on a card:", heard("Where Am I on a card", r"Your hand, card \d of 4", at))
quiet()

# --- choices: Down to a pile, Space chooses it and again leaves it; a number key ------------
at = len(utterances())
press("Casino", "Down")
heard("the focus on a pile", r"Table pile \d", at)
quiet()
at = len(utterances())
press("Casino", "KP_Enter")
shown = len([n for n in names if n.startswith("Table pile ")])
heard("Where Am I on a pile", r"^list item", at)
print("where am I on a pile:", heard("the pile's place among the piles", r"^\d of %d\b" % shown, at))
quiet()
at = len(utterances())
press("Casino", "space")
heard("the pile's choice", r"(^|\n|notification )selected", at)
quiet()
at = len(utterances())
press("Casino", "space")
heard("the pile left", r"not selected", at)
quiet()
column = max(int(n[len("Table pile ")]) for n in names if n.startswith("Table pile "))
at = len(utterances())
press("Casino", str(column))
chosen = heard("the pile its key chose", r"Table pile %d \(key %d\): .*, selected" % (column, column),
               at)
print("key %d:" % column, chosen)
quiet()
at = len(utterances())
press("Casino", str(column))
heard("the pile its key left", r"not selected", at)
quiet()

# --- the round, by the hint key -----------------------------------------------------------------
# As a person listening would, the next key waits for the computer's answer to be heard.
played = len(utterances())
asked = None
totals = None
while totals is None:
    if program.poll() is not None:
        fail("the program ended during the round")
    box = dialog()
    if box is None:
        if my_turn():
            if asked is not None:
                heard("the computer's move", r"(^|\n|notification )%s " % re.escape(computer), asked)
            quiet()
            if my_turn() and dialog() is None:
                asked = len(utterances())
                press("Casino", "question")
                wait_for("the hint or the move", lambda: dialog() or not my_turn(), 10)
        else:
            pump(0.05)
        continue
    title = box.name
    if title == "Continue Game":
        totals = heard("the points with the question",
                       r"has \d+ points?, .+ has \d+ points?", played)
        quiet()
        press(title, "Escape")
    elif title == "Choose Action":
        for _ in range(6):
            if named_focus(box, "Put"):
                break
            press(title, "Tab")
            pump(0.05)
        press(title, "space")
    else:  # the hint, a message: OK has the focus
        quiet()
        press(title, "Return")
    wait_for(title + " to close", lambda: dialog() is None or dialog() != box, 10)
print("the end of the round:", totals)
quiet()

# Every move of the computer's in the round was told, each once: 24, each naming its own card
# (the last cards taken at the end are told besides). A move's words are lower case after the
# name: the test voice may write a piece of speech that was cut short joined to the next
# words ("... and the 2 Build 13 for a king ..."), which is no move.
said = [line for text, _ in utterances()[played:] for line in lines_of(text)]
move = re.compile(r"^%s (put|built|blocked|took|found) [a-z0-9 ,]+$" % re.escape(computer))
moves = [line for line in said if move.match(line) and not line.endswith(" the last cards")]
repeated = sorted({m for m in moves if moves.count(m) > 1})
if repeated:
    fail("moves told more than once: %r" % repeated)
if len(moves) != 24:
    fail("%d of the computer's 24 moves were told: %r" % (len(moves), moves))
print("the computer's moves told: %d, the first: %s" % (len(moves), moves[0]))
cut = [text for text, done in utterances()[played:-1] if not done and text.startswith(
    "notification " + computer)]
if cut:
    print("note: cut short by the next key:", len(cut))

exit_game(program)
print("PASS")
