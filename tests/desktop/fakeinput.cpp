// Keys and the pointer for a KWin Wayland session, through KWin's fake input
// protocol (org_kde_kwin_fake_input), as a player's keyboard and mouse:
//
//   fakeinput IN OUT
//
// Reads commands one a line from the named pipe IN and answers each with a
// line on the named pipe OUT ("ok", or what went wrong), until ended:
//   keys KEY...   presses and releases each key in turn; KEY is an X keysym
//                 name (Return, Escape, Tab, space, Down, Up, Alt_L, F4, a
//                 letter), or names joined with "+" for a chord (Alt_L+F4)
//   type TEXT     types TEXT (lower-case letters)
//   click X Y     the pointer to X Y of the screen, and a click of the left
//                 button
// The session must let any client use the protocol
// (KWIN_WAYLAND_NO_PERMISSION_CHECKS=1).
#include "fake-input-client-protocol.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include <wayland-client.h>

namespace {

org_kde_kwin_fake_input *fakeInput = nullptr;

void onGlobal(void *, wl_registry *registry, uint32_t name, const char *interface,
              uint32_t version) {
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        fakeInput = static_cast<org_kde_kwin_fake_input *>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}
void onGlobalRemove(void *, wl_registry *, uint32_t) {}
const wl_registry_listener registryListener = {onGlobal, onGlobalRemove};

// Linux input event codes of the keys the tests press.
const std::map<std::string, uint32_t> keyCodes = {
    {"Escape", 1}, {"BackSpace", 14}, {"Tab", 15},   {"Return", 28}, {"Alt_L", 56}, {"space", 57},
    {"F4", 62},    {"Up", 103},       {"Down", 108}, {"a", 30},      {"b", 48},     {"c", 46},
    {"d", 32},     {"e", 18},         {"f", 33},     {"g", 34},      {"h", 35},     {"i", 23},
    {"j", 36},     {"k", 37},         {"l", 38},     {"m", 50},      {"n", 49},     {"o", 24},
    {"p", 25},     {"q", 16},         {"r", 19},     {"s", 31},      {"t", 20},     {"u", 22},
    {"v", 47},     {"w", 17},         {"x", 45},     {"y", 21},      {"z", 44}};
constexpr uint32_t leftButton = 0x110;

void pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Presses the keys of a chord in order and releases them in reverse.
bool chord(wl_display *display, const std::string &names, std::string &error) {
    std::vector<uint32_t> codes;
    std::stringstream parts(names);
    for (std::string name; std::getline(parts, name, '+');) {
        const auto found = keyCodes.find(name);
        if (found == keyCodes.end()) {
            error = "unknown key: " + name;
            return false;
        }
        codes.push_back(found->second);
    }
    for (const uint32_t code : codes) {
        org_kde_kwin_fake_input_keyboard_key(fakeInput, code, WL_KEYBOARD_KEY_STATE_PRESSED);
        wl_display_roundtrip(display);
        pause(20);
    }
    for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
        org_kde_kwin_fake_input_keyboard_key(fakeInput, *code, WL_KEYBOARD_KEY_STATE_RELEASED);
        wl_display_roundtrip(display);
        pause(20);
    }
    pause(50);
    return true;
}

std::string run(wl_display *display, const std::string &line) {
    std::stringstream words(line);
    std::string command;
    words >> command;
    std::string error;
    if (command == "keys") {
        for (std::string names; words >> names;)
            if (!chord(display, names, error))
                return error;
    } else if (command == "type") {
        std::string text;
        words >> text;
        for (const char c : text)
            if (!chord(display, std::string(1, c), error))
                return error;
    } else if (command == "click") {
        int x = 0, y = 0;
        if (!(words >> x >> y))
            return "click wants X Y";
        org_kde_kwin_fake_input_pointer_motion_absolute(fakeInput, wl_fixed_from_int(x),
                                                        wl_fixed_from_int(y));
        wl_display_roundtrip(display);
        pause(100);
        org_kde_kwin_fake_input_button(fakeInput, leftButton, WL_POINTER_BUTTON_STATE_PRESSED);
        wl_display_roundtrip(display);
        pause(50);
        org_kde_kwin_fake_input_button(fakeInput, leftButton, WL_POINTER_BUTTON_STATE_RELEASED);
        wl_display_roundtrip(display);
        pause(50);
    } else {
        return "unknown command: " + command;
    }
    return "ok";
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IN OUT\n", argv[0]);
        return 2;
    }
    wl_display *display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "fakeinput: no Wayland display\n");
        return 1;
    }
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!fakeInput) {
        std::fprintf(stderr, "fakeinput: the compositor offers no fake input (version 4)\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fakeInput, "hoshifuru2 tests", "plays the game");
    wl_display_roundtrip(display);
    for (;;) {
        std::vector<std::string> lines;
        {
            std::ifstream in(argv[1]);
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
        }
        for (const std::string &line : lines) {
            const std::string answer = run(display, line);
            std::ofstream out(argv[2]);
            out << answer << '\n';
        }
    }
}
