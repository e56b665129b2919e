#!/bin/bash
# The real game in a real X server, played as a person would: the mouse
# clicks the window's widgets, the keyboard types into the name prompt and
# dismisses every message box, and the screen is looked at pixel by pixel.
#
#   window_test.sh MODE GAME STORYPLAY WMCLOSE [OUTDIR]
#
# MODE
#   play     checks the window (title, place, size, fixed frame, colours),
#            plays the north road to "ゲームオーバー", clicks it and expects
#            the program to exit with status 0.
#   close    plays the same road once for every step k, and after step k
#            closes the window through its close control (WM_DELETE_WINDOW,
#            as a window manager sends it). With no dialog open the program
#            must end with status 0 within a second. While a dialog is open
#            the main window takes no input, so the close must change
#            nothing; SIGTERM then ends the program with status 0 within a
#            second.
#
# GAME is build/hoshifuru2, STORYPLAY build/storyplay (only for --layout),
# WMCLOSE the helper built from wmclose.cpp. A screenshot of a failure is
# left in OUTDIR (default: the current directory).
#
# Every wait polls with a deadline; nothing sleeps blindly except the short
# grace period in which an ignored close must stay ignored.

TEST_NAME=e2e
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -lt 4 ]; then
    echo "usage: $0 play|close GAME STORYPLAY WMCLOSE [OUTDIR]" >&2
    exit 2
fi
mode=$1 game=$2 storyplay=$3 wmclose=$4
SHOT_DIR=${5:-$PWD}
case $mode in play | close) ;; *)
    echo "unknown mode: $mode" >&2
    exit 2
    ;;
esac
TEST_NAME=e2e-$mode

need Xvfb xdotool xprop xwininfo import jq od
for file in "$game" "$storyplay" "$wmclose"; do
    [ -x "$file" ] || stop "$file is not an executable"
done

# What the window must be, whatever the layout says.
readonly TITLE="ホシフルツルギ２"
readonly PROMPT_TITLE="ホシフルツルギⅡ"
readonly CLIENT_W=383 CLIENT_H=359 WIN_X=307 WIN_Y=169
readonly SCREEN_W=1920 SCREEN_H=1080
readonly MAROON="128 0 0"
# Message boxes carry the application title.
box_title=$(message_box_title "$game")
game_class=$(basename "$game")
game_pid=""

