#!/bin/bash
# The real game started in hostile surroundings; each MODE is a test of its
# own.
#
#   surroundings_test.sh MODE GAME WMCLOSE [relaxed]
#
# display      nothing to show the window on: DISPLAY unset, empty, garbage
#              or naming no server, a platform that does not exist, a Wayland
#              display that is not there, a console platform with no frame
#              buffer, DRM device or EGL, an X display of 8-bit colour. One
#              line on standard error that names it, status 1 (no abort).
# arguments    Qt's own command-line options, unknown arguments and near
#              misses of --help and --version alike are refused with one
#              line that names the first, status 2, before anything is read
#              or shown; the line shows control characters written out.
# signals      SIGHUP at the title, in a scene, in the name prompt and in a
#              message box ends the game through its window's close, status
#              0; a SIGTERM already pending when the program is executed ends
#              it with status 0, and the handler is in place before the
#              display is contacted; a SIGHUP ignored at start (nohup) stays
#              ignored.
# sessionbus   no session bus address, dbus-launch installed: no bus daemon
#              started, no file made, the window on screen within a second,
#              with a home folder and without one; and a screen reader's bus
#              published on the X root window is still found.
# sound        the first beep on a machine without a sound card prints
#              nothing and makes nothing in the runtime folder; a sound
#              server that accepts and never answers holds nothing back;
#              with standard error a pipe nobody reads any more, the
#              game plays on; started with standard error (or all three
#              standard streams) closed, the game plays.
# titles       under LANG=C and LC_ALL=POSIX the legacy WM_NAME of the window,
#              the name prompt and a message box reads as the UTF-8 title
#              does; a program file named .hidden gives message boxes an
#              empty caption.
# descriptors  with a limit of 7 open files: one line and status 1 at once,
#              never a hang; with only the soft limit that low, the game
#              plays.
# libraries    no program or library of the build has an empty or relative
#              runtime search path, and libraries planted in the working
#              folder under the names of those the game loads are never
#              loaded while it plays.
# hangs        an X server that stops answering (at start, at the title, in
#              the name prompt, in a message box), a Wayland display that
#              accepts and never answers, a font configuration that never
#              ends: SIGTERM ends the game within a second, status 0; at
#              start, without a signal, the game gives up with one line,
#              status 1, that names what did not answer (the display, the
#              font configuration). A session manager that never answers is
#              never asked.
# limits       hard limits too low for a game (stack, address space, one
#              process): one line, status 1, never a crash or a hang; a low
#              soft stack limit is raised and the game plays.
# settings     QT_SCALE_FACTOR and QT_FONT_DPI that leave no usable window:
#              one line, status 1; a sane scale still plays.
# clipboard    a clipboard owner that never answers: a paste into the name
#              prompt holds the game at most about a second.
#
# WMCLOSE is the helper that sends WM_DELETE_WINDOW (tests/e2e). "relaxed"
# (the sanitizer build) triples the time limits.

TEST_NAME=surroundings FAILURES=counted
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -lt 3 ]; then
    echo "usage: $0 MODE GAME WMCLOSE [relaxed]" >&2
    exit 2
fi
mode=$1 game=$2 wmclose=$3
# The X clients and the planted library built beside this test.
xhelper=${HOSTILE_XHELPER:-hostile_xhelper}
slow=1
[ "${4:-}" = relaxed ] && slow=3

need Xvfb xdotool xprop xwininfo strace perl readelf python3

box_title=$(message_box_title "$game")

# Each run starts from an environment of its own: a fresh home, temporary
# and runtime folder, no session bus, nothing else inherited but PATH, the
# display and the sanitizers' options.
runs=0
fresh_env() { # sets run_env and run_dir
    runs=$((runs + 1))
    run_dir=$work/run$runs
    mkdir -p "$run_dir/home" "$run_dir/tmp"
    mkdir -p -m 0700 "$run_dir/runtime"
    run_env=(env -i PATH="$PATH" HOME="$run_dir/home" TMPDIR="$run_dir/tmp"
        XDG_RUNTIME_DIR="$run_dir/runtime" LC_ALL=C.UTF-8)
    local name
    for name in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
        [ -n "${!name:-}" ] && run_env+=("$name=${!name}")
    done
    [ -n "${DISPLAY:-}" ] && run_env+=(DISPLAY="$DISPLAY")
}

# Starts the game in the background: start_game [VAR=VALUE...] [-- PREFIX...]
# sets game_pid; its standard error goes to $run_dir/err.
start_game() {
    local assignments=() prefix=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        assignments+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift && prefix=("$@")
    "${prefix[@]}" "${run_env[@]}" "${assignments[@]}" "$game" 2>"$run_dir/err" &
    game_pid=$!
    started+=("$game_pid")
}

main=""
gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
# Waits for the game to end: await_exit LIMIT-MS; sets exit_status.
await_exit() {
    exit_status=""
    poll "$1" not_running "$game_pid" || return 1
    wait "$game_pid"
    exit_status=$?
}
stop_game() {
    kill -KILL "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
}

# The steps of the opening; each sets found to the window it waits for.
await_main() { poll $((5000 * slow)) find_window '^ホシフルツルギ２$' && main=$found; }
click_start() { xdotool mousemove --window "$main" 53 136 click 1; }
await_prompt() { poll $((5000 * slow)) find_window '^ホシフルツルギⅡ$'; }
await_box() { poll $((5000 * slow)) find_window "^$box_title\$"; }
press_return() { xdotool windowfocus --sync "$1" key Return; }
# START, Enter in the prompt: leaves the welcome message open in $found.
open_welcome() {
    await_main || return 1
    click_start
    await_prompt || return 1
    press_return "$found"
    await_box
}

