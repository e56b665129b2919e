// What the environment the program is started in may hold that would harm
// it: a runtime folder that does not exist, no session bus, scale settings
// that leave no window, Qt options on the command line, a locale that is not
// UTF-8.
#pragma once

#include <QByteArray>
#include <string>

namespace platform {

// Text from the environment, made fit for one line: control characters
// become '?'.
QByteArray printable(QByteArray text);

// An XDG_RUNTIME_DIR that names no existing folder by an absolute path is
// dropped: Qt would make that folder (relative to the working folder for a
// relative path).
void keepToUsableRuntimeFolder();

// With no session bus address set and no bus at the standard place, the
// bus library would start a bus daemon of its own (and write its address
// into the home folder): the session bus is switched off instead.
void keepToExistingSessionBus();
// Whether keepToExistingSessionBus() switched the session bus off.
bool sessionBusSwitchedOff();

// The game keeps nothing for a desktop session to save or restore, and a
// session manager that never answers would hold start-up (Qt connects to
// it as the application is made): SESSION_MANAGER is dropped. The game
// still ends with the session, as its display does.
void keepOutOfSessionManagement();

// Before the QApplication is made: a QT_SCALE_FACTOR that is no number
// above 0 (no window ever shows) and a QT_FONT_DPI beyond sense are
// refused, with one line on standard error.
constexpr int minFontDpi = 24;
constexpr int maxFontDpi = 960;
bool saneScaleSettings();

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

// After the QApplication is made. Window titles reach older window managers
// through the locale's character set: where that is not UTF-8, the
// character type category switches to a UTF-8 locale.
void useUtf8CharacterType();

} // namespace platform