# ---------------------------------------------------------------- the X server
# ---------------------------------------------------------------- the layout
# Widget geometry in client coordinates, read from the built window.
declare -A WX WY WW WH WCLASS WCOLOR WITEMH WCOUNT
read_layout() {
    local json name x y w h class color itemh count
    json=$(QT_QPA_PLATFORM=offscreen "$storyplay" --layout 2>/dev/null) ||
        fail "storyplay --layout failed"
    while IFS=$'\t' read -r name x y w h class color itemh count; do
        WX[$name]=$x WY[$name]=$y WW[$name]=$w WH[$name]=$h
        WCLASS[$name]=$class WCOLOR[$name]=$color WITEMH[$name]=$itemh WCOUNT[$name]=$count
    done < <(printf '%s' "$json" | jq -r '
        . as $all
        | def at($n): first($all[] | select(.Name == $n));
          def origin($n): if $n == "Form1" then [0, 0]
                          else at($n) as $w | origin($w.Parent) as $p
                               | [$p[0] + $w.Left, $p[1] + $w.Top] end;
          $all[1:][]
          | [.Name, (origin(.Name) | .[0], .[1]), .Width, .Height, .Class,
             (.Color // "-"), (.ItemHeight // 0), ((.Items // []) | length)]
          | @tsv')
    local needed
    for needed in Label1 start hajimari Box1 BitBtn1 namiki namiki1 Box2 BitBtn2 Panel1 \
        BitBtn5 daimaou maou box4 BitBtn6 ougi BitBtn7; do
        [ -n "${WX[$needed]:-}" ] || fail "the layout has no widget $needed"
    done
}

# ---------------------------------------------------------------- the screen
main_win=""
grab() {
    import -silent -window "$main_win" -depth 8 "ppm:$work/window.ppm" 2>/dev/null || return 1
    header=$(head -n 3 "$work/window.ppm" | wc -c)
}
# The colour at client (x, y) of the last grab, as "r g b".
pixel_at() {
    local offset=$((header + 3 * ($2 * CLIENT_W + $1)))
    od -An -tu1 -j "$offset" -N 3 "$work/window.ppm" | xargs
}
# A point well inside a widget's bottom-right corner, clear of its children
# in every scene of this road.
probe_x() { echo $((WX[$1] + WW[$1] - 4)); }
probe_y() { echo $((WY[$1] + WH[$1] - 4)); }
# What a shown widget looks like at its probe: a panel's own colour, or for
# a button anything but the window's maroon.
rgb_of() {
    case $1 in
    clBlack) echo "0 0 0" ;;
    clWhite) echo "255 255 255" ;;
    clMaroon) echo "128 0 0" ;;
    clLime) echo "0 255 0" ;;
    clYellow) echo "255 255 0" ;;
    *) echo "" ;;
    esac
}
looks_shown() {
    local got=$1 name=$2 want
    want=$(rgb_of "${WCOLOR[$name]}")
    if [ -n "$want" ]; then [ "$got" = "$want" ]; else [ "$got" != "$MAROON" ]; fi
}
inside() { # x y name
    [ "$1" -ge "${WX[$3]}" ] && [ "$1" -lt $((WX[$3] + WW[$3])) ] &&
        [ "$2" -ge "${WY[$3]}" ] && [ "$2" -lt $((WY[$3] + WH[$3])) ]
}
# True when every widget in SHOWN looks shown at its probe and every widget
# in GONE shows the maroon background there (unless a shown one covers it).
screen_is() {
    local shown=$1 gone=$2 name other covered
    grab || return 1
    last_screen=""
    for name in $shown; do
        local got
        got=$(pixel_at "$(probe_x "$name")" "$(probe_y "$name")")
        last_screen+=" $name@($(probe_x "$name"),$(probe_y "$name"))=$got"
        looks_shown "$got" "$name" || return 1
    done
    for name in $gone; do
        covered=no
        for other in $shown; do
            inside "$(probe_x "$name")" "$(probe_y "$name")" "$other" && covered=yes
        done
        [ $covered = yes ] && continue
        local got
        got=$(pixel_at "$(probe_x "$name")" "$(probe_y "$name")")
        last_screen+=" $name@($(probe_x "$name"),$(probe_y "$name"))=$got"
        [ "$got" = "$MAROON" ] || return 1
    done
}
await_screen() {
    poll 5000 screen_is "$1" "$2" ||
        fail "${3:-screen}: expected shown [$1] and gone [$2]; saw$last_screen"
}

