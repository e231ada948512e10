"""The dialogs with the screen reader Orca listening: the New Game dialog's
name boxes by their label and the card back chosen by the arrow keys, and the
Hall of Fame's rows read with their column names and its sort choices.

    orca_dialogs.py PROGRAM_FOLDER RUN_FOLDER SPOKEN_FILE

SPOKEN_FILE as for orca_play.py; this runs after it in the same session.
"""
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "a11y"))
import atspi_keys  # noqa: E402
from atspi_keys import dialog, exit_game, fail, press, table, wait_for  # noqa: E402
import orca_speech  # noqa: E402
from orca_speech import quiet, utterances  # noqa: E402

folder, run, spoken_file = sys.argv[1], sys.argv[2], sys.argv[3]
orca_speech.spoken_file = spoken_file
atspi_keys.deadline = time.monotonic() + float(os.environ.get("ORCA_DIALOG_SECONDS", "60"))


def after(*keys, window):
    """Presses `keys` into `window` and returns everything spoken after them,
    once the voice is quiet again."""
    quiet()
    at = len(utterances())
    press(window, *keys)
    wait_for("speech after " + " ".join(keys), lambda: len(utterances()) > at, 10)
    quiet()
    said = " | ".join(text for text, _ in utterances()[at:])
    print("%s -> %s" % (" ".join(keys), said))
    return said


wait_for("the screen reader to start",
         lambda: any("Screen reader on" in text for text, _ in utterances()), 30)
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
log = open(os.path.join(run, "dialogs.log"), "w")
program = subprocess.Popen([os.path.join(folder, "casinogui")], cwd=run, env=env,
                           stdout=log, stderr=subprocess.STDOUT)
wait_for("the table in the tree", table, 30)
quiet()

# --- the New Game dialog: both names labelled, the back chosen by arrows ----------------------
# OK has the focus; Cancel and Help come before the names, the computer's level is off.
NEW = "New Game Settings"
press("Casino", "F2")
wait_for("the New Game dialog", lambda: dialog() and dialog().name == NEW)
quiet()
press(NEW, "Tab", "Tab")
for player in ("Human", "Computer"):
    said = after("Tab", window=NEW)
    if not re.search(player + r" Player panel.*Name: editable combo box", said):
        fail("the %s player's name box is not read with its label: %r" % (player.lower(), said))
said = after("Tab", window=NEW)
first = re.search(r"Card Back\b.*List with 12 items\W+([a-z ]+[a-z])", said)
if not first:
    fail("the back chooser is not read as a list of the backs: %r" % said)
said = after("Left" if first.group(1) == "navy stripes" else "Right", window=NEW)
if first.group(1) in said or not re.search(r"^[a-z ]+\.?$", said):
    fail("the arrow does not speak the next back: %r" % said)
press(NEW, "Escape")
wait_for("the dialog to close", lambda: dialog() is None)

# --- the Hall of Fame from the menu: a row, a sort choice --------------------------------------
# OK has the focus; before it come the rows, and before them the sort choices.
HALL = "Hall of Fame"
press("Casino", "F4")
wait_for("the Hall of Fame", lambda: dialog() and dialog().name == HALL)
quiet()
ROW = r"Name: [^,]+, Points: -?\d+, Won: \d+, Lost: \d+, Played: \d+, Percent: [\d.]+, " \
      r"Points per game: -?[\d.]+"
said = after("shift+Tab", window=HALL)
if not re.search(r"List with \d+ items\W+" + ROW, said):
    fail("the rows are not read with their column names: %r" % said)
said = after("Down", window=HALL)
if not re.search("^" + ROW, said):
    fail("the next row is not read with its column names: %r" % said)
said = after("shift+Tab", window=HALL)
if not re.search(r"Sort by Points per game\W+not selected radio button", said):
    fail("the sort choice is not read as a radio button: %r" % said)
press(HALL, "Escape")
wait_for("the Hall of Fame to close", lambda: dialog() is None)

exit_game(program)
print("PASS")
