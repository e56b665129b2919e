#include "display_opening.h"

#include "deadlines.h"
#include "environment.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

// One message Qt gave while the display was being opened.
struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

QtMessageHandler passOn = nullptr;
std::mutex heldLock; // Qt's threads may report too
std::vector<HeldMessage> held;
QByteArrayList platformsTried;
QByteArrayList platformsNamed; // as QT_QPA_PLATFORM names them, or Qt's default

// Which display a platform plugin opens, as the player set it.
QByteArray displayOf(const QByteArray &platform) {
    if (platform.startsWith("xcb")) {
        const QByteArray display = qgetenv("DISPLAY");
        if (display.isEmpty())
            return "DISPLAY is not set";
        return "X display \"" + printable(display) + '"';
    }
    if (platform.startsWith("wayland")) {
        QByteArray display = qgetenv("WAYLAND_DISPLAY");
        if (display.isEmpty())
            display = "wayland-0";
        return "Wayland display \"" + printable(display) + '"';
    }
    return "platform \"" + printable(platform) + '"';
}

// Why the plugin of a platform cannot be loaded (a library it needs is
// missing or broken, no memory to map it), or nothing when it loads: then
// the platform started but could not reach its display.
QByteArray whyPluginFails(const QByteArray &platform) {
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    const QString name = QString::fromLocal8Bit(printable(platform).replace('/', '?'));
    for (const QString &folder : std::as_const(folders)) {
        for (const QString &file : {QStringLiteral("/platforms/libq%1.so").arg(name),
                                    QStringLiteral("/platforms/libq%1-generic.so").arg(name)}) {
            const QByteArray path = QFile::encodeName(folder + file);
            if (::access(path.constData(), F_OK) != 0)
                continue;
            if (void *plugin = ::dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL)) {
                ::dlclose(plugin);
                return {};
            }
            const char *error = ::dlerror();
            return printable(error ? QByteArray(error) : QByteArray("cannot be loaded"));
        }
    }
    return {};
}

// Qt names each platform plugin it could not start in a warning of its own
// before it gives up with a fatal message. The fatal message ends the program
// here, with one line instead of Qt's several and an abort.
void watchMessage(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    const std::lock_guard lock(heldLock);
    const bool aboutPlatform =
        context.category && std::strcmp(context.category, "qt.qpa.plugin") == 0;
    if (aboutPlatform && text.contains(QLatin1String("Qt platform plugin"))) {
        const qsizetype open = text.indexOf(u'"');
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'"', open + 1);
        if (close > open)
            platformsTried << text.mid(open + 1, close - open - 1).toLocal8Bit();
    }
    if (type == QtFatalMsg && text.contains(QLatin1String("platform plugin"))) {
        for (const QByteArray &platform : std::as_const(platformsTried)) {
            if (const QByteArray why = whyPluginFails(platform); !why.isEmpty()) {
                std::fprintf(stderr, "hoshifuru2: cannot start the platform \"%s\": %s\n",
                             printable(platform).constData(), why.constData());
                std::_Exit(1);
            }
        }
        QByteArrayList displays;
        for (const QByteArray &platform : platformsTried)
            displays << displayOf(platform);
        const QByteArray which =
            displays.isEmpty() ? QByteArray() : " (" + displays.join("; ") + ')';
        std::fprintf(stderr, "hoshifuru2: cannot open a display%s\n", which.constData());
        std::_Exit(1);
    }
    if (type == QtFatalMsg) {
        // A platform that loaded and then gave up (eglfs without a DRM
        // device, minimalegl without EGL): its own reason, in one line.
        std::fprintf(stderr, "hoshifuru2: cannot start the platform \"%s\": %s\n",
                     platformsNamed.join(';').constData(),
                     printable(text.toLocal8Bit().left(200)).constData());
        std::_Exit(1);
    }
    held.push_back({type, context.file, context.function, context.category, context.line, text});
}

QByteArray displaysTried; // for the line said when start-up waits too long

// The line that says what start-up waits for, with the displays tried
// where it waits for the display: one of two buffers, so that the one a
// deadline may be reading is never the one being written.
const char *waitingFor(StartUpWait what) {
    static char lines[2][400];
    static int next = 0;
    char *line = lines[next];
    next = 1 - next;
    switch (what) {
    case StartUpWait::Display:
        std::snprintf(line, sizeof lines[0], "hoshifuru2: no answer from the display (%s)\n",
                      displaysTried.constData());
        break;
    case StartUpWait::Buses:
        std::snprintf(line, sizeof lines[0],
                      "hoshifuru2: no answer from the desktop's buses (the session bus and the "
                      "screen readers' bus)\n");
        break;
    case StartUpWait::Fonts:
        std::snprintf(line, sizeof lines[0],
                      "hoshifuru2: no answer from the font configuration (fontconfig still "
                      "reading its font folders)\n");
        break;
    }
    return line;
}

} // namespace

void watchDisplayOpening() {
    passOn = qInstallMessageHandler(watchMessage);
    // The displays Qt may try: the platforms named, or else Wayland's where a
    // Wayland session or display is set, and X's.
    QByteArrayList platforms;
    if (const QByteArray named = qgetenv("QT_QPA_PLATFORM"); !named.isEmpty()) {
        platforms = named.split(';');
    } else {
        if (qgetenv("XDG_SESSION_TYPE") == "wayland" ||
            qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
            platforms << "wayland";
        platforms << "xcb";
    }
    QByteArrayList displays;
    for (const QByteArray &platform : std::as_const(platforms)) {
        displays << displayOf(platform).left(120);
        platformsNamed << printable(platform.left(40));
        // Mesa's EGL reports on standard error what it cannot use (Debian
        // testing's: two lines on DRI3 on an X server without it) before
        // the platform gives up; the game's one line says why it cannot
        // start. Only its fatal errors, unless the player asked for more.
        const QByteArray name = platform.split(':').constFirst();
        if ((name == "eglfs" || name == "minimalegl") &&
            !qEnvironmentVariableIsSet("EGL_LOG_LEVEL"))
            qputenv("EGL_LOG_LEVEL", "fatal");
    }
    displaysTried = displays.join("; ");
    limitStartUp(waitingFor(StartUpWait::Display));
}

void started() {
    startUpDone();
}

bool displayOpened() {
    qInstallMessageHandler(passOn);
    const std::lock_guard lock(heldLock);
    if (QGuiApplication::screens().isEmpty()) {
        // A platform that started without a screen (linuxfb without a frame
        // buffer) would abort at the first window.
        std::fprintf(stderr, "hoshifuru2: cannot start the platform \"%s\": it found no screen\n",
                     printable(QGuiApplication::platformName().toLocal8Bit().left(40)).constData());
        return false;
    }
    for (const HeldMessage &message : held) {
        const QMessageLogContext context(message.file.constData(), message.line,
                                         message.function.constData(),
                                         message.category.constData());
        passOn(message.type, context, message.text);
    }
    held.clear();
    platformsTried.clear();
    return true;
}

void startUpWaitsFor(StartUpWait what) {
    sayOnStartUpLimit(waitingFor(what));
}

} // namespace platform
