#!/bin/bash
# make run on a machine without a display says so at once and ends with a
# non-zero status, before installing or building anything. Played in a
# scratch copy of the Makefile and tools/, where installing and building
# only leave a note of what was asked: with no display the notes stay
# empty; with one (the control) they fill.
#
#   make_run_test.sh SOURCE_DIR

TEST_NAME=make-run FAILURES=counted
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"
source_dir=$1

message="make run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it from a desktop session"

tree=$work/tree
mkdir -p "$tree" "$work/bin"
cp "$source_dir/Makefile" "$tree/"
cp -r "$source_dir/tools" "$tree/"
notes=$work/notes
# Installing and building: a note each, nothing done.
for tool in install-packages; do
    printf '#!/bin/sh\necho "%s $*" >>"%s"\n' "$tool" "$notes" >"$tree/tools/$tool"
done
for tool in cmake apt-get sudo dpkg-query c++ g++; do
    printf '#!/bin/sh\necho "%s $*" >>"%s"\n' "$tool" "$notes" >"$work/bin/$tool"
done
chmod +x "$tree/tools/install-packages" "$work/bin"/*

# make run with the given environment; its status in $status.
make_run() { # env-arguments...
    : >"$notes"
    env "$@" PATH="$work/bin:$PATH" timeout -s KILL 60 make -C "$tree" -j 2 run \
        >"$work/out" 2>"$work/err"
    status=$?
}

for case in "unset" "empty"; do
    if [ "$case" = unset ]; then
        make_run -u DISPLAY -u WAYLAND_DISPLAY
    else
        make_run DISPLAY= WAYLAND_DISPLAY=
    fi
    if [ "$status" -eq 0 ]; then
        fail "display $case: make run ended with status 0"
    fi
    if [ "$(head -n 1 "$work/err")" != "$message" ]; then
        fail "display $case: make run said: $(head -c 300 "$work/err")"
    fi
    if [ -s "$notes" ] || [ -e "$tree/build" ]; then
        fail "display $case: make run installed or built: $(head -n 3 "$notes")"
    fi
done

# The control: with a display named, make run goes on to install and build.
make_run -u WAYLAND_DISPLAY DISPLAY=:99
grep -q '^install-packages ' "$notes" && grep -q '^cmake ' "$notes" ||
    fail "with a display, make run did not install and build: $(head -n 3 "$notes")"
make_run -u DISPLAY WAYLAND_DISPLAY=wayland-99
grep -q '^cmake ' "$notes" || fail "with a Wayland display, make run did not build"

[ "$failures" -eq 0 ] && pass "without a display make run stops at once, before installing or building"
all_passed
