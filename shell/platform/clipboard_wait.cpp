#include "clipboard_wait.h"

#include "x11.h"

#include <chrono>
#include <cstdlib>
#include <poll.h>

namespace platform {

bool clipboardAnswers(bool primary, int limitMs) {
    if (!x11Connection())
        return true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    bool answered = false;
    if (!xcb_connection_has_error(connection)) {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const xcb_atom_t selection =
            primary ? xcb_atom_t(XCB_ATOM_PRIMARY) : internAtom(connection, "CLIPBOARD");
        xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, selection), nullptr);
        answered = !owner || owner->owner == XCB_NONE;
        std::free(owner);
        if (!answered) {
            // Asks for the list of formats, as Qt asks first.
            const xcb_window_t window = xcb_generate_id(connection);
            xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                              XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
            xcb_convert_selection(connection, window, selection, internAtom(connection, "TARGETS"),
                                  internAtom(connection, "HOSHIFURU2_PASTE"), XCB_CURRENT_TIME);
            xcb_flush(connection);
            while (!answered) {
                while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
                    answered |= (event->response_type & 0x7f) == XCB_SELECTION_NOTIFY;
                    std::free(event);
                }
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now())
                                      .count();
                if (answered || left <= 0 || xcb_connection_has_error(connection))
                    break;
                pollfd watched{xcb_get_file_descriptor(connection), POLLIN, 0};
                ::poll(&watched, 1, int(left));
            }
        }
    }
    xcb_disconnect(connection);
    return answered;
}

} // namespace platform
