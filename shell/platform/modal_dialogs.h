// Dialogs over the game's window on GNOME's Wayland desktop: GNOME places a
// dialog over the window it belongs to only when it is told the dialog is
// modal (its gtk_shell1 protocol); otherwise it places it as an unrelated
// window, below the game's or in a far corner.
#pragma once

class QDialog;

namespace platform {

// Tells the desktop, once DIALOG is first shown, that it is a modal dialog
// of its parent window. On Wayland desktops that offer gtk_shell1 only;
// elsewhere nothing.
void attachToParent(QDialog *dialog);

} // namespace platform
