#include "destroyed_windows.h"

#include "x11.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

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
// it, so the game ends.
class DestroyWatch : public QAbstractNativeEventFilter {
public:
    DestroyWatch(QWidget *window, std::function<void()> end)
        : m_window(window), m_end(std::move(end)) {}

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
            return false;
        const auto *destroyed = static_cast<const xcb_destroy_notify_event_t *>(message);
        if (destroyed->event == destroyed->window && isShownWindow(destroyed->window) && m_window)
            QMetaObject::invokeMethod(m_window, m_end, Qt::QueuedConnection);
        return false;
    }

private:
    QPointer<QWidget> m_window;
    std::function<void()> m_end;
};

} // namespace

void closeWhenWindowsDestroyed(QWidget *window, std::function<void()> end) {
    if (!x11Connection())
        return;
    static DestroyWatch watch(window, std::move(end));
    QCoreApplication::instance()->installNativeEventFilter(&watch);
}

} // namespace platform
