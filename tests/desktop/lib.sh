# Sourced by the desktop tests: a work folder removed at the end, the
# processes a test started (ended at the end, by their ids), a private Xvfb,
# a private session bus, deadlines, and failure reports.
#
# Each test sets TEST_NAME before sourcing this file.

set -u
set -o pipefail
export LC_ALL=C.UTF-8

DESKTOP_TESTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$DESKTOP_TESTS/../../tools/private-xvfb.sh"
source "$DESKTOP_TESTS/../wait.sh"

work=$(mktemp -d "/tmp/hoshifuru2-${TEST_NAME:-desktop}.XXXXXX")
chmod 755 "$work"
started=()
xvfb_pid=""

# Ends what the test started, newest first, then the X server.
cleanup() {
    local i pid
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
    rm -rf "$work"
}
trap cleanup EXIT


fail() {
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

# Fails unless every named command is installed.
need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is not installed (make test-deps installs it)"
    done
}

# Polls "$@" every 20 ms until it succeeds or LIMIT milliseconds have passed.

running() { kill -0 "$1" 2>/dev/null; }
not_running() { ! kill -0 "$1" 2>/dev/null; }

# A private X server of WIDTHxHEIGHT, answering before this returns.
start_xvfb() { # size
    start_private_xvfb "$work" "$1" || fail "Xvfb did not start"
    poll 5000 timeout 5 xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY does not answer"
}

