// Start-up: build the window, show it at its place, run until it closes.
// Each step that guards the game against its surroundings is the
// platform's (shell/platform/); the rest is the game's own.
#include "accessibility.h"
#include "arguments.h"
#include "builder.h"
#include "form1.h"
#include "language.h"
#include "look.h"
#include "platform/alert_sound.h"
#include "platform/desktop.h"
#include "platform/display_opening.h"
#include "platform/end_signals.h"
#include "platform/environment.h"
#include "platform/readers.h"
#include "platform/resource_limits.h"
#include "platform/screens.h"
#include "platform/standard_streams.h"
#include "services.h"
#include "warmup.h"

#include <QApplication>
#include <cstdio>
#include <memory>
#include <optional>

int main(int argc, char *argv[]) {
    // Before anything else opens a file, then before anything else at all,
    // so that a signal to end is never lost.
    if (!platform::openClosedStandardStreams() || !platform::catchEndSignals() ||
        !platform::enoughFileDescriptors() || !platform::roomToRun())
        return 1;
    const arguments::CommandLine commandLine = arguments::read(argc, argv);
    if (const auto status = arguments::answer(commandLine))
        return *status;
    const char *program = argc > 0 && argv[0] ? argv[0] : "";
    platform::keepToUsableRuntimeFolder();
    platform::keepToExistingSessionBus();
    platform::keepOutOfSessionManagement();
    platform::QtCommandLine qtCommandLine(program);
    if (!platform::saneScaleSettings())
        return 1;

    platform::watchDisplayOpening();
    QApplication app(qtCommandLine.argc, qtCommandLine.argv);
    // Once Qt has started, every end goes the way the window's close does,
    // without Qt's teardown.
    if (!platform::displayOpened() || !platform::enoughColours() ||
        !platform::windowFitsScreens(QSize(TForm1::clientWidth, TForm1::clientHeight)))
        platform::endProcess(1);
    platform::useUtf8CharacterType();
    platform::startUpWaitsFor(platform::StartUpWait::Buses);
    platform::installReaderBridgeFixes();
    platform::findAccessibilityBus();
    accessibility::installInterfaces();
    platform::followReaders();
    // The name a desktop matches the windows to the desktop entry by: the
    // application id (Wayland, and on X11 for KWin); before the first window
    // is made. On X11 the window class is the program's file name, which the
    // entry names. The application name stays the file's too: Qt shows it
    // for a window without a title, and a message box's empty caption (a
    // program file named .hidden) must stay empty.
    app.setDesktopFileName(QStringLiteral("io.github.hoshifuru2"));
    if (!language::use(commandLine.edition.value_or(language::fromDesktop()))) {
        std::fputs("hoshifuru2: the English texts cannot be loaded\n", stderr);
        platform::endProcess(1);
    }
    platform::startUpWaitsFor(platform::StartUpWait::Fonts);
    installLook();
    platform::startUpWaitsFor(platform::StartUpWait::Display);
    Services::instance().setApplicationTitle(applicationTitle(QString::fromLocal8Bit(program)));

    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>(layoutRegions(), TForm1::TextFit::AfterShow);
    } catch (const LayoutError &error) {
        std::fprintf(stderr, "hoshifuru2: cannot build the window: %s\n", error.what());
        platform::endProcess(1);
    }
    platform::nameAlertSoundSource(form->windowTitle());
    QObject::connect(form.get(), &TForm1::closed, &app, [] {
        // Ending while a handler waits in a dialog: close that dialog and
        // every later one as cancelled, so the handler finishes.
        Services::instance().requestEnd();
        QCoreApplication::exit(0);
    });
    // A signal that came while the window was being made ends the program
    // before it shows.
    if (platform::endSignalPending())
        platform::endProcess(0);
    const auto end = [window = form.get()] { window->end(); };
    platform::endOnSignals(*form, end);
    warmUpAfterFirstFrame(form.get());
    platform::prepareMainWindow(form.get(), end);
    form->show();
    // The title's text is measured while the display maps the window, before
    // the event loop paints its first frame.
    form->fitShownText();
    platform::started();
    const int status = app.exec();
    form.reset();
    PlayerName.clear();
    platform::endProcess(status);
}
