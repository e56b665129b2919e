#!/bin/bash
# The game on a desktop players use, started by the test on a screen of its
# own, played by keyboard to the game-over ending as a player would:
#
#   desktops_test.sh gnome_wayland|kde_wayland|gnome_x11|kde_x11 GAME [SHOT_DIR [FAKEINPUT]]
#
# GNOME Shell headless on native Wayland, driven through its own D-Bus
# interfaces (gnome.py); KWin on native Wayland, driven through its fake
# input protocol (FAKEINPUT, built from fakeinput.cpp) and its scripting;
# GNOME's mutter and KDE's KWin as X11 window
# managers on Xvfb, driven with xdotool. On the way:
# - the name prompt and the message box lie over the game's window (their
#   centres within its frame);
# - the desktop's close of the game's window while the name prompt is open
#   (KDE on Wayland: a KWin script closes it as the task manager does)
#   leaves the game, its window and the prompt;
# - after a click on the game's window while a dialog is open, the keys
#   typed next reach the dialog (the name, Return), and Alt+F4 leaves the
#   game and its window (the dialog, where it has the keyboard, may close as
#   by its own close control);
# - the last Return ends the game with status 0, nothing on standard error,
#   no process left.
TEST_NAME=desktops
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"
# shellcheck source=sessions.sh
source "$(dirname "$0")/sessions.sh"

if [ $# -lt 2 ]; then
    echo "usage: $0 gnome_wayland|kde_wayland|gnome_x11|kde_x11 GAME [SHOT_DIR [FAKEINPUT]]" >&2
    exit 2
fi
session=$1 game=$2
SHOT_DIR=${3:-}
fakeinput=${4:-}
TEST_NAME=desktop_$session
need convert
screen() { /usr/bin/python3 "$DESKTOP_TESTS/screen.py" "$@"; }

readonly TITLE="ホシフルツルギ２" PROMPT_TITLE="ホシフルツルギⅡ"
box_title=$(basename "$game")
box_title=${box_title%%.*}
box_title="${box_title:0:1}$(printf '%s' "${box_title:1}" | tr '[:upper:]' '[:lower:]')"

# Each session gives: windows (the titles of the game's windows on the
# desktop, one a line), keys, type_text, click, and the places of the
# game's window (window_rect) and of the open dialog (dialog_rect), each
# "X Y W H" with the frame where the desktop tells it.
case $session in
gnome_wayland)
    start_gnome_wayland
    windows() { gnome windows | cut -d ' ' -f 5-; }
    keys() { desktop_input keys "$@" || fail "cannot press $*"; }
    type_text() { desktop_input type "$1" || fail "cannot type $1"; }
    click() { desktop_input click "$1" "$2" || fail "cannot click at $1,$2"; }
    shot() {
        gnome shot "$work/shot.png" >/dev/null 2>&1 &&
            convert "png:$work/shot.png" -depth 8 "ppm:$work/shot.ppm"
    }
    # The frames the game draws: found on a screenshot by their outline.
    window_rect() {
        shot || return 1
        local found
        found=$(screen window "$work/shot.ppm") || return 1
        read -r cx cy cw ch <<<"$found"
        [ "$cw" -eq 383 ] || return 1
        echo $((cx - 3)) $((cy - 30)) $((cw + 6)) $((ch + 33))
    }
    # The client area's place in the frame.
    inset_x=3 inset_y=30
    dialog_rect() { # the one open, whatever its title
        shot || return 1
        local outline
        outline=$(screen pixel "$work/shot.ppm" "$wx" "$wy")
        # shellcheck disable=SC2086 # three numbers
        screen frames "$work/shot.ppm" $outline 2>/dev/null |
            awk -v mx="$wx" -v my="$wy" '!($1 == mx && $2 == my)' | head -n 1
    }
    export QT_QPA_PLATFORM=wayland
    ;;
kde_wayland)
    [ -x "$fakeinput" ] || fail "the fake input client is not built (plasma-wayland-protocols is missing)"
    start_kde_wayland "$fakeinput"
    windows() { kde_windows | awk -v pid="$game_pid" '$1 == pid' | cut -d ' ' -f 7-; }
    keys() { desktop_input keys "$@" || fail "cannot press $*"; }
    type_text() { desktop_input type "$1" || fail "cannot type $1"; }
    click() { desktop_input click "$1" "$2" || fail "cannot click at $1,$2"; }
    # The frames of the game's windows as KWin has them.
    rect_of() { # title
        kde_windows | awk -v pid="$game_pid" '$1 == pid' | while read -r _ x y w h _ caption; do
            [ "$caption" = "$1" ] && echo "$x $y $w $h" && break
        done
    }
    window_rect() { rect_of "$TITLE"; }
    dialog_rect() { rect_of "$1"; }
    inset_x=3 inset_y=30
    # The desktop's close of one window (its task manager, its window menu).
    desktop_close() { kde_close_window "$game_pid" "$1"; }
    export QT_QPA_PLATFORM=wayland
    ;;
