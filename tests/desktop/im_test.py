#!/usr/bin/python3
"""A Japanese name typed through fcitx5 with mozc, as im_test.sh sets them
up: the keys "yuusha" are composed in the name field, Space converts them to
勇者, Enter commits that; Enter again confirms the prompt, and on the north
road the villager's "move on" is told with 勇者 as the player's name. The texts are read over
AT-SPI.

    im_test.py GAME LOG
"""
import os
import subprocess
import sys
import time

import pyatspi

from accessible import app, children, message_box_title, run, safe, showing, top_level, wait, \
    walk, window_id

TITLE = "ホシフルツルギ２"
PROMPT_TITLE = "ホシフルツルギⅡ"
NAME = "勇者"
WALK = NAME + "は先に進むためしばらく歩いた。"


def field_text(dialog):
    for obj in walk(dialog):
        if safe(lambda: obj.getRole()) == pyatspi.ROLE_TEXT:
            text = obj.queryText()
            return text.getText(0, text.characterCount)
    return None


def alert_text(game_name):
    found = app(game_name)
    for window in children(found) if found else []:
        if safe(lambda: window.getRole()) == pyatspi.ROLE_ALERT and showing(window):
            return " ".join(safe(lambda: o.name, "") for o in walk(window)
                            if safe(lambda: o.getRole()) == pyatspi.ROLE_LABEL)
    return None


def main():
    game_path, log = sys.argv[1], sys.argv[2]
    game_name = os.path.basename(game_path)
    env = dict(os.environ, QT_IM_MODULE="fcitx", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    out = open(log, "w")
    game = subprocess.Popen([game_path], env=env, stdout=out, stderr=out)
    try:
        wait("the game's window", lambda: top_level(game_name, TITLE, pyatspi.ROLE_FRAME))
        main_window = wait("the game's X window", lambda: window_id(TITLE))
        run("xdotool", "mousemove", "--window", main_window, "53", "136", "click", "1")
        dialog = wait("the name prompt",
                      lambda: top_level(game_name, PROMPT_TITLE, pyatspi.ROLE_DIALOG))
        prompt_window = wait("the prompt's X window", lambda: window_id(PROMPT_TITLE))
        run("xdotool", "windowfocus", "--sync", prompt_window)
        # The field has the focus: switch its input method to mozc.
        wait("mozc in the name field",
             lambda: subprocess.run(["fcitx5-remote", "-s", "mozc"]).returncode == 0
             and subprocess.run(["fcitx5-remote", "-n"], capture_output=True,
                                text=True).stdout.strip() == "mozc")
        run("xdotool", "type", "--delay", "40", "yuusha")
        # The text being composed replaces the selected default, and shows
        # only as preedit until it is committed (mozc's server may take a
        # moment to start on the first key).
        try:
            wait("the composition to replace the default", lambda: field_text(dialog) == "")
        except SystemExit:
            raise SystemExit(f"FAIL: while composing, the field holds {field_text(dialog)!r}")
        run("xdotool", "key", "space")
        time.sleep(0.3)
        run("xdotool", "key", "Return")
        committed = wait("the committed name", lambda: field_text(dialog) == NAME and NAME)
        print(f"ok: mozc committed {committed} into the name field")
        run("xdotool", "key", "Return")
        wait("the welcome message", lambda: alert_text(game_name))
        box = message_box_title(game_path)
        box_window = wait("the message box's X window", lambda: window_id(box))
        run("xdotool", "windowfocus", "--sync", box_window, "key", "Return")
        wait("the crossroads", lambda: alert_text(game_name) is None)
        # North, the villager, "talk", his advice, "move on": the walk on is
        # told with the player's name. (Places in the window, from the rows.)
        steps = [("click", "92", "208"), ("click", "97", "248"), ("Return",),
                 ("click", "112", "100"), ("Down",), ("click", "101", "264"),
                 ("click", "105", "252")]
        told = None
        for step in steps:
            if step[0] == "click":
                run("xdotool", "mousemove", "--window", main_window, step[1], step[2], "click", "1")
            elif step[0] == "Return":
                wait("a message box", lambda: alert_text(game_name))
                run("xdotool", "windowfocus", "--sync", wait("its X window", lambda: window_id(box)),
                    "key", "Return")
                wait("the message box to close", lambda: alert_text(game_name) is None)
            else:
                run("xdotool", "key", step[0])
            time.sleep(0.2)
        told = wait("the walk on", lambda: alert_text(game_name))
        if WALK not in told:
            raise SystemExit(f"FAIL: the walk on is told as {told!r}, not {WALK!r}")
        print(f"ok: the story names the player {NAME}: {WALK}")
    finally:
        # Keys reach the screen reader's registry and come back; the game
        # ends once the last of them is answered.
        time.sleep(0.5)
        game.terminate()
        try:
            game.wait(5)
        except subprocess.TimeoutExpired:
            game.kill()
    print("2 checks passed")


main()
