# Sourced by the scripts that run the game on an X server of their own.
#
# start_private_xvfb WORKDIR WIDTHxHEIGHT starts Xvfb on a free display (it
# writes the number it picked to WORKDIR/display once it accepts clients),
# sets xvfb_pid, and exports DISPLAY with QT_QPA_PLATFORM=xcb. No screen
# saver, no reset when the last client leaves. Returns 1, with the server's
# log on standard error, when no display is there within 10 s; stopping the
# server is the caller's part (kill "$xvfb_pid").
start_private_xvfb() {
    local work=$1 size=$2
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset -s 0 \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local try
    for try in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$work/display" ]; then
        echo "Xvfb gave no display: $(cat "$work/xvfb.log")" >&2
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$work/display")"
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
}
