#include "desktop.h"

#include "form1.h"
#include "titlebar.h"
#include "warmup.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace desktop {

namespace {

// The words of _MOTIF_WM_HINTS: which of the next two words count, the
// functions, the decorations (then an input mode and a status, unused).
constexpr unsigned hintsFunctions = 1u << 0;
constexpr unsigned hintsDecorations = 1u << 1;
constexpr unsigned functionMove = 1u << 2;
constexpr unsigned functionMinimize = 1u << 3;
constexpr unsigned functionClose = 1u << 5;
constexpr unsigned decorationBorder = 1u << 1;
constexpr unsigned decorationTitle = 1u << 3;
constexpr unsigned decorationMenu = 1u << 4;
constexpr unsigned decorationMinimize = 1u << 5;

xcb_connection_t *x11Connection() {
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name) {
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

xcb_atom_t motifHintsAtom(xcb_connection_t *connection) {
    static const xcb_atom_t atom = internAtom(connection, "_MOTIF_WM_HINTS");
    return atom;
}

// Writes the hints on the window's X window.
void writeHints(QWindow *window, FrameHints hints) {
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window->handle())
        return;
    const xcb_atom_t atom = motifHintsAtom(connection);
    if (atom == XCB_ATOM_NONE)
        return;
    const uint32_t words[5] = {hintsFunctions | hintsDecorations, hints.functions,
                               hints.decorations, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), atom,
                        atom, 32, 5, words);
}

// Writes a window's hints when it is shown: its X window is made by then
// (and Qt has written its own hints on it), but not yet mapped, which is
// when window managers read them. (Asking a dialog for its winId() instead
// would give every widget of the main window an X window of its own.)
//
// Each window also asks for the keyboard when it is shown (Qt takes it once
// the window is mapped), and when a dialog has closed, the window below it
// takes the keyboard back unless another window has it: without a window
// manager nobody else gives it, and the keyboard would stay with the root
// window.
class HintsOnShow : public QObject {
public:
    explicit HintsOnShow(FrameHints hints) : m_hints(hints) {}
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *widget = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            if (QWindow *window = widget->windowHandle())
                writeHints(window, m_hints);
            widget->activateWindow();
        } else if (event->type() == QEvent::Hide && !event->spontaneous() &&
                   widget->parentWidget()) {
            // Once the story has gone on: a handler often opens the next
            // dialog at once, which takes the keyboard itself.
            QPointer<QWidget> below = widget->parentWidget()->window();
            QMetaObject::invokeMethod(
                below,
                [below] {
                    if (below && below->isVisible() && !QGuiApplication::focusWindow() &&
                        !QApplication::activeModalWidget())
                        below->activateWindow();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    FrameHints m_hints;
};

// Whether the X window is one the game shows now (Qt forgets the number of
// a window it destroys itself before the server reports it destroyed).
bool isShownWindow(xcb_window_t id) {
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        if (window->handle() && xcb_window_t(window->winId()) == id)
            return true;
    }
    return false;
}

// Ends the game when another program destroys one of its windows (xdotool
// windowclose, a window manager's kill tool): the game cannot go on without
// it, so the main window closes as by its close control.
class DestroyWatch : public QAbstractNativeEventFilter {
public:
    explicit DestroyWatch(QWidget *window) : m_window(window) {}

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
            return false;
        const auto *destroyed = static_cast<const xcb_destroy_notify_event_t *>(message);
        if (destroyed->event == destroyed->window && isShownWindow(destroyed->window) && m_window)
            QMetaObject::invokeMethod(m_window, &QWidget::close, Qt::QueuedConnection);
        return false;
    }

private:
    QPointer<QWidget> m_window;
};

// On Wayland the compositor (weston, GNOME) leaves title bars to the
// program, and Qt's own has a maximise button that does nothing on a window
// of fixed size; the game draws its own (titlebar.h).
bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

bool clipboardAnswers(bool primary, int limitMs) {
    if (!x11Connection())
        return true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    bool answered = false;
    if (!xcb_connection_has_error(connection)) {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const xcb_atom_t selection =
            primary ? xcb_atom_t(XCB_ATOM_PRIMARY) : internAtom(connection, "CLIPBOARD");
        xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, selection), nullptr);
        answered = !owner || owner->owner == XCB_NONE;
        std::free(owner);
        if (!answered) {
            // Asks for the list of formats, as Qt asks first.
            const xcb_window_t window = xcb_generate_id(connection);
            xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                              XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
            xcb_convert_selection(connection, window, selection, internAtom(connection, "TARGETS"),
                                  internAtom(connection, "HOSHIFURU2_PASTE"), XCB_CURRENT_TIME);
            xcb_flush(connection);
            while (!answered) {
                while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
                    answered |= (event->response_type & 0x7f) == XCB_SELECTION_NOTIFY;
                    std::free(event);
                }
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now())
                                      .count();
                if (answered || left <= 0 || xcb_connection_has_error(connection))
                    break;
                pollfd watched{xcb_get_file_descriptor(connection), POLLIN, 0};
                ::poll(&watched, 1, int(left));
            }
        }
    }
    xcb_disconnect(connection);
    return answered;
}

FrameHints mainWindowHints() {
    return {functionMove | functionMinimize | functionClose,
            decorationBorder | decorationTitle | decorationMenu | decorationMinimize};
}

FrameHints dialogHints() {
    return {functionMove | functionClose, decorationBorder | decorationTitle | decorationMenu};
}

void prepareMainWindow(TForm1 *window) {
    warmUpAfterFirstFrame(window);
    if (onWayland())
        titlebar::frameWindow(window);
    if (!x11Connection())
        return;
    static HintsOnShow hints(mainWindowHints());
    window->installEventFilter(&hints);
    static DestroyWatch watch(window);
    QCoreApplication::instance()->installNativeEventFilter(&watch);
}

void prepareDialog(QDialog *dialog) {
    if (onWayland())
        titlebar::frameWindow(dialog);
    if (!x11Connection())
        return;
    static HintsOnShow hints(dialogHints());
    dialog->installEventFilter(&hints);
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

} // namespace desktop
