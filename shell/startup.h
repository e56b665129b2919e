// What the program does before and around the making of its window, so that
// the surroundings it is started in cannot harm it: signals that come early,
// stray arguments, a display that cannot be opened, a missing session bus,
// a locale that is not UTF-8, a standard error nobody reads.
#pragma once

#include <string>

class QSize;
class QWidget;

namespace startup {

// From here on SIGTERM, SIGINT and SIGHUP (unless SIGHUP was ignored when
// the program started, as under nohup) are kept on a socket until the
// window can act on them, and writing to a closed pipe only fails. Where
// the program waits outside its event loop and so cannot act on them, it
// ends half a second after the signal, with status 0 as when the window
// closes. False, after one line on standard error, when the socket cannot
// be made.
bool catchEndSignals();

// Enough free file descriptors for a whole game, the soft limit raised where
// it is lower and the hard limit allows. False, after one line on standard
// error, when too few are free: the display library would wait for ever for
// a reply that carries a descriptor it cannot receive.
bool enoughFileDescriptors();

// Room for a whole game under the limits the program was started with: a
// stack, an address space and a data segment large enough (soft limits
// raised where the hard ones allow), and a thread can be started. False,
// after one line on standard error, where not: the game would crash or wait
// for ever part-way.
bool roomToRun();

// Before the QApplication is made: a QT_SCALE_FACTOR that is no number
// above 0 (no window ever shows) and a QT_FONT_DPI beyond sense are
// refused, with one line on standard error.
constexpr int minFontDpi = 24;
constexpr int maxFontDpi = 960;
bool saneScaleSettings();

// After the QApplication is made: whether a window whose client area is
// `window` (in the game's pixels) is usable on the screens at the scale
// Qt's settings give it; false, after one line on standard error, when it
// would be less than half its size or larger than the largest screen twice
// over.
bool windowFitsScreens(QSize window);

// True when a signal to end came before the window could act on it.
bool endSignalPending();

// Every signal caught from now on closes the window, as its close control
// does.
void endOnSignals(QWidget &window);

// The command line Qt is given: the program's name alone, so that no Qt
// option on the real command line can act. Qt falls back to this name as the
// caption of a window whose title is empty, so it follows the rule of the
// application title: the file name, cut before its first full stop.
struct QtCommandLine {
    explicit QtCommandLine(const char *programPath);
    QtCommandLine(const QtCommandLine &) = delete;
    QtCommandLine &operator=(const QtCommandLine &) = delete;
    int argc = 1;
    char *argv[2] = {nullptr, nullptr};

private:
    std::string m_name;
};

// An XDG_RUNTIME_DIR that names no existing folder by an absolute path is
// dropped: Qt would make that folder (relative to the working folder for a
// relative path).
void keepToUsableRuntimeFolder();

// With no session bus address set and no bus at the standard place, the
// bus library would start a bus daemon of its own (and write its address
// into the home folder): the session bus is switched off instead.
void keepToExistingSessionBus();

// Opening the display: a platform that cannot start ends the program with
// one line that names the display, status 1, instead of Qt's abort. Call
// watchDisplayOpening() before making the QApplication, displayOpened()
// after; Qt's messages in between are passed on only if the start succeeds.
//
// From watchDisplayOpening() until started() (after the window is shown),
// start-up has a time limit: a display, compositor or bus that never
// answers ends the program with one line that names what it waited for,
// status 1.
void watchDisplayOpening();
void displayOpened();
void started();

// After the QApplication is made. Window titles reach older window managers
// through the locale's character set: where that is not UTF-8, the
// character type category switches to a UTF-8 locale.
void useUtf8CharacterType();

// After the QApplication is made and before the first widget. Without a
// session bus, screen readers' bus is found where the accessibility bus
// launcher publishes it on an X display (the root window's AT_SPI_BUS) and
// handed to Qt in AT_SPI_BUS_ADDRESS; wherever that is set, Qt's AT-SPI
// bridge is started (Qt 6.4 connects to the bus named there but does not
// start the bridge by itself).
void findAccessibilityBus();

} // namespace startup
