// Another program destroying one of the game's X windows (xdotool
// windowclose, a window manager's kill tool): the game cannot go on without
// it, so the game ends, whatever dialog is open.
#pragma once

#include <functional>

class QWidget;

namespace platform {

// From now on, the destruction of any of the program's shown X windows by
// another program calls END (later, from the event loop) while WINDOW
// exists. On X11 only; once.
void closeWhenWindowsDestroyed(QWidget *window, std::function<void()> end);

} // namespace platform
