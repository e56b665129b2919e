#!/usr/bin/python3
"""Starts the installed Orca (43, 48 or 51) for orca_test.sh, with three
changes that only the test needs:

- It starts beside any other Orca: "orca --replace" would end every Orca of
  the user on the machine (a player's own, another run of the test), and a
  plain "orca" refuses to start beside one. This Orca has a bus, a display
  and a home of its own, so the launcher's search for other Orcas is left
  out.
- The file ORCA_STATE says "busy" from an event's arrival in Orca's queue of
  events until the queue is empty again, then "idle": after Orca speaks, it
  goes on reading the game (what is selected in the text it has just named,
  say), and a key pressed in between changes what it finds.
- Orca's echo of a key ends in a blank, as Orca 43 says it, so that the test
  tells it from what the key brings: Orca 48 and later say a key's name
  without one, and a typed letter as a key or a character message.
- A key pressed does not stop Orca's speech (see below).
- Orca 48 and later count each key they have handled in the file ORCA_KEYS:
  they take keys from the X server beside the game, and the player holds a
  key until Orca has handled it, as a person's finger does (see
  orca_test.py).
"""
import os
import runpy
import sys

import gi

# Orca's modules are loaded here before its launcher's check for a desktop,
# which asks for GDK 3 as they do: one loaded without a version would load
# the newest, and that check would then fail.
gi.require_version("Gdk", "3.0")
sys.argv = ["orca"]
if os.environ.get("ORCA_DEBUG_FILE"):  # Orca's own log, for a developer
    sys.argv += ["--debug-file", os.environ["ORCA_DEBUG_FILE"]]
launcher = runpy.run_path("/usr/bin/orca", run_name="orca_launcher")

import speechd  # noqa: E402 (Orca's path is set up by its launcher)
from orca import event_manager, input_event, speechdispatcherfactory  # noqa: E402

state_path = os.environ["ORCA_STATE"]
told = None


def tell(state):
    global told
    if state != told:
        with open(state_path + ".new", "w") as out:
            out.write(state)
        os.replace(state_path + ".new", state_path)
        told = state


manager = event_manager.EventManager
if hasattr(manager, "_addToQueue"):  # Orca 43
    add_to_queue, dequeue = manager._addToQueue, manager._dequeue

    def _addToQueue(self, event, asyncMode):
        tell("busy")
        add_to_queue(self, event, asyncMode)

    def _dequeue(self):
        rerun = dequeue(self)
        if self._eventQueue.empty():
            tell("idle")
        return rerun

    manager._addToQueue, manager._dequeue = _addToQueue, _dequeue
else:  # Orca 48 and later log each object event as they queue it
    queue_println, dequeue = manager._queue_println, manager._dequeue_object_event

    def _queue_println(self, event, is_enqueue=True):
        if is_enqueue:
            tell("busy")
        queue_println(self, event, is_enqueue)

    def _dequeue_object_event(self):
        rerun = dequeue(self)
        if self._event_queue.empty():
            tell("idle")
        return rerun

    manager._queue_println = _queue_println
    manager._dequeue_object_event = _dequeue_object_event
tell("idle")

echoing = False


def echo(method):
    def speak_echo(self, *args, **kwargs):
        global echoing
        echoing = True
        try:
            return method(self, *args, **kwargs)
        finally:
            echoing = False
    return speak_echo


server = speechdispatcherfactory.SpeechServer
for name in ("speakKeyEvent", "speakCharacter", "speak_key_event", "speak_character"):
    if hasattr(server, name):
        setattr(server, name, echo(getattr(server, name)))

client = speechd.SSIPClient
speak = client.speak


def marked(text):
    if text.endswith("</speak>"):
        return text[:-len("</speak>")] + " </speak>"
    return text + " "


def speak_marked(self, text, *args, **kwargs):
    return speak(self, marked(text) if echoing else text, *args, **kwargs)


def key_or_char(method):
    def spoken(self, name):
        return speak(self, marked(name)) if echoing else method(self, name)
    return spoken


client.speak = speak_marked
client.key, client.char = key_or_char(client.key), key_or_char(client.char)

# A key pressed stops Orca's speech. Orca 48 and later take keys from the X
# server beside the game, and on a busy machine handle one only after the
# game has opened what the key brings: the key then cuts short what Orca has
# just begun to say of it. The test presses a key only once Orca has said
# everything before it, so that stop silences nothing it expects, but for
# what the key brings: it is left out.
keying = False


def present_key(present):
    def present_without_stop(self, *args, **kwargs):
        global keying
        keying = True
        try:
            return present(self, *args, **kwargs)
        finally:
            keying = False
    return present_without_stop


def stop_unless_keying(stop):
    def stop_speech(self, *args, **kwargs):
        if not keying:
            return stop(self, *args, **kwargs)
    return stop_speech


input_event.KeyboardEvent._present = present_key(input_event.KeyboardEvent._present)
server.stop = stop_unless_keying(server.stop)

try:  # Orca 48 and later
    from orca import input_event_manager
except ImportError:  # Orca 43 hears each key from the game, before the game acts on it
    input_event_manager = None
keys_heard = 0


def count_keys(process):
    def process_and_count(self, *args, **kwargs):
        global keys_heard
        try:
            return process(self, *args, **kwargs)
        finally:
            keys_heard += 1
            with open(os.environ["ORCA_KEYS"] + ".new", "w") as out:
                out.write(str(keys_heard))
            os.replace(os.environ["ORCA_KEYS"] + ".new", os.environ["ORCA_KEYS"])
    return process_and_count


if input_event_manager:
    manager = input_event_manager.InputEventManager
    manager.process_keyboard_event = count_keys(manager.process_keyboard_event)
    with open(os.environ["ORCA_KEYS"], "w") as out:
        out.write("0")

main = launcher["main"]
for name in ("otherOrcas", "other_orcas"):
    if name in main.__globals__:
        main.__globals__[name] = lambda: []
sys.exit(main())