# ---------------------------------------------------------------- display
display_case() { # description expected-line VAR=VALUE...
    local what=$1 expected=$2
    shift 2
    fresh_env
    "${run_env[@]}" "$@" timeout -s KILL $((20 * slow)) "$game" >/dev/null 2>"$run_dir/err"
    local status=$? said
    said=$(cat "$run_dir/err")
    if [ $status -ne 1 ]; then
        fail "$what: status $status, not 1: $(head -c 300 "$run_dir/err")"
    elif [ "$said" != "$expected" ]; then
        fail "$what: standard error is not the one line \"$expected\" but: $(head -c 600 "$run_dir/err")"
    else
        pass "$what: $said"
    fi
}

test_display() {
    unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
    local free=1000
    while [ -e "/tmp/.X11-unix/X$free" ] || [ -e "/tmp/.X$free-lock" ]; do
        free=$((free + 1))
    done
    display_case "DISPLAY unset" "hoshifuru2: cannot open a display (DISPLAY is not set)"
    display_case "DISPLAY empty" "hoshifuru2: cannot open a display (DISPLAY is not set)" DISPLAY=
    display_case "no X server there" "hoshifuru2: cannot open a display (X display \":$free\")" \
        DISPLAY=":$free"
    display_case "DISPLAY garbage" "hoshifuru2: cannot open a display (X display \"no such; thing\")" \
        DISPLAY="no such; thing"
    display_case "unknown platform" "hoshifuru2: cannot open a display (platform \"nothing\")" \
        QT_QPA_PLATFORM=nothing
    display_case "no Wayland compositor" \
        "hoshifuru2: cannot open a display (Wayland display \"hoshifuru2-none\")" \
        QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=hoshifuru2-none

    # A library the platform needs is broken: the line names it, whatever
    # the loader's words for it.
    start_xvfb 1280x1024
    mkdir "$work/broken"
    : >"$work/broken/libxcb-icccm.so.4"
    fresh_env
    "${run_env[@]}" LD_LIBRARY_PATH="$work/broken" timeout -s KILL $((20 * slow)) "$game" \
        >/dev/null 2>"$run_dir/err"
    local status=$?
    if [ $status -ne 1 ] || [ "$(wc -l <"$run_dir/err")" -ne 1 ] ||
        ! grep -q '^hoshifuru2: .*libxcb-icccm\.so\.4' "$run_dir/err"; then
        fail "broken library: status $status, said: $(head -c 600 "$run_dir/err")"
    else
        pass "broken library: $(cat "$run_dir/err")"
    fi

    # The console platforms with nothing to show on (no frame buffer, no DRM
    # device, no EGL): one line that names the platform, status 1, never
    # Qt's abort. (A platform that does start here plays, and is ended.)
    local platform
    for platform in linuxfb:fb=/nonexistent/fb0 eglfs minimalegl; do
        fresh_env
        "${run_env[@]}" QT_QPA_PLATFORM="$platform" timeout -s KILL $((10 * slow)) "$game" \
            >/dev/null 2>"$run_dir/err"
        status=$?
        if [ $status -eq 137 ]; then
            pass "$platform: the platform started and the game ran"
        elif [ $status -ne 1 ] || [ "$(wc -l <"$run_dir/err")" -ne 1 ] ||
            ! grep -q "^hoshifuru2: cannot start the platform \"${platform%%:*}\": ." "$run_dir/err"; then
            fail "$platform: status $status, said: $(head -c 600 "$run_dir/err")"
        else
            pass "$platform: $(cat "$run_dir/err")"
        fi
    done

    # An X display of 8-bit colour, on which Qt paints nothing and crashes
    # at the name prompt: refused.
    Xvfb -displayfd 3 -screen 0 640x480x8 -nolisten tcp -noreset -s 0 3>"$work/display8" \
        >"$work/xvfb8.log" 2>&1 &
    started+=($!)
    poll 10000 test -s "$work/display8"
    display_case "8-bit colour display" \
        "hoshifuru2: the display shows 8-bit colour, too few to draw the game in: 15-bit colour or more is needed" \
        DISPLAY=":$(head -n 1 "$work/display8")"
}

