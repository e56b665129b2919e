// Start-up: build the window, show it at its place, run until it closes.
#include "accessibility.h"
#include "builder.h"
#include "desktop.h"
#include "form1.h"
#include "look.h"
#include "services.h"
#include "startup.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[]) {
    // Before anything else, so that a signal to end is never lost.
    if (!startup::catchEndSignals() || !startup::enoughFileDescriptors() || !startup::roomToRun())
        return 1;
    if (argc > 1) {
        std::fputs("hoshifuru2: this program takes no arguments\n", stderr);
        return 2;
    }
    const char *program = argc > 0 && argv[0] ? argv[0] : "";
    startup::keepToUsableRuntimeFolder();
    startup::keepToExistingSessionBus();
    startup::QtCommandLine qtCommandLine(program);
    if (!startup::saneScaleSettings())
        return 1;

    startup::watchDisplayOpening();
    QApplication app(qtCommandLine.argc, qtCommandLine.argv);
    startup::displayOpened();
    // Once Qt has started, every end goes the way the window's close does,
    // without Qt's teardown.
    if (!startup::windowFitsScreens(QSize(TForm1::clientWidth, TForm1::clientHeight)))
        desktop::endProcess(1);
    startup::useUtf8CharacterType();
    startup::findAccessibilityBus();
    accessibility::followReaders();
    app.setDesktopFileName(QStringLiteral("io.github.hoshifuru2"));
    installLook();
    Services::instance().setApplicationTitle(applicationTitle(QString::fromLocal8Bit(program)));

    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>();
    } catch (const LayoutError &error) {
        std::fprintf(stderr, "hoshifuru2: cannot build the window: %s\n", error.what());
        desktop::endProcess(1);
    }
    QObject::connect(form.get(), &TForm1::closed, &app, [] {
        // Ending while a handler waits in a dialog: close that dialog and
        // every later one as cancelled, so the handler finishes.
        Services::instance().requestEnd();
        QCoreApplication::exit(0);
    });
    // A signal that came while the window was being made ends the program
    // before it shows.
    if (startup::endSignalPending())
        desktop::endProcess(0);
    startup::endOnSignals(*form);
    desktop::prepareMainWindow(form.get());
    form->show();
    startup::started();
    const int status = app.exec();
    form.reset();
    PlayerName.clear();
    desktop::endProcess(status);
}