gnome_x11 | kde_x11)
    if [ "$session" = gnome_x11 ]; then
        need mutter
        # Mutter without its X11 session (GNOME 49 and later) cannot run here.
        if ! mutter --help 2>&1 | grep -q -- '--x11'; then
            echo "SKIP: this release's mutter has no X11 session"
            exit 77
        fi
    else
        need kwin_x11
    fi
    need Xvfb xdotool xdpyinfo xwininfo
    start_xvfb 1280x800
    private_home
    start_session_bus
    if [ "$session" = gnome_x11 ]; then
        mutter --x11 --replace --sm-disable >"$work/wm.log" 2>&1 &
    else
        KWIN_COMPOSE=N kwin_x11 --replace >"$work/wm.log" 2>&1 &
    fi
    started+=($!)
    poll 20000 wm_running || fail "the window manager did not start"
    xdo() { timeout 10 xdotool "$@"; }
    windows() {
        local id
        for id in $(xdo search --all --onlyvisible --pid "$game_pid" --name '.' 2>/dev/null); do
            xdo getwindowname "$id"
        done
    }
    keys() { xdo key --delay 50 "$@" || fail "cannot press $*"; }
    type_text() { xdo type --delay 50 "$1" || fail "cannot type $1"; }
    click() { xdo mousemove "$1" "$2" sleep 0.1 click 1 || fail "cannot click at $1,$2"; }
    # The client areas as the X server has them (the frames are the window
    # manager's).
    rect_of() { # title
        local id
        id=$(xdo search --all --onlyvisible --pid "$game_pid" --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] || return 1
        timeout 10 xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF}
            /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF}
            END {print x, y, w, h}'
    }
    window_rect() { rect_of "$TITLE"; }
    inset_x=0 inset_y=0
    dialog_rect() { rect_of "$1"; }
    export QT_QPA_PLATFORM=xcb
    ;;
*)
    echo "unknown session: $session" >&2
    exit 2
    ;;
esac

# A fault after which play can go on: told now, the test fails at its end.
faults=0
fault() {
    echo "FAIL: $*" >&2
    faults=$((faults + 1))
}

# Only where the desktop can be asked to close one window (KDE on Wayland).
type -t desktop_close >/dev/null || desktop_close() { return 2; }

# Whether a window of the game with exactly this title is on the desktop.
# (grep reads the whole list: with -q it would stop at the first match, and
# the list's writer, cut short, would fail the pipeline.)
shown() { windows | grep -xF "$1" >/dev/null; }
gone() { ! shown "$1"; }

"$game" >"$work/game.log" 2>"$work/game-stderr.log" &
game_pid=$!
started+=($game_pid)
poll 20000 shown "$TITLE" || fail "the game's window did not appear"
found_window() { window=$(window_rect) && [ -n "$window" ]; }
if ! poll 20000 found_window; then
    [ -z "$SHOT_DIR" ] || [ ! -f "$work/shot.png" ] || cp "$work/shot.png" "$SHOT_DIR/$TEST_NAME-failure.png"
    fail "the game's window is not on the screen"
fi
read -r wx wy ww wh <<<"$window"
echo "the game's window at $wx,$wy (${ww}x$wh)"

has_dialog() { [ -n "$(dialog_rect "$1")" ]; }
over_window() { # what name title
    local frame fx fy fw fh
    poll 5000 has_dialog "$3"
    [ -z "$SHOT_DIR" ] || [ ! -f "$work/shot.png" ] || cp "$work/shot.png" "$SHOT_DIR/$TEST_NAME-$2.png"
    frame=$(dialog_rect "$3")
    [ -n "$frame" ] || fail "$1 is not on the screen"
    read -r fx fy fw fh <<<"$frame"
    local mx=$((fx + fw / 2)) my=$((fy + fh / 2))
    if [ $mx -ge "$wx" ] && [ $mx -lt $((wx + ww)) ] && [ $my -ge "$wy" ] && [ $my -lt $((wy + wh)) ]; then
        echo "$1: at $fx,$fy (${fw}x$fh), over the game's window"
    else
        fault "$1 stands at $fx,$fy (${fw}x$fh), not over the game's window at $wx,$wy"
    fi
}

