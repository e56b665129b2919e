#!/bin/bash
# The game as a native Wayland client of weston (its X11 back end, on a
# private Xvfb), played and closed with the pointer and the keyboard as a
# player would.
#
#   wayland_test.sh GAME RUNS [SHOT_DIR]
#
# The first run plays a few steps and reads the title bars the game draws:
# the main window shows minimise and close and no maximise, and no other
# title bar around its own; the name prompt
# and the message box show close alone. While the name prompt is open, the
# main window's close control is ignored, as on X11; the prompt's own close
# control closes it. With SHOT_DIR, the
# screen is left there as wayland-*.png at each of these three title bars.
# Then the game is started RUNS times
# and closed through its title bar's close control (every tenth run after
# START, the name prompt and the welcome message); each time the process
# must end with status 0 within 3 seconds of its window leaving the screen.
# A click that weston did not deliver (the window stays) is sent again and
# is not counted as a close. The last line counts the closes and the
# processes left behind.
TEST_NAME=wayland
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -lt 2 ]; then
    echo "usage: $0 GAME RUNS [SHOT_DIR]" >&2
    exit 2
fi
game=$1 runs=$2
SHOT_DIR=${3:-}
need Xvfb weston xdotool import xdpyinfo
# libqwayland-generic.so with Qt 6.4 and 6.8, libqwayland.so with Qt 6.11.
compgen -G '/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland*.so' >/dev/null ||
    fail "Qt's Wayland platform plugin is not installed (package qt6-wayland)"
screen() { /usr/bin/python3 "$DESKTOP_TESTS/screen.py" "$@"; }

# ---------------------------------------------------------------- weston
start_xvfb 1280x1024
no_session_bus
private_home
cat >"$work/weston.ini" <<'EOF'
[core]
idle-time=0
require-input=false

[shell]
panel-position=none
background-color=0xff303030
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
EOF
weston --backend=x11-backend.so --use-pixman --width=1200 --height=900 --socket=hoshifuru2-test \
    --config="$work/weston.ini" >"$work/weston.log" 2>&1 &
started+=($!)
poll 10000 test -S "$XDG_RUNTIME_DIR/hoshifuru2-test" || fail "weston did not start"
weston_window() { timeout 5 xdotool search --classname '^weston-1$' 2>/dev/null | head -n 1; }
poll 5000 test -n "$(weston_window)" || fail "weston's window did not appear"
output=$(weston_window)
export WAYLAND_DISPLAY=hoshifuru2-test QT_QPA_PLATFORM=wayland

shot() { timeout 10 import -silent -window root -depth 8 "ppm:$work/shot.ppm" 2>/dev/null; }

# ---------------------------------------------------------------- input
# Weston takes the pointer from the X pointer's motion over its window: the
# pointer leaves and re-enters the window before it goes to its target, so
# that weston's pointer is where the X pointer is.
click_at() { # x y
    timeout 5 xdotool mousemove 1270 1010 sleep 0.03 mousemove "$1" "$(($2 + 1))" sleep 0.03 \
        mousemove "$1" "$2" sleep 0.05 click 1 || fail "cannot click at $1,$2"
}
# Keys go to weston's window; weston gives them to its focused surface.
press() { # key
    timeout 5 xdotool windowfocus "$output" sleep 0.05 key "$1" || fail "cannot press $1"
}
# The pointer is parked in a corner, off every window, before screenshots.
park_pointer() { timeout 5 xdotool mousemove 1270 1010 sleep 0.03 mousemove 1195 895 >/dev/null; }

# ---------------------------------------------------------------- the game
game_pid=""
start_game() {
    "$game" >"$work/game.log" 2>&1 &
    game_pid=$!
    started+=($game_pid)
    park_pointer
    poll 10000 find_client_area || fail "the game's window did not appear (run $run)"
}
# Sets cx cy cw: the client area on the screen (its top row, 383 pixels).
find_client_area() {
    shot || return 1
    local found
    found=$(screen window "$work/shot.ppm") || return 1
    read -r cx cy cw ch <<<"$found"
    [ "$cw" -eq 383 ]
}
window_gone() { shot && ! screen window "$work/shot.ppm" >/dev/null; }

# The close control: at the right end of the 30-pixel title bar above the
# client area, 17 pixels in from the frame's right edge.
click_close() { click_at $((cx + cw + 3 - 17)) $((cy - 15)); }
close_game() { # what
    local tries=0
    park_pointer
    while :; do
        click_close
        poll 2000 window_gone && break
        tries=$((tries + 1))
        retries=$((retries + 1))
        [ $tries -lt 3 ] || fail "$1: three clicks on the close control did not close the window"
    done
    local gone_ms
    gone_ms=$(now_ms)
    if poll 3000 not_running "$game_pid"; then
        wait "$game_pid"
        local status=$?
        [ "$status" -eq 0 ] || fail "$1: the game ended with status $status"
        closes=$((closes + 1))
        close_ms+=" $(($(now_ms) - gone_ms))"
    else
        left=$((left + 1))
        echo "$1: the window is gone but the process is still running" >&2
        kill -KILL "$game_pid" 2>/dev/null
        wait "$game_pid" 2>/dev/null
    fi
}

