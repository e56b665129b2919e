#!/bin/bash
# The real game picks its edition as a Debian program picks its language:
# started on an X server of its own under each set of locale variables (and
# with --language), its window must carry the title of the edition asked
# for. Arguments other than --language ja|en are refused.
#
#   language_test.sh GAME
TEST_NAME=language FAILURES=counted
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

game=$1
readonly JAPANESE="ホシフルツルギ２" ENGLISH="Hoshifuru Tsurugi 2"
start_xvfb 1920x1080

# The title of the game's window, started with the environment and arguments
# given (VAR=VALUE... [-- ARGUMENTS...]); empty when no window showed.
title_for() {
    local environment=() arguments=() window="" title="" pid try
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        environment+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift && arguments=("$@")
    env -i PATH="$PATH" HOME="$work" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
        XDG_RUNTIME_DIR="$work/runtime" "${environment[@]}" \
        "$game" "${arguments[@]}" >"$work/game.log" 2>&1 &
    pid=$!
    for try in $(seq 250); do
        window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.02
    done
    [ -n "$window" ] && title=$(xdotool getwindowname "$window" 2>/dev/null)
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    echo "$title"
}

expect() { # edition-title description settings...
    local want=$1 description=$2
    shift 2
    local got
    got=$(title_for "$@")
    if [ "$got" = "$want" ]; then
        pass "$description: $want"
    else
        fail "$description: the window is titled '$got', not '$want' ($(tail -n 3 "$work/game.log"))"
    fi
}

mkdir -p -m 0700 "$work/runtime"
expect "$ENGLISH" "an English desktop" LANG=en_US.UTF-8
expect "$JAPANESE" "a Japanese desktop" LANG=ja_JP.UTF-8
expect "$JAPANESE" "a German desktop" LANG=de_DE.UTF-8
expect "$ENGLISH" "German, then English" LANG=de_DE.UTF-8 LANGUAGE=de:en
expect "$JAPANESE" "the C locale over an English LANG" LANG=en_US.UTF-8 LC_ALL=C
expect "$JAPANESE" "LANGUAGE under the C locale" LANG=C LANGUAGE=en
expect "$ENGLISH" "--language en on a Japanese desktop" LANG=ja_JP.UTF-8 -- --language en
expect "$JAPANESE" "--language ja on an English desktop" LANG=en_US.UTF-8 -- --language ja
expect "$ENGLISH" "--language=en" LANG=C.UTF-8 -- --language=en

# Anything else is refused before a window is made, with status 2.
for arguments in "--language" "--language fr" "--language en --language ja" "--language en extra" \
    "--language=" "-language en"; do
    read -r -a argv <<<"$arguments"
    env -i PATH="$PATH" HOME="$work" LC_ALL=C.UTF-8 timeout -s KILL 10 "$game" "${argv[@]}" \
        >/dev/null 2>"$work/err"
    status=$?
    if [ $status -eq 2 ] && [ -s "$work/err" ]; then
        pass "\"$arguments\" refused: $(head -n 1 "$work/err")"
    else
        fail "\"$arguments\": status $status, said '$(head -c 200 "$work/err")'"
    fi
done

all_passed
