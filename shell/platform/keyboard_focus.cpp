#include "keyboard_focus.h"

#include "x11.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

class KeyboardHandOff : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *widget = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            // Qt takes the keyboard once the window is mapped.
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
};

// A click on a window the dialog blocks gives that window the keyboard on
// Wayland (Qt then marks it active, and drops its keys): the dialog asks
// for the keyboard back once the activation has been handled.
class KeyboardToDialog : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::WindowActivate)
            return false;
        QPointer<QWidget> blocked = static_cast<QWidget *>(watched);
        QMetaObject::invokeMethod(
            blocked,
            [blocked] {
                QWidget *dialog = QApplication::activeModalWidget();
                if (blocked && blocked->isActiveWindow() && dialog && dialog != blocked &&
                    dialog->isVisible())
                    dialog->activateWindow();
            },
            Qt::QueuedConnection);
        return false;
    }
};

} // namespace

void keepKeyboard(QWidget *window) {
    if (!x11Connection()) {
        static KeyboardToDialog toDialog;
        window->installEventFilter(&toDialog);
        return;
    }
    static KeyboardHandOff handOff;
    window->installEventFilter(&handOff);
}

} // namespace platform
