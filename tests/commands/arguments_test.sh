#!/bin/bash
# What the game answers on its command line, as its manual page says:
# every option of the page's OPTIONS section answers on standard output
# with status 0, without a display and before any other work; the short
# and long forms say the same; the help names every option; the version is
# the package's; a standard output that cannot be written is an error.
# (Arguments that are refused: tests/hostile, mode arguments.)
#
#   arguments_test.sh GAME SOURCE_DIR

TEST_NAME=arguments FAILURES=counted
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"
game=$1
source_dir=$2

# The game with no display to open: an answer must not need one.
run() { # arguments... (stdout in $work/out, stderr in $work/err, status in $status)
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout -s KILL 10 "$game" "$@" \
        >"$work/out" 2>"$work/err"
    status=$?
}

# The options the manual page lists: lines such as .BR \-h ", " \-\-help
manual=$source_dir/packaging/hoshifuru2.6
mapfile -t options < <(sed -n '/^\.SH OPTIONS/,/^\.SH/p' "$manual" |
    grep '^\.BR ' | grep -o '\\-[\\a-z-]*' | sed 's/\\//g')
[ "${#options[@]}" -eq 4 ] || fail "the manual lists ${#options[@]} options, not 4: ${options[*]}"

for option in "${options[@]}"; do
    run "$option"
    if [ "$status" -ne 0 ]; then
        fail "$option: status $status, said: $(head -c 300 "$work/err")"
    elif [ -s "$work/err" ] || [ ! -s "$work/out" ]; then
        fail "$option: nothing on standard output, or something on standard error: $(head -c 300 "$work/err")"
    fi
    cp "$work/out" "$work/answer$option"
done

cmp -s "$work/answer-h" "$work/answer--help" || fail "-h and --help say different things"
cmp -s "$work/answer-v" "$work/answer--version" || fail "-v and --version say different things"
for option in "${options[@]}"; do
    grep -q -- " $option\b" "$work/answer--help" || fail "the help does not name $option"
done

# The version is the one of the package and of the manual page.
version=$(sed -n '1s/^hoshifuru2 (\([^)]*\)).*/\1/p' "$source_dir/debian/changelog")
[ -n "$version" ] || fail "no version in debian/changelog"
[ "$(head -n 1 "$work/answer--version")" = "hoshifuru2 $version" ] ||
    fail "--version begins \"$(head -n 1 "$work/answer--version")\", the package is $version"
grep -q "\"hoshifuru2 $version\"" "$manual" || fail "the manual page is not of version $version"

# The first of the two decides, as with Debian's programs.
run --version --help
cmp -s "$work/out" "$work/answer--version" || fail "--version --help did not print the version"

# A help that cannot be written is no success.
env -u DISPLAY -u WAYLAND_DISPLAY timeout -s KILL 10 "$game" --help >/dev/full 2>"$work/err"
status=$?
if [ "$status" -ne 1 ] || [ ! -s "$work/err" ]; then
    fail "--help into a full disk: status $status, said: $(head -c 300 "$work/err")"
fi

[ "$failures" -eq 0 ] && pass "${options[*]} answer as the manual page says"
all_passed
