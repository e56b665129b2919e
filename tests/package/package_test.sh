#!/bin/bash
# Builds the Debian package the way `make package` does and checks what a
# player would install:
#
#   package_test.sh SOURCE_DIR WORK_DIR VERSION GAME STORYPLAY WMCLOSE
#
# GAME is the build's own program, STORYPLAY and WMCLOSE the tools
# tests/e2e/window_test.sh plays with.
#
# - lintian reports no error and no warning on the .deb, .changes and
#   .buildinfo (its informational tags are printed);
# - the package holds exactly the game's files, at Debian's paths;
# - the desktop entry and the AppStream metadata are valid and name the
#   packaged program and icon;
# - the package version, the metadata's newest release and the manual page
#   give the version the build has;
# - the licence file, the metadata and the copyright file say the same, and
#   every font the game embeds is covered by the copyright file;
# - Depends holds what the program links against, the packages of the
#   files it needs at run time without linking them, and the Qt release it
#   was built with when it uses Qt's private interfaces; nothing more;
# - the packaged program plays the opening on an X server
#   (tests/e2e/window_test.sh), and on a machine whose only fonts are
#   DejaVu (no Japanese face) draws its title and START exactly as the
#   build's program does on this one.

if [ $# -ne 6 ]; then
    echo "usage: $0 SOURCE_DIR WORK_DIR VERSION GAME STORYPLAY WMCLOSE" >&2
    exit 2
fi
source_dir=$1 work=$2 version=$3 build_game=$4 storyplay=$5 wmclose=$6
readonly APP_ID=io.github.hoshifuru2
TEST_NAME=package WORK_DIR=$work FAILURES=counted
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

need dpkg-buildpackage dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli \
    Xvfb xdotool import

# ------------------------------------------------------------ the build
rm -rf "$work"
mkdir -p "$work"
t0=$(now_ms)
deb=$("$source_dir/packaging/build-deb" "$work/build" "$work/out") || stop "the package did not build"
echo "package built in $(($(now_ms) - t0)) ms: $(basename "$deb"), $(stat -c %s "$deb") bytes"
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
[ "$(basename "$deb")" = "hoshifuru2_${version}_${arch}.deb" ] ||
    fail "the package is $(basename "$deb"), not hoshifuru2_${version}_${arch}.deb"

# ------------------------------------------------------------ lintian
t0=$(now_ms)
lintian --pedantic --display-info --display-experimental --color never \
    "$deb" "$work/build/"*.changes "$work/build/"*.buildinfo >"$work/lintian.txt" 2>"$work/lintian.err"
echo "lintian ($(($(now_ms) - t0)) ms), informational tags included:"
sed 's/^/  /' "$work/lintian.txt"
grep -q '^[EW]: ' "$work/lintian.txt" && fail "lintian reports errors or warnings"
grep -v 'running with root privileges' "$work/lintian.err" | grep -q . &&
    fail "lintian failed: $(cat "$work/lintian.err")"

# ------------------------------------------------------------ the files
expected_files="./usr/games/hoshifuru2
./usr/share/applications/$APP_ID.desktop
./usr/share/doc/hoshifuru2/changelog.gz
./usr/share/doc/hoshifuru2/copyright
./usr/share/icons/hicolor/128x128/apps/$APP_ID.png
./usr/share/icons/hicolor/32x32/apps/$APP_ID.png
./usr/share/man/man6/hoshifuru2.6.gz
./usr/share/metainfo/$APP_ID.metainfo.xml"
# The override for the missing homepage, where the validator warns of it.
if appstreamcli validate --no-net --override=url-homepage-missing=info \
    "$source_dir/packaging/$APP_ID.metainfo.xml" >/dev/null 2>&1; then
    expected_files=$(printf '%s\n%s' "$expected_files" ./usr/share/lintian/overrides/hoshifuru2 | sort)
fi
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort)
[ "$files" = "$expected_files" ] ||
    fail "the package's files differ from the game's:$(diff <(echo "$expected_files") <(echo "$files") | grep '^[<>]')"

