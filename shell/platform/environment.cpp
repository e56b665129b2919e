#include "environment.h"

#include <QByteArray>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

bool sessionBusOff = false;

bool isUtf8(const char *codeset) {
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

} // namespace

QByteArray printable(QByteArray text) {
    for (char &c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    return text;
}

bool saneScaleSettings() {
    // Read as Qt reads them; a value Qt cannot read it ignores.
    bool number = false;
    const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
    const double factor = scale.toDouble(&number);
    if (number && !(std::isfinite(factor) && factor > 0)) {
        std::fprintf(stderr,
                     "hoshifuru2: QT_SCALE_FACTOR=\"%s\" leaves no window to show: it must be a "
                     "number above 0\n",
                     printable(scale.left(40)).constData());
        return false;
    }
    const QByteArray dpi = qgetenv("QT_FONT_DPI");
    const int dotsPerInch = dpi.toInt(&number);
    if (number && dotsPerInch != 0 && (dotsPerInch < minFontDpi || dotsPerInch > maxFontDpi)) {
        std::fprintf(stderr,
                     "hoshifuru2: QT_FONT_DPI=\"%s\" is beyond sense: it must be from %d to %d\n",
                     printable(dpi.left(40)).constData(), minFontDpi, maxFontDpi);
        return false;
    }
    return true;
}

QtCommandLine::QtCommandLine(const char *programPath) : m_name(programPath) {
    if (const auto slash = m_name.rfind('/'); slash != std::string::npos)
        m_name.erase(0, slash + 1);
    if (const auto stop = m_name.find('.'); stop != std::string::npos)
        m_name.erase(stop);
    argv[0] = m_name.data();
}

void keepToUsableRuntimeFolder() {
    // Qt makes the runtime folder it is given where it is missing, and takes
    // a relative one as relative to the working folder; only an existing
    // folder named by an absolute path is kept (else Qt's own fallback, as
    // when none is set).
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime)
        return;
    struct stat status {};
    if (*runtime != '/' || ::stat(runtime, &status) != 0 || !S_ISDIR(status.st_mode))
        ::unsetenv("XDG_RUNTIME_DIR");
}

void keepToExistingSessionBus() {
    const char *address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address && *address)
        return;
    // The bus of a user session that libdbus finds without being told.
    if (const char *runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/') {
        const std::string bus = std::string(runtime) + "/bus";
        struct stat status {};
        if (::stat(bus.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) &&
            status.st_uid == ::getuid())
            return;
    }
    // An address of a kind libdbus does not know: every attempt to connect
    // fails at once, before any daemon, file or socket is made.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    sessionBusOff = true;
}

void keepOutOfSessionManagement() {
    ::unsetenv("SESSION_MANAGER");
}

bool sessionBusSwitchedOff() {
    return sessionBusOff;
}

void useUtf8CharacterType() {
    if (isUtf8(nl_langinfo(CODESET)))
        return;
    const char *current = std::setlocale(LC_CTYPE, nullptr);
    std::string language = current ? current : "C";
    if (const auto end = language.find_first_of(".@"); end != std::string::npos)
        language.erase(end);
    std::vector<std::string> names;
    if (language != "C" && language != "POSIX")
        names.push_back(language + ".UTF-8");
    names.push_back("C.UTF-8");
    names.push_back("C.utf8");
    for (const std::string &name : names) {
        if (std::setlocale(LC_CTYPE, name.c_str()))
            return;
    }
}

} // namespace platform
