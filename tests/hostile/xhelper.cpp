// Small X clients for the hostile surroundings test.
//
//   xhelper root-string NAME VALUE   sets a STRING property of the root
//                                    window (the atom made if need be)
//   xhelper mute-owner               owns CLIPBOARD and PRIMARY and never
//                                    answers a request for them; runs until
//                                    killed
#include "xclient.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <unistd.h>
#include <xcb/xcb.h>

using xclient::atom;

int main(int argc, char **argv) {
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("xhelper: cannot open the display\n", stderr);
        return 1;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (argc == 4 && std::strcmp(argv[1], "root-string") == 0) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, screen->root,
                            atom(connection, argv[2]), XCB_ATOM_STRING, 8,
                            uint32_t(std::strlen(argv[3])), argv[3]);
        xcb_get_input_focus_reply_t *sync =
            xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
        std::free(sync);
        xcb_disconnect(connection);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "mute-owner") == 0) {
        const xcb_window_t window = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        for (const char *selection : {"CLIPBOARD", "PRIMARY"})
            xcb_set_selection_owner(connection, window, atom(connection, selection),
                                    XCB_CURRENT_TIME);
        xcb_get_input_focus_reply_t *sync =
            xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
        std::free(sync);
        std::puts("owner");
        std::fflush(stdout);
        for (;;)
            ::pause(); // requests are never read, never answered
    }
    std::fputs("usage: xhelper root-string NAME VALUE | mute-owner\n", stderr);
    return 2;
}
