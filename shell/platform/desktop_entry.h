// The game's windows matched to its desktop entry on X11. GNOME finds the
// entry by the windows' class (WM_CLASS), which the entry names
// (StartupWMClass); KWin reads the entry's name from each window
// (_KDE_NET_WM_DESKTOP_FILE), which Qt writes only on Wayland. Without
// either, a game started from a terminal shows no icon or name of its own in
// the desktop's task list. (On Wayland the compositor matches by the
// application id, QGuiApplication::desktopFileName.)
#pragma once

class QWidget;

namespace platform {

// Writes the desktop entry's name (QGuiApplication::desktopFileName) on the
// window each time it is shown, before it is mapped. On X11 only.
void nameDesktopEntry(QWidget *window);

} // namespace platform
