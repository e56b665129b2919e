// Start-up: build the window, show it at its place, run until it closes.
#include "builder.h"
#include "desktop.h"
#include "fonts.h"
#include "form1.h"
#include "services.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

// Only writes a byte: the event loop does the rest.
void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

// SIGTERM and SIGINT take the same path as the window's close control.
void endOnSignals(TForm1 &form) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &form);
    QObject::connect(notifier, &QSocketNotifier::activated, &form, [&form] {
        char byte;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
        form.close();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    app.setDesktopFileName(QStringLiteral("io.github.hoshifuru2"));
    registerFontSubstitutes();
    Services::instance().setApplicationTitle(applicationTitle(QString::fromLocal8Bit(argv[0])));

    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>();
    } catch (const LayoutError &error) {
        std::fprintf(stderr, "hoshifuru2: cannot build the window: %s\n", error.what());
        return 1;
    }
    QObject::connect(form.get(), &TForm1::closed, &app, [] {
        // Ending while a handler waits in a dialog: close that dialog and
        // every later one as cancelled, so the handler finishes.
        Services::instance().requestEnd();
        QCoreApplication::exit(0);
    });
    endOnSignals(*form);
    desktop::prepareMainWindow(form.get());
    form->show();
    const int status = app.exec();
    form.reset();
    PlayerName.clear();
    desktop::endProcess(status);
}
