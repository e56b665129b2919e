// What the small X clients that time and drive the game share: the
// connection to the display, atoms, the process behind a window, every
// drawing on the screen as it happens, and the wait until the screen stays
// unchanged. Plain xcb, no Qt: the clients measure the game from outside.
#pragma once

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <poll.h>

namespace xclient {

// Milliseconds on the monotonic clock.
inline double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// A reply of the X server, freed with the owner.
template <class T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <class T> Reply<T> own(T *reply) {
    return Reply<T>(reply, &std::free);
}

// The atom of the name, made if need be; XCB_ATOM_NONE when the server does
// not answer.
inline xcb_atom_t atom(xcb_connection_t *connection, const char *name) {
    auto reply = own(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The connection to the display named by DISPLAY, told of the windows made,
// mapped and moved on its root window.
class Screen {
public:
    Screen() : m_connection(xcb_connect(nullptr, nullptr)) {
        if (!connected())
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_pidAtom = atom(m_connection, "_NET_WM_PID");
        watch(m_root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    }
    ~Screen() { xcb_disconnect(m_connection); }
    Screen(const Screen &) = delete;
    Screen &operator=(const Screen &) = delete;

    bool connected() const { return !xcb_connection_has_error(m_connection); }
    xcb_connection_t *connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

    // Selects events on a window and waits until the server has done so.
    bool watch(xcb_window_t window, uint32_t mask) {
        const xcb_void_cookie_t cookie =
            xcb_change_window_attributes_checked(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        xcb_generic_error_t *error = xcb_request_check(m_connection, cookie);
        std::free(error);
        return error == nullptr;
    }

    // Reports every drawing on the screen from now on (the Damage
    // extension); false when the display has no such extension.
    bool watchDrawing() {
        std::free(xcb_damage_query_version_reply(
            m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr));
        const xcb_query_extension_reply_t *damage =
            xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present)
            return false;
        m_drawingEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        xcb_damage_create(m_connection, xcb_generate_id(m_connection), m_root,
                          XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        xcb_flush(m_connection);
        return true;
    }
    bool watchesDrawing() const { return m_drawingEvent != 0; }
    bool isDrawing(const xcb_generic_event_t *event) const {
        return m_drawingEvent != 0 && (event->response_type & 0x7f) == m_drawingEvent;
    }

    // The _NET_WM_PID of a window; 0 when it has none.
    uint32_t pidOf(xcb_window_t window) {
        auto reply = own(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1),
            nullptr));
        if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
            return 0;
        return *static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    }

    // The next event within `ms` milliseconds (freed by the caller), or null
    // when none came or the connection broke (broken()).
    xcb_generic_event_t *next(double ms) {
        if (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            return event;
        if (broken())
            return nullptr;
        pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        const int waited = poll(&fd, 1, std::max(0, int(std::ceil(ms))));
        return waited > 0 ? xcb_poll_for_event(m_connection) : nullptr;
    }
    bool broken() const { return xcb_connection_has_error(m_connection) != 0; }

    struct Settled {
        double lastDrawn; // the time of the last drawing, or `since` when none came
        bool quiet;       // false at the deadline or when the connection broke
    };
    // Waits from `since` until nothing is drawn for quietMs. With
    // expectDrawing, a step that must change the screen waits for its first
    // drawing until the deadline: a busy machine may take longer than
    // quietMs to begin. Other events are read and dropped.
    Settled settle(double since, double quietMs, double deadline, bool expectDrawing = false) {
        double last = -1;
        for (;;) {
            const double now = nowMs();
            if (now > deadline || broken())
                return {last < 0 ? since : last, false};
            const double quietUntil = (last < 0 ? since : last) + quietMs;
            if (last >= 0 && now >= quietUntil)
                return {last, true};
            xcb_generic_event_t *event = next(std::min(quietUntil, deadline) - now);
            if (!event) {
                if (last < 0 && !expectDrawing && !broken() && nowMs() >= since + quietMs)
                    return {since, true}; // nothing was drawn at all
                continue;
            }
            if (isDrawing(event))
                last = nowMs();
            std::free(event);
        }
    }

private:
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
    uint8_t m_drawingEvent = 0;
};

} // namespace xclient
