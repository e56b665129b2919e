#!/usr/bin/python3
"""Plays the game by keyboard alone while Orca speaks into a file, and
compares what Orca said with transcripts: run by orca_test.sh.

    orca_test.py GAME TRANSCRIPT
    ORCA_RECORD=FOLDER orca_test.py GAME TRANSCRIPT   (writes a draft)

A transcript is one play from the game's start to its end. Lines starting
with "#" are comments. "> key KEYS..." presses keys and "> type TEXT" types
text (xdotool); every other line is one utterance, and the utterances under a
key line are what Orca says after it, before the next key. The lines before
the first key line are said when the game starts. (A line "@ no window
manager" tells orca_test.sh to end the window manager before this play.)

Each key is pressed once everything said before it has been said and Orca is
done with what brought it (ORCA_STATE says "idle": orca_start.py), so no
utterance is cut off by the next key and no key changes what Orca is still
reading. ("> type" types its whole text at once: a character that brings more
than its echo gets a line of its own, or the next one cuts it short.) Orca's
echo of a key's name (an utterance ending in a blank) is left out on both
sides: what the key brings may cut it short. Utterances are compared in
Unicode's compatibility form (the speech server hands on full-width letters as
their plain forms) without trailing blanks. Every transcript must also hold no
utterance twice in a row (but for what a review key on the keypad reads again
on the player's request) nor twice after one key, and every message box's text
of its road exactly once, in the story's order: the texts the same road's
transcript for Orca 43 reads after each "alert" (FOLDER/43/ROAD.txt beside
FOLDER/VERSION/). Where the transcript has none, Orca may name the game's
window (heard_of). Exits 1 at the first difference.
"""
import os
import subprocess
import sys
import time
import unicodedata

STEP_SECONDS = 30  # for Orca to say what one key brings, on a busy machine
WINDOW = "ホシフルツルギ2"  # the window's title, as compared
HOLD_SECONDS = 3  # for Orca to hear a key on a busy machine (keys do not repeat)
spoken_path = os.environ["SPOKEN"]
state_path = os.environ["ORCA_STATE"]


def plain(line):
    return unicodedata.normalize("NFKC", line).rstrip()


def spoken():
    """What Orca has said so far, without its echoes of keys."""
    with open(spoken_path, encoding="utf-8", errors="replace") as log:
        return [plain(line) for line in log.read().split("\n")[:-1] if not line.endswith(" ")]


def idle():
    with open(state_path, encoding="utf-8") as state:
        return state.read() == "idle"


