#!/bin/bash
# The scenes look the same whatever fonts the machine has and whatever Qt
# release draws them: every text of the game is drawn in the faces it
# carries, so the title screen and its scenes are identical pixel for pixel
# on this machine, on one whose only fonts are DejaVu (no Japanese face at
# all), on one with only VL Gothic for Japanese, and to the pictures in
# tests/look/expected/ (made on Debian 12 with Qt 6.4; every supported
# release must draw the same), the English edition's in expected/en/.
#
#   fonts_test.sh STORYPLAY [OUTDIR]
#
# The pictures of the first configuration are left in OUTDIR/scenes-*.png.
TEST_NAME=fonts FAILURES=counted
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"
storyplay=$1 outdir=${2:-$PWD}
mkdir -p "$outdir"
export QT_QPA_PLATFORM=offscreen HOME=$work

# A font configuration that knows only the given folders, with the machine's
# own rendering rules.
fontconfig() {
    local name=$1 dirs="" dir
    shift
    for dir in "$@"; do
        [ -d "$dir" ] || stop "$dir is missing (make test-deps installs it)"
        dirs="$dirs<dir>$dir</dir>"
    done
    cat >"$work/$name.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>$dirs<cachedir>$work/cache-$name</cachedir>
<include ignore_missing="yes">/etc/fonts/conf.d</include></fontconfig>
CONF
}
fontconfig dejavu /usr/share/fonts/truetype/dejavu
fontconfig vlgothic /usr/share/fonts/truetype/dejavu /usr/share/fonts/truetype/vlgothic

# Roads through the scenes whose texts and frames are the hardest to fit;
# played in each edition (the English pictures go to en/).
roads() {
    local shots=$1
    cat >"$work/north.play" <<PLAY
prompt ok "ゆう"
screenshot "$shots/title.png"
click start
screenshot "$shots/hajimari.png"
select Box1 0
click BitBtn1
click namiki
select Box2 0
click BitBtn2
screenshot "$shots/Panel1.png"
PLAY
    cat >"$work/west.play" <<PLAY
prompt ok "ゆう"
click start
select Box1 1
click BitBtn1
click nageki
select box3 1
click BitBtn3
screenshot "$shots/Panel3.png"
click BitBtn9
click Button36
click Button38
screenshot "$shots/bukiya.png"
click Button43
click Button39
click Button44
screenshot "$shots/jiyuu.png"
PLAY
    cat >"$work/castle.play" <<PLAY
prompt ok "ゆう"
click start
select Box1 0
click BitBtn1
click namiki
select Box2 1
click BitBtn2
select List1 0
click BitBtn4
select list2 3
click BitBtn10
click nakama
click Button8
screenshot "$shots/ido.png"
PLAY
}

play() {
    local config=$1 shots=$work/shots-$1 road edition
    for edition in ja en; do
        local folder=$shots options=()
        if [ "$edition" = en ]; then
            folder=$shots/en options=(--language en)
        fi
        mkdir -p "$folder"
        roads "$folder"
        for road in north west castle; do
            if [ "$config" = system ]; then
                "$storyplay" "${options[@]}" "$work/$road.play" >"$work/$config-$road.log" 2>&1
            else
                FONTCONFIG_FILE=$work/$config.conf "$storyplay" "${options[@]}" "$work/$road.play" \
                    >"$work/$config-$road.log" 2>&1
            fi || { echo "FAIL: $road ($edition) with fonts '$config': $(tail -n 1 "$work/$config-$road.log")"; exit 1; }
        done
    done
}

# The pictures taken, as paths below the shots folder (en/title.png, ...).
pictures() {
    (cd "$work/shots-system" && find . -name '*.png' | sed 's|^\./||' | sort)
}

# Pixels that differ between two pictures (ImageMagick 6 prints the count
# alone, 7 adds a normalised one).
differing_pixels() {
    local count
    count=$(compare -metric AE "$1" "$2" null: 2>&1)
    echo "${count%% *}"
}

play system
for config in dejavu vlgothic; do
    play "$config"
    for picture in $(pictures); do
        shot=$work/shots-system/$picture other=$work/shots-$config/$picture
        scene=${picture%.png} scene=${scene//\//-}
        if ! cmp -s "$shot" "$other"; then
            pixels=$(differing_pixels "$shot" "$other")
            fail "$scene differs in $pixels pixels with fonts '$config'"
            cp "$other" "$outdir/scenes-$config-$scene.png"
        fi
    done
done
expected=$(dirname "$0")/expected
for picture in $(pictures); do
    shot=$work/shots-system/$picture
    scene=${picture%.png} scene=${scene//\//-}
    cp "$shot" "$outdir/scenes-$scene.png"
    if [ ! -f "$expected/$picture" ]; then
        fail "no expected picture $expected/$picture"
    elif [ "$(differing_pixels "$shot" "$expected/$picture")" != 0 ]; then
        fail "$scene differs from $expected/$picture in" \
            "$(differing_pixels "$shot" "$expected/$picture") pixels" \
            "(this machine's picture: $outdir/scenes-$scene.png)"
    fi
done
[ "$failures" -eq 0 ] && pass "$(pictures | wc -l) scenes (each edition's) identical with fonts system, dejavu, vlgothic and as expected"
all_passed
