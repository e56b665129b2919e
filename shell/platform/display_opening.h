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
void displayOpened();
void started();

} // namespace platform
