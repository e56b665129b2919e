// Finding screen readers' bus where no session bus tells it, and trusting
// it only where it is the player's own.
#include "readers.h"

#include "environment.h"
#include "x11.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QtGui/private/qguiapplication_p.h>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

long long monotonicNow() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
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

} // namespace

void findAccessibilityBus() {
    if (!qEnvironmentVariableIsSet("AT_SPI_BUS_ADDRESS")) {
        // The bus published on the root window, checked before Qt could read
        // it: Qt takes the address named in AT_SPI_BUS_ADDRESS instead of
        // the root window's.
        xcb_connection_t *x11 = x11Connection();
        const QByteArray published = x11 ? rootWindowText(x11, "AT_SPI_BUS") : QByteArray();
        if (!published.isEmpty() && trustedAccessibilityBus(published)) {
            qputenv("AT_SPI_BUS_ADDRESS", published);
        } else if (!published.isEmpty() && !sessionBusSwitchedOff()) {
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

} // namespace platform
