// Opening the display: a platform that cannot start ends the program with
// one line that names the display, status 1, instead of Qt's abort; and a
// display, compositor or bus that never answers cannot hold start-up for
// ever.
#pragma once

namespace platform {

// Call watchDisplayOpening() before making the QApplication,
// displayOpened() after; Qt's messages in between are passed on only if the
// start succeeds.
//
// From watchDisplayOpening() until started() (after the window is shown),
// start-up has a time limit: a display, compositor or bus that never
// answers ends the program with one line that names what it waited for,
// status 1.
void watchDisplayOpening();
// False, after one line on standard error, when the platform started
// without a screen to show a window on.
bool displayOpened();
void started();

// What start-up waits for from now on, named in its line if the time limit
// passes: the display (the first wait), the desktop's buses (finding the
// screen readers' bus, connecting Qt's reader bridge), the fonts (reading
// the font configuration).
enum class StartUpWait { Display, Buses, Fonts };
void startUpWaitsFor(StartUpWait what);

} // namespace platform
