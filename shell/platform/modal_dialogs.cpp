#include "modal_dialogs.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>
#include <cstring>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

namespace platform {

namespace {

// The two requests of GNOME's gtk_shell1 protocol (version 1) used here,
// with the events the desktop may send on them, for libwayland to read.
extern const wl_interface gtkSurfaceInterface;
const wl_interface *noTypes[6] = {};
const wl_interface *gtkSurfaceTypes[] = {&gtkSurfaceInterface, &wl_surface_interface};
const wl_message shellRequests[] = {{"get_gtk_surface", "no", gtkSurfaceTypes}};
const wl_message shellEvents[] = {{"capabilities", "u", noTypes}};
const wl_interface gtkShellInterface = {"gtk_shell1", 1, 1, shellRequests, 1, shellEvents};
const wl_message surfaceRequests[] = {{"set_dbus_properties", "?s?s?s?s?s?s", noTypes},
                                      {"set_modal", "", noTypes}};
const wl_message surfaceEvents[] = {{"configure", "a", noTypes},
                                    {"configure_edges", "2a", noTypes}};
const wl_interface gtkSurfaceInterface = {"gtk_surface1", 1, 2, surfaceRequests, 2, surfaceEvents};
constexpr uint32_t getGtkSurface = 0;
constexpr uint32_t setModal = 1;

// The desktop's gtk_shell1, looked for once, on a queue of its own so that
// nothing of it runs inside Qt's own handling of the display's events (its
// events are read and dropped there).
struct GtkShell {
    wl_display *display = nullptr;
    wl_event_queue *queue = nullptr;
    wl_proxy *shell = nullptr;
};

void onGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
    auto *found = static_cast<GtkShell *>(data);
    if (!found->shell && std::strcmp(interface, gtkShellInterface.name) == 0)
        found->shell =
            static_cast<wl_proxy *>(wl_registry_bind(registry, name, &gtkShellInterface, 1));
}
void onGlobalRemove(void *, wl_registry *, uint32_t) {}
const wl_registry_listener registryListener = {onGlobal, onGlobalRemove};

GtkShell *gtkShell() {
    static GtkShell *found = [] {
        auto *shell = new GtkShell;
        QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
        shell->display = native ? static_cast<wl_display *>(native->nativeResourceForIntegration(
                                      QByteArrayLiteral("wl_display")))
                                : nullptr;
        if (!shell->display)
            return shell;
        shell->queue = wl_display_create_queue(shell->display);
        auto *display = static_cast<wl_display *>(
            wl_proxy_create_wrapper(reinterpret_cast<wl_proxy *>(shell->display)));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(display), shell->queue);
        wl_registry *registry = wl_display_get_registry(display);
        wl_proxy_wrapper_destroy(display);
        wl_registry_add_listener(registry, &registryListener, shell);
        wl_display_roundtrip_queue(shell->display, shell->queue);
        wl_registry_destroy(registry);
        return shell;
    }();
    return found;
}

// Marks the dialog's surface modal once it is first exposed: the surface
// then has its role and is not yet on screen, where GNOME places it.
class ModalMark : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::Expose)
            return false;
        auto *window = static_cast<QWindow *>(watched);
        window->removeEventFilter(this);
        GtkShell *shell = gtkShell();
        QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
        if (!shell->shell || !native)
            return false;
        auto *surface = static_cast<wl_surface *>(
            native->nativeResourceForWindow(QByteArrayLiteral("surface"), window));
        if (!surface)
            return false;
        wl_proxy *gtkSurface =
            wl_proxy_marshal_flags(shell->shell, getGtkSurface, &gtkSurfaceInterface,
                                   wl_proxy_get_version(shell->shell), 0, nullptr, surface);
        if (!gtkSurface)
            return false;
        wl_proxy_marshal_flags(gtkSurface, setModal, nullptr, wl_proxy_get_version(gtkSurface), 0);
        // Nothing more is asked of it; what the desktop sends on it is dropped.
        wl_proxy_destroy(gtkSurface);
        wl_display_dispatch_queue_pending(shell->display, shell->queue);
        return false;
    }
};

class ShowWatch : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            auto *dialog = static_cast<QDialog *>(watched);
            dialog->removeEventFilter(this);
            static ModalMark mark;
            if (QWindow *window = dialog->windowHandle(); window && dialog->parentWidget())
                window->installEventFilter(&mark);
        }
        return false;
    }
};

} // namespace

void attachToParent(QDialog *dialog) {
    static ShowWatch watch;
    dialog->installEventFilter(&watch);
}

} // namespace platform
