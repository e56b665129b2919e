// The game on the desktop it runs on: what its window frames offer, what
// happens when another program destroys one of its windows, and how the
// process ends once its window has closed.
//
// On X11 the window asks for a title bar with the window menu, minimise and
// close, and nothing to resize or maximise it; the dialogs ask for close
// only. Qt writes these wishes (_MOTIF_WM_HINTS) itself, but always adds
// resizing; the game writes them again, exactly, before a window is mapped.
// On Wayland the same wishes hold for the title bar the game draws itself
// (titlebar.h).
#pragma once

class QDialog;
class TForm1;

namespace desktop {

// The window's frame as a window manager reads it (_MOTIF_WM_HINTS): which
// functions it may offer and which decorations it may draw.
struct FrameHints {
    unsigned functions;
    unsigned decorations;
};
// The main window: move, minimise and close; a border, a title, the window
// menu and a minimise button.
FrameHints mainWindowHints();
// A dialog: move and close; a border, a title and the window menu.
FrameHints dialogHints();

// Prepares the main window before it is first shown: the first-use work
// after its first frame (warmup.h); on X11 its frame hints, and the watch
// that ends the game when another program destroys one of the game's
// windows; on Wayland the game's own title bar.
void prepareMainWindow(TForm1 *window);

// Gives a dialog, before it is first shown, its frame hints on X11 and the
// game's own title bar on Wayland.
void prepareDialog(QDialog *dialog);

// Whether the program that owns the X clipboard (or with `primary`, the
// selection) answers a request within `limitMs` milliseconds, asked on a
// connection of its own; also true when nobody owns it, and off X11. Qt
// waits up to five seconds a request, three requests a paste, for an owner
// that never answers, and offers no way to wait less.
bool clipboardAnswers(bool primary, int limitMs);

// Ends the process once the window has closed and the event loop has ended:
// standard output and error are flushed and the process exits with STATUS
// at once. The toolkit's own teardown is not run: nothing of the game is
// left to keep, and Qt 6.4's Wayland teardown can wait for ever.
[[noreturn]] void endProcess(int status);

} // namespace desktop
