"""Plays one whole game to 21 with the screen reader Orca, keys only, deciding
every key from what Orca spoke, as a player who does not see the screen.
Not part of the test command: run it through orca_test.sh,

    ORCA_PLAYER=orca_game.py ORCA_SECONDS=1500 KEEP_ORCA_RUN=1 orca_test.sh PROGRAM

Each turn it asks for the hint (?) and listens to it. A take it makes itself:
it declines the hint, walks the piles with the arrow keys to hear where the
cards lie, chooses the piles by their number keys and plays the card by its
key; any other move it accepts. Whenever speech did not tell it enough to go
on and it had to read the accessibility tree, it counts a look. At the end it
reads the Hall of Fame (F4). It writes game.log in the run folder: every
utterance, the keys, the looks.
"""
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "a11y"))
import atspi_keys  # noqa: E402
from atspi_keys import dialog, exit_game, fail, my_turn, press, pump, table, wait_for  # noqa: E402
import orca_speech  # noqa: E402
from orca_speech import quiet, utterances  # noqa: E402

folder, run, spoken_file = sys.argv[1], sys.argv[2], sys.argv[3]
atspi_keys.deadline = time.monotonic() + float(os.environ.get("ORCA_SECONDS", "1500"))
orca_speech.spoken_file = spoken_file
journal = open(os.path.join(run, "game.log"), "w")
logged = 0
looks = []


def note(text):
    global logged
    for said, _ in utterances()[logged:]:
        journal.write("  SAID: %s\n" % said.replace("\n", " / "))
    logged = len(utterances())
    journal.write(text + "\n")
    journal.flush()
    print(text, flush=True)


def key(*keys, window="Casino"):
    note("KEY %s" % " ".join(keys))
    press(window, *keys)


def said_since(mark):
    return [text for text, _ in utterances()[mark:]]


def listen(pattern, mark, seconds=8):
    """The first utterance after `mark` matching `pattern`, or None after `seconds`."""
    rule = re.compile(pattern, re.S)
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        pump(0.05)
        for text in said_since(mark):
            if rule.search(text):
                return text
    return None


def step(*keys, window="Casino"):
    """Presses `keys`, waits until the speech is over, returns what was said: more than the
    keys' echo within 1.5 s, or nothing (the focus did not move)."""
    mark = len(utterances())
    key(*keys, window=window)
    listen(r"^(?!(left shift|shift|tab|space|escape|return|up|down|left|right|\w) ?$)", mark, 1.5)
    quiet(0.5)
    return said_since(mark)


def look(why):
    looks.append(why)
    note("LOOK %d: %s" % (len(looks), why))


CARD = r"(?:\d+|jack|queen|king|ace) of (?:clubs|diamonds|hearts|spades)"


def cards_in(text):
    return re.findall(CARD, text)


# --- start: the program, a new game with animation off and no delay, by speech -------------------
wait_for("the screen reader to start",
         lambda: any("Screen reader on" in text for text, _ in utterances()), 30)
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
program = subprocess.Popen([os.path.join(folder, "casinogui")], cwd=run, env=env,
                           stdout=open(os.path.join(run, "program.log"), "w"),
                           stderr=subprocess.STDOUT)
wait_for("the program's window", table, 30)  # started: not a decision
quiet()
mark = len(utterances())
key("F2")
if not listen(r"New Game Settings", mark):
    look("the New Game dialog was not announced")
for _ in range(14):
    said = " ".join(step("Tab", window="New Game Settings"))
    if "Animation" in said:
        break
else:
    fail("Tab does not reach a field named Animation")
mark = len(utterances())
key("space", "Tab", "0", "Return", window="New Game Settings")

hand = []          # my cards in the order of their slots: (slot, card)
me = None          # my name, as the moves name me
rounds = []        # what the end-of-round boxes said
quotes = {}        # the first of each kind of utterance the report quotes
SLOT_KEYS = "uiop"


def take_deal(text):
    global hand
    found = re.search(r"New (round|hand): you hold (.*?)(?:;|\.$|$)", text, re.M)
    if found:
        hand = list(enumerate(cards_in(found.group(2)), start=1))
        quotes.setdefault("deal", text)
        note("HAND %s" % ", ".join(card for _, card in hand))


def take_moves(text):
    """Takes my played cards out of my hand, as my moves' words tell them."""
    global me, hand
    for line in text.split("\n"):
        line = re.sub(r"^notification ", "", line.strip())
        move = re.match(r"^(.+?) (?:put|built|blocked|took|found) .*", line)
        if not move or line.endswith("the last cards"):
            continue
        card = re.search(r"(?:with|put) the (%s)" % CARD, line)
        if not card:
            continue
        mine = [h for h in hand if h[1] == card.group(1)]
        if mine and (me is None or move.group(1) == me):
            me = move.group(1)
            hand.remove(mine[0])
            quotes.setdefault("play and reply", text)


def heard_so_far(mark):
    for text in said_since(mark):
        take_deal(text)
        take_moves(text)


heard_upto = 0


def catch_up():
    global heard_upto
    heard_so_far(heard_upto)
    heard_upto = len(utterances())


def piles_by_ear():
    """Walks the pile row by the arrow keys; returns {column: [cards]} as spoken."""
    piles = {}

    def hear(said):
        """True when a pile was spoken: the focus moved (at the row's end it stays, silent)."""
        spoken = False
        for text in said:
            for name in re.finditer(r"Table pile (\d) \(key \d\): (.*?)(?:, build of|, block of|"
                                    r", selected|\.?$)", text, re.M):
                spoken = True
                piles[int(name.group(1))] = cards_in(name.group(2))
        return spoken
    # Up to the hand and down again: the pile the focus comes to is spoken,
    # even when the focus rested on the piles already.
    step("Up")
    hear(step("Down"))
    for _ in range(9):
        if not hear(step("Left")):
            break
    for _ in range(9):
        if not hear(step("Right")):
            break
    note("PILES %r" % piles)
    return piles


