# Sourced after tests/lib/game.sh by the tests that start a whole desktop
# of their own: GNOME Shell and KWin headless on Wayland, with a private
# system bus where GNOME wants one, and the ways the tests drive them (keys
# and the pointer through one input session, KWin's window list and close
# through its scripting).

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
    # No overview from a pointer in the top-left corner, no animations, and
    # no key repeat: on Wayland the program repeats a key held down, and a
    # game slowed by the sanitizers read a key's release late and repeated
    # Return (the welcome message closed as it opened).
    gsettings set org.gnome.desktop.interface enable-hot-corners false &&
        gsettings set org.gnome.desktop.interface enable-animations false &&
        gsettings set org.gnome.desktop.peripherals.keyboard repeat false ||
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