root=$work/root
dpkg-deb -x "$deb" "$root" || stop "cannot unpack the package"
game=$root/usr/games/hoshifuru2
[ -x "$game" ] || stop "the packaged program is not an executable"

# ------------------------------------------------------------ desktop entry, metadata
desktop=$root/usr/share/applications/$APP_ID.desktop
metainfo=$root/usr/share/metainfo/$APP_ID.metainfo.xml
desktop-file-validate "$desktop" || fail "the packaged desktop entry is not valid"
"$source_dir/packaging/validate-metainfo" "$metainfo" >"$work/appstream.txt" 2>&1 ||
    fail "the packaged AppStream metadata is not valid: $(cat "$work/appstream.txt")"
group_entry() { # group key
    sed -n "/^\[$1\]\$/,/^\[/ s/^$2=//p" "$desktop"
}
entry() { group_entry "Desktop Entry" "$1"; }
exec_command=$(entry Exec)
[ -x "$root/usr/games/${exec_command%% *}" ] ||
    fail "the desktop entry starts '$exec_command', which is not the packaged program"
# One action for each edition, named in its own language.
[ "$(entry Actions)" = "japanese;english;" ] || fail "the desktop entry's actions are '$(entry Actions)'"
[ "$(group_entry "Desktop Action japanese" Exec)" = "$exec_command --language ja" ] &&
    [ "$(group_entry "Desktop Action english" Exec)" = "$exec_command --language en" ] ||
    fail "the desktop entry's actions do not start the two editions"
[ "$(group_entry "Desktop Action japanese" Name)" = 日本語で遊ぶ ] &&
    [ "$(group_entry "Desktop Action english" Name)" = "Play in English" ] ||
    fail "the desktop entry's actions are not named in their own languages"
for size in 32 128; do
    [ -f "$root/usr/share/icons/hicolor/${size}x$size/apps/$(entry Icon).png" ] ||
        fail "the desktop entry's icon '$(entry Icon)' has no ${size}x$size picture"
done
metainfo_field() { # xpath-like tag
    tr -d '\n' <"$metainfo" | grep -o "<$1[^>]*>[^<]*</$1>" | head -n 1 | sed 's/<[^>]*>//g' | xargs
}
[ "$(metainfo_field launchable)" = "$APP_ID.desktop" ] ||
    fail "the metadata launches '$(metainfo_field launchable)', not the packaged desktop entry"
[ "$(metainfo_field binary)" = "$exec_command" ] ||
    fail "the metadata provides '$(metainfo_field binary)', the desktop entry starts '$exec_command'"

# ------------------------------------------------------------ versions
deb_version=$(dpkg-deb -f "$deb" Version)
[ "$deb_version" = "$version" ] || fail "the package's version is $deb_version, the build's $version"
release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "the metadata's newest release is $release, the build's version $version"
man_version=$(zcat "$root/usr/share/man/man6/hoshifuru2.6.gz" | sed -n 's/^\.TH .*"hoshifuru2 \([^"]*\)".*/\1/p')
[ "$man_version" = "$version" ] || fail "the manual page is for version '$man_version', the build is $version"

# ------------------------------------------------------------ licence
copyright=$root/usr/share/doc/hoshifuru2/copyright
license=$source_dir/LICENSE
[ "$(head -n 1 "$license")" = "MIT License" ] || fail "LICENSE does not start with 'MIT License'"
[ "$(metainfo_field project_license)" = MIT ] ||
    fail "the metadata's licence is '$(metainfo_field project_license)', LICENSE says MIT"
# The text of the copyright file's MIT licence paragraph, as plain lines.
copyright_text=$(awk '/^License: MIT$/ {grab = prev == ""; next}
                      grab && /^ / {print} grab && !/^ / {grab = 0} {prev = $0}' "$copyright" |
    sed -e 's/^ //' -e 's/^\.$//')
