// The X11 display the game's windows are on, for the few things Qt offers no
// call for: window manager hints, another program's selections, properties
// of the root window.
#pragma once

#include <QByteArray>
#include <xcb/xcb.h>

namespace platform {

// Qt's own connection to the X display; null off X11.
xcb_connection_t *x11Connection();

// The atom of NAME on the connection, made where it does not exist yet;
// XCB_ATOM_NONE when the server does not answer.
xcb_atom_t internAtom(xcb_connection_t *connection, const char *name);

// A text property (STRING) of the root window of the screen DISPLAY names;
// empty where it is not set.
QByteArray rootWindowText(xcb_connection_t *connection, const char *property);

} // namespace platform
