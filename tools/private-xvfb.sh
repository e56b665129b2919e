# Sourced by the scripts that run the game on an X server of their own.
#
# start_private_xvfb WORKDIR WIDTHxHEIGHT starts Xvfb on a free display (its
# number is in WORKDIR/display once it accepts clients),
# sets xvfb_pid, and exports DISPLAY with QT_QPA_PLATFORM=xcb. No screen
# saver, no reset when the last client leaves. Returns 1, with the server's
# log on standard error, when no display is there within 10 s; stopping the
# server is the caller's part (kill "$xvfb_pid").
start_private_xvfb() {
    local work=$1 size=$2 number try
    # A display is a number free both in this file system's /tmp and among
    # the sockets of this network namespace: in a chroot (a fresh Debian
    # root) /tmp is the root's own while the abstract sockets are the
    # host's, X clients try the abstract socket first, and a number taken
    # there by another X server would send this test's clients to it.
    for number in $(seq 20 299); do
        [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
        grep -q "@/tmp/.X11-unix/X$number\$" /proc/net/unix 2>/dev/null && continue
        : >"$work/display"
        Xvfb ":$number" -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset -s 0 \
            3>"$work/display" >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        for try in $(seq 100); do
            [ -s "$work/display" ] && break
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        # Taken a moment ago by another server (its lock file, or its socket
        # when this one could not make its own): the next number.
        if [ -s "$work/display" ] && ! grep -q "SocketCreateListener() failed" "$work/xvfb.log"; then
            break
        fi
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        : >"$work/display"
        grep -q "already active\|SocketCreateListener() failed" "$work/xvfb.log" || break
    done
    if [ ! -s "$work/display" ]; then
        echo "Xvfb gave no display: $(cat "$work/xvfb.log")" >&2
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$work/display")"
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
}
