# ホシフルツルギ２ — set-up, build, run and test on Debian 12.
#   make run    install what is missing, build, start the game
#   make test   install what is missing, build, run every test
#   make bench  start-up time and memory against a bare Qt window, step times (Xvfb)
#   make package  build the Debian package hoshifuru2_<version>_<arch>.deb here
#   make fresh-debian RELEASE=trixie [COMMAND='make test']
#               run a command in this tree's clone in a fresh minimal Debian

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages for building and running the game and its developer tools
# (the X clients that time the game use XTest and Damage), and for its tests.
BUILD_PACKAGES := cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
	qt6-tools-dev qt6-l10n-tools \
	libcanberra-dev fonts-ipafont-gothic sound-theme-freedesktop libxcb1-dev qt6-base-private-dev \
	qt6-wayland libxcb-damage0-dev libxcb-xtest0-dev libwayland-dev
TEST_PACKAGES := desktop-file-utils appstream xvfb xdotool x11-utils imagemagick jq strace libx11-dev \
	python3-fonttools fonts-vlgothic fonts-dejavu-core dbus-x11 at-spi2-core
# Desktop themes the game's look must withstand: qt6ct's colour schemes and
# Qt's GTK 3 theme.
TEST_PACKAGES += qt6ct qt6-gtk-platformtheme
# The tests on real desktop parts: a Wayland compositor, window managers, the
# screen readers' bus and an input method.
TEST_PACKAGES += weston openbox xfwm4 dbus python3-pyatspi fcitx5 fcitx5-mozc fcitx5-frontend-qt6
# libcanberra's PulseAudio driver, as GNOME and KDE install it: the sound
# tests meet the sound server's client where players do.
TEST_PACKAGES += libcanberra-pulse
# The screen reader Orca, speaking through speech-dispatcher into a file, in
# a Japanese session (its locale made from the locales package's sources).
TEST_PACKAGES += orca speech-dispatcher speech-dispatcher-audio-plugins python3-speechd locales
# The package test builds the Debian package (whose build dependencies,
# listed in debian/control, are the ones above and these), lints it and
# looks for the Wayland platform plugin it depends on.
TEST_PACKAGES += build-essential debhelper dpkg-dev lintian
# GNOME Shell and KWin started headless on Wayland by the desktop tests,
# GNOME's driven over D-Bus from Python (tests/desktop/gnome.py), KWin's
# through its fake input protocol (tests/desktop/fakeinput.cpp, built from
# plasma-wayland-protocols); mutter and KWin as X11 window managers.
TEST_PACKAGES += gnome-shell libglib2.0-bin python3-dbus mutter kwin-wayland kwin-x11 \
	kwin-style-breeze plasma-wayland-protocols
# The private X server the benchmarks run on, and the display query the
# step timing waits with.
BENCH_PACKAGES := xvfb x11-utils

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: all deps test-deps configure build run test bench format clean story-map package fresh-debian

all: build

deps:
	@./tools/install-packages $(BUILD_PACKAGES)

test-deps:
	@./tools/install-packages $(BUILD_PACKAGES) $(TEST_PACKAGES)

configure:
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: deps configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The display is looked for first: without one, make run says so at once
# rather than after installing and building.
run:
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "make run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it from a desktop session" >&2; \
		exit 1; \
	fi
	@$(MAKE) --no-print-directory build
	@./$(BUILD_DIR)/hoshifuru2

# Every test runs twice: in the normal build, and in a second build with
# AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer, where any
# report ends the test with a failure.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:exitcode=23 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

test: test-deps configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@cmake -S . -B $(BUILD_DIR)-sanitize -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DSANITIZE=ON >/dev/null
	@cmake --build $(BUILD_DIR)-sanitize -j $(JOBS)
	@cd $(BUILD_DIR)-sanitize && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# Start-up against a bare Qt window, then each step of play held against its
# goals (tests/desktop/latency_test.sh --goals).
bench: build
	@./tools/install-packages $(BENCH_PACKAGES)
	@./bench/run-bench $(BUILD_DIR)
	@bash tests/desktop/latency_test.sh $(BUILD_DIR)/hoshifuru2 $(BUILD_DIR)/tests/desktop/steptime \
		$(BUILD_DIR)/storyplay 10 --goals

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD_DIR) $(BUILD_DIR)-sanitize

# Redraw the story map from an exploration of the built game.
story-map: build
	@./tools/install-packages graphviz
	@./$(BUILD_DIR)/storymap --dot docs/story-map.dot
	@dot -Tsvg docs/story-map.dot -o docs/story-map.svg

# The Debian package, built by dpkg-buildpackage from a copy of the tree in
# $(BUILD_DIR)/package; the .deb is left here. The build dependencies are
# those debian/control lists.
package:
	@./tools/install-packages build-essential dpkg-dev
	@dpkg-checkbuilddeps 2>/dev/null || { $(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get build-dep -y -qq --no-install-recommends ./; }
	@./packaging/build-deb $(BUILD_DIR)/package .

# A command in a clone of this tree's committed HEAD inside a fresh minimal
# Debian root of RELEASE (bookworm, trixie or testing), made with debootstrap
# and removed afterwards (tools/in-fresh-debian): how each supported release
# is proven.
RELEASE ?= trixie
COMMAND ?= make test
fresh-debian:
	@$(SUDO) ./tools/in-fresh-debian $(RELEASE) $(COMMAND)