# A click on the game's window: an empty spot of its client area.
click_window() { click $((wx + ww - 10)) $((wy + wh - 10)); }

# START, with the pointer (on GNOME 43 the first key may go to the shell's
# own bar); a click the desktop did not deliver is sent again.
# Each click where the window stands then: the desktop may still be placing
# it, so its place is taken once two looks in a row agree.
settled_window() {
    local first
    found_window || return 1
    first=$window
    sleep 0.3
    found_window && [ "$window" = "$first" ]
}
start_clicks=0
for _ in 1 2 3; do
    start_clicks=$((start_clicks + 1))
    poll 10000 settled_window && read -r wx wy ww wh <<<"$window"
    click $((wx + inset_x + 53)) $((wy + inset_y + 136))
    poll 4000 shown "$PROMPT_TITLE" && break
done
if ! shown "$PROMPT_TITLE"; then
    [ -z "$SHOT_DIR" ] || [ ! -f "$work/shot.png" ] || cp "$work/shot.png" "$SHOT_DIR/$TEST_NAME-failure.png"
    fail "no name prompt after $start_clicks clicks on START (the window at $wx,$wy)"
fi
over_window "the name prompt" prompt "$PROMPT_TITLE"
# The desktop's close of the game's window itself while the prompt is open.
desktop_close "$TITLE"
case $? in
0)
    sleep 1
    running "$game_pid" || fail "the desktop's close of the game's window under the name prompt ended the game"
    shown "$TITLE" && shown "$PROMPT_TITLE" ||
        fail "the desktop's close of the game's window under the name prompt closed a window"
    echo "the desktop's close of the game's window under the name prompt: refused"
    ;;
2) ;;
*) fail "cannot ask the desktop to close the game's window" ;;
esac
# The keys typed after a click on the game's window go to the prompt.
click_window
type_text yuki
keys Return
if poll 5000 gone "$PROMPT_TITLE"; then
    echo "keys typed after a click on the game's window: reached the name prompt"
else
    fault "the name prompt stayed open: the keys typed after a click on the game's window did not reach it"
    # As a player would: a click on the prompt's field, then Return.
    read -r fx fy fw fh <<<"$(dialog_rect "$PROMPT_TITLE")"
    click $((fx + fw / 2)) $((fy + fh / 2))
    keys Return
    poll 5000 gone "$PROMPT_TITLE" || fail "the name prompt stayed open after a click on it and Return"
fi
poll 10000 shown "$box_title" || fail "no welcome message (windows: $(windows | tr "\n" ";"))"
over_window "the message box" message "$box_title"
# The desktop's close keys after a click on the game's window: the game and
# its window stay (the box, where it has the keyboard, may close as by its
# own close control).
click_window
keys Alt_L+F4
sleep 1
running "$game_pid" || fail "Alt+F4 after a click on the game's window under a message box ended the game"
poll 3000 shown "$TITLE" || fail "Alt+F4 after a click on the game's window under a message box closed the window (windows: $(windows | tr "\n" ";"))"
if shown "$box_title"; then
    echo "Alt+F4 after a click on the game's window under the message box: the game stays, the box stays"
    keys Return
    if ! poll 5000 gone "$box_title"; then
        fault "the welcome message stayed open: Return after a click on the game's window did not reach it"
        read -r fx fy fw fh <<<"$(dialog_rect "$box_title")"
        click $((fx + 8)) $((fy + fh / 2))
        keys Return
        poll 5000 gone "$box_title" || fail "the welcome message stayed open after a click on it and Return"
    fi
else
    echo "Alt+F4 after a click on the game's window under the message box: the game stays, the box closed"
fi

# The rest of the road to the game-over ending, each key once the last has
# been acted on (a message box opens or closes, or the focus moves).
for key in Down Tab Return Return Return Down Tab Return Tab space Return Return Return \
    Down Tab Return Return Return Return Return Return; do
    keys "$key"
    sleep 0.4
done
keys Return
poll 10000 not_running "$game_pid" || fail "the game did not end at the ending"
wait "$game_pid"
status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status"
[ ! -s "$work/game-stderr.log" ] || fail "the game wrote on standard error: $(head -c 500 "$work/game-stderr.log")"
echo "the game-over ending closed the game (status 0), nothing on standard error"
[ "$faults" -eq 0 ] || fail "$faults of the checks above failed"
