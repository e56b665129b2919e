#!/bin/bash
# The game stores nothing and talks to nothing but the display: every file
# and network system call of a playthrough is traced with strace, and none
# may create, write, rename or remove a file outside /dev and /proc, open
# a socket of any family but AF_UNIX, or start another program.
#
#   no_writes_test.sh STORYPLAY GAME WMCLOSE SCRIPT
#
# Runs, each under `strace -f`:
#   1. storyplay playing SCRIPT (offscreen; must end the program with exit 0),
#      as in a desktop session (XDG_RUNTIME_DIR set);
#   2. the same with XDG_RUNTIME_DIR unset, as under a bare login or CI;
#   3. the real game in its own Xvfb: START (a beep), a typed name, the
#      welcome message, then the window's close control; with no session
#      bus address and dbus-launch installed, where the bus library would
#      start a bus daemon (and write its address in the home folder) if it
#      were let.
# Every run gets an empty HOME and TMPDIR of its own, so whatever it would
# store lands there and shows in the trace as created, not in the real home.
# Making sure an existing directory exists (mkdir failing with EEXIST, as Qt
# does with XDG_RUNTIME_DIR) creates nothing and is no finding.
#
# A finding listed in KNOWN below is printed as such and does not fail the
# test; any other finding does. Each entry names the fault it stands for.

TEST_NAME=nowrites FAILURES=counted
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -ne 4 ]; then
    echo "usage: $0 STORYPLAY GAME WMCLOSE SCRIPT" >&2
    exit 2
fi
storyplay=$1 game=$2 wmclose=$3 script=$4

need strace Xvfb xdotool xwininfo dbus-launch

# Findings that stand for faults already reported, as extended regular
# expressions over the strace line (after its process id).
KNOWN=(
    # Qt's fallback when XDG_RUNTIME_DIR is unset: it creates the directory
    # runtime-USER in the temporary directory (/tmp/runtime-root for root).
    '^mkdir\("[^"]*/runtime-[^"/]*", 0700\)'
)

# In the sanitizer build: LeakSanitizer cannot run under a tracer (it stops
# the program with an error); the other tests check for leaks.
traced_asan="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Anything a run started and left behind (a bus daemon) has a home in the
# work folder.
end_leftovers() {
    grep -lzE "^HOME=$work/" /proc/[0-9]*/environ 2>/dev/null |
        sed -E 's|/proc/([0-9]+)/environ|\1|' | xargs -r kill 2>/dev/null
}
at_exit+=(end_leftovers)

trace() { # log command...
    local log=$1
    shift
    strace -f -qq -s 512 -e trace=%file,%network -e signal=none -o "$log" "$@"
}

