#!/bin/bash
# The game under a screen reader's eyes: atspi_test.py on a private X server
# and a private session bus, on which at-spi2-core's bus launcher and
# registry start on demand.
#
#   atspi_test.sh GAME
TEST_NAME=atspi
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -lt 1 ]; then
    echo "usage: $0 GAME" >&2
    exit 2
fi
need Xvfb xdotool xdpyinfo dbus-daemon
[ -x /usr/libexec/at-spi-bus-launcher ] || fail "at-spi2-core is not installed"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed"

start_xvfb 1280x1024
private_home
start_session_bus
suppress_reader_key_copies
export WORK=$work
/usr/bin/python3 -B "$DESKTOP_TESTS/atspi_test.py" "$1" || fail "the screen reader's view is not as expected"
