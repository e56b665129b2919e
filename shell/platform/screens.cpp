#include "screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <cstdio>
#include <qpa/qplatformscreen.h>

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

} // namespace platform