# ---------------------------------------------------------------- windows
is_dialog() { xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: no'; }
is_popup() { xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'; }
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
not_viewable() { ! is_viewable "$1"; }
# Visible top-level windows matched by xdotool search OPTION PATTERN that
# pass TEST.
find_windows() { # option pattern test
    local id
    for id in $(xdotool search --onlyvisible "$1" "$2" 2>/dev/null); do
        $3 "$id" && echo "$id"
    done
}
found=""
find_new() { # option pattern test exclude
    found=$(find_windows "$1" "$2" "$3" | grep -vx "${4:-none}" | head -n 1)
    [ -n "$found" ]
}
# Dialogs and the main window are found by their exact title; the drop-down
# list of a combo box has none of its own and is found by the program's
# class. Sets found.
await_window() { # title test exclude what
    poll 5000 find_new --name "^$1\$" "$2" "$3" || fail "no $4 titled $1 appeared"
}
await_popup() {
    poll 5000 find_new --classname "^$game_class\$" is_popup "" ||
        fail "no drop-down list appeared"
}
no_open_dialogs() {
    [ -z "$(find_windows --name "^$box_title\$" is_dialog)" ] &&
        [ -z "$(find_windows --name "^$PROMPT_TITLE\$" is_dialog)" ]
}
geometry_of() { # id -> "x y w h"
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^  Width:/ {w=$NF} /^  Height:/ {h=$NF} END {print x, y, w, h}'
}
check_centred() { # id what
    local x y w h dx dy
    read -r x y w h < <(geometry_of "$1")
    dx=$((2 * x + w - SCREEN_W)) dy=$((2 * y + h - SCREEN_H))
    [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
        fail "$2 is not centred on the screen: ${w}x${h}+${x}+${y}"
}

# ---------------------------------------------------------------- the player
click_widget() { # name
    xdotool mousemove --window "$main_win" $((WX[$1] + WW[$1] / 2)) $((WY[$1] + WH[$1] / 2)) \
        click 1 || fail "cannot click $1"
}
select_list_entry() { # list index
    local frame=2 ih=${WITEMH[$1]}
    xdotool mousemove --window "$main_win" $((WX[$1] + WW[$1] / 2)) \
        $((WY[$1] + frame + ih * $2 + ih / 2)) click 1 || fail "cannot click $1 entry $2"
}
press_enter_on() { # window
    xdotool windowfocus --sync "$1" key Return || fail "cannot press Enter on window $1"
}
# One message box: it must open over an empty spot where the scenes were.
dismiss_message() { # scenes-that-must-be-gone what
    local box
    await_window "$box_title" is_dialog "$previous_box" "message box ($2)"
    box=$found
    check_centred "$box" "the message box ($2)"
    await_screen "" "$1" "behind the message box ($2)"
    press_enter_on "$box"
    poll 5000 not_viewable "$box" || fail "the message box ($2) stayed open after Enter"
    previous_box=$box
}
previous_box=none

# The road to "ゲームオーバー", one player action a step. Each step waits
# for the state it leads to. DIALOG_AFTER[k] says whether a dialog is open
# after step k.
readonly LAST_STEP=23
readonly DIALOG_AFTER=(0 1 1 1 0 0 1 0 0 0 0 0 1 1 0 0 0 0 1 1 1 1 0 0)
prompt_win=""
run_step() {
    case $1 in
    1) # START: the title and START vanish, the name prompt opens.
        click_widget start
        await_window "$PROMPT_TITLE" is_dialog "" "name prompt"
        prompt_win=$found
        check_centred "$prompt_win" "the name prompt"
        await_screen "" "start" "behind the name prompt"
        ;;
    2) # Type a name over the selected default.
        xdotool windowfocus --sync "$prompt_win" type --delay 15 "ゆうしゃ Ab" ||
            fail "cannot type into the name prompt"
        ;;
    3) # Enter confirms it; the welcome message opens.
        xdotool key Return || fail "cannot press Enter"
        poll 5000 not_viewable "$prompt_win" || fail "the name prompt stayed open after Enter"
        previous_box=none
        await_window "$box_title" is_dialog "" "welcome message"
        ;;
    4) # Welcome message dismissed: the crossroads.
        previous_box=none
        dismiss_message "start hajimari" "welcome"
        await_screen "hajimari" "start" "crossroads"
        ;;
    5) select_list_entry Box1 0 ;;
    6) # OK: the crossroads closes, the walk north is told.
        click_widget BitBtn1
        await_window "$box_title" is_dialog "$previous_box" "message box (north)"
        ;;
    7)
        dismiss_message "hajimari namiki" "north"
        await_screen "namiki" "hajimari" "encounter button namiki"
        ;;
    8)
        click_widget namiki
        await_screen "namiki1" "namiki" "villager scene"
        ;;
    9) # Open the drop-down list of the combo box at its button.
        xdotool mousemove --window "$main_win" $((WX[Box2] + WW[Box2] - 8)) \
            $((WY[Box2] + WH[Box2] / 2)) click 1 || fail "cannot click Box2"
        await_popup
        popup=$found
        ;;
    10) # Choose entry 0 "とりあえず話す" in the drop-down list.
        local x y w h row
        read -r x y w h < <(geometry_of "$popup")
        row=$(((h - 2) / WCOUNT[Box2]))
        xdotool mousemove $((x + w / 2)) $((y + 1 + row / 2)) click 1 ||
            fail "cannot click the drop-down list"
        poll 5000 not_viewable "$popup" || fail "the drop-down list stayed open"
        ;;
    11)
        click_widget BitBtn2
        await_screen "Panel1" "namiki1" "villager's advice"
        ;;
    12)
        click_widget BitBtn5
        await_window "$box_title" is_dialog "$previous_box" "message box (walk on)"
        ;;
    13) dismiss_message "Panel1 daimaou" "walked on" ;;
    14)
        dismiss_message "Panel1 daimaou" "！！！！！！！"
        await_screen "daimaou" "Panel1" "encounter button daimaou"
        ;;
    15)
        click_widget daimaou
        await_screen "maou" "daimaou" "Demon King scene"
        ;;
    16) select_list_entry box4 0 ;;
    17)
        click_widget BitBtn6
        await_screen "ougi" "maou" "special-move button"
        ;;
    18)
        click_widget ougi
        await_window "$box_title" is_dialog "$previous_box" "message box (fist)"
        ;;
    19) dismiss_message "ougi BitBtn7" "fist used" ;;
    20) dismiss_message "ougi BitBtn7" "five points" ;;
    21) dismiss_message "ougi BitBtn7" "the Demon King attacks" ;;
    22)
        dismiss_message "ougi BitBtn7" "five million"
        await_screen "BitBtn7" "ougi maou" "ゲームオーバー"
        no_open_dialogs || fail "a dialog is still open at ゲームオーバー"
        ;;
    23) click_widget BitBtn7 ;;
    esac
}

