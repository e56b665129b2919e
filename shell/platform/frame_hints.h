// What an X11 window manager may offer on the game's frames. The main window
// asks for a title bar with the window menu, minimise and close, and nothing
// to resize or maximise it; the dialogs ask for close only. Qt writes these
// wishes (_MOTIF_WM_HINTS) itself, but always adds resizing; they are written
// again, exactly, before a window is mapped.
#pragma once

class QWidget;

namespace platform {

enum class FrameKind {
    // Move, minimise and close; a border, a title, the window menu and a
    // minimise button.
    MainWindow,
    // Move and close; a border, a title and the window menu.
    Dialog,
};

// Writes the hints of its kind on the window each time it is shown, before
// it is mapped. On X11 only.
void keepFrameHints(QWidget *window, FrameKind kind);

} // namespace platform
