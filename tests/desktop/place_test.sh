#!/bin/bash
# The window's place on screens of every size, under openbox on a private
# Xvfb each: where the whole frame fits at the window's own place (307,169),
# it stays there; where it does not, it is moved once, by as little as
# it takes, so that the frame lies inside the screen, and where even that
# cannot be, its top-left corner and title bar stay on the screen. No later
# move follows.
#
#   place_test.sh GAME [SHOT_DIR]
#
# Each case is WIDTHxHEIGHT SCALE and what the screen leaves the window, in
# the screen's pixels: "home", its own place (307,169 times the scale);
# "inside", a place moved back just far enough for the whole frame to fit;
# "corner", a frame higher than the screen, at its top edge. The name prompt
# then opens on the screen too, and the window stays where it is.
TEST_NAME=place
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -lt 1 ]; then
    echo "usage: $0 GAME [SHOT_DIR]" >&2
    exit 2
fi
game=$1
SHOT_DIR=${2:-}
need Xvfb xdotool xprop xwininfo xdpyinfo openbox xmessage
XPROP=$(type -P xprop) XDOTOOL=$(type -P xdotool) XWININFO=$(type -P xwininfo)
xprop() { timeout 10 "$XPROP" "$@"; }
xdotool() { timeout 10 "$XDOTOOL" "$@"; }
xwininfo() { timeout 10 "$XWININFO" "$@"; }

readonly TITLE="ホシフルツルギ２" PROMPT_TITLE="ホシフルツルギⅡ"
# START, in the window's own pixels.
readonly START_X=53 START_Y=136
readonly HOME_X=307 HOME_Y=169
readonly CASES=(
    "1280x1024 1 home"
    "1024x768 1 home"
    "800x480 1 inside"
    "640x480 1 inside"
    "1280x800 2 inside"
    "800x600 2 corner"
)

# A window of the game by its exact title once openbox has framed it; sets
# found.
found=""
find_framed() { # title
    local id
    for id in $(xdotool search --name "^$1\$" 2>/dev/null); do
        xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q ' = ' || continue
        found=$id
        return 0
    done
    return 1
}

# The frame's outer rectangle in the screen's pixels: "x y width height".
frame_of() { # id
    local left right top bottom x y w h
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.* = //; s/,//g')
    read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF}
        /Absolute upper-left Y/ {y=$NF} /^  Width:/ {w=$NF} /^  Height:/ {h=$NF}
        END {print x, y, w, h}')
    [ -n "$left" ] && [ -n "$h" ] || return 1
    echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

run_case() { # WIDTHxHEIGHT scale expected
    local size=$1 scale=$2 expected=$3 width=${1%x*} height=${1#*x}
    local x y w h places=() place last=""
    start_xvfb "$size"
    openbox --sm-disable >"$work/wm.log" 2>&1 &
    local wm_pid=$!
    started+=("$wm_pid")
    poll 10000 wm_running || fail "openbox did not start on $size"
    wm_frames_windows || fail "openbox framed no window on $size"

    QT_SCALE_FACTOR=$scale "$game" >"$work/game.log" 2>&1 &
    local game_pid=$!
    started+=("$game_pid")
    poll 20000 find_framed "$TITLE" || fail "openbox did not manage the game's window on $size at scale $scale"
    local main=$found

    # Every place the frame stands at, from the moment it is framed until it
    # has kept one place for a second and a half.
    local still=0
    while [ "$still" -lt 30 ]; do
        place=$(frame_of "$main") || fail "the window went away on $size at scale $scale"
        if [ "$place" != "$last" ]; then
            places+=("$place")
            last=$place
            still=0
        else
            still=$((still + 1))
        fi
        [ "${#places[@]}" -le 4 ] || break
        sleep 0.05
    done
    read -r x y w h <<<"$last"
    local moves=$((${#places[@]} - 1))
    local home_x=$((HOME_X * scale)) home_y=$((HOME_Y * scale))
    [ "$moves" -le 1 ] || fail "on $size at scale $scale the frame moved $moves times: ${places[*]}"
    # Where it was moved, it first stood at the window's own place.
    [ "$moves" -eq 0 ] || [ "${places[0]% * *}" = "$home_x $home_y" ] ||
        fail "on $size at scale $scale the frame first stood at ${places[0]% * *}, not $home_x $home_y"

    # The least move that puts the frame inside, or its top-left corner
    # where it is larger than the screen.
    local want_x=$((width - w < home_x ? width - w : home_x))
    local want_y=$((height - h < home_y ? height - h : home_y))
    want_x=$((want_x < 0 ? 0 : want_x)) want_y=$((want_y < 0 ? 0 : want_y))
    # At a scale the window stands on whole pixels of its own: a frame
    # moved back comes back to the next of them.
    want_x=$((want_x / scale * scale)) want_y=$((want_y / scale * scale))
    [ "$x $y" = "$want_x $want_y" ] ||
        fail "on $size at scale $scale the frame ${w}x$h stands at $x,$y, not $want_x,$want_y"
    case $expected in
    home)
        [ "$x $y $moves" = "$home_x $home_y 0" ] ||
            fail "on $size at scale $scale the window left its own place: ${places[*]}"
        ;;
    inside)
        [ $((x + w)) -le "$width" ] && [ $((y + h)) -le "$height" ] ||
            fail "on $size at scale $scale the frame ${w}x$h at $x,$y does not lie inside the screen"
        ;;
    corner)
        [ "$x $y" = "$want_x 0" ] && [ $((h > height)) -eq 1 ] ||
            fail "on $size at scale $scale the frame ${w}x$h at $x,$y is not a frame too high for the screen at its top"
        ;;
    esac
    # The name prompt opens over the window, on the screen as well, and the
    # window stays where it is.
    xdotool mousemove --window "$main" $((START_X * scale)) $((START_Y * scale)) click 1 ||
        fail "cannot click START on $size"
    poll 20000 find_framed "$PROMPT_TITLE" || fail "no name prompt on $size at scale $scale"
    local px py pw ph
    read -r px py pw ph < <(frame_of "$found")
    [ "$px" -ge 0 ] && [ "$py" -ge 0 ] && [ $((px + pw)) -le "$width" ] &&
        [ $((py + ph)) -le "$height" ] ||
        fail "on $size at scale $scale the name prompt's frame ${pw}x$ph at $px,$py leaves the screen"
    [ "$(frame_of "$main")" = "$last" ] ||
        fail "on $size at scale $scale the window moved when the name prompt opened: $(frame_of "$main")"

    echo "$size at scale $scale: frame ${w}x$h at $x,$y ($moves move$([ "$moves" -eq 1 ] || echo s))"
    if [ -n "$SHOT_DIR" ]; then
        timeout 10 import -silent -window root "png:$SHOT_DIR/place-$size-$scale.png" 2>/dev/null
    fi

    kill -TERM "$game_pid"
    poll 3000 not_running "$game_pid" || fail "SIGTERM did not end the game on $size"
    wait "$game_pid"
    local status=$?
    [ "$status" -eq 0 ] || fail "after SIGTERM the game ended with status $status on $size"
    [ -s "$work/game.log" ] && fail "the game printed on $size at scale $scale: $(head -n 3 "$work/game.log")"
    kill "$wm_pid" 2>/dev/null
    wait "$wm_pid" 2>/dev/null
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
    started=()
}

private_home
no_session_bus
for case in "${CASES[@]}"; do
    # shellcheck disable=SC2086
    run_case $case
done
echo "${#CASES[@]} passed, 0 failed"
