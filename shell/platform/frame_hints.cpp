#include "frame_hints.h"

#include "x11.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <cstdint>

namespace platform {

namespace {

// The words of _MOTIF_WM_HINTS: which of the next two words count, the
// functions, the decorations (then an input mode and a status, unused).
constexpr unsigned hintsFunctions = 1u << 0;
constexpr unsigned hintsDecorations = 1u << 1;
constexpr unsigned functionMove = 1u << 2;
constexpr unsigned functionMinimize = 1u << 3;
constexpr unsigned functionClose = 1u << 5;
constexpr unsigned decorationBorder = 1u << 1;
constexpr unsigned decorationTitle = 1u << 3;
constexpr unsigned decorationMenu = 1u << 4;
constexpr unsigned decorationMinimize = 1u << 5;

// The window's frame as a window manager reads it (_MOTIF_WM_HINTS): which
// functions it may offer and which decorations it may draw.
struct FrameHints {
    unsigned functions;
    unsigned decorations;
};

constexpr FrameHints mainWindowHints{functionMove | functionMinimize | functionClose,
                                     decorationBorder | decorationTitle | decorationMenu |
                                         decorationMinimize};
constexpr FrameHints dialogHints{functionMove | functionClose,
                                 decorationBorder | decorationTitle | decorationMenu};

// Writes the hints on the window's X window.
void writeHints(QWindow *window, FrameHints hints) {
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window->handle())
        return;
    static const xcb_atom_t atom = internAtom(connection, "_MOTIF_WM_HINTS");
    if (atom == XCB_ATOM_NONE)
        return;
    const uint32_t words[5] = {hintsFunctions | hintsDecorations, hints.functions,
                               hints.decorations, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), atom,
                        atom, 32, 5, words);
}

// Writes a window's hints when it is shown: its X window is made by then
// (and Qt has written its own hints on it), but not yet mapped, which is
// when window managers read them. (Asking a dialog for its winId() instead
// would give every widget of the main window an X window of its own.)
class HintsOnShow : public QObject {
public:
    explicit HintsOnShow(FrameHints hints) : m_hints(hints) {}
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            if (QWindow *window = static_cast<QWidget *>(watched)->windowHandle())
                writeHints(window, m_hints);
        }
        return false;
    }

private:
    FrameHints m_hints;
};

} // namespace

void keepFrameHints(QWidget *window, FrameKind kind) {
    if (!x11Connection())
        return;
    static HintsOnShow mainWindow(mainWindowHints);
    static HintsOnShow dialog(dialogHints);
    window->installEventFilter(kind == FrameKind::MainWindow ? &mainWindow : &dialog);
}

} // namespace platform
