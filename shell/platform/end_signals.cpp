#include "end_signals.h"

#include "deadlines.h"

#include <QObject>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace platform {

namespace {

// [0] is written by the signal handler, [1] read by the event loop.
int signalSocket[2] = {-1, -1};

// Sends a byte for the event loop to act on, and sets the end's deadline,
// which holds when the event loop never reads it.
void onEndSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t sent =
        ::send(signalSocket[0], &byte, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
    endWithinGrace();
    errno = saved;
}

} // namespace

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
    makeDeadlineTimer();

    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t caught;
    sigemptyset(&caught);
    sigaddset(&caught, SIGALRM); // the deadlines' timer
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

bool endSignalPending() {
    char byte;
    return ::recv(signalSocket[1], &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 1;
}

void endOnSignals(QWidget &window, std::function<void()> end) {
    auto *notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [end = std::move(end)] {
        char bytes[64];
        while (::read(signalSocket[1], bytes, sizeof bytes) > 0) {
        }
        end();
    });
}

void endProcess(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
#if defined(__SANITIZE_ADDRESS__)
    // The exit below skips LeakSanitizer's own check at exit.
    __lsan_do_leak_check();
#endif
    ::_exit(status);
}

} // namespace platform