def read_transcript(path):
    """The play as steps (action, utterances), the first without an action."""
    steps = [(None, [])]
    with open(path, encoding="utf-8") as transcript:
        for number, line in enumerate(transcript, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("@ "):
                continue
            if line.startswith("> "):
                steps.append(((number, line[2:].split(" ", 1)), []))
            elif line.startswith("? "):
                steps[-1][1].append("? " + plain(line[2:]))
            else:
                steps[-1][1].append(plain(line))
    return steps


def fail(message):
    print("FAIL:", message, file=sys.stderr, flush=True)
    sys.exit(1)


def story_lines(path):
    """The message boxes' texts on the road: in Orca 43's words, the line
    after each alert's role ("alert", or in a Japanese session "警告") and
    name."""
    lines = [line for _, step in read_transcript(path) for line in step]
    return [sentence(text) for alert, text in zip(lines, lines[1:])
            if alert.startswith(("alert ", "警告 "))]


def sentence(line):
    """A line without the full stop Orca 43 adds where a sentence has none."""
    return line[:-1] if line.endswith(".") else line


def check_story(path):
    """Fails unless the transcript reads every message box's text of its road
    once, in order (a text left out or read twice is a fault of the game,
    whatever the release's Orca says around it)."""
    reference = os.path.join(os.path.dirname(os.path.dirname(path)), "43",
                             os.path.basename(path))
    story = story_lines(reference)
    if not story:
        fail(f"{reference} reads no message box")
    texts = set(story)
    read = [sentence(line) for _, step in read_transcript(path) for line in step
            if sentence(line) in texts]
    if read != story:
        first = next((i for i, (a, b) in enumerate(zip(read, story)) if a != b),
                     min(len(read), len(story)))
        fail(f"{path} reads the message boxes' texts\n    "
             + "\n    ".join(read[first:first + 3])
             + "\n  where the story has\n    " + "\n    ".join(story[first:first + 3]))


def keys_heard():
    """How many key events Orca 48 or later has handled (orca_start.py), or
    None for Orca 43."""
    try:
        with open(os.environ["ORCA_KEYS"], encoding="utf-8") as keys:
            return int(keys.read())
    except FileNotFoundError:
        return None


def press(keys):
    """Presses and releases each key. Orca 48 and later take keys from the X
    server beside the game: each key is held until Orca has handled it, as
    a person's finger holds it for a moment; pressed and released at once,
    a key that acts when released (Space on a button) opened the name prompt
    before Orca had heard it, and Orca took the prompt's field for its own
    without reading it. (Orca 43 hears each key from the game before the
    game acts on it.)"""
    if keys_heard() is None:
        subprocess.run(["xdotool", "key", "--delay", "0"] + keys, check=True, timeout=10)
        return
    for key in keys:
        before = keys_heard()
        subprocess.run(["xdotool", "keydown", key], check=True, timeout=10)
        deadline = time.monotonic() + HOLD_SECONDS
        while keys_heard() == before and time.monotonic() < deadline:
            time.sleep(0.01)
        subprocess.run(["xdotool", "keyup", key], check=True, timeout=10)


def names_window(line):
    """Whether an utterance names the game's window (its title, with or
    without Orca's word for a frame), not a message box."""
    return line.startswith(WINDOW) and not line.startswith(("alert ", "警告 ")) \
        and line.split(" ")[0] == WINDOW


def heard_of(heard, expected):
    """What Orca said, as far as it goes along the transcript, where Orca
    names the game's window or not, or in other words, as the transcript
    has it: on a busy machine Orca names the window again when the focus
    passes through it between two message boxes (Orca 43 adding how many
    dialogs are open), or names it as a window met again. A transcript line
    "? TEXT" is one that Orca may leave out: Orca 48 takes keys from the X
    server beside the game, and where it handles a key after the game has
    acted on it, it takes the new focus for its own without reading it."""
    kept, index = [], 0
    while index < len(heard):
        line = heard[index]
        want = expected[len(kept)] if len(kept) < len(expected) else None
        if want and want.startswith("? ") and line != want[2:]:
            kept.append(want)  # Orca left it out
            continue
        if want and want.startswith("? "):
            want = want[2:]
        then = expected[len(kept) + 1] if len(kept) + 1 < len(expected) else None
        if line == want or (want and names_window(line) and names_window(want)):
            kept.append(expected[len(kept)])
        elif want and names_window(want) and line == then:
            kept += [want, line]
        elif names_window(line):
            if index + 1 < len(heard) and heard[index + 1].strip() == "unfocused dialog.":
                index += 1
        else:
            kept.append(line)
        index += 1
    while len(kept) < len(expected) and expected[len(kept)].startswith("? ") and \
            kept == expected[:len(kept)]:
        kept.append(expected[len(kept)])  # left out at the end of what Orca said
    return kept


def play(game, path):
    name = os.path.basename(path)
    check_story(path)
    steps = read_transcript(path)
    # Orca's review keys (the keypad) read again what is on screen on the
    # player's request: what they read may repeat what was said.
    said = []
    for action, lines in steps:
        review = action and action[1][0] == "key" and action[1][1].startswith("KP_")
        for index, line in enumerate(lines):
            if said and said[-1] == line and not (review and index == 0):
                fail(f"{name} itself has {line!r} twice in a row")
            if line in lines[:index]:
                fail(f"{name} itself has {line!r} twice after one key")
            said.append(line)
    start = len(spoken())
    log = open(os.path.join(os.environ["WORK"], "game.log"), "a")
    game_process = subprocess.Popen([game], stdout=log, stderr=log)
    expected = []
    try:
        for action, lines in steps:
            where = "the start"
            if action:
                number, (verb, argument) = action
                where = f"line {number} ({verb} {argument})"
                if verb == "key":
                    press(argument.split())
                else:
                    subprocess.run(["xdotool", "type", "--delay", "20", argument], check=True,
                                   timeout=10)
            expected += lines
            deadline = time.monotonic() + STEP_SECONDS
            while (len(heard_of(spoken()[start:], expected)) < len(expected) or not idle()) \
                    and time.monotonic() < deadline:
                time.sleep(0.02)
            heard = heard_of(spoken()[start:], expected)
            if heard != expected:
                first = next((i for i, (a, b) in enumerate(zip(heard, expected)) if a != b),
                             min(len(heard), len(expected)))
                fail(f"{name}, after {where}: Orca said\n    "
                     + "\n    ".join(heard[max(0, first - 3):first + 6])
                     + "\n  where the transcript has\n    "
                     + "\n    ".join(expected[max(0, first - 3):first + 6]))
            if not idle():
                fail(f"{name}, after {where}: Orca was still busy {STEP_SECONDS} s later")
        try:
            status = game_process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            fail(f"{name}: the game did not end after the last key")
        if status != 0:
            fail(f"{name}: the game ended with status {status}")
    finally:
        if game_process.poll() is None:
            game_process.kill()
            game_process.wait()
    extra = heard_of(spoken()[start:], expected + ["(nothing more)"])[len(expected):]
    if extra:
        fail(f"{name}: Orca said more than the transcript: {extra}")
    print(f"ok: {name}: Orca said its {len(expected)} utterances, nothing else", flush=True)


def record(game, path, folder):
    """Plays the transcript's keys and writes what Orca says after each, once
    it has been quiet for a second, to FOLDER/NAME: a draft for a new
    transcript, to be read through before it is kept."""
    steps = read_transcript(path)
    start = len(spoken())
    log = open(os.path.join(os.environ["WORK"], "game.log"), "a")
    game_process = subprocess.Popen([game], stdout=log, stderr=log)
    out = []
    with open(path, encoding="utf-8") as transcript:
        out = [line.rstrip("\n") for line in transcript if line.startswith(("#", "@"))]
    for action, _ in steps:
        if action:
            number, (verb, argument) = action
            out.append(f"> {verb} {argument}")
            if verb == "key":
                press(argument.split())
            else:
                subprocess.run(["xdotool", "type", "--delay", "20", argument], check=True,
                               timeout=10)
        heard, quiet_since = len(spoken()), time.monotonic()
        deadline = time.monotonic() + STEP_SECONDS
        while time.monotonic() - quiet_since < 1 and time.monotonic() < deadline:
            time.sleep(0.05)
            if len(spoken()) != heard:
                heard, quiet_since = len(spoken()), time.monotonic()
        out += spoken()[start:]
        start = len(spoken())
    game_process.wait(timeout=20)
    with open(os.path.join(folder, os.path.basename(path)), "w", encoding="utf-8") as draft:
        draft.write("\n".join(out) + "\n")


if os.environ.get("ORCA_RECORD"):
    record(sys.argv[1], sys.argv[2], os.environ["ORCA_RECORD"])
else:
    play(sys.argv[1], sys.argv[2])
