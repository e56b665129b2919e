#!/bin/bash
# A blind player's game: the real screen reader Orca, speaking through
# speech-dispatcher into a file instead of a sound card, plays the roads
# written in TRANSCRIPT... by keyboard alone (orca_test.py), one after the
# other, on a private X server and session bus: under openbox until a
# transcript asks for no window manager ("@ no window manager").
#
#   orca_test.sh GAME TRANSCRIPT...
TEST_NAME=orca
source "$(dirname "$0")/lib.sh"

if [ $# -lt 2 ]; then
    echo "usage: $0 GAME TRANSCRIPT..." >&2
    exit 2
fi
game=$1
shift
need Xvfb xdotool xdpyinfo dbus-daemon openbox orca speech-dispatcher
# The transcripts are what Orca 43 (Debian 12) says, word for word; other
# releases of Orca name roles and frames in other words, which is no fault
# of the game. Elsewhere the test is skipped (status 77) rather than failed.
orca_release=$(dpkg-query -W -f='${Version}' orca 2>/dev/null | cut -d. -f1)
if [ "$orca_release" != 43 ]; then
    echo "SKIP: the transcripts are in Orca 43's words; this machine has Orca ${orca_release:-none}"
    exit 77
fi
[ -x /usr/lib/speech-dispatcher-modules/sd_generic ] || fail "speech-dispatcher's generic module is not installed"
[ -x /usr/libexec/at-spi-bus-launcher ] || fail "at-spi2-core is not installed"

start_xvfb 1280x1024
private_home
start_session_bus

# Speech: every utterance becomes one line of $work/spoken.txt, in the order
# Orca speaks them. The audio output is ALSA's null device: the module plays
# nothing, but speech-dispatcher will not start without an audio output.
spoken=$work/spoken.txt
: >"$spoken"
mkdir -p "$work/speechd/modules"
cat >"$work/speechd/speechd.conf" <<EOF
AddModule "log" "sd_generic" "log.conf"
DefaultModule log
LanguageDefaultModule "en" "log"
LanguageDefaultModule "ja" "log"
AudioOutputMethod "alsa"
AudioALSADevice "null"
LogLevel 3
LogDir "$work"
EOF
cat >"$work/speechd/modules/log.conf" <<EOF
GenericExecuteSynth "printf '%s\\\\n' \'\$DATA\' >> $spoken"
GenericMaxChunkLength 100000
GenericDelimiters "\x01"
AddVoice "en" "MALE1" "log"
AddVoice "ja" "MALE1" "log"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "ja" "ja" "utf-8"
EOF
speech-dispatcher --run-single --timeout 0 --config-dir "$work/speechd" \
    >"$work/speechd-run.log" 2>&1 &
started+=($!)
poll 10000 test -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ||
    fail "speech-dispatcher did not start"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
openbox_pid=$!
started+=($openbox_pid)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
poll 10000 wm_running || fail "openbox did not start"

# After Orca speaks, it goes on reading the game (what is selected in the
# text it has just named, say), and a key pressed in between changes what it
# finds. So the player waits for Orca to be done: Orca runs its user's
# customizations at start, and these keep $work/orca-state at "busy" from an
# event's arrival until Orca's queue of events is empty again, then at "idle".
mkdir -p "$HOME/.local/share/orca"
cat >"$HOME/.local/share/orca/orca-customizations.py" <<EOF
import os
from orca import event_manager

manager = event_manager.EventManager
add_to_queue, dequeue = manager._addToQueue, manager._dequeue
told = None


def tell(state):
    global told
    if state != told:
        with open("$work/orca-state.new", "w") as out:
            out.write(state)
        os.replace("$work/orca-state.new", "$work/orca-state")
        told = state


def _addToQueue(self, event, asyncMode):
    tell("busy")
    add_to_queue(self, event, asyncMode)


def _dequeue(self):
    rerun = dequeue(self)
    if self._eventQueue.empty():
        tell("idle")
    return rerun


manager._addToQueue, manager._dequeue = _addToQueue, _dequeue
tell("idle")
EOF

# "orca --replace" would kill every other Orca of this user on the machine (a
# player's own screen reader, another run of this test), and a plain "orca"
# refuses to start beside one. This Orca has a bus, a display and a home of
# its own, so it starts beside any other: the launcher's search for other
# Orcas is left out. A stand-in named orca checks that none is harmed.
cp "$(command -v sleep)" "$work/orca"
"$work/orca" 3600 &
bystander=$!
started+=($bystander)
/usr/bin/python3 - >"$work/orca.log" 2>&1 <<'EOF' &
import runpy
import sys

sys.argv = ["orca"]
launcher = runpy.run_path("/usr/bin/orca", run_name="orca_launcher")
launcher["main"].__globals__["otherOrcas"] = lambda: []
sys.exit(launcher["main"]())
EOF
started+=($!)
# Orca takes seconds to start, more on a busy machine.
poll 90000 grep -q "Screen reader on" "$spoken" || fail "Orca did not start speaking"
[ -s "$work/orca-state" ] || fail "Orca did not run the customizations that tell when it is idle"

suppress_reader_key_copies

export WORK=$work SPOKEN=$spoken ORCA_STATE=$work/orca-state
for transcript in "$@"; do
    if grep -q "^@ no window manager" "$transcript" && running "$openbox_pid"; then
        kill "$openbox_pid"
        wait "$openbox_pid"
    fi
    /usr/bin/python3 "$DESKTOP_TESTS/orca_test.py" "$game" "$transcript" ||
        fail "Orca did not say what $(basename "$transcript") says"
done
running "$bystander" || fail "another Orca on the machine was ended"
