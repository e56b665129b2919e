#!/bin/bash
# The game under a real X11 window manager (openbox or xfwm4) on a private
# Xvfb: what the window and the two dialogs ask for (_MOTIF_WM_HINTS), what
# the window manager then offers for each (_NET_WM_ALLOWED_ACTIONS), and the
# window's place.
#
#   wm_test.sh openbox|xfwm4 GAME [SHOT_DIR]
#
# The window asks for moving, minimising and closing, with a title, a border,
# the window menu and a minimise button; the dialogs for moving and closing,
# with a title, a border and the window menu. Nothing asks for resizing or
# maximising. What each window manager offers is checked against what it
# was seen to offer (the table in docs/desktops.md): both offer no
# maximising and no resizing for any of the three; openbox offers
# minimising for the dialogs as well (it does not take minimise away for
# Motif hints), and draws minimise and maximise buttons on every frame
# whatever the hints say.
TEST_NAME=wm
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -lt 2 ]; then
    echo "usage: $0 openbox|xfwm4 GAME [SHOT_DIR]" >&2
    exit 2
fi
wm=$1 game=$2
SHOT_DIR=${3:-}
TEST_NAME=$wm
need xmessage Xvfb xdotool xprop xwininfo xdpyinfo dbus-daemon "$wm"

readonly TITLE="ホシフルツルギ２" PROMPT_TITLE="ホシフルツルギⅡ"
box_title=$(message_box_title "$game")

# What the game asks for: flags, functions, decorations, input mode, status.
readonly WINDOW_HINTS="0x3, 0x2c, 0x3a, 0x0, 0x0"
readonly DIALOG_HINTS="0x3, 0x24, 0x1a, 0x0, 0x0"
# What the window manager offers, of the actions that matter here.
case $wm in
openbox)
    readonly WINDOW_OFFERS="CLOSE MINIMIZE MOVE"
    readonly DIALOG_OFFERS="CLOSE MINIMIZE MOVE"
    ;;
xfwm4)
    readonly WINDOW_OFFERS="CLOSE MINIMIZE MOVE"
    readonly DIALOG_OFFERS="CLOSE MOVE"
    ;;
*)
    echo "unknown window manager: $wm" >&2
    exit 2
    ;;
esac

start_xvfb 1280x1024
private_home
# xfwm4 reads its settings through xfconfd, which the bus starts on demand.
start_session_bus
case $wm in
openbox) openbox --sm-disable >"$work/wm.log" 2>&1 & ;;
xfwm4) xfwm4 --compositor=off --sm-client-disable >"$work/wm.log" 2>&1 & ;;
esac
started+=($!)
poll 10000 wm_running || fail "$wm did not start"
wm_frames_windows || fail "$wm framed no window"

"$game" >"$work/game.log" 2>&1 &
game_pid=$!
started+=($game_pid)

found=""
# A window of the game by its exact title, once the window manager has
# framed it and said what it offers.
find_managed() { # title
    local id
    for id in $(xdotool search --name "^$1\$" 2>/dev/null); do
        xprop -id "$id" _NET_FRAME_EXTENTS _NET_WM_ALLOWED_ACTIONS 2>/dev/null |
            grep -q '_NET_WM_ALLOWED_ACTIONS(ATOM) = ' || continue
        xprop -id "$id" _NET_FRAME_EXTENTS | grep -q ' = ' || continue
        found=$id
        return 0
    done
    return 1
}

# The desktop entry the package installs, and the window class it names:
# a desktop matches the game's windows to it by that class (GNOME, KWin), or
# by the entry's name written on each window (KWin).
entry=$DESKTOP_TESTS/../../packaging/io.github.hoshifuru2.desktop
entry_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
entry_id=$(basename "$entry" .desktop)
[ -n "$entry_class" ] || fail "the desktop entry names no window class (StartupWMClass)"

# Checks one window's hints, the actions offered for it and its class.
check_window() { # id what hints offers
    local hints actions action class desktop_file
    class=$(xprop -id "$1" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\(.*\)"$/\1/p')
    [ "$class" = "$entry_class" ] ||
        fail "$2 is of class '$class', the desktop entry names '$entry_class'"
    desktop_file=$(xprop -id "$1" _KDE_NET_WM_DESKTOP_FILE | sed -n 's/^.* = "\(.*\)"$/\1/p')
    [ "$desktop_file" = "$entry_id" ] ||
        fail "$2 names the desktop entry '$desktop_file', not '$entry_id'"
    hints=$(xprop -id "$1" _MOTIF_WM_HINTS | sed -n 's/^_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = //p')
    [ "$hints" = "$3" ] || fail "$2 asks for _MOTIF_WM_HINTS '$hints', not '$3'"
    actions=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | sed -n 's/^.*(ATOM) = //p' | tr -d ',')
    for action in MAXIMIZE_HORZ MAXIMIZE_VERT RESIZE; do
        ! grep -qw "_NET_WM_ACTION_$action" <<<"$actions" ||
            fail "$wm offers $action for $2 ($actions)"
    done
    for action in CLOSE MINIMIZE MOVE; do
        if grep -qw "$action" <<<"$4"; then
            grep -qw "_NET_WM_ACTION_$action" <<<"$actions" ||
                fail "$wm does not offer $action for $2 ($actions)"
        else
            ! grep -qw "_NET_WM_ACTION_$action" <<<"$actions" ||
                fail "$wm offers $action for $2 ($actions)"
        fi
    done
    echo "$2: hints $hints; $wm offers$(grep -o '_NET_WM_ACTION_[A-Z_]*' <<<"$actions" |
        sed 's/_NET_WM_ACTION_/ /' | tr -d '\n')"
}

poll 10000 find_managed "$TITLE" || fail "$wm did not manage the game's window"
main=$found
check_window "$main" "the window" "$WINDOW_HINTS" "$WINDOW_OFFERS"

# The frame's outer top-left corner stands at 307,169.
read -r left right top bottom < <(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.* = //; s/,//g')
read -r x y < <(xwininfo -id "$main" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
[ "$((x - left)) $((y - top))" = "307 169" ] ||
    fail "the frame stands at $((x - left)),$((y - top)), not 307,169 (frame $left $right $top $bottom)"
echo "the window: frame at 307,169, frame extents $left $right $top $bottom"

# START opens the name prompt; Enter confirms it and the welcome message opens.
xdotool mousemove --window "$main" 53 136 click 1 || fail "cannot click START"
poll 5000 find_managed "$PROMPT_TITLE" || fail "no name prompt under $wm"
check_window "$found" "the name prompt" "$DIALOG_HINTS" "$DIALOG_OFFERS"
xdotool windowfocus --sync "$found" key Return || fail "cannot press Enter on the name prompt"
poll 5000 find_managed "$box_title" || fail "no message box under $wm"
check_window "$found" "the message box" "$DIALOG_HINTS" "$DIALOG_OFFERS"
if [ -n "$SHOT_DIR" ]; then
    timeout 10 import -silent -window root "png:$SHOT_DIR/$wm-frames.png" 2>/dev/null
fi

kill -TERM "$game_pid"
poll 3000 not_running "$game_pid" || fail "SIGTERM did not end the game"
wait "$game_pid"
status=$?
[ "$status" -eq 0 ] || fail "after SIGTERM the game ended with status $status"
echo "1 passed, 0 failed"
