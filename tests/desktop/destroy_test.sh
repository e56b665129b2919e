#!/bin/bash
# Another program destroys a window of the game (xdotool windowclose, which
# destroys the X window; a window manager's kill tools do the same) or cuts
# its connection to the display (xdotool windowkill). The game must not run
# on without its window: a destroyed window ends it as its close control
# does, with status 0, also while a dialog is open; a cut connection ends it
# as a lost display does.
#
#   destroy_test.sh GAME
TEST_NAME=destroy
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -lt 1 ]; then
    echo "usage: $0 GAME" >&2
    exit 2
fi
game=$1
need Xvfb xdotool xdpyinfo

start_xvfb 1280x1024
no_session_bus
private_home

readonly TITLE="ホシフルツルギ２" PROMPT_TITLE="ホシフルツルギⅡ"

passed=0
# Starts the game, opens the name prompt when asked to, destroys the named
# window by the named means, and expects the game to end with STATUS within
# two seconds.
case_() { # what prompt?(yes/no) destroy(main/prompt) how(windowclose/windowkill) status
    local game_pid main target sent status
    "$game" >"$work/game.log" 2>&1 &
    game_pid=$!
    started+=($game_pid)
    poll 10000 find_window "^$TITLE\$" || fail "$1: the window did not appear"
    main=$found
    target=$main
    if [ "$2" = yes ]; then
        xdotool mousemove --window "$main" 53 136 click 1 || fail "$1: cannot click START"
        poll 5000 find_window "^$PROMPT_TITLE\$" || fail "$1: no name prompt"
        [ "$3" = prompt ] && target=$found
    fi
    sent=$(now_ms)
    xdotool "$4" "$target" || fail "$1: xdotool $4 failed"
    poll 2000 not_running "$game_pid" || fail "$1: the game still runs 2 s after its window was destroyed"
    wait "$game_pid"
    status=$?
    [ "$status" -eq "$5" ] || fail "$1: the game ended with status $status, not $5"
    echo "$1: ended with status $status after $(($(now_ms) - sent)) ms"
    passed=$((passed + 1))
}

case_ "main window destroyed" no main windowclose 0
case_ "main window destroyed under the name prompt" yes main windowclose 0
case_ "name prompt destroyed" yes prompt windowclose 0
case_ "connection cut" no main windowkill 1
echo "$passed passed, 0 failed"
