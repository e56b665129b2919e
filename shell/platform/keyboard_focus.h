// Where the keyboard goes between the game's windows on X11 when no window
// manager hands it on: each window asks for it when it is shown, and when a
// dialog closes, the window below it takes it back unless another window
// has it (without a window manager nobody else gives it, and the keyboard
// would stay with the root window).
#pragma once

class QWidget;

namespace platform {

// Keeps the keyboard with WINDOW when it is shown and hands it back to the
// window below when WINDOW, a dialog, is hidden. On X11 only.
void keepKeyboard(QWidget *window);

} // namespace platform
