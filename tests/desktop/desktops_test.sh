#!/bin/bash
# The game on a desktop players use, started by the test on a screen of its
# own, played by keyboard to the game-over ending as a player would:
#
#   desktops_test.sh gnome_wayland GAME [SHOT_DIR]
#
# GNOME Shell headless on native Wayland, driven through its own D-Bus
# interfaces (gnome.py). On the way:
# - the name prompt and the message box lie over the game's window (their
#   centres within its frame);
# - after a click on the game's window while a dialog is open, the keys
#   typed next reach the dialog (the name, Return), and Alt+F4 leaves the
#   game and its window (the dialog, where it has the keyboard, may close as
#   by its own close control);
# - the last Return ends the game with status 0, nothing on standard error,
#   no process left.
TEST_NAME=desktops
source "$(dirname "$0")/lib.sh"

if [ $# -lt 2 ]; then
    echo "usage: $0 gnome_wayland GAME [SHOT_DIR]" >&2
    exit 2
fi
session=$1 game=$2
SHOT_DIR=${3:-}
TEST_NAME=desktop_$session
need convert
screen() { /usr/bin/python3 "$DESKTOP_TESTS/screen.py" "$@"; }

readonly TITLE="ホシフルツルギ２" PROMPT_TITLE="ホシフルツルギⅡ"
box_title=$(basename "$game")
box_title=${box_title%%.*}
box_title="${box_title:0:1}$(printf '%s' "${box_title:1}" | tr '[:upper:]' '[:lower:]')"

case $session in
gnome_wayland)
    start_gnome_wayland
    windows() { gnome windows; }
    keys() { gnome_input keys "$@" || fail "cannot press $*"; }
    type_text() { gnome_input type "$1" || fail "cannot type $1"; }
    click() { gnome_input click "$1" "$2" || fail "cannot click at $1,$2"; }
    shot() {
        gnome shot "$work/shot.png" >/dev/null 2>&1 &&
            convert "png:$work/shot.png" -depth 8 "ppm:$work/shot.ppm"
    }
    export QT_QPA_PLATFORM=wayland
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

# Whether a window of the game with exactly this title is on the desktop.
shown() { windows | cut -d ' ' -f 5- | grep -qxF "$1"; }
gone() { ! shown "$1"; }

"$game" >"$work/game.log" 2>"$work/game-stderr.log" &
game_pid=$!
started+=($game_pid)
poll 20000 shown "$TITLE" || fail "the game's window did not appear"

# The client area on the screen, and the frame the game draws around it.
find_window() {
    shot || return 1
    local found
    found=$(screen window "$work/shot.ppm") || return 1
    read -r cx cy cw ch <<<"$found"
    [ "$cw" -eq 383 ]
}
poll 10000 find_window || fail "the game's window is not on the screen"
outline=$(screen pixel "$work/shot.ppm" $((cx - 3)) $((cy - 30)))
echo "the game's client area at $cx,$cy (${cw}x$ch)"


# The frame of the open dialog: "X Y W H", the one that is not the game's.
dialog_frame() {
    shot || return 1
    # shellcheck disable=SC2086 # three numbers
    screen frames "$work/shot.ppm" $outline 2>/dev/null |
        awk -v mx=$((cx - 3)) -v my=$((cy - 30)) '!($1 == mx && $2 == my)' | head -n 1
}
has_dialog_frame() { [ -n "$(dialog_frame)" ]; }
over_window() { # what name
    local frame fx fy fw fh
    poll 5000 has_dialog_frame
    [ -z "$SHOT_DIR" ] || cp "$work/shot.png" "$SHOT_DIR/$TEST_NAME-$2.png"
    frame=$(dialog_frame)
    [ -n "$frame" ] || fail "$1 is not on the screen"
    read -r fx fy fw fh <<<"$frame"
    local mx=$((fx + fw / 2)) my=$((fy + fh / 2))
    if [ $mx -ge $((cx - 3)) ] && [ $mx -lt $((cx + cw + 3)) ] &&
        [ $my -ge $((cy - 30)) ] && [ $my -lt $((cy + ch + 3)) ]; then
        echo "$1: frame at $fx,$fy (${fw}x$fh), over the game's window"
    else
        fault "$1 stands at $fx,$fy (${fw}x$fh), not over the game's window at $cx,$cy"
    fi
}

# A click on the game's window: an empty spot of its client area.
click_window() { click $((cx + 370)) $((cy + 350)); }

# START, with the pointer (the first key may go to the shell's own bar).
click $((cx + 53)) $((cy + 136))
poll 5000 shown "$PROMPT_TITLE" || fail "no name prompt after START"
over_window "the name prompt" prompt
# The keys typed after a click on the game's window go to the prompt.
click_window
type_text yuki
keys Return
if poll 5000 gone "$PROMPT_TITLE"; then
    echo "keys typed after a click on the game's window: reached the name prompt"
else
    fault "the name prompt stayed open: the keys typed after a click on the game's window did not reach it"
    # As a player would: a click on the prompt's field, then Return.
    read -r fx fy fw fh <<<"$(dialog_frame)"
    click $((fx + fw / 2)) $((fy + 62))
    keys Return
    poll 5000 gone "$PROMPT_TITLE" || fail "the name prompt stayed open after a click on it and Return"
fi
poll 10000 shown "$box_title" || fail "no welcome message (windows: $(windows | cut -d " " -f 5- | tr "\n" ";"))"
over_window "the message box" message
# The desktop's close keys after a click on the game's window: the game and
# its window stay (the box, where it has the keyboard, may close as by its
# own close control).
click_window
keys Alt_L+F4
sleep 1
running "$game_pid" || fail "Alt+F4 after a click on the game's window under a message box ended the game"
shown "$TITLE" || fail "Alt+F4 after a click on the game's window under a message box closed the window"
if shown "$box_title"; then
    echo "Alt+F4 after a click on the game's window under the message box: the game stays, the box stays"
    keys Return
    if ! poll 5000 gone "$box_title"; then
        fault "the welcome message stayed open: Return after a click on the game's window did not reach it"
        read -r fx fy fw fh <<<"$(dialog_frame)"
        click $((fx + 8)) $((fy + 40))
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