# The title bars: frames outlined in the colour at the main frame's corner.
outline=""
read_outline() { outline=$(screen pixel "$work/shot.ppm" $((cx - 3)) $((cy - 30))); }
frames_other_than_main() {
    shot || return 1
    screen frames "$work/shot.ppm" $outline 2>/dev/null |
        awk -v mx=$((cx - 3)) -v my=$((cy - 30)) '!($1 == mx && $2 == my)' >"$work/frames"
    [ -s "$work/frames" ]
}
check_controls() { # x y w expected what name
    local got
    [ -z "$SHOT_DIR" ] || timeout 10 convert "ppm:$work/shot.ppm" "png:$SHOT_DIR/wayland-$6.png"
    got=$(screen controls "$work/shot.ppm" "$1" "$2" "$3")
    [ "$got" -eq "$4" ] || fail "the title bar of $5 shows $got controls, not $4"
    echo "$5: $got control(s) in its title bar"
}

# Nothing of Qt's own title bar around the game's: one pixel outside each
# edge of the frame is the desktop's background (the window is alone then).
check_bare() { # x y w h what
    local at
    for at in "$(($1 + $3 / 2)) $(($2 - 1))" "$(($1 - 1)) $(($2 + $4 / 2))" \
        "$(($1 + $3)) $(($2 + $4 / 2))" "$(($1 + $3 / 2)) $(($2 + $4))"; do
        # shellcheck disable=SC2086 # two numbers
        [ "$(screen pixel "$work/shot.ppm" $at)" = "48 48 48" ] ||
            fail "$5: something is drawn around its frame at $at"
    done
}

# Keys go to the dialog at fx fy (fw wide) once the game draws it as the
# active window and it stays so; a click on its margin gives it weston's
# keyboard focus (which may pass to the main window as the previous dialog
# goes).
dialog_active() { shot && screen active "$work/shot.ppm" "$fx" "$fy" "$fw"; }
focus_dialog() { # what
    local _
    for _ in 1 2 3; do
        click_at $((fx + 8)) $((fy + 36))
        park_pointer
        poll 2000 dialog_active && sleep 0.2 && dialog_active && return
    done
    fail "$1 did not become the active window (run $run)"
}
# Answers the dialog with Return until UNTIL holds: a key that went to
# another window is sent again.
answer_dialog() { # what until
    local _
    for _ in 1 2 3; do
        focus_dialog "$1"
        press Return
        poll 3000 "$2" && return
    done
    fail "$1 stayed open after Return (run $run)"
}

# Runs START, the name prompt and the welcome message; with CHECK, reads the
# dialogs' title bars on the way.
play_opening() { # check?
    park_pointer
    click_at $((cx + 53)) $((cy + 136))
    # Off the dialogs, whose frames are found by their outline.
    park_pointer
    if [ "${1:-}" = check ]; then
        poll 5000 frames_other_than_main || fail "no name prompt appeared"
        read -r fx fy fw _ <"$work/frames"
        check_controls "$fx" "$fy" "$fw" 1 "the name prompt" prompt
        # Under the prompt the main window takes no input: its close control
        # changes nothing (the grace period in which it must stay ignored).
        click_close
        park_pointer
        sleep 0.5
        running "$game_pid" && find_client_area && frames_other_than_main ||
            fail "the main window's close control acted while the name prompt was open"
        echo "the main window's close control under the name prompt: ignored"
        # The prompt's own close control cancels it (with the mouse alone:
        # weston gave its keyboard focus to the main window).
        read -r prompt_frame <"$work/frames"
        local _
        for _ in 1 2 3; do
            click_at $((fx + fw - 17)) $((fy + 15))
            park_pointer
            poll 2000 welcome_shown && break
        done
    else
        poll 5000 frames_other_than_main || fail "no name prompt appeared (run $run)"
        read -r prompt_frame <"$work/frames"
        read -r fx fy fw _ <<<"$prompt_frame"
        answer_dialog "the name prompt" welcome_shown
    fi
    poll 5000 welcome_shown || fail "no welcome message after the name prompt (run $run)"
    read -r fx fy fw _ <"$work/frames"
    [ "${1:-}" = check ] && check_controls "$fx" "$fy" "$fw" 1 "the message box" message
    answer_dialog "the welcome message" dialogs_gone
}
# Another frame than the prompt's (both are centred on the main window, so
# they may share a corner; they differ in size).
welcome_shown() {
    frames_other_than_main && ! grep -qx "$prompt_frame" "$work/frames"
}
dialogs_gone() { ! frames_other_than_main; }

# ---------------------------------------------------------------- the runs
closes=0 left=0 retries=0 close_ms=""
run=1
start_game
read_outline
park_pointer
shot || fail "no screenshot"
find_client_area || fail "the window moved"
check_controls $((cx - 3)) $((cy - 30)) $((cw + 6)) 2 "the main window (minimise and close)" main
check_bare $((cx - 3)) $((cy - 30)) $((cw + 6)) $((ch + 33)) "the main window"
play_opening check
close_game "run 1"
for run in $(seq 2 "$runs"); do
    start_game
    [ $((run % 10)) -eq 0 ] && play_opening
    close_game "run $run"
done

sorted=$(tr ' ' '\n' <<<"$close_ms" | sed '/^$/d' | sort -n)
echo "window gone to process ended (ms): median $(sed -n "$(((closes + 1) / 2))p" <<<"$sorted")," \
    "worst $(tail -n 1 <<<"$sorted")"
echo "clicks weston did not deliver, sent again: $retries"
echo "closes $closes of $runs, processes left running $left"
[ "$left" -eq 0 ] || fail "$left of $runs closed games left their process running"