start_game() {
    previous_box=none
    # A home and runtime directory of its own, so nothing it might leave
    # behind lands in the real ones.
    mkdir -p "$work/home" && mkdir -p -m 0700 "$work/runtime"
    HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" "$game" >"$work/game.log" 2>&1 &
    game_pid=$!
    started+=("$game_pid")
    await_window "$TITLE" is_dialog "" "main window"
    main_win=$found
    await_screen "start" "hajimari" "start-up"
}

# Waits for the game to end; sets exit_status and exit_ms (since $1).
await_exit() { # since-ms limit-ms
    if poll "$2" not_running "$game_pid"; then
        wait "$game_pid"
        exit_status=$?
        exit_ms=$(($(now_ms) - $1))
        game_pid=""
        return 0
    fi
    return 1
}

# ---------------------------------------------------------------- checks
# Whether a Motif functions or decorations word allows BIT: with the "all"
# bit (1) set, the other bits listed are the ones taken away.
motif_allows() { # word bit
    if (($1 & 1)); then ((!($1 & $2))); else (($1 & $2)); fi
}
check_window_frame() {
    local props hints motif flags funcs decor
    [ "$(xdotool getwindowname "$main_win")" = "$TITLE" ] ||
        fail "title is '$(xdotool getwindowname "$main_win")', not '$TITLE'"
    props=$(xprop -id "$main_win") || fail "xprop failed"
    grep -qxF "_NET_WM_NAME(UTF8_STRING) = \"$TITLE\"" <<<"$props" ||
        fail "_NET_WM_NAME is not \"$TITLE\""
    local x y w h
    read -r x y w h < <(geometry_of "$main_win")
    [ "$x $y $w $h" = "$WIN_X $WIN_Y $CLIENT_W $CLIENT_H" ] ||
        fail "window at ${w}x${h}+${x}+${y}, expected ${CLIENT_W}x${CLIENT_H}+${WIN_X}+${WIN_Y}"

    # Fixed size: the minimum and maximum size hints are both the client size.
    hints=$(xprop -id "$main_win" WM_NORMAL_HINTS)
    grep -q "minimum size: $CLIENT_W by $CLIENT_H\$" <<<"$hints" ||
        fail "minimum size hint is not ${CLIENT_W}x$CLIENT_H: $hints"
    grep -q "maximum size: $CLIENT_W by $CLIENT_H\$" <<<"$hints" ||
        fail "maximum size hint is not ${CLIENT_W}x$CLIENT_H: $hints"
    grep -q "location: $WIN_X, $WIN_Y\$" <<<"$hints" ||
        fail "the size hints do not place the window at $WIN_X, $WIN_Y: $hints"

    # Motif hints: a close and a minimise function, a title and a window
    # menu; no maximise function or maximise button.
    motif=$(xprop -id "$main_win" _MOTIF_WM_HINTS | sed -n 's/^_MOTIF_WM_HINTS([^)]*) = //p')
    [ -n "$motif" ] || fail "the window sets no _MOTIF_WM_HINTS"
    IFS=', ' read -r flags funcs decor _ <<<"$motif"
    flags=$((flags)) funcs=$((funcs)) decor=$((decor))
    (((flags & 1) && (flags & 2))) || fail "_MOTIF_WM_HINTS give no functions or decorations: $motif"
    motif_allows "$funcs" 16 && fail "the window can be maximised (_MOTIF_WM_HINTS $motif)"
    motif_allows "$decor" 64 && fail "the window has a maximise button (_MOTIF_WM_HINTS $motif)"
    motif_allows "$funcs" 32 || fail "the window has no close function (_MOTIF_WM_HINTS $motif)"
    motif_allows "$funcs" 8 || fail "the window cannot be minimised (_MOTIF_WM_HINTS $motif)"
    motif_allows "$decor" 8 || fail "the window has no title bar (_MOTIF_WM_HINTS $motif)"
    motif_allows "$decor" 16 || fail "the window has no window menu (_MOTIF_WM_HINTS $motif)"
    grep -q '^WM_PROTOCOLS(ATOM).*WM_DELETE_WINDOW' <<<"$props" ||
        fail "the window does not take WM_DELETE_WINDOW"
    grep -q '^_NET_WM_ICON(CARDINAL)' <<<"$props" || fail "the window has no icon"

    # Maroon all over but for the title and START.
    grab || fail "cannot take a screenshot"
    local point got
    for point in "2 2" "370 340" "$((CLIENT_W - 1)) $((CLIENT_H - 1))" "200 300" "0 $((CLIENT_H - 1))"; do
        got=$(pixel_at $point)
        [ "$got" = "$MAROON" ] || fail "at start-up the pixel at ($point) is $got, not maroon"
    done
    got=$(pixel_at $((WX[start] + 3)) $((WY[start] + 3)))
    [ "$got" != "$MAROON" ] || fail "START is not drawn"
    no_open_dialogs || fail "a dialog is open at start-up"
}

