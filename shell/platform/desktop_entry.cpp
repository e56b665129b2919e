#include "desktop_entry.h"

#include "x11.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

// Writes the name when the window is shown: its X window is made by then
// and not yet mapped, which is when a window manager reads it.
class NameOnShow : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && !event->spontaneous())
            write(static_cast<QWidget *>(watched)->windowHandle());
        return false;
    }

private:
    static void write(QWindow *window) {
        xcb_connection_t *connection = x11Connection();
        if (!connection || !window || !window->handle())
            return;
        static const xcb_atom_t property = internAtom(connection, "_KDE_NET_WM_DESKTOP_FILE");
        static const xcb_atom_t utf8 = internAtom(connection, "UTF8_STRING");
        if (property == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE)
            return;
        const QByteArray name = QGuiApplication::desktopFileName().toUtf8();
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()),
                            property, utf8, 8, uint32_t(name.size()), name.constData());
    }
};

} // namespace

void nameDesktopEntry(QWidget *window) {
    if (!x11Connection())
        return;
    static NameOnShow nameOnShow;
    window->installEventFilter(&nameOnShow);
}

} // namespace platform
