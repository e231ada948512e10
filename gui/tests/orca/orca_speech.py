"""What the tests with the screen reader share: the speech its voice wrote.

The voice writes each utterance after a record separator (\\036) and a unit
separator (\\037) once it was spoken to its end. Set `spoken_file` first."""
import re

from atspi_keys import pump, wait_for

spoken_file = None


def utterances():
    """What was spoken so far: (text, spoken to its end) per utterance."""
    with open(spoken_file, encoding="utf-8", errors="replace") as f:
        chunks = f.read().split("\036")[1:]
    return [(c.rstrip("\037"), c.endswith("\037")) for c in chunks]


def quiet(seconds=0.4):
    """Waits until the voice has finished and said nothing new for `seconds`."""
    def settled():
        said = utterances()
        if said and not said[-1][1]:
            return False
        pump(seconds)
        return len(utterances()) == len(said)
    wait_for("the screen reader to be quiet", settled, 20)


def heard(what, pattern, since, seconds=15):
    """Waits for an utterance after the first `since` that matches `pattern`; returns its text."""
    rule = re.compile(pattern)
    return wait_for(what, lambda: next(
        (text for text, _ in utterances()[since:] if rule.search(text)), None), seconds)


def lines_of(text):
    """The lines of one utterance, the role word of a notification taken off."""
    out = []
    for line in re.split(r"\n|\. ", text):
        line = re.sub(r"^notification ", "", line.strip()).rstrip(".")
        if line:
            out.append(line)
    return out