# ---------------------------------------------------------------- arguments
test_arguments() {
    start_xvfb 1280x1024
    mkfifo "$work/fifo" # anything that opened it to read would wait for ever
    mkdir "$work/plugins"
    local args
    local -a cases=(
        "-stylesheet $work/fifo" "-qwindowicon $work/fifo" "-platformpluginpath $work/plugins"
        "-platform offscreen" "-geometry 100x100+5000+5000" "-qwindowgeometry 100x100+5000+5000"
        "-qwindowtitle Evil" "-reverse" "-style fusion" "-session x" "-display :0" "-name evil"
        "-title evil" "hello" "--" "-x" "--no-such-option"
        "--help hello" "hello --version" "-H" "--HELP" "--help=1" "-hv" "--versio" "-help"
        "--language en -platform offscreen" "--language=en -reverse" "--language ja --language en"
    )
    for args in "${cases[@]}" ""; do
        local argv=()
        if [ -n "$args" ]; then
            read -r -a argv <<<"$args"
        else
            argv=("") # one empty argument
        fi
        # The first argument the game does not take is named.
        local refused=${argv[0]}
        case $refused in
        --help | --language=*) refused=${argv[1]} ;;
        --language) refused=${argv[2]} ;;
        esac
        argument_refused "arguments \"$args\"" "$(unknown "$refused")" "${argv[@]}"
    done
    # A refused argument is shown, never obeyed by the terminal: its control
    # and direction characters are written out.
    argument_refused "an argument with a terminal escape" "$(unknown '\u{001B}]0;evil\u{0007}')" \
        $'\e]0;evil\a'
    argument_refused "an argument with a direction override" "$(unknown '\u{202E}live')" \
        $'\u202elive'
    # The edition is ja or en, and nothing is opened for another name.
    argument_refused "--language without a value" "--language takes ja or en" --language
    argument_refused "--language fr" '--language takes ja or en, not "fr"' --language fr
    argument_refused "--language=" '--language takes ja or en, not ""' --language=
    argument_refused "--language naming a pipe" "--language takes ja or en, not \"$work/fifo\"" \
        --language "$work/fifo"
}

unknown() { echo "unknown argument \"$1\" (hoshifuru2 --help lists the options)"; }

# The game refuses ARGUMENTS with status 2 and one line, "hoshifuru2: SAID".
argument_refused() { # description said arguments...
    local description=$1 said=$2
    shift 2
    fresh_env
    "${run_env[@]}" timeout -s KILL $((3 * slow)) "$game" "$@" >/dev/null 2>"$run_dir/err"
    local status=$?
    if [ $status -ne 2 ] || [ "$(cat "$run_dir/err")" != "hoshifuru2: $said" ]; then
        fail "$description: status $status, said: $(head -c 300 "$run_dir/err")"
    else
        pass "$description refused"
    fi
}

# ---------------------------------------------------------------- signals
hup_case() { # description, steps-function
    fresh_env
    start_game
    if ! "$2"; then
        fail "$1: the game did not get there"
        stop_game
        return
    fi
    local sent
    sent=$(now_ms)
    kill -HUP "$game_pid"
    if ! await_exit $((1000 * slow)); then
        fail "$1: SIGHUP did not end the game within $((1000 * slow)) ms"
        stop_game
    elif [ "$exit_status" -ne 0 ]; then
        fail "$1: SIGHUP ended the game with status $exit_status"
    else
        pass "$1: SIGHUP ended the game with status 0 in $(($(now_ms) - sent)) ms"
    fi
}
at_title() { await_main; }
in_prompt() { await_main && click_start && await_prompt; }
in_box() { open_welcome; }
in_scene() { open_welcome && local box=$found && press_return "$box" && poll 5000 gone "$box"; }

test_signals() {
    start_xvfb 1280x1024
    hup_case "at the title" at_title
    hup_case "in the name prompt" in_prompt
    hup_case "in a message box" in_box
    hup_case "in a scene" in_scene

    # SIGTERM pending and blocked when the program is executed: it must be
    # taken as soon as the program can take it.
    fresh_env
    start_game -- perl -MPOSIX -e \
        'sigprocmask(SIG_BLOCK, POSIX::SigSet->new(SIGTERM)); kill "TERM", $$; exec @ARGV or die'
    if ! await_exit $((3000 * slow)); then
        fail "SIGTERM pending at exec: the game still runs after $((3000 * slow)) ms"
        stop_game
    elif [ "$exit_status" -ne 0 ]; then
        fail "SIGTERM pending at exec: status $exit_status"
    else
        pass "SIGTERM pending at exec: status 0"
    fi

    # The handler for SIGTERM is in place before the display is contacted.
    fresh_env
    start_game -- strace -f -qq -ttt -e trace=execve,rt_sigaction,connect -e signal=none \
        -o "$run_dir/strace"
    if await_main; then
        "$wmclose" "$main"
        await_exit $((5000 * slow)) || stop_game
        local handler connect exec
        handler=$(grep -n -m1 'rt_sigaction(SIGTERM, {sa_handler=0x' "$run_dir/strace" | cut -d: -f1)
        connect=$(grep -n -m1 'connect(' "$run_dir/strace" | cut -d: -f1)
        if [ -z "$handler" ] || [ -z "$connect" ] || [ "$handler" -gt "$connect" ]; then
            fail "SIGTERM's handler is set up after the display is contacted (lines $handler, $connect)"
        else
            exec=$(grep -m1 "execve(\"$game\"" "$run_dir/strace" | awk '{print $2}')
            handler=$(sed -n "${handler}p" "$run_dir/strace" | awk '{print $2}')
            pass "SIGTERM's handler is set up before the display is contacted," \
                "$(awk -v a="$exec" -v b="$handler" 'BEGIN { printf "%.1f", (b - a) * 1000 }') ms after exec"
        fi
    else
        fail "the traced game showed no window"
        stop_game
    fi

    # Started to outlive its terminal (nohup): SIGHUP stays ignored.
    fresh_env
    start_game -- perl -e '$SIG{HUP} = "IGNORE"; exec @ARGV or die'
    if await_main; then
        kill -HUP "$game_pid"
        sleep 0.3
        if not_running "$game_pid"; then
            fail "an ignored SIGHUP ended the game"
        else
            kill -TERM "$game_pid"
            await_exit $((1000 * slow)) && [ "$exit_status" -eq 0 ] &&
                pass "a SIGHUP ignored at start stays ignored; SIGTERM then ends it" ||
                fail "SIGTERM after an ignored SIGHUP: status ${exit_status:-none}"
        fi
    else
        fail "nohup: the game showed no window"
    fi
    stop_game
}

