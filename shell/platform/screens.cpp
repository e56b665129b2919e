#include "screens.h"

#include "x11.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QSize>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>

namespace platform {

bool windowFitsScreens(QSize window) {
    // The scale of the screen the window opens on, settings included; the
    // window is refused when it would be less than half its size, or more
    // than twice as wide or as high as the largest screen (in the screens'
    // own pixels).
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary || !primary->handle())
        return true;
    const double ratio = primary->devicePixelRatio();
    QSize largest;
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->handle())
            largest = largest.expandedTo(screen->handle()->geometry().size());
    }
    const double width = window.width() * ratio;
    const double height = window.height() * ratio;
    if (ratio >= 0.5 && width <= 2.0 * largest.width() && height <= 2.0 * largest.height())
        return true;
    std::fprintf(stderr,
                 "hoshifuru2: a scale of %g leaves no usable window: %.0f×%.0f pixels, the "
                 "largest screen %d×%d\n",
                 ratio, width, height, largest.width(), largest.height());
    return false;
}

bool enoughColours() {
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary || primary->depth() >= minColourDepth)
        return true;
    std::fprintf(stderr,
                 "hoshifuru2: the display shows %d-bit colour, too few to draw the game in: %d-bit "
                 "colour or more is needed\n",
                 primary->depth(), minColourDepth);
    return false;
}

QPoint placeInside(const QRect &frame, const QRect &available) {
    // Along one side: back by what passes the far edge, but never before
    // the near one.
    const auto along = [](int start, int length, int first, int room) {
        return std::max(first, std::min(start, first + room - length));
    };
    return {along(frame.x(), frame.width(), available.x(), available.width()),
            along(frame.y(), frame.height(), available.y(), available.height())};
}

namespace {

// Waits for the window's first expose, once: the frame the window manager
// put around the window is known by then (_NET_FRAME_EXTENTS, or the frame
// window Qt finds), which it is not before the window is mapped.
class InReachOnFirstExpose : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && !event->spontaneous() && watched->isWidgetType()) {
            // The widget's native window exists from its first show on.
            if (QWindow *window = static_cast<QWidget *>(watched)->windowHandle()) {
                watched->removeEventFilter(this);
                window->installEventFilter(this);
            }
        } else if (event->type() == QEvent::Expose && watched->isWindowType()) {
            auto *window = static_cast<QWindow *>(watched);
            if (window->isExposed()) {
                window->removeEventFilter(this);
                moveIntoReach(window);
            }
        }
        return false;
    }

private:
    // In the screen's own pixels, where the frame's extents are whole: in
    // the window's, at a scale, they would be rounded (and the frame could
    // come out a pixel too large or too small).
    static void moveIntoReach(QWindow *window) {
        const QScreen *screen = window->screen();
        const QPlatformWindow *native = window->handle();
        if (!screen || !screen->handle() || !native)
            return;
        const QRect frame = native->geometry().marginsAdded(native->frameMargins());
        const QPoint place = placeInside(frame, screen->handle()->availableGeometry());
        if (place == frame.topLeft())
            return;
        // Back to the window's pixels, rounded the way it moves, so that
        // the frame does not come back over the edge it was moved from.
        const QPoint nativeOrigin = screen->handle()->geometry().topLeft();
        const double ratio = window->devicePixelRatio();
        const auto toWindow = [ratio](int offset, bool forward) {
            return int(forward ? std::ceil(offset / ratio) : std::floor(offset / ratio));
        };
        const QPoint offset = place - nativeOrigin;
        window->setFramePosition(screen->geometry().topLeft() +
                                 QPoint(toWindow(offset.x(), place.x() > frame.x()),
                                        toWindow(offset.y(), place.y() > frame.y())));
    }
};

} // namespace

void keepWindowInReach(QWidget *window) {
    if (!x11Connection())
        return;
    static InReachOnFirstExpose inReach;
    window->installEventFilter(&inReach);
}

} // namespace platform
