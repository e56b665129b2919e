#!/bin/bash
# A blind player's game: the real screen reader Orca, speaking through
# speech-dispatcher into a file instead of a sound card, plays the roads
# ROAD... by keyboard alone (orca_test.py), one after the other, in a
# Japanese session (ja_JP.UTF-8) on a private X server and session bus:
# under openbox until a transcript asks for no window manager ("@ no window
# manager"). Each road's transcript is FOLDER/VERSION/ROAD.txt, in the words
# of the installed Orca's major version.
#
#   orca_test.sh GAME FOLDER ROAD...
TEST_NAME=orca
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -lt 3 ]; then
    echo "usage: $0 GAME FOLDER ROAD..." >&2
    exit 2
fi
game=$1
folder=$2
shift 2
need Xvfb xdotool xdpyinfo dbus-daemon openbox orca speech-dispatcher localedef
# Each release of Orca names roles and frames in words of its own, which is
# no fault of the game: the transcripts are kept for each major version of
# Orca that a supported release ships (43 in Debian 12, 48 in Debian 13, 51
# in testing). An Orca with none is skipped (status 77) rather than failed.
orca_release=$(dpkg-query -W -f='${Version}' orca 2>/dev/null | cut -d. -f1)
if [ ! -d "$folder/$orca_release" ]; then
    echo "SKIP: no transcripts in the words of Orca ${orca_release:-(none installed)}"
    exit 77
fi
[ -f /usr/share/i18n/locales/ja_JP ] || fail "the locales package is not installed"
[ -x /usr/lib/speech-dispatcher-modules/sd_generic ] || fail "speech-dispatcher's generic module is not installed"
[ -x /usr/libexec/at-spi-bus-launcher ] || fail "at-spi2-core is not installed"

start_xvfb 1280x1024
private_home
start_session_bus
# The player holds each key until Orca has heard it (orca_test.py): no key
# repeats on this display, however long a busy machine keeps it down.
/usr/bin/python3 -c '
import ctypes
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
display = x.XOpenDisplay(None)
x.XAutoRepeatOff(ctypes.c_void_p(display))
x.XCloseDisplay(ctypes.c_void_p(display))
' || fail "key repeat could not be turned off"

# A Japanese player's session: the locale is made here, in the test's own
# folder, where the system has not generated it.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
    mkdir -p "$work/locale"
    localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" >"$work/localedef.log" 2>&1 ||
        fail "the locale ja_JP.UTF-8 could not be made"
    export LOCPATH=$work/locale
fi
# (The shell itself keeps its own locale: it takes no LOCPATH.)
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 2>/dev/null

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
poll 10000 wm_running || fail "openbox did not start"

# Orca starts beside any other Orca, tells when it is idle and marks its
# echoes of keys (orca_start.py). A stand-in named orca checks that no other
# Orca is harmed.
cp "$(command -v sleep)" "$work/orca"
"$work/orca" 3600 &
bystander=$!
started+=($bystander)
export ORCA_STATE=$work/orca-state ORCA_KEYS=$work/orca-keys
said_more_than() { [ "$(wc -l <"$spoken")" -gt "$1" ]; }
start_orca() {
    local said
    said=$(wc -l <"$spoken")
    rm -f "$ORCA_STATE" "$ORCA_KEYS"
    /usr/bin/python3 "$DESKTOP_TESTS/orca_start.py" >>"$work/orca.log" 2>&1 &
    orca_pid=$!
    started+=($orca_pid)
    # Orca takes seconds to start, more on a busy machine; it says that it
    # is on.
    poll 90000 said_more_than "$said" || fail "Orca did not start speaking"
    [ -s "$ORCA_STATE" ] || fail "Orca did not start with the changes that tell when it is idle"
}
stop_orca() {
    kill "$orca_pid"
    wait "$orca_pid" 2>/dev/null
}

suppress_reader_key_copies

# Each road with an Orca of its own: what Orca 48 keeps of the objects it
# met outlives them, and it read a new game's name prompt with the text of
# the game before's message box. (A player is not on a new road seconds
# after the last.)
export WORK=$work SPOKEN=$spoken
for road in "$@"; do
    transcript=$folder/$orca_release/$road.txt
    if grep -q "^@ no window manager" "$transcript" && running "$openbox_pid"; then
        kill "$openbox_pid"
        wait "$openbox_pid"
    fi
    start_orca
    /usr/bin/python3 "$DESKTOP_TESTS/orca_test.py" "$game" "$transcript" ||
        fail "Orca did not say what $(basename "$transcript") says"
    stop_orca
done
running "$bystander" || fail "another Orca on the machine was ended"
# Orca asks about objects long gone (closed message boxes), Orca 48 by the
# thousand: none of it reaches the player's terminal.
if [ -s "$work/game.log" ]; then
    echo "the game printed $(wc -l <"$work/game.log") lines while Orca read it:" >&2
    sort "$work/game.log" | uniq -c | sort -rn | head -n 5 >&2
    fail "the game printed on its output while Orca read it"
fi
