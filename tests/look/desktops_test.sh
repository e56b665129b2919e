#!/bin/bash
# The game keeps its own look on every desktop: under a dark colour scheme of
# qt6ct, under GTK's dark Adwaita theme and with a large font density while
# scaling is turned off (QT_FONT_DPI 144), the window with a focused list and
# its selection, the focused drop-down field and the name prompt with its
# selected text are identical pixel for pixel with the pictures taken on a
# plain desktop. Message boxes follow the desktop's message font, as system
# dialogs do, so theirs is compared only where the theme names no font.
#
#   desktops_test.sh TEST_LOOK [OUTDIR]
#
# The pictures that differ are left in OUTDIR/desktop-CONFIG-NAME.png.
TEST_NAME=desktops FAILURES=counted
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"
test_look=$1 outdir=${2:-$PWD}
mkdir -p "$outdir"
export QT_QPA_PLATFORM=offscreen HOME=$work XDG_CONFIG_HOME=$work/config
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_FONT_DPI QT_SCALE_FACTOR GTK_THEME

scheme=/usr/share/qt6ct/colors/darker.conf
for needed in "$scheme" /usr/lib/*/qt6/plugins/platformthemes/libqgtk3.so; do
    [ -e "$needed" ] || stop "$needed is missing (make test-deps installs it)"
done
mkdir -p "$work/config/qt6ct"
printf '[Appearance]\ncustom_palette=true\ncolor_scheme_path=%s\n' "$scheme" \
    >"$work/config/qt6ct/qt6ct.conf"

# GTK reads its theme only with a display to open, though the game draws
# on the offscreen platform.
start_xvfb 640x480
export QT_QPA_PLATFORM=offscreen

pictures() { # config env...
    local config=$1 leaks=()
    shift
    mkdir -p "$work/$config"
    # In the sanitizer build, what the desktop's theme plugins (qt6ct, GTK)
    # leave allocated at exit is theirs, not the game's: leaks are looked
    # for on the plain desktop only.
    [ "$config" != plain ] && [ -n "${ASAN_OPTIONS:-}" ] &&
        leaks=(ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0")
    if ! env "$@" "${leaks[@]}" HOSHIFURU2_LOOK_PICTURES="$work/$config" \
        timeout 60 "$test_look" picturesForDesktopComparison >"$work/$config.log" 2>&1; then
        stop "no pictures under '$config': $(grep -m 1 -E 'FAIL|QWARN|ERROR' "$work/$config.log")"
    fi
}

pictures plain
pictures qt6ct-dark QT_QPA_PLATFORMTHEME=qt6ct
pictures gtk3-dark QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
pictures font-dpi-144 QT_FONT_DPI=144 QT_ENABLE_HIGHDPI_SCALING=0

compare_pictures() { # config names...
    local config=$1 name
    shift
    for name in "$@"; do
        local plain=$work/plain/$name.png other=$work/$config/$name.png size1 size2 pixels
        size1=$(identify -format '%wx%h' "$plain") size2=$(identify -format '%wx%h' "$other")
        # ImageMagick 6 prints the count alone, 7 adds a normalised one.
        pixels=$(compare -metric AE "$plain" "$other" null: 2>&1)
        pixels=${pixels%% *}
        if [ "$size1" != "$size2" ] || [ "$pixels" != 0 ]; then
            fail "$name under '$config': $size2 where $size1, $pixels pixels differ"
            cp "$work/$config/$name.png" "$outdir/desktop-$config-$name.png"
        fi
    done
}
compare_pictures qt6ct-dark list combo prompt
compare_pictures gtk3-dark list combo prompt
compare_pictures font-dpi-144 list combo prompt message
[ "$failures" -eq 0 ] && pass "the window, the prompt and the message box as on a plain desktop"
all_passed
