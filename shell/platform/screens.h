// The screens the window opens on, scale settings that would leave no
// usable window there, and the window's place on its screen.
#pragma once

class QPoint;
class QRect;
class QSize;
class QWidget;

namespace platform {

// After the QApplication is made: whether a window whose client area is
// `window` (in the game's pixels) is usable on the screens at the scale
// Qt's settings give it; false, after one line on standard error, when it
// would be less than half its size or larger than the largest screen twice
// over.
bool windowFitsScreens(QSize window);

// After the QApplication is made: whether the screen the window opens on
// shows enough colours to draw the game (Qt paints nothing on an 8-bit X
// display, and crashes at the first text cursor); false, after one line on
// standard error, where not.
constexpr int minColourDepth = 15;
bool enoughColours();

// Where a frame of `frame`'s size goes so that it lies inside `available`:
// where it stands, if it fits there; otherwise moved by as little as it
// takes, and where it is wider or higher than `available`, with its left or
// top edge on that edge, so that its top-left corner and title bar stay in
// reach.
QPoint placeInside(const QRect &frame, const QRect &available);

// Keeps the window in reach on its screen: when it is first exposed, and
// the window manager's frame around it is known, the whole frame is moved
// once, by placeInside, into the available area of the screen (without
// panels and docks). A window whose frame fits where it stands is not
// moved. On X11 only: elsewhere the display server places the window.
void keepWindowInReach(QWidget *window);

} // namespace platform
