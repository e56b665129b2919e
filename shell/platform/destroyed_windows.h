// Another program destroying one of the game's X windows (xdotool
// windowclose, a window manager's kill tool): the game cannot go on without
// it, so the main window closes as by its close control.
#pragma once

class QWidget;

namespace platform {

// From now on, the destruction of any of the program's shown X windows by
// another program closes WINDOW. On X11 only; once.
void closeWhenWindowsDestroyed(QWidget *window);

} // namespace platform