# ---------------------------------------------------------------- session bus
# Processes whose environment holds this run's home: what the run left behind.
left_behind() {
    grep -lzxF "HOME=$run_dir/home" /proc/[0-9]*/environ 2>/dev/null |
        sed -E 's|/proc/([0-9]+)/environ|\1|' | grep -vx "$$"
}

sessionbus_case() { # description, home-present(yes/no)
    fresh_env
    if [ "$2" = no ]; then
        rmdir "$run_dir/home"
    fi
    local t0 shown
    t0=$(now_ms)
    start_game
    if ! await_main; then
        fail "$1: no window"
        stop_game
        return
    fi
    shown=$(($(now_ms) - t0))
    if [ "$shown" -gt $((1000 * slow)) ]; then
        fail "$1: the window took $shown ms to show (limit $((1000 * slow)) ms)"
    fi
    "$wmclose" "$main"
    if ! await_exit $((5000 * slow)) || [ "$exit_status" -ne 0 ]; then
        fail "$1: the game did not end with status 0 after its close control (${exit_status:-running})"
        stop_game
    fi
    local leftovers made
    leftovers=$(left_behind | tr '\n' ' ')
    if [ -n "$leftovers" ]; then
        fail "$1: processes left running: $(for p in $leftovers; do tr '\0' ' ' <"/proc/$p/cmdline"; echo -n '; '; done)"
        kill $leftovers 2>/dev/null
    fi
    made=$(find "$run_dir" -mindepth 2 -not -name mute-bus | head -n 5)
    if [ -n "$made" ]; then
        fail "$1: files made: $made"
    fi
    [ -z "$leftovers" ] && [ -z "$made" ] && [ "$shown" -le $((1000 * slow)) ] &&
        pass "$1: no daemon, no file, window shown in $shown ms"
}

