#!/usr/bin/python3
"""The game as a screen reader meets it over AT-SPI (pyatspi): run by
atspi_test.sh on a private X server and session bus.

    atspi_test.py GAME

Listens to the events Orca presents a new window or alert through
(object:state-changed:showing on an object of role alert, window:activate),
plays START, the name prompt and the welcome message with xdotool, and reads
the accessible tree of the opening, of both dialogs and of the crossroads:
names and roles, what is showing, and that no button claims to control
another object ("controller for"). Prints one line per check passed; exits
1 at the first failure.
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

import accessible
from accessible import children, safe, showing, walk

TITLE = "ホシフルツルギ２"
PROMPT_TITLE = "ホシフルツルギⅡ"
WELCOME = "ようこそ!冒険の島へ!さあ旅の始まりです。"

game_path = sys.argv[1]
# Readers hear message boxes named by the game, not by the program file's
# name that their title bars show.
box_title = TITLE
events = []  # (type, detail1, role, name, texts of its labels)
failure = []
passed = 0
game = None


def fail(message):
    failure.append(message)
    pyatspi.Registry.stop()
    return False


def check(condition, message):
    global passed
    if not condition:
        raise AssertionError(message)
    passed += 1
    print("ok:", message, flush=True)


def label_texts(obj):
    return [safe(lambda: o.name, "") for o in walk(obj) if safe(lambda: o.getRole()) == pyatspi.ROLE_LABEL]


def on_event(event):
    source = event.source
    role = safe(lambda: source.getRole())
    texts = label_texts(source) if role == pyatspi.ROLE_ALERT else []
    events.append((event.type, event.detail1, role, safe(lambda: source.name, ""), texts))


def top_level(name, role):
    return accessible.top_level(os.path.basename(game_path), name, role)


def no_controllers(root, what):
    buttons = [o for o in walk(root) if safe(lambda: o.getRole()) == pyatspi.ROLE_PUSH_BUTTON]
    stray = []
    for button in buttons:
        for relation in safe(lambda: button.getRelationSet(), []):
            if relation.getRelationType() == pyatspi.RELATION_CONTROLLER_FOR:
                stray.append(safe(lambda: button.name, "?"))
    check(buttons and not stray,
          f"{what}: {len(buttons)} buttons, none is a controller for another object"
          + (f" (stray: {stray})" if stray else ""))


def xdotool(*args):
    accessible.run("xdotool", *args)


def main_window_id():
    return accessible.window_id(TITLE)


# Each step runs when the one before has seen what it waits for.
def waiting(condition, then, what, limit=10.0):
    deadline = time.monotonic() + limit

    def tick():
        try:
            result = condition()
            if result:
                then(result)
                return False
            if time.monotonic() > deadline:
                return fail(f"timed out waiting for {what}")
            return True
        except Exception as error:  # a failed check ends the test
            return fail(str(error))

    GLib.timeout_add(50, tick)


def opening(frame):
    check(safe(lambda: frame.getRole()) == pyatspi.ROLE_FRAME, f"the window is a frame named {TITLE}")
    shown = [(safe(lambda: o.getRole()), safe(lambda: o.name)) for o in children(frame) if showing(o)]
    check(shown == [(pyatspi.ROLE_LABEL, "ホシフルツルギⅡ"), (pyatspi.ROLE_PUSH_BUTTON, "START")],
          f"at start the title label and START are on screen, nothing else: {shown}")
    hidden = [o for o in children(frame) if not showing(o)]
    check(len(hidden) == 52, f"the 52 hidden scenes are in the tree, not showing ({len(hidden)})")
    no_controllers(frame, "the opening")
    xdotool("mousemove", "--window", main_window_id(), "53", "136", "click", "1")
    waiting(lambda: top_level(PROMPT_TITLE, pyatspi.ROLE_DIALOG), prompt, "the name prompt")


def prompt(dialog):
    fields = [o for o in walk(dialog) if safe(lambda: o.getRole()) == pyatspi.ROLE_TEXT]
    check(len(fields) == 1 and safe(lambda: fields[0].name) == "名前を教えてちょ",
          "the name prompt holds one text field, named by the prompt")
    no_controllers(dialog, "the name prompt")
    del events[:]
    xdotool("key", "Return")
    waiting(alert_event, message_box, "the alert event of the welcome message")


def alert_event():
    for kind, detail, role, name, texts in events:
        if kind == "object:state-changed:showing" and detail == 1 and role == pyatspi.ROLE_ALERT:
            return name, texts
    return None


def message_box(found):
    name, texts = found
    check(name == box_title and WELCOME in texts,
          f"object:state-changed:showing came from an alert named {box_title} reading the message")
    waiting(lambda: any(k == "window:activate" and r == pyatspi.ROLE_ALERT for k, _, r, _, _ in events),
            lambda _: activated(), "window:activate of the message box")


def activated():
    check(True, "window:activate came from the alert")
    box = top_level(box_title, pyatspi.ROLE_ALERT)
    check(box is not None, "the message box is a top-level alert of the game")
    no_controllers(box, "the message box")
    xdotool("key", "Return")
    waiting(crossroads_shown, crossroads, "the crossroads")


def crossroads_shown():
    frame = top_level(TITLE, pyatspi.ROLE_FRAME)
    if not frame:
        return None
    shown = [o for o in children(frame) if showing(o)]
    return frame if [safe(lambda: o.name) for o in shown] == ["分かれ道"] else None


def crossroads(frame):
    scene = [o for o in children(frame) if showing(o)][0]
    roles = {safe(lambda: o.getRole()) for o in walk(scene)}
    check(pyatspi.ROLE_LIST in roles and pyatspi.ROLE_PUSH_BUTTON in roles,
          f"the crossroads is a panel with its list and its OK button: {roles}")
    no_controllers(frame, "the crossroads")
    pyatspi.Registry.stop()


def start():
    global game
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    log = open(os.path.join(os.environ.get("WORK", "/tmp"), "game.log"), "w")
    game = subprocess.Popen([game_path], env=env, stdout=log, stderr=log)
    waiting(lambda: top_level(TITLE, pyatspi.ROLE_FRAME), opening, "the game's window in the tree")
    return False


for kind in ("object:state-changed:showing", "window:activate"):
    pyatspi.Registry.registerEventListener(on_event, kind)
GLib.timeout_add(0, start)
GLib.timeout_add_seconds(60, lambda: fail("the test took longer than 60 s"))
pyatspi.Registry.start()
if game:
    # Keys reach a listening screen reader through the registry and come
    # back; the game ends once the last of them is answered.
    time.sleep(0.5)
    game.terminate()
    try:
        status = game.wait(5)
    except subprocess.TimeoutExpired:
        game.kill()
        failure.append("the game did not end on SIGTERM")
        status = None
    if not failure and status != 0:
        failure.append(f"after SIGTERM the game ended with status {status}")
if failure:
    print("FAIL:", failure[0], file=sys.stderr)
    sys.exit(1)
print(f"{passed} checks passed")
