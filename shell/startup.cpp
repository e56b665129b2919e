#include "startup.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QSocketNotifier>
#include <QString>
#include <QWidget>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <langinfo.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <qpa/qplatformscreen.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

// ------------------------------------------------------------------ signals

// [0] is written by the signal handler, [1] read by the event loop.
int signalSocket[2] = {-1, -1};

// Two deadlines share one timer: the end of the program after a signal to
// end (the event loop closes the window well before it, unless the program
// waits outside the event loop), and the end of start-up (the display, the
// compositor or a bus may accept a connection and never answer). Each is a
// time on the monotonic clock in nanoseconds, 0 when none is set. Only
// async-signal-safe calls are made on them.
constexpr long long endGrace = 500'000'000;      // after a signal to end
constexpr long long startLimit = 10'000'000'000; // for the whole start-up
timer_t deadlineTimer;
bool deadlineTimerMade = false;
std::atomic<long long> endBy{0};
std::atomic<long long> startBy{0};
// The line that says what start-up was waiting for; one of these buffers.
char waitLines[2][320];
std::atomic<const char *> waitLine{nullptr};
static_assert(std::atomic<long long>::is_always_lock_free);

long long monotonicNow() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// Sets the timer to the earlier deadline, or stops it.
void armDeadlineTimer() {
    if (!deadlineTimerMade)
        return;
    const long long end = endBy.load();
    const long long start = startBy.load();
    const long long next = end && start ? std::min(end, start) : end ? end : start;
    itimerspec when{};
    when.it_value.tv_sec = next / 1'000'000'000;
    when.it_value.tv_nsec = next % 1'000'000'000;
    ::timer_settime(deadlineTimer, TIMER_ABSTIME, &when, nullptr);
}

void onDeadline(int) {
    const int saved = errno;
    const long long now = monotonicNow();
    const long long end = endBy.load();
    if (end && now >= end)
        ::_exit(0); // as the window's close would have ended it
    const long long start = startBy.load();
    if (start && now >= start) {
        if (const char *line = waitLine.load()) {
            [[maybe_unused]] const ssize_t written =
                ::write(STDERR_FILENO, line, std::strlen(line));
        }
        ::_exit(1);
    }
    armDeadlineTimer();
    errno = saved;
}

// Sends a byte for the event loop to act on, and sets the end's deadline,
// which holds when the event loop never reads it.
void onEndSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t sent =
        ::send(signalSocket[0], &byte, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
    long long none = 0;
    if (endBy.compare_exchange_strong(none, monotonicNow() + endGrace))
        armDeadlineTimer();
    errno = saved;
}

// What start-up waits for from now on: one line, said if it never comes.
void waitingFor(const char *format, const char *what) {
    static int next = 0;
    char *line = waitLines[next];
    next = 1 - next;
    std::snprintf(line, sizeof waitLines[0], format, what);
    waitLine.store(line);
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
        passOn(type, context, text); // ends the program
        return;
    }
    held.push_back({type, context.file, context.function, context.category, context.line, text});
}

bool sessionBusOff = false;
QByteArray displaysTried; // for the line said when start-up waits too long

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

// The folder of the player's own sockets, as the accessibility bus launcher
// picks it: the runtime folder, or else the cache folder.
QByteArray ownSocketFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/'))
        return runtime;
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (cache.startsWith('/'))
        return cache;
    const QByteArray home = qgetenv("HOME");
    return home.startsWith('/') ? home + "/.cache" : QByteArray();
}

