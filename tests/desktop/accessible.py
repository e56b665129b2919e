"""What the Python tests that read the game over AT-SPI (pyatspi) share:
walking the accessible tree without tripping over objects that go away,
finding the game's top-level windows by name and role, and the X windows
xdotool drives them through.
"""
import os
import subprocess
import time

import pyatspi


def safe(call, default=None):
    """The call's result, or default when the object went away meanwhile."""
    try:
        return call()
    except Exception:
        return default


def children(obj):
    count = safe(lambda: obj.childCount, 0)
    return [c for c in (safe(lambda: obj.getChildAtIndex(i)) for i in range(count)) if c]


def walk(obj):
    yield obj
    for child in children(obj):
        yield from walk(child)


def role(obj):
    return safe(lambda: obj.getRole())


def showing(obj):
    return safe(lambda: obj.getState().contains(pyatspi.STATE_SHOWING), False)


def app(name):
    """The application of that name on the reader's desktop, or None."""
    for candidate in children(pyatspi.Registry.getDesktop(0)):
        if safe(lambda: candidate.name) == name:
            return candidate
    return None


def top_level(app_name, title, wanted_role):
    """The application's showing top-level window of that name and role."""
    found = app(app_name)
    for window in children(found) if found else []:
        if safe(lambda: window.name) == title and role(window) == wanted_role and showing(window):
            return window
    return None


def message_box_title(program):
    """The title bar of the game's message boxes: the program file's name,
    cut at its first full stop, all but the first character in lower case."""
    name = os.path.basename(program)
    return name[:1] + name[1:].split(".")[0].lower()


def run(*args):
    """Runs an X client (xdotool...) that may not wait for ever."""
    subprocess.run(["timeout", "10", *args], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def window_id(title):
    """The id of the shown X window of that exact title, or None."""
    out = subprocess.run(["timeout", "10", "xdotool", "search", "--onlyvisible", "--name",
                          f"^{title}$"], capture_output=True, text=True).stdout.split()
    return out[0] if out else None


def wait(what, condition, limit=15.0):
    """Polls the condition until it gives something true; ends the test
    with a failure line after limit seconds."""
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        found = condition()
        if found:
            return found
        time.sleep(0.05)
    raise SystemExit(f"FAIL: timed out waiting for {what}")
