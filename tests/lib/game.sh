# Sourced by every test script that runs the real game or the build's
# programs: a work folder removed at the end, the processes a test started
# (ended at the end, by their ids), a private Xvfb, a private session bus,
# deadlines, failure reports, and what the game's windows are called.
#
# Before sourcing this file a test may set:
#   TEST_NAME         names its work folder and a failure's screenshot
#   WORK_DIR          a work folder of the caller's, used and left in place
#                     (else one is made in /tmp and removed at the end)
#   FAILURES=counted  a failure is counted and the test goes on to its next
#                     case, all_passed ends it (else a failure ends it)
# and, at any time, SHOT_DIR: where a failure leaves a picture of the screen.

set -u
set -o pipefail
export LC_ALL=C.UTF-8

TESTS=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
DESKTOP_TESTS=$TESTS/desktop
source "$TESTS/../tools/private-xvfb.sh"
source "$TESTS/wait.sh"

if [ -n "${WORK_DIR:-}" ]; then
    work=$WORK_DIR
    keep_work=yes
else
    work=$(mktemp -d "/tmp/hoshifuru2-${TEST_NAME:-desktop}.XXXXXX")
    chmod 755 "$work"
    keep_work=no
fi
started=()
at_exit=() # commands run first at the end, newest first
xvfb_pid=""
failures=0
passes=0

# Ends what the test started, newest first, then the X server.
cleanup() {
    local i pid
    for ((i = ${#at_exit[@]} - 1; i >= 0; i--)); do
        eval "${at_exit[$i]}"
    done
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        pid=${started[$i]}
        if kill -0 "$pid" 2>/dev/null; then
            kill -TERM "$pid" 2>/dev/null
            sleep 0.1
            kill -KILL "$pid" 2>/dev/null
        fi
        wait "$pid" 2>/dev/null
    done
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    [ "$keep_work" = yes ] && return
    # A test may have left folders read-only.
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT


# Ends the test with the failure, a picture of the screen (in SHOT_DIR) and
# the end of every log in the work folder. Under FAILURES=counted the failure
# is counted and the test goes on.
fail() {
    if [ "${FAILURES:-}" = counted ]; then
        echo "FAIL: $*" >&2
        failures=$((failures + 1))
        return 0
    fi
    stop "$@"
}

# Ends the test with the failure, whatever FAILURES says.
stop() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ] && [ -n "${SHOT_DIR:-}" ]; then
        local shot="$SHOT_DIR/${TEST_NAME:-desktop}-failure.png"
        timeout 10 import -silent -window root "png:$shot" 2>/dev/null && echo "the screen: $shot" >&2
    fi
    local log
    for log in "$work"/*.log; do
        [ -s "$log" ] || continue
        echo "--- $(basename "$log"):" >&2
        tail -n 15 "$log" >&2
    done
    exit 1
}

pass() {
    echo "ok: $*"
    passes=$((passes + 1))
}

# The end of a test of counted failures: the counts, and its status.
all_passed() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ] || exit 1
    exit 0
}

# Fails unless every named command is installed.
need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || stop "$tool is not installed (make test-deps installs it)"
    done
}

running() { kill -0 "$1" 2>/dev/null; }
not_running() { ! kill -0 "$1" 2>/dev/null; }
# Whether an X11 window manager has announced itself on the display.
wm_running() { timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Waits until the window manager frames new windows: a window manager
# announces itself before it is done starting, and openbox twice in some 20
# runs never framed the game's window mapped right after (most likely mapped
# in between). Probe windows (xmessage) are mapped, a new one each second,
# until one is framed (_NET_FRAME_EXTENTS); fails after ten.
wm_frames_windows() {
    local probe tries framed=1 id
    for tries in 1 2 3 4 5 6 7 8 9 10; do
        xmessage -title hoshifuru2-probe probe >/dev/null 2>&1 &
        probe=$!
        framed_probe() {
            for id in $(timeout 5 xdotool search --name '^hoshifuru2-probe$' 2>/dev/null); do
                timeout 5 xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q ' = ' && return 0
            done
            return 1
        }
        poll 1000 framed_probe && framed=0
        kill "$probe" 2>/dev/null
        wait "$probe" 2>/dev/null
        [ "$framed" -eq 0 ] && break
    done
    [ "$tries" -eq 1 ] || [ "$framed" -ne 0 ] || echo "the window manager framed the probe window of try $tries"
    return "$framed"
}

# A private X server of WIDTHxHEIGHT, answering before this returns.
start_xvfb() { # size
    start_private_xvfb "$work" "$1" || stop "Xvfb did not start"
    poll 5000 timeout 5 xdpyinfo >/dev/null 2>&1 || stop "display $DISPLAY does not answer"
}

# Sets found to a shown X window whose title matches the extended regular
# expression; fails when there is none.
found=""
find_window() { # title-pattern
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$found" ]
}

# The title of the game's message boxes, the application's name: the program
# file's name, cut at its first full stop, all but the first character in
# lower case.
message_box_title() { # program
    local name
    name=$(basename "$1")
    name=${name%%.*}
    printf '%s%s\n' "${name:0:1}" "$(printf '%s' "${name:1}" | tr '[:upper:]' '[:lower:]')"
}

# A private session bus; exports DBUS_SESSION_BUS_ADDRESS.
start_session_bus() {
    dbus-daemon --session --nofork --print-address=1 >"$work/bus-address" 2>"$work/bus.log" &
    started+=($!)
    poll 5000 test -s "$work/bus-address" || stop "the session bus did not start"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus-address")
    export DBUS_SESSION_BUS_ADDRESS
}

# No session bus: an address where none is, so that nothing tries to start one.
no_session_bus() {
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
}

# A runtime folder and a home of the test's own.
private_home() {
    mkdir -p -m 0700 "$work/runtime" "$work/home"
    export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home"
}

# In the sanitizer build, with a screen reader's bus listening: the leaks of
# Qt's key queue are not the game's (orca.supp).
suppress_reader_key_copies() {
    [[ ${LSAN_OPTIONS:-} == *suppressions=* ]] || return 0
    local suppressions=${LSAN_OPTIONS#*suppressions=}
    suppressions=${suppressions%%:*}
    cat "$suppressions" "$DESKTOP_TESTS/orca.supp" >"$work/lsan.supp"
    export LSAN_OPTIONS=${LSAN_OPTIONS/suppressions=$suppressions/suppressions=$work/lsan.supp}
}