# A private session bus; exports DBUS_SESSION_BUS_ADDRESS.
start_session_bus() {
    dbus-daemon --session --nofork --print-address=1 >"$work/bus-address" 2>"$work/bus.log" &
    started+=($!)
    poll 5000 test -s "$work/bus-address" || fail "the session bus did not start"
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

# A private system bus (GNOME Shell will not start without one); exports
# DBUS_SYSTEM_BUS_ADDRESS. Anyone may own any name on it.
start_system_bus() {
    cat >"$work/system-bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$work/system-bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow receive_type="method_call"/>
    <allow send_type="method_return"/>
    <allow receive_type="method_return"/>
    <allow send_type="error"/>
    <allow receive_type="error"/>
    <allow send_type="signal"/>
    <allow receive_type="signal"/>
  </policy>
</busconfig>
CONF
    dbus-daemon --config-file="$work/system-bus.conf" --nofork --print-address=1 \
        >"$work/system-bus-address" 2>"$work/system-bus.log" &
    started+=($!)
    poll 5000 test -s "$work/system-bus-address" || fail "the system bus did not start"
    DBUS_SYSTEM_BUS_ADDRESS=$(head -n 1 "$work/system-bus-address")
    export DBUS_SYSTEM_BUS_ADDRESS
}

# GNOME Shell headless on Wayland (no Xwayland) with a 1280x800 screen, on
# buses, a home and a runtime folder of its own; exports WAYLAND_DISPLAY and
# leaves the overview it opens in.
gnome() { timeout 20 /usr/bin/python3 "$DESKTOP_TESTS/gnome.py" "$@"; }
# Keys and the pointer, through the one input session (gnome.py serve or
# fakeinput).
desktop_input() { # command args...
    local answer
    echo "$*" >"$work/input" || return 1
    read -r -t 20 answer <"$work/input-done" || return 1
    [ "$answer" = ok ] || { echo "$*: $answer" >&2; return 1; }
}
start_gnome_wayland() {
    need gnome-shell dbus-daemon
    private_home
    start_system_bus
    start_session_bus
    # No overview from a pointer in the top-left corner, no animations.
    gsettings set org.gnome.desktop.interface enable-hot-corners false &&
        gsettings set org.gnome.desktop.interface enable-animations false ||
        fail "cannot set GNOME's settings"
    env -u DISPLAY -u WAYLAND_DISPLAY gnome-shell --headless --wayland --no-x11 \
        --virtual-monitor 1280x800 --wayland-display=hoshifuru2-gnome >"$work/gnome.log" 2>&1 &
    started+=($!)
    poll 30000 gnome windows >/dev/null 2>&1 || fail "GNOME Shell did not start"
    export WAYLAND_DISPLAY=hoshifuru2-gnome
    unset DISPLAY
    mkfifo "$work/input" "$work/input-done"
    /usr/bin/python3 "$DESKTOP_TESTS/gnome.py" serve "$work/input" "$work/input-done" \
        >"$work/input.log" 2>&1 &
    started+=($!)
    # The overview opens at start, on GNOME 48 a few seconds later: it is
    # closed once seen closed for a second.
    overview_closed() { gnome no-overview 2>/dev/null && sleep 1 && gnome no-overview 2>/dev/null; }
    poll 20000 overview_closed || fail "cannot leave the overview"
}

# KWin on Wayland with a 1280x800 screen of its own (a copy of the binary:
# where its file capabilities are refused, the installed one will not run),
# on a session bus, a home and a runtime folder of its own; exports
# WAYLAND_DISPLAY. Keys and the pointer go through FAKEINPUT (fakeinput.cpp),
# the window list through KWin's scripting (kde_windows).
start_kde_wayland() { # fakeinput
    need kwin_wayland dbus-send
    private_home
    start_session_bus
    cp "$(command -v kwin_wayland)" "$work/kwin_wayland" || fail "cannot copy kwin_wayland"
    env -u DISPLAY -u WAYLAND_DISPLAY KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 \
        QT_LOGGING_RULES='kwin_scripting.debug=true' \
        "$work/kwin_wayland" --virtual --width 1280 --height 800 --socket hoshifuru2-kde \
        --no-lockscreen >"$work/kwin.log" 2>&1 &
    started+=($!)
    poll 30000 test -S "$XDG_RUNTIME_DIR/hoshifuru2-kde" || fail "KWin did not start"
    export WAYLAND_DISPLAY=hoshifuru2-kde
    unset DISPLAY
    poll 10000 kde_windows >/dev/null 2>&1 || fail "KWin's scripting does not answer"
    mkfifo "$work/input" "$work/input-done"
    "$1" "$work/input" "$work/input-done" >"$work/input.log" 2>&1 &
    started+=($!)
}

# Runs a KWin script (its text on standard input) once.
kde_script() { # name
    local id
    cat >"$work/$1.js"
    id=$(timeout 10 dbus-send --session --print-reply --dest=org.kde.KWin /Scripting \
        org.kde.kwin.Scripting.loadScript string:"$work/$1.js" string:"$1" |
        awk '/int32/ {print $2}') || return 1
    [ -n "$id" ] || return 1
    # KWin 5 has the script at /ID, KWin 6 at /Scripting/ScriptID.
    timeout 10 dbus-send --session --print-reply --dest=org.kde.KWin "/Scripting/Script$id" \
        org.kde.kwin.Script.run >/dev/null 2>&1 ||
        timeout 10 dbus-send --session --print-reply --dest=org.kde.KWin "/$id" \
            org.kde.kwin.Script.run >/dev/null 2>&1 || return 1
}
kde_unload() { # name
    timeout 10 dbus-send --session --print-reply --dest=org.kde.KWin /Scripting \
        org.kde.kwin.Scripting.unloadScript string:"$1" >/dev/null 2>&1
}

# Asks the window of process PID with this caption to close, as KDE's task
# manager and window menu do.
kde_close_window() { # pid caption
    local mark="hoshifuru2-close-$(date +%s%N)"
    kde_script "$mark" <<JS || return 1
var list = workspace.windowList ? workspace.windowList() : workspace.clientList();
for (var i = 0; i < list.length; i++)
    if (list[i].pid == $1 && list[i].caption == "$2")
        list[i].closeWindow();
print("$mark end");
JS
    poll 5000 grep -q "$mark end" "$work/kwin.log" || return 1
    kde_unload "$mark"
}

# The windows KWin manages, one a line: "PID X Y W H ACTIVE CAPTION" (the
# frame, ACTIVE 1 for the active window), printed by a script KWin runs.
# Each query's lines carry a mark of their own (the time: it is often asked
# from a subshell, where a counter would not count).
kde_windows() {
    local mark="hoshifuru2-windows-$(date +%s%N)"
    kde_script "$mark" <<JS || return 1
var list = workspace.windowList ? workspace.windowList() : workspace.clientList();
var active = workspace.activeWindow || workspace.activeClient;
for (var i = 0; i < list.length; i++) {
    var g = list[i].frameGeometry;
    print("$mark " + list[i].pid + " " + Math.round(g.x) + " " + Math.round(g.y) + " " +
          Math.round(g.width) + " " + Math.round(g.height) + " " + (list[i] === active ? 1 : 0) +
          " " + list[i].caption);
}
print("$mark end");
JS
    poll 5000 grep -q "$mark end" "$work/kwin.log" || return 1
    kde_unload "$mark"
    grep -a "$mark " "$work/kwin.log" | sed "s/^.*$mark //" | grep -v '^end$'
    return 0
}