def take_myself(taken, card):
    """Chooses the piles holding `taken` by their keys, then plays `card`; False if it cannot."""
    slot = next((s for s, c in hand if c == card), None)
    piles = piles_by_ear()
    chosen = [column for column, cards in piles.items() if cards and set(cards) <= set(taken)]
    if slot is None or not chosen or sorted(sum((piles[c] for c in chosen), [])) != sorted(taken):
        note("TAKE by hint: the piles %r or the card %s not found by ear" % (piles, card))
        return False
    for column in chosen:
        said = step(str(column))
        text = " ".join(said)
        # The pile that has the focus already is told by its new state alone.
        if not re.search(r"Table pile %d .*selected|(^|\s)notification selected" % column, text):
            note("the pile %d was not told chosen: %r" % (column, text))
        quotes.setdefault("chosen pile", text)
    global seen
    mark = seen = len(utterances())
    key(SLOT_KEYS[slot - 1])
    if not listen(r"(^|\n|notification )%s took " % re.escape(me or "") if me else r" took ", mark):
        return answer_box(mark, "Take")
    return True


def answer_box(mark, wanted):
    """A box that opened after a key, told by its words: Choose Action, a message."""
    text = listen(r"dialog", mark, 4)
    if text and "Choose Action" in text:
        for _ in range(6):
            said = " ".join(said_since(mark))
            focused = re.findall(r"(Take|Build|Block|Put|Cancel) push button", said)
            if focused and focused[-1] == wanted:
                step("space", window="Choose Action")
                return True
            mark = len(utterances())
            key("Tab", window="Choose Action")
            pump(0.5)
            quiet()
        # Told that the card can only be put: the piles were not the right ones.
        note("Choose Action offers no %s: cancelled" % wanted)
        step("Escape", window="Choose Action")
        return False
    return text is not None


# --- the game: my turns until a box says the game is won ----------------------------------------
quiet()
catch_up()
# Once: the cards not yet seen, by their button (Tab, Tab), expanded and collapsed again.
step("Tab")
said = step("Tab")
said += step("space")
said += step("space")
quotes["cards not yet seen"] = " / ".join(said)
if not any("expanded" in text for text in said) or not any("collapsed" in text for text in said):
    note("the button's state was not spoken: %r" % said)
step("shift+Tab")
step("shift+Tab")
turns = 0
finished = None
BOXES = r"Continue Game dialog|New Game dialog|won the game"
seen = len(utterances())  # the speech after my last move: a box may have opened after it
while finished is None:
    if program.poll() is not None:
        fail("the program ended during the game")
    quiet()
    catch_up()
    mark = seen
    text = listen(BOXES, seen, 0.1)
    if text is None:
        mark = len(utterances())
        key("question")
        text = listen(r"Hint dialog|" + BOXES, mark, 6)
    if text is None:
        # Nothing told: whose turn, or which box, speech did not say.
        box = dialog()
        look("after ? nothing was spoken; the tree shows %s, my turn: %s"
             % (box.name if box else "no box", my_turn()))
        if box is None:
            pump(1)
            continue
        text = box.name + " dialog"
    quiet()
    if "Continue Game" in text:
        rounds.append(" ".join(said_since(mark)))
        quotes.setdefault("end of round", rounds[-1])
        seen = len(utterances())
        key("Return", window="Continue Game")
        # As a listener would: the next key waits for the new round to be told.
        if not listen(r"New round: you hold", seen, 8):
            note("the new round was not told within 8 s")
        continue
    if "won the game" in text or "New Game dialog" in text:
        finished = " ".join(said_since(mark))
        quotes["end of game"] = finished
        key("Escape", window="New Game")
        break
    hint = " ".join(said_since(mark)).replace("\n", " ")
    move = re.search(r"recommends this move: (.*?)(?: It wins .*?)? Would you like", hint)
    words = move.group(1) if move else ""
    turns += 1
    note("TURN %d: hint %r" % (turns, words))
    catch_up()
    # A take whose cards the hint names one by one is made by hand; one that
    # counts them ("5 cards, the ace of clubs among them") is accepted.
    took = re.match(r"Take (the .*) with the (%s)\." % CARD, words)
    if took:
        key("Escape", window="Hint")
        pump(0.5)
        quiet()
        if take_myself(cards_in(took.group(1)), took.group(2)):
            continue
        mark = len(utterances())
        key("question")
        if not listen(r"Hint dialog", mark, 6):
            look("the hint asked again was not heard; a box: %s" % (dialog() and dialog().name))
            continue
        quiet()
    mark = seen = len(utterances())
    key("Return", window="Hint")
    answer_box(mark, "Put")

quiet()
catch_up()
# --- the Hall of Fame, by ear ---------------------------------------------------------------------
mark = len(utterances())
key("F4")
pump(1)
quiet()
# OK has the focus; before it come the rows: the first, then the next two.
step("shift+Tab", window="Hall of Fame")
for _ in range(2):
    step("Down", window="Hall of Fame")
quotes["hall of fame"] = " / ".join(said_since(mark))
step("Escape", window="Hall of Fame")
exit_game(program)
note("GAME OVER after %d of my turns; looks: %d" % (turns, len(looks)))
for kind, text in quotes.items():
    note("QUOTE %s: %s" % (kind, text.replace("\n", " / ")))
for why in looks:
    note("LOOKED: " + why)
print("PASS")
