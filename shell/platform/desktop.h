// The game's windows on the desktop they run on: each of the desktop's
// quirks has its own file here; this is the one place the game asks for
// them, window by window.
#pragma once

#include <functional>

class QDialog;
class QWidget;

namespace platform {

// Prepares the main window before it is first shown: on X11 its frame hints
// (frame_hints.h), the desktop entry's name (desktop_entry.h), the keyboard
// (keyboard_focus.h), its place in reach on its screen (screens.h) and the
// watch that ends the game when another program destroys one of its windows
// (destroyed_windows.h), which calls END; on Wayland the game's own title
// bar (wayland_titlebar.h).
void prepareMainWindow(QWidget *window, std::function<void()> end);

// Gives a dialog, before it is first shown, its frame hints, the desktop
// entry's name and the keyboard on X11, and on Wayland the game's own title
// bar and its place over the game's window (modal_dialogs.h).
void prepareDialog(QDialog *dialog);

} // namespace platform
