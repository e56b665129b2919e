#!/bin/bash
# A name typed through a real input method: fcitx5 with mozc, Qt's fcitx5
# module in the game, a session bus of their own, on a private Xvfb.
# fcitx5 and mozc run as an ordinary user, not as root, so the test runs
# them, the game (a copy, in a folder that user owns) and im_test.py as
# "nobody" when started as root.
#
#   im_test.sh GAME
TEST_NAME=im
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -lt 1 ]; then
    echo "usage: $0 GAME" >&2
    exit 2
fi
need Xvfb xdotool xdpyinfo dbus-daemon dbus-send fcitx5 fcitx5-remote setpriv setsid
[ -e /usr/lib/x86_64-linux-gnu/fcitx5/fcitx5-mozc.so ] || fail "fcitx5-mozc is not installed"
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so ] ||
    fail "Qt's fcitx5 module is not installed (fcitx5-frontend-qt6)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed"

start_xvfb 1280x1024
# Everything the user runs lives in a folder of its own.
user=$(id -un)
[ "$(id -u)" -eq 0 ] && user=nobody
mkdir -p "$work/user/home/.config/fcitx5" "$work/user/runtime"
cp "$1" "$work/user/hoshifuru2"
cp "$DESKTOP_TESTS/im_test.py" "$DESKTOP_TESTS/accessible.py" "$work/user/"
cat >"$work/user/home/.config/fcitx5/profile" <<'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
EOF
cat >"$work/user/run.sh" <<'EOF'
#!/bin/bash
# As the user: a session bus, fcitx5 with mozc, then the game and its checks.
set -u
cd "$(dirname "$0")"
here=$PWD
echo $$ >"$here/session"
export HOME=$here/home XDG_RUNTIME_DIR=$here/runtime
dbus-daemon --session --nofork --print-address=1 >"$here/bus-address" 2>"$here/bus.log" &
bus=$!
for try in $(seq 100); do [ -s "$here/bus-address" ] && break; sleep 0.05; done
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$here/bus-address")
fcitx5 --disable=all --enable=mozc,xcb,dbus,dbusfrontend,keyboard,classicui,imselector \
    >"$here/fcitx5.log" 2>&1 &
fcitx=$!
# Asking fcitx5 anything before it owns its name would make the bus start a
# second one.
owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2>/dev/null | grep -q 'boolean true'
}
for try in $(seq 200); do owned && break; sleep 0.05; done
/usr/bin/python3 "$here/im_test.py" "$here/hoshifuru2" "$here/game.log"
status=$?
kill $fcitx
wait $fcitx 2>/dev/null
pkill -P $fcitx 2>/dev/null
kill $bus
wait $bus 2>/dev/null
exit $status
EOF
chmod 755 "$work/user/run.sh" "$work/user/hoshifuru2"
chmod 700 "$work/user/runtime"
chown -R "$user" "$work/user"
chmod 755 "$work" "$work/user"

# The sanitizers read their suppressions from a file the user can read.
if [[ ${LSAN_OPTIONS:-} == *suppressions=* ]]; then
    supp=${LSAN_OPTIONS#*suppressions=}
    supp=${supp%%:*}
    cp "$supp" "$work/user/sanitizers.supp"
    LSAN_OPTIONS=${LSAN_OPTIONS/$supp/$work/user/sanitizers.supp}
fi

# The user's programs run in a session of their own (mozc_server and the
# services the bus starts on demand leave their parents): what is left of
# the session at the end is ended, by the session's id.
end_user_session() {
    [ -s "$work/user/session" ] || return 0
    local pid
    for pid in $(ps -o pid= -s "$(cat "$work/user/session")"); do
        kill -KILL "$pid" 2>/dev/null
    done
}
trap 'end_user_session; cleanup' EXIT

as_user=()
[ "$user" != "$(id -un)" ] && as_user=(setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups)
"${as_user[@]}" setsid --wait env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" LC_ALL=C.UTF-8 \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
    "$work/user/run.sh" || {
    for log in game fcitx5 bus; do
        [ -s "$work/user/$log.log" ] && { echo "--- $log.log:" >&2; tail -n 15 "$work/user/$log.log" >&2; }
    done
    fail "the name typed through fcitx5 and mozc did not reach the game"
}
