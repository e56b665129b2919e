#include "x11.h"

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace platform {

xcb_connection_t *x11Connection() {
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name) {
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

QByteArray rootWindowText(xcb_connection_t *connection, const char *property) {
    char *host = nullptr;
    int displayNumber = 0;
    int screenNumber = 0;
    if (!xcb_parse_display(nullptr, &host, &displayNumber, &screenNumber))
        screenNumber = 0;
    std::free(host);
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screen.rem > 1; ++i)
        xcb_screen_next(&screen);

    // Only an existing atom: a property nobody has set needs no new one.
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, uint16_t(std::strlen(property)), property),
        nullptr);
    if (!atom)
        return {};
    const xcb_atom_t name = atom->atom;
    std::free(atom);
    if (name == XCB_ATOM_NONE)
        return {};
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, screen.data->root, name, XCB_ATOM_STRING, 0, 1024),
        nullptr);
    if (!reply)
        return {};
    QByteArray text(static_cast<const char *>(xcb_get_property_value(reply)),
                    xcb_get_property_value_length(reply));
    std::free(reply);
    return text;
}

} // namespace platform
