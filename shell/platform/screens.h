// The screens the window opens on, and scale settings that would leave no
// usable window there.
#pragma once

class QSize;

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

} // namespace platform
