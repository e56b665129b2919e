# Sourced by the tests that drive the real program: waiting with a deadline,
# and X clients that cannot wait for ever (xdotool's --sync waits as long as
# it takes, xwininfo without a window waits for a click): each gets ten
# seconds.

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Runs the command every 20 ms until it succeeds; 1 after LIMIT_MS.
poll() { # limit-ms command...
    local deadline=$(($(now_ms) + $1))
    shift
    until "$@"; do
        [ "$(now_ms)" -ge "$deadline" ] && return 1
        sleep 0.02
    done
}

xdotool() { timeout 10 xdotool "$@"; }
xwininfo() { timeout 10 xwininfo "$@"; }
xprop() { timeout 10 xprop "$@"; }
import() { timeout 10 import "$@"; }
