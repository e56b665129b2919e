// Asks a top-level X window to close the way a window manager does when the
// user clicks its close control: a WM_PROTOCOLS client message carrying
// WM_DELETE_WINDOW. Unlike destroying the window or killing its client, the
// program gets to run its own closing path.
//
//   e2e_wmclose WINDOW     WINDOW as a decimal or 0x-prefixed hex id
//
// Exit status: 0 when the message was sent; 1 on a usage or display error;
// 2 when the window does not take part in WM_DELETE_WINDOW.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW\n", argv[0]);
        return 1;
    }
    char *end = nullptr;
    const unsigned long id = std::strtoul(argv[1], &end, 0);
    if (!end || *end != '\0' || id == 0) {
        std::fprintf(stderr, "%s: not a window id: %s\n", argv[0], argv[1]);
        return 1;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    const Window window = Window(id);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);

    Atom *listed = nullptr;
    int count = 0;
    bool takesDelete = false;
    if (XGetWMProtocols(display, window, &listed, &count)) {
        for (int i = 0; i < count; ++i)
            takesDelete = takesDelete || listed[i] == deleteWindow;
        XFree(listed);
    }
    if (!takesDelete) {
        std::fprintf(stderr, "%s: window 0x%lx does not list WM_DELETE_WINDOW\n", argv[0], id);
        XCloseDisplay(display);
        return 2;
    }

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
