#include "startup.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QString>
#include <QWidget>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <langinfo.h>
#include <mutex>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

// ------------------------------------------------------------------ signals

// [0] is written by the signal handler, [1] read by the event loop.
int signalSocket[2] = {-1, -1};

// Only sends a byte: the event loop does the rest.
void onEndSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t sent =
        ::send(signalSocket[0], &byte, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
    errno = saved;
}

// --------------------------------------------------------- opening a display

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

// Text from the environment, made fit for one line.
QByteArray printable(QByteArray text) {
    for (char &c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    return text;
}

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
        QByteArrayList displays;
        for (const QByteArray &platform : platformsTried)
            displays << displayOf(platform);
        const QByteArray which =
            displays.isEmpty() ? QByteArray() : " (" + displays.join("; ") + ')';
        std::fprintf(stderr, "hoshifuru2: cannot open a display%s\n", which.constData());
        std::_Exit(1);
    }
    if (type == QtFatalMsg) {
        passOn(type, context, text); // ends the program
        return;
    }
    held.push_back({type, context.file, context.function, context.category, context.line, text});
}

bool sessionBusOff = false;

// The accessibility bus an X display publishes on its root window, if any.
QByteArray publishedAccessibilityBus() {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return {};
    char *host = nullptr;
    int displayNumber = 0;
    int screenNumber = 0;
    if (!xcb_parse_display(nullptr, &host, &displayNumber, &screenNumber))
        screenNumber = 0;
    std::free(host);
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screen.rem > 1; ++i)
        xcb_screen_next(&screen);

    const char name[] = "AT_SPI_BUS";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return {};
    const xcb_atom_t property = atom->atom;
    std::free(atom);
    if (property == XCB_ATOM_NONE)
        return {};
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, screen.data->root, property, XCB_ATOM_STRING, 0, 1024),
        nullptr);
    if (!reply)
        return {};
    QByteArray address(static_cast<const char *>(xcb_get_property_value(reply)),
                       xcb_get_property_value_length(reply));
    std::free(reply);
    return address;
}

bool isUtf8(const char *codeset) {
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

} // namespace

namespace startup {

bool catchEndSignals() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSocket) != 0) {
        std::fprintf(stderr, "hoshifuru2: cannot set up the handling of signals: %s\n",
                     std::strerror(errno));
        return false;
    }
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t caught;
    sigemptyset(&caught);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction before {};
        sigaction(signal, nullptr, &before);
        if (signal == SIGHUP && before.sa_handler == SIG_IGN)
            continue; // started to outlive its terminal
        sigaction(signal, &action, nullptr);
        sigaddset(&caught, signal);
    }
    // A launcher may hand on a mask that blocks them.
    sigprocmask(SIG_UNBLOCK, &caught, nullptr);
    return true;
}

bool enoughFileDescriptors() {
    // A whole game with no sound card was measured to run with a limit of
    // 11 open files; a sound server and an input method take a few more.
    constexpr rlim_t needed = 32;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= 256)
        return true;
    const auto freeBelow = [](rlim_t end) {
        rlim_t free = 0;
        for (rlim_t fd = 0; fd < end; ++fd) {
            if (::fcntl(int(fd), F_GETFD) == -1 && errno == EBADF)
                ++free;
        }
        return free;
    };
    rlim_t free = freeBelow(limit.rlim_cur);
    if (free < needed && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 1024); // the usual soft limit
        if (::setrlimit(RLIMIT_NOFILE, &limit) == 0)
            free = freeBelow(limit.rlim_cur);
    }
    if (free >= needed)
        return true;
    std::fprintf(stderr,
                 "hoshifuru2: too few file descriptors: %llu of at most %llu open files free, "
                 "%llu needed\n",
                 static_cast<unsigned long long>(free),
                 static_cast<unsigned long long>(limit.rlim_cur),
                 static_cast<unsigned long long>(needed));
    return false;
}

bool endSignalPending() {
    char byte;
    return ::recv(signalSocket[1], &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 1;
}

void endOnSignals(QWidget &window) {
    auto *notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char bytes[64];
        while (::read(signalSocket[1], bytes, sizeof bytes) > 0) {
        }
        window.close();
    });
}

QtCommandLine::QtCommandLine(const char *programPath) : m_name(programPath) {
    if (const auto slash = m_name.rfind('/'); slash != std::string::npos)
        m_name.erase(0, slash + 1);
    if (const auto stop = m_name.find('.'); stop != std::string::npos)
        m_name.erase(stop);
    argv[0] = m_name.data();
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

void watchDisplayOpening() {
    passOn = qInstallMessageHandler(watchMessage);
}

void displayOpened() {
    qInstallMessageHandler(passOn);
    const std::lock_guard lock(heldLock);
    for (const HeldMessage &message : held) {
        const QMessageLogContext context(message.file.constData(), message.line,
                                         message.function.constData(),
                                         message.category.constData());
        passOn(message.type, context, message.text);
    }
    held.clear();
    platformsTried.clear();
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

void findAccessibilityBus() {
    if (sessionBusOff && !qEnvironmentVariableIsSet("AT_SPI_BUS_ADDRESS")) {
        const QByteArray address = publishedAccessibilityBus();
        if (!address.isEmpty())
            qputenv("AT_SPI_BUS_ADDRESS", address);
    }
    if (!qEnvironmentVariableIsSet("AT_SPI_BUS_ADDRESS"))
        return;
    // Qt 6.4's AT-SPI bridge connects to the bus named there as it is made,
    // and announces that it is ready before it listens for that
    // announcement, so it never starts; it is told again once it listens.
    QPlatformIntegration *platform = QGuiApplicationPrivate::platformIntegration();
    if (auto *bridge = dynamic_cast<QObject *>(platform ? platform->accessibility() : nullptr))
        QMetaObject::invokeMethod(bridge, "enabledChanged", Q_ARG(bool, true));
}

} // namespace startup
