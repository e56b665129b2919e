#!/usr/bin/python3
"""The English translation matches the game's code, text for text.

    check_translations.py LUPDATE TS_FILE SOURCE_DIR...

lupdate reads the code into a copy of TS_FILE, as the update_translations
target does. In the copy, every text must have its finished English (a new
or changed Japanese text comes back unfinished), nothing may be left over
(a text gone from the code comes back vanished or obsolete), and a text
that names the player (its "%1") must name the player once in English too.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree


def main():
    lupdate, ts_file, sources = sys.argv[1], sys.argv[2], sys.argv[3:]
    with tempfile.TemporaryDirectory() as work:
        copy = os.path.join(work, os.path.basename(ts_file))
        shutil.copyfile(ts_file, copy)
        run = subprocess.run([lupdate, "-locations", "none", "-no-ui-lines", *sources,
                              "-ts", copy], capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout + run.stderr)
            return 1
        root = ElementTree.parse(copy).getroot()
    problems = []
    texts = 0
    for context in root.iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            texts += 1
            source = message.findtext("source")
            translation = message.find("translation")
            state = translation.get("type")
            english = translation.text or ""
            where = f"{name}: {source!r}"
            if state in ("vanished", "obsolete"):
                problems.append(f"{where} is no longer in the code")
            elif state == "unfinished" or not english:
                problems.append(f"{where} has no English")
            elif source.count("%1") != english.count("%1"):
                problems.append(f"{where} names the player {english.count('%1')} times in English")
    print(f"{texts} texts")
    for problem in problems:
        print(problem)
    return 1 if problems or texts == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