# Prints the calls of a trace that create, write, rename or remove a file
# outside /dev and /proc, that use a socket family other than AF_UNIX, or
# that start a program other than env and the one under test.
findings() { # log program
    sed -E 's/^[0-9]+ +//' "$1" | awk -v program="$2" '
        function path(line,    p) {
            if (match(line, /"[^"]*"/)) return substr(line, RSTART + 1, RLENGTH - 2)
            return ""
        }
        function outside(line,    p) {
            p = path(line)
            return !(p ~ /^\/dev\// || p ~ /^\/proc\//)
        }
        /^execve(at)?\(/ { p = path($0); if (p != program && p !~ /\/env$/) print; next }
        /^(open|openat|openat2)\(/ && /O_(CREAT|WRONLY|RDWR|TRUNC)/ && outside($0) { print; next }
        /^(mkdir|mkdirat)\(/ && / = -1 EEXIST / { next }
        /^(creat|mkdir|mkdirat|rmdir|unlink|unlinkat|rename|renameat|renameat2|link|linkat|symlink|symlinkat|truncate|mknod|mknodat|chmod|fchmodat|chown|lchown|fchownat|utime|utimes|utimensat|setxattr|lsetxattr|removexattr|lremovexattr)\(/ && outside($0) { print; next }
        /^socket\(/ && !/^socket\(AF_(UNIX|LOCAL),/ { print; next }
        /^(connect|bind|sendto|sendmsg)\(/ && /AF_INET|AF_INET6|AF_PACKET/ { print; next }
    '
}

# Checks one trace: known findings are shown, any other fails the run.
judge() { # run-name log program
    local line known pattern unexpected=0 total
    total=$(wc -l <"$2")
    while IFS= read -r line; do
        known=no
        for pattern in "${KNOWN[@]}"; do
            [[ $line =~ $pattern ]] && known=yes
        done
        if [ $known = yes ]; then
            echo "  known fault, reported: $line"
        else
            echo "  UNEXPECTED: $line"
            unexpected=$((unexpected + 1))
        fi
    done < <(findings "$2" "$3")
    if [ "$unexpected" -eq 0 ]; then
        echo "$1: no unexpected file write or network socket in $total traced calls"
        passes=$((passes + 1))
    else
        fail "$1: $unexpected call(s) that write files or open network sockets"
    fi
}

fresh_home() { # name
    mkdir -p "$work/$1/home" "$work/$1/tmp"
    echo "$work/$1/home"
}

# ---------------------------------------------------------------- storyplay
storyplay_run() { # name runtime-dir-or-empty
    local home out status
    home=$(fresh_home "$1")
    local env_args=(env -i PATH="$PATH" HOME="$home" TMPDIR="$work/$1/tmp" LC_ALL=C.UTF-8
        QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="$traced_asan")
    if [ -n "$2" ]; then
        mkdir -m 0700 -p "$2"
        env_args+=(XDG_RUNTIME_DIR="$2")
    fi
    echo "$1:"
    out=$(trace "$work/$1.strace" "${env_args[@]}" "$storyplay" "$script" 2>"$work/$1.err")
    status=$?
    if [ $status -ne 0 ] || [ "$(tail -n 1 <<<"$out")" != '{"event":"exit","code":0}' ]; then
        fail "$1: storyplay did not play to the end of the game (status $status): $(tail -n 2 <<<"$out")"
        return
    fi
    grep -q '"event":"message","text":"ドカ――ン！！5000000のダメージをくらった！"' <<<"$out" ||
        fail "$1: the playthrough did not reach the last blow before ゲームオーバー"
    judge "$1" "$work/$1.strace" "$storyplay"
}

storyplay_run storyplay-desktop "$work/runtime"
storyplay_run storyplay-bare ""

# ---------------------------------------------------------------- real game
game_run() {
    local name=game-xvfb home display main prompt box status
    home=$(fresh_home $name)
    if ! start_private_xvfb "$work" 1280x1024; then
        fail "$name: Xvfb did not start"
        return
    fi
    display=$DISPLAY
    echo "$name:"
    mkdir -m 0700 -p "$work/runtime-game"
    trace "$work/$name.strace" env -i PATH="$PATH" HOME="$home" TMPDIR="$work/$name/tmp" LC_ALL=C.UTF-8 \
        DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime-game" \
        ASAN_OPTIONS="$traced_asan" \
        "$game" 2>"$work/$name.err" &
    local tracer=$!
    if ! poll 10000 find_window '^ホシフルツルギ２$'; then
        fail "$name: the window did not appear"
        stop_trace "$tracer"
        return
    fi
    main=$found
    # START sits at 16,128 (75x17) in the window.
    xdotool mousemove --window "$main" 53 136 click 1
    poll 5000 find_window '^ホシフルツルギⅡ$' || { fail "$name: no name prompt"; stop_trace "$tracer"; return; }
    prompt=$found
    xdotool windowfocus --sync "$prompt" type --delay 10 "ゆう"
    xdotool key Return
    poll 5000 find_window "^$(message_box_title "$game")\$" || { fail "$name: no welcome message"; stop_trace "$tracer"; return; }
    box=$found
    xdotool windowfocus --sync "$box" key Return
    gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
    poll 5000 gone "$box" || { fail "$name: the welcome message stayed"; stop_trace "$tracer"; return; }
    "$wmclose" "$main" || fail "$name: cannot send WM_DELETE_WINDOW"
    if ! poll 5000 not_running "$tracer"; then
        fail "$name: the game did not end after its close control"
        stop_trace "$tracer"
        return
    fi
    wait "$tracer"
    status=$?
    [ $status -eq 0 ] || fail "$name: the game exited with status $status"
    judge "$name" "$work/$name.strace" "$game"
}
# Ends a traced run that went wrong: the traced game first (strace's child),
# then strace.
stop_trace() {
    pkill -KILL -P "$1" 2>/dev/null
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

game_run

all_passed