# A screen reader's bus as a desktop without a session bus has it: an
# accessibility bus launcher (started with a session bus of its own, which
# the game is not told of) publishes the bus on the X root window.
accessibility_case() {
    local launcher=/usr/libexec/at-spi-bus-launcher
    if [ ! -x "$launcher" ] || ! command -v dbus-send >/dev/null; then
        fail "accessibility: at-spi2-core and dbus-send are not installed (make test-deps installs them)"
        return
    fi
    fresh_env
    local session="unix:path=$run_dir/runtime/launcher-bus"
    "${run_env[@]}" dbus-daemon --session --nofork --address="$session" 2>/dev/null &
    started+=($!)
    poll 5000 test -S "$run_dir/runtime/launcher-bus" || {
        fail "accessibility: no session bus for the launcher"
        return
    }
    "${run_env[@]}" DBUS_SESSION_BUS_ADDRESS="$session" "$launcher" --launch-immediately 2>/dev/null &
    started+=($!)
    local address=""
    published() { address=$(xprop -root AT_SPI_BUS 2>/dev/null | sed -n 's/^AT_SPI_BUS(STRING) = "\(.*\)"$/\1/p') && [ -n "$address" ]; }
    if ! poll 10000 published; then
        fail "accessibility: the launcher published no bus on the root window"
        return
    fi
    start_game
    if ! await_main; then
        fail "accessibility: no window"
        stop_game
        return
    fi
    # The registry lists every application on the bus; one is the game, and
    # its first child is the window.
    local names=() bus path app=""
    names_of() {
        dbus-send --bus="$address" --print-reply --dest="$1" "$2" \
            org.a11y.atspi.Accessible.GetChildren 2>/dev/null |
            sed -n 's/^ *string "\(.*\)"$/\1/p; s/^ *object path "\(.*\)"$/\1/p'
    }
    name_of() {
        dbus-send --bus="$address" --print-reply --dest="$1" "$2" \
            org.freedesktop.DBus.Properties.Get string:org.a11y.atspi.Accessible string:Name \
            2>/dev/null | sed -n 's/^ *variant *string "\(.*\)"$/\1/p'
    }
    find_game() {
        mapfile -t names < <(names_of org.a11y.atspi.Registry /org/a11y/atspi/accessible/root)
        local i
        for ((i = 0; i + 1 < ${#names[@]}; i += 2)); do
            local window
            window=$(names_of "${names[i]}" "${names[i + 1]}" | head -n 2 | tr '\n' ' ')
            read -r bus path <<<"$window"
            [ -n "$bus" ] && [ "$(name_of "$bus" "$path")" = "ホシフルツルギ２" ] && app=${names[i]} && return 0
        done
        return 1
    }
    if poll $((5000 * slow)) find_game; then
        pass "accessibility: with no session bus the game's window is on the screen reader's bus ($app)"
    else
        fail "accessibility: the game is not on the bus published on the root window"
    fi
    "$wmclose" "$main"
    await_exit $((5000 * slow)) || stop_game
    local pid
    for pid in $(left_behind); do
        kill "$pid" 2>/dev/null # the launcher's bus and registry
    done
}

# A root window bus address written by another program: one that would run
# a program, and one of a socket that accepts and never answers. Neither is
# used: the script never runs, the window shows at once.
hostile_bus_case() { # description, address
    "$xhelper" root-string AT_SPI_BUS "$2"
    sessionbus_case "$1" yes
    if [ -e "$work/bus-script-ran" ]; then
        fail "$1: the game ran the program the address names"
        rm -f "$work/bus-script-ran"
    fi
    xprop -root -remove AT_SPI_BUS
}

test_sessionbus() {
    command -v dbus-launch >/dev/null ||
        stop "dbus-launch is not installed (make test-deps installs dbus-x11)"
    start_xvfb 1280x1024
    sessionbus_case "no session bus" yes
    sessionbus_case "no session bus, no home folder" no

    printf '#!/bin/sh\ntouch "%s/bus-script-ran"\n' "$work" >"$work/bus-script"
    chmod +x "$work/bus-script"
    hostile_bus_case "a bus address that runs a program" "unixexec:path=$work/bus-script"
    # A socket in the runs' runtime folder (the next run's) that never
    # answers; the game waits for it at most a second.
    local mute="$work/run$((runs + 1))/runtime/mute-bus"
    mkdir -p -m 0700 "$(dirname "$mute")"
    perl -MIO::Socket::UNIX -e 'my $s = IO::Socket::UNIX->new(Local => $ARGV[0], Listen => 5) or die; sleep' \
        "$mute" &
    started+=($!)
    poll 5000 test -S "$mute"
    local unslow=$slow
    slow=$((slow + 2))
    hostile_bus_case "a bus that never answers" "unix:path=$mute"
    slow=$unslow

    # A runtime folder that is not there, named relatively or absolutely:
    # the game makes neither.
    local runtime
    for runtime in relative-runtime "$work/missing-runtime"; do
        fresh_env
        start_game XDG_RUNTIME_DIR="$runtime" -- env -C "$run_dir/tmp"
        if await_main; then
            "$wmclose" "$main"
            await_exit $((5000 * slow)) || stop_game
        else
            fail "XDG_RUNTIME_DIR=$runtime: no window"
            stop_game
        fi
        if [ -e "$run_dir/tmp/relative-runtime" ] || [ -e "$work/missing-runtime" ]; then
            fail "XDG_RUNTIME_DIR=$runtime: the game made the folder"
        else
            pass "XDG_RUNTIME_DIR=$runtime: no folder made"
        fi
    done
    accessibility_case
}

# ---------------------------------------------------------------- sound
# START (a beep), Enter in the prompt and the welcome message, then the
# window's close control: status 0.
play_opening() { # description
    if ! open_welcome; then
        if not_running "$game_pid"; then
            wait "$game_pid"
            fail "$1: the game ended with status $? before the welcome message"
        else
            fail "$1: the game did not reach the welcome message"
            stop_game
        fi
        return 1
    fi
    press_return "$found"
    poll 5000 gone "$found"
    "$wmclose" "$main"
    if ! await_exit $((5000 * slow)) || [ "$exit_status" -ne 0 ]; then
        fail "$1: the game did not end with status 0 (${exit_status:-still running})"
        stop_game
        return 1
    fi
}

# A sound server that takes every connection and never answers, listening
# where a session's server would: silent_sound_server SOCKET-PATH; sets
# server_pid.
server_pid=""
silent_sound_server() {
    mkdir -p -m 0700 "$(dirname "$1")"
    python3 -c '
import socket, sys
server = socket.socket(socket.AF_UNIX)
server.bind(sys.argv[1])
server.listen(64)
held = []
while True:
    held.append(server.accept()[0])
' "$1" &
    server_pid=$!
    started+=("$server_pid")
    poll 5000 test -S "$1"
}

test_sound() {
    start_xvfb 1280x1024
    fresh_env
    start_game
    if play_opening "quiet beep"; then
        if [ -s "$run_dir/err" ]; then
            fail "quiet beep: the game wrote to standard error: $(head -c 600 "$run_dir/err")"
        else
            pass "the opening, beep included, printed nothing"
        fi
        # With no sound server to talk to, the sound library's client has
        # nothing to keep in the runtime folder either.
        if [ -n "$(ls -A "$run_dir/runtime")" ]; then
            fail "quiet beep: files made in the runtime folder: $(ls -A "$run_dir/runtime")"
        else
            pass "no sound server: nothing made in the runtime folder"
        fi
    fi

    # A sound server that never answers: START still opens the name prompt
    # at once (play_opening's limits), and the game ends when asked.
    fresh_env
    if silent_sound_server "$run_dir/runtime/pulse/native"; then
        start_game
        if play_opening "a sound server that never answers"; then
            pass "a sound server that never answers: the opening played, the game ended"
        fi
    else
        fail "the silent sound server did not start"
    fi
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null

    # Standard error a pipe whose reader has gone, as in `game 2>&1 | true`;
    # the second time with Qt's debug messages on, so that it certainly
    # writes there.
    local rules
    for rules in "" "qt.qpa.*.debug=true"; do
        fresh_env
        local dead reader logging=()
        [ -n "$rules" ] && logging=(QT_LOGGING_RULES="$rules")
        exec {dead}> >(:)
        reader=$!
        wait "$reader" 2>/dev/null
        poll 2000 not_running "$reader"
        "${run_env[@]}" "${logging[@]}" "$game" 2>&"$dead" &
        game_pid=$!
        started+=("$game_pid")
        exec {dead}>&-
        if play_opening "closed standard error${rules:+, $rules}"; then
            pass "closed standard error${rules:+ ($rules)}: the game played on and ended with status 0"
        fi
    done

    # Standard streams closed when the game starts, with a warning written
    # at start-up (fontconfig's, for a configuration that is not there): no
    # file the game opens takes their place, and it plays.
    local closed
    for closed in "2>&-" "<&- >&- 2>&-"; do
        fresh_env
        eval '"${run_env[@]}" FONTCONFIG_FILE=/nonexistent "$game"' "$closed" '&'
        game_pid=$!
        started+=("$game_pid")
        if play_opening "started with $closed"; then
            pass "started with $closed: the game played and ended with status 0"
        fi
    done
}

# ---------------------------------------------------------------- titles
legacy_name() { # window → the value of WM_NAME as xprop shows it (UTF-8)
    xprop -id "$1" WM_NAME | sed -n 's/^WM_NAME([A-Z_]*) = //p'
}

# The game's visible window whose UTF-8 title (_NET_WM_NAME) is TITLE;
# xdotool's search by name reads the legacy WM_NAME, which is under test.
find_titled() { # title
    local window
    for window in $(xdotool search --onlyvisible --pid "$game_pid" --name '' 2>/dev/null); do
        [ "$(xprop -id "$window" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = //p')" = "\"$1\"" ] &&
            found=$window && return 0
    done
    return 1
}

titles_case() { # locale-assignment
    fresh_env
    local kept=() setting
    for setting in "${run_env[@]}"; do
        [ "$setting" != LC_ALL=C.UTF-8 ] && kept+=("$setting")
    done
    run_env=("${kept[@]}")
    start_game "$1"
    local got=() limit=$((5000 * slow))
    if poll $limit find_titled "ホシフルツルギ２"; then
        main=$found
        got+=("window=$(legacy_name "$main")")
        click_start
        if poll $limit find_titled "ホシフルツルギⅡ"; then
            got+=("prompt=$(legacy_name "$found")")
            press_return "$found"
            if poll $limit find_titled "$box_title"; then
                got+=("box=$(legacy_name "$found")")
                press_return "$found"
            fi
        fi
    fi
    local want=("window=\"ホシフルツルギ２\"" "prompt=\"ホシフルツルギⅡ\"" "box=\"$box_title\"")
    if [ "${got[*]}" != "${want[*]}" ]; then
        fail "$1: WM_NAME reads ${got[*]:-(no window)}, not ${want[*]}"
    else
        pass "$1: WM_NAME reads ${got[*]}"
    fi
    [ -n "$main" ] && "$wmclose" "$main"
    await_exit $((5000 * slow)) || stop_game
}

test_titles() {
    start_xvfb 1280x1024
    titles_case LANG=C
    titles_case LC_ALL=POSIX

    # A program file named .hidden: the application title is empty, and so
    # is the caption of its message boxes.
    mkdir "$work/bin"
    ln -s "$(readlink -f "$game")" "$work/bin/.hidden"
    local real_game=$game
    game=$work/bin/.hidden
    main=""
    fresh_env
    start_game
    local box="" names
    box_of_game() { # the game's window that is not the main window
        local window
        for window in $(xdotool search --onlyvisible --pid "$game_pid" --name '' 2>/dev/null); do
            [ "$window" != "$main" ] &&
                xprop -id "$window" _NET_WM_PID | grep -q "= $game_pid\$" && box=$window && return 0
        done
        return 1
    }
    if await_main && click_start && await_prompt && press_return "$found" &&
        poll $((5000 * slow)) box_of_game; then
        names=$(xprop -id "$box" WM_NAME _NET_WM_NAME | sed -E 's/^([A-Z_]+)(\([A-Z_0-9]+\))? ?(=|:) ?/\1 /')
        if [ "$(printf '%s\n' "$names" | awk 'NF > 1 && $2 != "not" && $2 != "\"\""')" != "" ]; then
            fail ".hidden: the message box's caption is not empty: $(echo "$names" | tr '\n' ' ')"
        else
            pass ".hidden: the message box's caption is empty ($(echo "$names" | tr '\n' ' '))"
        fi
        press_return "$box"
    else
        fail ".hidden: the game did not reach its welcome message"
    fi
    "$wmclose" "$main"
    await_exit $((5000 * slow)) || stop_game
    game=$real_game
}

# ---------------------------------------------------------------- descriptors
# Runs the game with every inherited descriptor above 2 closed and the limit
# set by `ulimit ARG`.
with_limit() { # ulimit-argument
    start_game -- bash -c 'for fd in $(ls /proc/$$/fd); do
            [ "$fd" -gt 2 ] && [ -e "/proc/$$/fd/$fd" ] && eval "exec $fd>&-"
        done
        ulimit '"$1"' 7 && exec "$@"' limit
}

test_descriptors() {
    start_xvfb 1280x1024
    fresh_env
    with_limit -n
    ends_with_one_line "limit 7" '^hoshifuru2: '

    fresh_env
    with_limit -Sn
    play_opening "soft limit 7" && pass "soft limit 7: the game played and ended with status 0"
}

# ---------------------------------------------------------------- libraries
test_libraries() {
    local build file entry bad=0 checked=0
    build=$(dirname "$(readlink -f "$game")")
    while IFS= read -r -d '' file; do
        [ "$(head -c 4 "$file")" = $'\x7fELF' ] || continue
        checked=$((checked + 1))
        local path
        path=$(readelf -d "$file" 2>/dev/null | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*: \[\(.*\)\]$/\2/p')
        [ -z "$path" ] && continue
        # Every entry is an absolute folder or starts at the file's own.
        while IFS= read -r entry; do
            case $entry in
            /* | '$ORIGIN' | '$ORIGIN/'*) ;;
            *)
                fail "$file: search path \"$path\" has the entry \"$entry\" (the working folder or relative to it)"
                bad=1
                break
                ;;
            esac
        done < <(printf '%s\n' "$path" | tr ':' '\n')
    done < <(find "$build" -type f \( -perm -u+x -o -name '*.so*' \) -not -path '*/CMakeFiles/*' -print0)
    [ "$bad" -eq 0 ] && pass "$checked programs and libraries: no search path entry outside absolute folders"

    # The libraries planted where the game starts: the display's, the C++
    # and C libraries, Qt's, the platform plugin's, and those of the alert
    # sound, loaded on the first beep.
    start_xvfb 1280x1024
    fresh_env
    local planted=$work/planted name
    mkdir "$planted"
    for name in libxcb.so.1 libxcb-icccm.so.4 libstdc++.so.6 libc.so.6 libQt6Core.so.6 \
        libQt6Gui.so.6 libQt6Widgets.so.6 libasound.so.2 libcanberra.so.0; do
        cp "$HOSTILE_PLANTED" "$planted/$name"
    done
    start_game -- env -C "$planted"
    if play_opening "planted libraries"; then
        if [ -e "$planted/planted-loaded" ]; then
            fail "a library planted in the working folder was loaded"
        else
            pass "the opening with its beep played; no library planted in the working folder was loaded"
        fi
    fi
}

# ---------------------------------------------------------------- hangs
# Ends the game with SIGTERM while it waits: term_in_hang description.
term_in_hang() {
    local sent
    sent=$(now_ms)
    kill -TERM "$game_pid"
    if ! await_exit $((1000 * slow)); then
        fail "$1: SIGTERM did not end the game within $((1000 * slow)) ms"
        stop_game
    elif [ "$exit_status" -ne 0 ]; then
        fail "$1: SIGTERM ended the game with status $exit_status"
    else
        pass "$1: SIGTERM ended the game with status 0 in $(($(now_ms) - sent)) ms"
    fi
}

# Waits for start-up to give up: gives_up description pattern.
gives_up() {
    if ! await_exit $((15000 * slow)); then
        fail "$1: start-up still waits after $((15000 * slow)) ms"
        stop_game
    elif [ "$exit_status" -ne 1 ] || [ "$(wc -l <"$run_dir/err")" -ne 1 ] ||
        ! grep -q "$2" "$run_dir/err"; then
        fail "$1: status $exit_status, said: $(head -c 600 "$run_dir/err")"
    else
        pass "$1: $(cat "$run_dir/err")"
    fi
}

stopped_x_case() { # description, steps-function
    fresh_env
    start_game
    if ! "$2"; then
        fail "$1: the game did not get there"
        stop_game
        return
    fi
    kill -STOP "$xvfb_pid"
    sleep 0.2
    term_in_hang "$1"
    kill -CONT "$xvfb_pid"
}

test_hangs() {
    start_xvfb 1280x1024
    stopped_x_case "X server stopped at the title" at_title
    stopped_x_case "X server stopped in the name prompt" in_prompt
    stopped_x_case "X server stopped in a message box" in_box

    kill -STOP "$xvfb_pid"
    fresh_env
    start_game
    sleep 0.5
    term_in_hang "X server stopped at start"
    fresh_env
    start_game
    gives_up "X server stopped at start, no signal" '^hoshifuru2: no answer from the display (X display'
    kill -CONT "$xvfb_pid"

    # A Wayland display that accepts and never answers, preferred by the
    # session type over a working X display.
    fresh_env
    local mute=$run_dir/runtime/mute-wayland
    perl -MIO::Socket::UNIX -e 'my $s = IO::Socket::UNIX->new(Local => $ARGV[0], Listen => 5) or die; sleep' \
        "$mute" &
    started+=($!)
    poll 5000 test -S "$mute"
    start_game XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=mute-wayland
    sleep 0.5
    term_in_hang "Wayland display that never answers"
    start_game XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=mute-wayland
    gives_up "Wayland display that never answers, no signal" \
        '^hoshifuru2: no answer from the display (Wayland display "mute-wayland"'

    # A font configuration read for ever.
    fresh_env
    start_game FONTCONFIG_FILE=/dev/zero
    sleep 0.5
    term_in_hang "FONTCONFIG_FILE=/dev/zero"

    # A font folder whose scan never ends (a link to /proc in it): the line
    # names the fonts, not the display.
    fresh_env
    mkdir -p "$run_dir/fonts" "$run_dir/fontcache"
    ln -s /proc "$run_dir/fonts/proc"
    printf '<?xml version="1.0"?>\n<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n' \
        "$run_dir/fonts" "$run_dir/fontcache" >"$run_dir/fonts.conf"
    start_game FONTCONFIG_FILE="$run_dir/fonts.conf"
    gives_up "a font folder that links to /proc" '^hoshifuru2: no answer from the font configuration'

    # A session manager that accepts and never answers: the game, which has
    # nothing to save for a session, never connects to it.
    fresh_env
    local manager=$run_dir/session-manager
    perl -MIO::Socket::UNIX -e 'my $s = IO::Socket::UNIX->new(Local => $ARGV[0], Listen => 5) or die;
        while (my $c = $s->accept) { open(my $f, ">>", "$ARGV[0].met"); print $f "met\n"; close $f; push @k, $c }' \
        "$manager" &
    started+=($!)
    poll 5000 test -S "$manager"
    start_game SESSION_MANAGER="local/$(hostname):$manager"
    if ! await_main; then
        fail "a session manager that never answers: no window (said: $(head -c 300 "$run_dir/err"))"
    elif [ -e "$manager.met" ]; then
        fail "a session manager that never answers: the game connected to it"
    else
        pass "a session manager that never answers: the window showed, the manager was never asked"
    fi
    stop_game
}

# ---------------------------------------------------------------- limits
# The game started last must end within 5 s with status 1 and one line of
# its own matching PATTERN (grep, with GREP_OPTION if given).
ends_with_one_line() { # description, pattern, [grep-option]
    if ! await_exit $((5000 * slow)); then
        fail "$1: the game still runs after $((5000 * slow)) ms"
        stop_game
    elif [ "$exit_status" -ne 1 ] || [ "$(wc -l <"$run_dir/err")" -ne 1 ] ||
        ! grep -q ${3:-} "$2" "$run_dir/err"; then
        fail "$1: status $exit_status, said: $(head -c 600 "$run_dir/err")"
    else
        pass "$1: status 1: $(cat "$run_dir/err")"
    fi
}

refused_case() { # description, pattern, ulimit-arguments...
    local what=$1 pattern=$2
    shift 2
    fresh_env
    start_game -- bash -c 'ulimit '"$*"' && exec "$@"' limit
    ends_with_one_line "$what" "$pattern"
}

test_limits() {
    start_xvfb 1280x1024
    if [ "$slow" -eq 1 ]; then
        # (The sanitizers' runtime needs far more address space and stack
        # than these before the program starts: the sanitizer build is not
        # tried here.)
        refused_case "stack limit 32 KiB" '^hoshifuru2: the stack size limit is too low' -s 32
        refused_case "stack limit 64 KiB" '^hoshifuru2: the stack size limit is too low' -s 64
        refused_case "address space 90000 KiB" '^hoshifuru2: the virtual memory limit is too low' -v 90000
        refused_case "address space 110000 KiB" '^hoshifuru2: the virtual memory limit is too low' -v 110000
        fresh_env
        start_game -- bash -c 'ulimit -Ss 64 && exec "$@"' limit
        play_opening "soft stack limit 64 KiB" && pass "soft stack limit 64 KiB: the game played"
    fi
    # One process for an ordinary user (root is not held to it): the thread
    # that reads the display's events cannot start. (The leak checker's own
    # thread cannot start either.)
    if [ "$slow" -eq 1 ] && [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
        fresh_env
        chmod -R a+rwx "$run_dir"
        start_game -- setpriv --reuid=65533 --regid=65533 --clear-groups \
            bash -c 'ulimit -u 1 && exec "$@"' limit
        ends_with_one_line "one process" '^hoshifuru2: cannot start a thread'
    fi
}

# ---------------------------------------------------------------- settings
test_settings() {
    start_xvfb 1280x1024
    local value
    for value in 0 -1 nan inf 1e-9 0.2 1000 100; do
        setting_case "QT_SCALE_FACTOR=$value" '^hoshifuru2: .*scale'
    done
    for value in 100000 -96 5; do
        setting_case "QT_FONT_DPI=$value" '^hoshifuru2: QT_FONT_DPI'
    done
    fresh_env
    start_game QT_SCALE_FACTOR=2
    if await_main; then
        "$wmclose" "$main"
        await_exit $((5000 * slow)) && [ "$exit_status" -eq 0 ] &&
            pass "QT_SCALE_FACTOR=2: the window showed and closed with status 0" ||
            fail "QT_SCALE_FACTOR=2: status ${exit_status:-none} after the close control"
    else
        fail "QT_SCALE_FACTOR=2: no window"
    fi
    stop_game
}

setting_case() { # assignment, pattern
    fresh_env
    start_game "$1"
    ends_with_one_line "$1" "$2" -i
}

# ---------------------------------------------------------------- clipboard
test_clipboard() {
    start_xvfb 1280x1024
    "$xhelper" mute-owner >"$work/owner" &
    started+=($!)
    poll 5000 test -s "$work/owner"
    fresh_env
    start_game
    if ! in_prompt; then
        fail "clipboard: the game did not reach the name prompt"
        stop_game
        return
    fi
    local prompt=$found t0 took
    xdotool windowfocus --sync "$prompt"
    t0=$(now_ms)
    xdotool key ctrl+v Return
    if ! await_box; then
        fail "clipboard: no welcome message after the paste"
    else
        took=$(($(now_ms) - t0))
        if [ "$took" -gt $((2500 * slow)) ]; then
            fail "clipboard: the paste held the game for $took ms"
        else
            pass "clipboard: a paste from an owner that never answers, then Enter: the welcome message after $took ms"
        fi
    fi
    stop_game
}

case $mode in
display | arguments | signals | sessionbus | sound | titles | descriptors | libraries | hangs | \
    limits | settings | clipboard) "test_$mode" ;;
*)
    echo "unknown mode: $mode" >&2
    exit 2
    ;;
esac
all_passed