// Waits for the socket until the deadline: false when it is not ready then.
bool awaitSocket(int fd, short events, long long deadline) {
    for (;;) {
        const long long left = (deadline - monotonicNow()) / 1'000'000;
        if (left <= 0)
            return false;
        pollfd watched{fd, events, 0};
        const int ready = ::poll(&watched, 1, int(left));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

// Whether an accessibility bus address published on the root window, which
// any program on the display may write, is a bus of this player's own that
// answers: a unix:path= socket in the player's own socket folder or a
// unix:abstract= one, either owned by this user, whose server offers
// authentication within a second. Anything else (another kind of address,
// which may run a program, another user's socket, a server that never
// answers) is not.
bool trustedAccessibilityBus(const QByteArray &address) {
    if (!address.startsWith("unix:"))
        return false;
    QByteArray path, abstract;
    for (const QByteArray &pair : address.mid(5).split(',')) {
        const qsizetype equals = pair.indexOf('=');
        const QByteArray key = pair.left(equals);
        const QByteArray value = QByteArray::fromPercentEncoding(pair.mid(equals + 1));
        if (equals <= 0 || value.isEmpty() || value.contains('\0'))
            return false;
        if (key == "path" && path.isEmpty() && abstract.isEmpty())
            path = value;
        else if (key == "abstract" && path.isEmpty() && abstract.isEmpty())
            abstract = value;
        else if (key != "guid")
            return false;
    }
    sockaddr_un socketAddress{};
    socketAddress.sun_family = AF_UNIX;
    socklen_t length = 0;
    if (!path.isEmpty()) {
        const QByteArray folder = ownSocketFolder();
        if (folder.isEmpty() || !path.startsWith(folder + '/') || path.contains("/../") ||
            path.contains("/./") || path.size() >= qsizetype(sizeof socketAddress.sun_path))
            return false;
        struct stat status {};
        if (::lstat(path.constData(), &status) != 0 || !S_ISSOCK(status.st_mode) ||
            status.st_uid != ::getuid())
            return false;
        std::memcpy(socketAddress.sun_path, path.constData(), size_t(path.size()));
        length = socklen_t(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    } else if (!abstract.isEmpty() && abstract.size() < qsizetype(sizeof socketAddress.sun_path)) {
        std::memcpy(socketAddress.sun_path + 1, abstract.constData(), size_t(abstract.size()));
        length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + abstract.size());
    } else {
        return false;
    }

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const long long deadline = monotonicNow() + 1'000'000'000;
    bool answers = false;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&socketAddress), length) == 0 ||
        (errno == EAGAIN && awaitSocket(fd, POLLOUT, deadline))) {
        ucred peer{};
        socklen_t peerLength = sizeof peer;
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &peerLength) == 0 &&
            peer.uid == ::getuid()) {
            // The first words of the bus protocol: the server answers with
            // "OK" and its id, or "REJECTED"; either way it is a live bus.
            QByteArray hello("\0AUTH EXTERNAL ", 15);
            hello += QByteArray::number(::getuid()).toHex() + "\r\n";
            char reply[256];
            size_t got = 0;
            if (::send(fd, hello.constData(), size_t(hello.size()), MSG_NOSIGNAL) ==
                ssize_t(hello.size())) {
                while (got < sizeof reply && std::memchr(reply, '\n', got) == nullptr &&
                       awaitSocket(fd, POLLIN, deadline)) {
                    const ssize_t n = ::recv(fd, reply + got, sizeof reply - got, 0);
                    if (n <= 0)
                        break;
                    got += size_t(n);
                }
            }
            answers = got >= 3 && std::memcmp(reply, "OK ", 3) == 0;
        }
    }
    ::close(fd);
    return answers;
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
    // The timer of the deadlines signals on SIGALRM, which nothing else uses.
    struct sigaction onTimer {};
    onTimer.sa_handler = onDeadline;
    sigemptyset(&onTimer.sa_mask);
    onTimer.sa_flags = SA_RESTART;
    sigaction(SIGALRM, &onTimer, nullptr);
    sigevent timerSignal{};
    timerSignal.sigev_notify = SIGEV_SIGNAL;
    timerSignal.sigev_signo = SIGALRM;
    deadlineTimerMade = ::timer_create(CLOCK_MONOTONIC, &timerSignal, &deadlineTimer) == 0;

    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t caught;
    sigemptyset(&caught);
    sigaddset(&caught, SIGALRM);
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