license_text=$(sed -n '/^Permission/,$p' "$license")
[ -n "$copyright_text" ] && [ "$copyright_text" = "$license_text" ] ||
    fail "the copyright file's MIT text is not LICENSE's:$(diff <(echo "$license_text") <(echo "$copyright_text") | grep '^[<>]' | head -n 5)"
holder=$(sed -n 's/^Copyright (c) //p' "$license")
grep -qxF "Copyright: $holder" "$copyright" ||
    fail "the copyright file does not give the game's copyright as LICENSE does ($holder)"
# Every font built into the game is named by a Files paragraph that is not
# the game's own.
patterns=$(sed -n 's/^Files: //p' "$copyright" | tr ' ' '\n' | grep -vx '\*')
shopt -s nullglob
fonts=("$source_dir"/art/fonts/*.[ot]tf)
for font in "${fonts[@]}"; do
    relative=${font#"$source_dir"/}
    covered=no
    while read -r pattern; do
        # shellcheck disable=SC2053 # the pattern is a glob on purpose
        [[ -n $pattern && $relative == $pattern ]] && covered=yes
    done <<<"$patterns"
    [ $covered = yes ] || fail "the copyright file has no paragraph for $relative"
done
echo "fonts in art/fonts, each under a copyright paragraph of its own: ${#fonts[@]}"
[ ${#fonts[@]} -gt 0 ] || fail "no fonts found in art/fonts: the game draws its texts in them"

# ------------------------------------------------------------ dependencies
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/ *(.*//; s/^ *//; s/ *$//' | grep . | sort -u)
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
# What the program links against.
shlibs=$(cd "$work/build/src" && dpkg-shlibdeps -O -e"$game" 2>/dev/null |
    sed -n 's/^shlibs:Depends=//p' | tr ',' '\n' | sed 's/ *(.*//; s/^ *//' | grep . | sort -u)
[ -n "$shlibs" ] || stop "dpkg-shlibdeps found no libraries"
# What the program opens at run time without linking it: the sound library
# (loaded on the first beep), the theme's bell, and the Qt platform plugins
# for X11 and Wayland (the Wayland one under its Qt 6.11 name as well; a|b
# names either).
runtime_needs=(
    '*/libcanberra.so.0'
    '/usr/share/sounds/freedesktop/stereo/bell.oga'
    '*/qt6/plugins/platforms/libqxcb.so'
    '*/qt6/plugins/platforms/libqwayland-generic.so|*/qt6/plugins/platforms/libqwayland.so'
)
needed=$shlibs
for file in "${runtime_needs[@]}"; do
    IFS='|' read -r -a names <<<"$file"
    owner=$(dpkg-query -S "${names[@]}" 2>/dev/null | head -n 1 | cut -d: -f1)
    [ -n "$owner" ] || stop "no installed package has $file (make test-deps installs them)"
    grep -qx "$owner" <<<"$depends" || fail "Depends lacks $owner, which has $file"
    needed+=$'\n'$owner
done
# Qt's private interfaces hold only for the Qt release the program was built
# with, which Qt's core library provides as a virtual package (Debian 12:
# qt6-base-abi; later releases: qt6-base-private-abi; Qt's symbol files make
# dpkg-shlibdeps ask for it).
if grep -rqE '#include <(Qt[A-Za-z]+/private/|qpa/)' "$source_dir/shell" "$source_dir/scenes"; then
    abi=$(dpkg-query -W -f='${Provides}\n' 'libqt6core6*' 2>/dev/null | tr ',' '\n' |
        grep -oE 'qt6-base(-private)?-abi \(= [^)]*\)' | head -n 1)
    [ -n "$abi" ] || stop "Qt's core library provides no release pin for its private interfaces"
    dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//' | grep -qxF "$abi" ||
        fail "the program uses Qt's private interfaces, but Depends lacks $abi"
    needed+=$'\n'${abi%% *}
fi
extra=$(comm -23 <(echo "$depends") <(echo "$needed" | sort -u))
[ -z "$extra" ] || fail "Depends holds what the game does not need: $extra"
dpkg-deb -f "$deb" Depends Recommends | grep -q 'fonts-' &&
    fail "the package depends on or recommends a font, though the game carries its own"

# ------------------------------------------------------------ playing
t0=$(now_ms)
mkdir -p "$work/play"
if bash "$source_dir/tests/e2e/window_test.sh" play "$game" "$storyplay" "$wmclose" "$work/play" \
    >"$work/play.log" 2>&1; then
    echo "the packaged program played the opening ($(($(now_ms) - t0)) ms)"
else
    fail "the packaged program did not play the opening: $(tail -n 20 "$work/play.log")"
fi

# ------------------------------------------------------------ the faces
# The title screen of GAME on the private X server, as a picture of the
# window's client area once two grabs a moment apart agree.
title_screen() { # game picture title [environment...] [-- arguments...]
    local game=$1 picture=$2 title=$3 pid window="" try environment=() arguments=()
    shift 3
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        environment+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift && arguments=("$@")
    env HOME="$work/home" "${environment[@]}" "$game" "${arguments[@]}" >"$work/faces.log" 2>&1 &
    pid=$!
    for try in $(seq 100); do
        window=$(timeout 5 xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        sleep 0.05
    done
    if [ -n "$window" ]; then
        for try in $(seq 50); do
            sleep 0.1
            timeout 10 import -silent -window "$window" -depth 8 "ppm:$picture" 2>/dev/null || continue
            [ -f "$picture.last" ] && cmp -s "$picture" "$picture.last" && break
            cp "$picture" "$picture.last"
        done
    fi
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    [ -n "$window" ] && [ -s "$picture" ]
}
cat >"$work/dejavu.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>$work/fontcache</cachedir>
<include ignore_missing="yes">/etc/fonts/conf.d</include></fontconfig>
CONF
mkdir -p "$work/home" "$work/xvfb"
if ! start_private_xvfb "$work/xvfb" 1920x1080; then
    fail "Xvfb did not start"
elif ! title_screen "$build_game" "$work/build-title.ppm" ホシフルツルギ２; then
    fail "the build's program showed no title screen: $(tail -n 5 "$work/faces.log")"
elif ! title_screen "$game" "$work/package-title.ppm" ホシフルツルギ２ FONTCONFIG_FILE="$work/dejavu.conf"; then
    fail "the packaged program showed no title screen: $(tail -n 5 "$work/faces.log")"
elif ! cmp -s "$work/build-title.ppm" "$work/package-title.ppm"; then
    convert "$work/package-title.ppm" "$work/package-title.png" 2>/dev/null
    fail "with DejaVu alone the packaged program's title screen differs from the build's: $work/package-title.png"
else
    echo "the packaged program draws its title screen in its own faces with DejaVu alone"
fi
# The English edition is built into the packaged program: its action's
# command shows the English title screen, as the build's program does.
if [ -z "${xvfb_pid:-}" ]; then
    :
elif ! title_screen "$build_game" "$work/build-title-en.ppm" "Hoshifuru Tsurugi 2" -- --language en; then
    fail "the build's program showed no English title screen: $(tail -n 5 "$work/faces.log")"
elif ! title_screen "$game" "$work/package-title-en.ppm" "Hoshifuru Tsurugi 2" -- --language en; then
    fail "the packaged program showed no English title screen: $(tail -n 5 "$work/faces.log")"
elif ! cmp -s "$work/build-title-en.ppm" "$work/package-title-en.ppm"; then
    convert "$work/package-title-en.ppm" "$work/package-title-en.png" 2>/dev/null
    fail "the packaged program's English title screen differs from the build's: $work/package-title-en.png"
else
    echo "the packaged program plays in English with --language en"
fi
kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
xvfb_pid=""

if [ "$failures" -ne 0 ]; then
    echo "$failures checks failed" >&2
    exit 1
fi
echo "1 passed, 0 failed"
