#include "startup.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QString>
#include <QWidget>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <langinfo.h>
#include <mutex>
#include <pthread.h>
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