bool roomToRun() {
    // Measured: the game starts with a stack of 96 KiB but not 64 KiB, and
    // plays in an address space of 110 MB only until the first font it
    // cannot map; these leave room for input methods, accessibility and the
    // fonts of a name.
    constexpr rlim_t stackNeeded = 1024 * 1024;
    constexpr rlim_t memoryNeeded = 256 * 1024 * 1024;
    struct Limit {
        int resource;
        rlim_t needed;
        const char *what;
    };
    for (const Limit &need : {Limit{RLIMIT_STACK, stackNeeded, "stack size"},
                              Limit{RLIMIT_AS, memoryNeeded, "virtual memory"},
                              Limit{RLIMIT_DATA, memoryNeeded, "data segment size"}}) {
        rlimit limit{};
        if (::getrlimit(need.resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
            limit.rlim_cur >= need.needed)
            continue;
        // The soft limit is raised as far as needed where the hard one allows.
        if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max >= need.needed) {
            limit.rlim_cur = need.needed;
            if (::setrlimit(need.resource, &limit) == 0)
                continue;
        }
        std::fprintf(stderr, "hoshifuru2: the %s limit is too low: %llu KiB, %llu KiB needed\n",
                     need.what, static_cast<unsigned long long>(limit.rlim_cur / 1024),
                     static_cast<unsigned long long>(need.needed / 1024));
        return false;
    }
    // Threads made from now on get the stack they would have had without a
    // low soft limit (the C library took their size from it at start).
    pthread_attr_t attributes;
    if (::pthread_getattr_default_np(&attributes) == 0) {
        size_t size = 0;
        if (::pthread_attr_getstacksize(&attributes, &size) == 0 && size < stackNeeded) {
            ::pthread_attr_setstacksize(&attributes, stackNeeded);
            ::pthread_setattr_default_np(&attributes);
        }
        ::pthread_attr_destroy(&attributes);
    }
    // Qt reads the display's events on a thread of its own: without one (a
    // limit on processes, or no memory for its stack) it would wait for ever.
    pthread_t thread;
    const int made = ::pthread_create(
        &thread, nullptr, [](void *) -> void * { return nullptr; }, nullptr);
    if (made != 0) {
        std::fprintf(stderr, "hoshifuru2: cannot start a thread: %s\n", std::strerror(made));
        return false;
    }
    ::pthread_join(thread, nullptr);
    return true;
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

bool windowFitsScreens(QSize window) {
    // The scale of the screen the window opens on, settings included; the
    // window is refused when it would be less than half its size, or more
    // than twice as wide or as high as the largest screen (in the screens'
    // own pixels).
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary || !primary->handle())
        return true;
    const double ratio = primary->devicePixelRatio();
    QSize largest;
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->handle())
            largest = largest.expandedTo(screen->handle()->geometry().size());
    }
    const double width = window.width() * ratio;
    const double height = window.height() * ratio;
    if (ratio >= 0.5 && width <= 2.0 * largest.width() && height <= 2.0 * largest.height())
        return true;
    std::fprintf(stderr,
                 "hoshifuru2: a scale of %g leaves no usable window: %.0f×%.0f pixels, the "
                 "largest screen %d×%d\n",
                 ratio, width, height, largest.width(), largest.height());
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
    for (const QByteArray &platform : std::as_const(platforms))
        displays << displayOf(platform).left(120);
    displaysTried = displays.join("; ");
    waitingFor("hoshifuru2: no answer from the display (%s)\n", displaysTried.constData());
    startBy.store(monotonicNow() + startLimit);
    armDeadlineTimer();
}

void started() {
    startBy.store(0);
    armDeadlineTimer();
}

void displayOpened() {
    waitingFor("hoshifuru2: no answer from the display or the desktop's buses (%s)\n",
               displaysTried.constData());
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
    if (!qEnvironmentVariableIsSet("AT_SPI_BUS_ADDRESS")) {
        // The bus published on the root window, checked before Qt could read
        // it: Qt takes the address named in AT_SPI_BUS_ADDRESS instead of
        // the root window's.
        const QByteArray published = publishedAccessibilityBus();
        if (!published.isEmpty() && trustedAccessibilityBus(published)) {
            qputenv("AT_SPI_BUS_ADDRESS", published);
        } else if (!published.isEmpty() && !sessionBusOff) {
            // Qt would connect to the root window's bus too: the session
            // bus's accessibility bus is named instead, or none.
            QDBusMessage ask = QDBusMessage::createMethodCall(
                QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
            ask.setAutoStartService(false); // as Qt asks: only a bus already there
            const QDBusMessage reply = QDBusConnection::sessionBus().call(ask, QDBus::Block, 1000);
            const QString address = reply.type() == QDBusMessage::ReplyMessage
                                        ? reply.arguments().value(0).toString()
                                        : QString();
            qputenv("AT_SPI_BUS_ADDRESS",
                    address.isEmpty() ? QByteArray("disabled:") : address.toLocal8Bit());
        }
    }
    if (!qEnvironmentVariableIsSet("AT_SPI_BUS_ADDRESS") ||
        qgetenv("AT_SPI_BUS_ADDRESS") == "disabled:")
        return;
    // Qt 6.4's AT-SPI bridge connects to the bus named there as it is made,
    // and announces that it is ready before it listens for that
    // announcement, so it never starts; it is told again once it listens.
    QPlatformIntegration *platform = QGuiApplicationPrivate::platformIntegration();
    if (auto *bridge = dynamic_cast<QObject *>(platform ? platform->accessibility() : nullptr))
        QMetaObject::invokeMethod(bridge, "enabledChanged", Q_ARG(bool, true));
}

} // namespace startup
