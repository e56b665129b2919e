#!/usr/bin/python3
"""Drives a GNOME Shell session on the session bus as a player would.

    gnome.py windows            one line per window of the session's
                                applications: "ID W H FOCUS TITLE" (FOCUS 1
                                for the window with the keyboard)
    gnome.py shot FILE          the screen as a PNG file
    gnome.py no-overview        leaves the overview the shell opens in (at
                                once, or a few seconds after it starts);
                                status 0 once it is closed
    gnome.py serve IN OUT       runs the commands below, read one a line
                                from the named pipe IN, and answers each
                                with a line on the named pipe OUT ("ok", or
                                what went wrong), until ended:
        keys KEY...             presses and releases each key in turn; KEY is
                                an X keysym name, or names joined with "+"
                                for a chord (Alt_L+F4)
        type TEXT               types TEXT (Latin-1 letters)
        click X Y               the pointer to X Y of the screen, and a click
                                of the left button

Keys and the pointer go through one remote desktop session, whose virtual
keyboard and pointer are the only ones a headless shell's seat has: a
session for each command would make a new keyboard each time, and the
first key of each would be lost.

The window list is the shell's introspection interface, which answers only
the bus names it trusts: this program takes one of them first (the test's
session bus is its own). Keys and the pointer go through Mutter's remote
desktop interface.
"""
import sys
import time

import dbus

TRUSTED_NAMES = (
    "org.freedesktop.impl.portal.desktop.gnome",
    "org.freedesktop.impl.portal.desktop.gtk",
    "org.gnome.Screenshot",
)
BTN_LEFT = 0x110
SCREEN = (1280, 800)  # the virtual monitor the tests start the shell with
KEYSYMS = {"Return": 0xFF0D, "Escape": 0xFF1B, "F4": 0xFFC1, "Alt_L": 0xFFE9,
           "Tab": 0xFF09, "space": 0x20, "Down": 0xFF54, "Up": 0xFF52,
           "BackSpace": 0xFF08, "super": 0xFFEB}


def trusted(bus):
    for name in TRUSTED_NAMES:
        bus.request_name(name, dbus.bus.NAME_FLAG_DO_NOT_QUEUE)


def windows(bus):
    trusted(bus)
    shell = bus.get_object("org.gnome.Shell", "/org/gnome/Shell/Introspect")
    found = shell.GetWindows(dbus_interface="org.gnome.Shell.Introspect")
    for wid, props in sorted(found.items()):
        title = str(props.get("title", "")).replace("\n", " ")
        print(int(wid), int(props.get("width", 0)), int(props.get("height", 0)),
              1 if props.get("has-focus") else 0, title)


def keysym(name):
    if name in KEYSYMS:
        return KEYSYMS[name]
    if len(name) == 1:
        return ord(name)
    sys.exit("unknown key: " + name)


class Remote:
    def __init__(self, bus):
        desktop = bus.get_object("org.gnome.Mutter.RemoteDesktop",
                                 "/org/gnome/Mutter/RemoteDesktop")
        path = desktop.CreateSession(dbus_interface="org.gnome.Mutter.RemoteDesktop")
        self.session = dbus.Interface(
            bus.get_object("org.gnome.Mutter.RemoteDesktop", path),
            "org.gnome.Mutter.RemoteDesktop.Session")
        self.session.Start()

    def key(self, sym, down):
        self.session.NotifyKeyboardKeysym(dbus.UInt32(sym), down)

    def chord(self, names):
        syms = [keysym(n) for n in names.split("+")]
        for sym in syms:
            self.key(sym, True)
            time.sleep(0.02)
        for sym in reversed(syms):
            self.key(sym, False)
            time.sleep(0.02)
        time.sleep(0.05)

    def click(self, x, y):
        # Relative motion is all that works without a screen cast stream:
        # pushed down and right, the pointer stops at the screen's corner
        # (the top-left one would open the overview). GNOME 48 drops a
        # motion that would leave the screen rather than stopping it at the
        # edge, so the pointer goes there in ever smaller steps.
        for step in (100.0, 10.0, 1.0):
            for _ in range(15):
                self.session.NotifyPointerMotionRelative(step, step)
        time.sleep(0.05)
        # To a pixel beside the target, then onto it: the window has the
        # pointer (GNOME 48 dropped a click that came with the pointer's
        # first motion over it).
        self.session.NotifyPointerMotionRelative(float(x - SCREEN[0]), float(y - SCREEN[1]))
        time.sleep(0.2)
        self.session.NotifyPointerMotionRelative(1.0, 1.0)
        time.sleep(0.2)
        self.session.NotifyPointerButton(BTN_LEFT, True)
        time.sleep(0.05)
        self.session.NotifyPointerButton(BTN_LEFT, False)
        time.sleep(0.05)


def shot(bus, path):
    trusted(bus)
    shell = bus.get_object("org.gnome.Shell", "/org/gnome/Shell/Screenshot")
    ok, _ = shell.Screenshot(False, False, path, dbus_interface="org.gnome.Shell.Screenshot")
    if not ok:
        sys.exit("no screenshot")


def run(remote, line):
    command, _, rest = line.partition(" ")
    if command == "keys":
        for names in rest.split():
            remote.chord(names)
    elif command == "type":
        for char in rest:
            remote.chord(char)
    elif command == "click":
        x, y = rest.split()
        remote.click(int(x), int(y))
    else:
        raise ValueError("unknown command: " + command)


def serve(remote, commands, answers):
    while True:
        with open(commands, encoding="utf-8") as pipe:
            lines = [line.rstrip("\n") for line in pipe]
        for line in lines:
            try:
                run(remote, line)
                answer = "ok"
            except (ValueError, dbus.DBusException) as error:
                answer = str(error).replace("\n", " ")
            with open(answers, "w", encoding="utf-8") as pipe:
                pipe.write(answer + "\n")


def main(argv):
    bus = dbus.SessionBus()
    command, args = argv[1], argv[2:]
    if command == "windows":
        windows(bus)
    elif command == "serve":
        serve(Remote(bus), args[0], args[1])
    elif command == "no-overview":
        shell = bus.get_object("org.gnome.Shell", "/org/gnome/Shell")
        props = dbus.Interface(shell, "org.freedesktop.DBus.Properties")
        if props.Get("org.gnome.Shell", "OverviewActive"):
            props.Set("org.gnome.Shell", "OverviewActive", False)
            return 1
    elif command == "shot":
        shot(bus, args[0])
    else:
        sys.exit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
