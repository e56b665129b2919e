#include "desktop.h"

#include "desktop_entry.h"
#include "destroyed_windows.h"
#include "frame_hints.h"
#include "keyboard_focus.h"
#include "modal_dialogs.h"
#include "screens.h"
#include "wayland_titlebar.h"

#include <QDialog>
#include <QGuiApplication>
#include <QWidget>

namespace platform {

namespace {

// On Wayland the compositor (weston, GNOME) leaves title bars to the
// program, and Qt's own has a maximise button that does nothing on a window
// of fixed size; the game draws its own (wayland_titlebar.h).
bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

void prepareMainWindow(QWidget *window, std::function<void()> end) {
    if (onWayland())
        frameWindow(window);
    keepKeyboard(window);
    keepFrameHints(window, FrameKind::MainWindow);
    nameDesktopEntry(window);
    keepWindowInReach(window);
    closeWhenWindowsDestroyed(window, std::move(end));
}

void prepareDialog(QDialog *dialog) {
    if (onWayland()) {
        frameWindow(dialog);
        attachToParent(dialog);
    }
    keepKeyboard(dialog);
    keepFrameHints(dialog, FrameKind::Dialog);
    nameDesktopEntry(dialog);
}

} // namespace platform