# ---------------------------------------------------------------- the modes
start_xvfb "${SCREEN_W}x${SCREEN_H}"
read_layout

if [ "$mode" = play ]; then
    t0=$(now_ms)
    start_game
    startup_ms=$(($(now_ms) - t0))
    check_window_frame
    timings=""
    for step in $(seq 1 $LAST_STEP); do
        ts=$(now_ms)
        run_step "$step"
        timings+=" $step:$(($(now_ms) - ts))"
    done
    click_ms=$(now_ms)
    await_exit "$click_ms" 1000 || fail "the program did not end within 1 s of ゲームオーバー"
    [ "$exit_status" -eq 0 ] || fail "the program exited with status $exit_status"
    echo "start-up (launch to START drawn): ${startup_ms} ms"
    echo "per step (ms):$timings"
    echo "ゲームオーバー click to exit: ${exit_ms} ms"
    echo "whole playthrough: $(($(now_ms) - t0)) ms"
    echo "1 passed, 0 failed"
    exit 0
fi

# close: one game per step, closed after that step.
passed=0
summary=""
t_all=$(now_ms)
for k in $(seq 0 $((LAST_STEP - 1))); do
    start_game
    for step in $(seq 1 "$k"); do run_step "$step"; done
    sent=$(now_ms)
    "$wmclose" "$main_win" || fail "step $k: cannot send WM_DELETE_WINDOW"
    if [ "${DIALOG_AFTER[$k]}" -eq 0 ]; then
        await_exit "$sent" 1000 || fail "step $k: the close control did not end the program within 1 s"
        [ "$exit_status" -eq 0 ] || fail "step $k: closed, the program exited with status $exit_status"
        summary+=" $k:close=${exit_ms}ms"
    else
        # The main window is blocked by the dialog: the close changes nothing.
        sleep 0.3
        kill -0 "$game_pid" 2>/dev/null ||
            fail "step $k: closing the main window under an open dialog ended the program"
        ! no_open_dialogs ||
            fail "step $k: closing the main window closed the open dialog"
        sent=$(now_ms)
        kill -TERM "$game_pid"
        await_exit "$sent" 1000 || fail "step $k: SIGTERM under a dialog did not end the program within 1 s"
        [ "$exit_status" -eq 0 ] || fail "step $k: after SIGTERM the program exited with status $exit_status"
        summary+=" $k:term=${exit_ms}ms"
    fi
    passed=$((passed + 1))
done
echo "closed after each step (step:how=time from request to exit):$summary"
echo "all $passed runs: $(($(now_ms) - t_all)) ms"
echo "$passed passed, 0 failed"
