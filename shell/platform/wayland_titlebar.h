// The title bar the game draws for its own windows where nothing else draws
// one to its liking: on Wayland, where the compositor (weston, GNOME) leaves
// title bars to the program and Qt's own title bar has a maximise button
// that does nothing on a window of fixed size.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

namespace platform {

// How a bar WIDTH pixels wide, with BUTTONS buttons, shows TITLE: in the
// desktop's font at 14 pixels beside the window's icon (WITH_ICON) where it
// fits; a title too long for a narrow window (a short message box) leaves
// the icon out, then steps down to 11 pixels, and only then is cut short.
// The text is centred on the bar as far as its room allows.
struct TitleLayout {
    bool icon;
    QFont font;
    QString text;
    QRect rect;
};
TitleLayout layOutTitle(int width, const QString &title, bool withIcon, int buttons);

// Turns WINDOW, a top-level widget of fixed size not shown yet, into a
// frameless window with the game's own frame around its client area: a
// 30-pixel title bar with the window's icon, its title and the buttons its
// flags ask for (minimise, close; never maximise), and a 3-pixel edge on
// the other sides. The window grows by the frame, which lies in its
// contents margins; its child widgets move with the client area, so each
// keeps its place relative to it. A drag on the bar moves the window.
void frameWindow(QWidget *window);

} // namespace platform
