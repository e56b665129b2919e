// Where the keyboard goes between the game's windows on X11 when no window
// manager hands it on: each window asks for it when it is shown, and when a
// dialog closes, the window below it takes it back unless another window
// has it (without a window manager nobody else gives it, and the keyboard
// would stay with the root window). On Wayland the desktop gives the
// keyboard to whichever window the player clicks, even one a dialog blocks,
// where Qt drops every key: the dialog asks for it back.
#pragma once

class QWidget;

namespace platform {

// Keeps the keyboard with WINDOW when it is shown and hands it back to the
// window below when WINDOW, a dialog, is hidden, on X11; on Wayland, when
// WINDOW becomes active while a dialog blocks it, the dialog asks for the
// keyboard.
void keepKeyboard(QWidget *window);

} // namespace platform
