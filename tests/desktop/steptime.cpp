// steptime: plays a program on the current X display step by step with
// synthetic input (XTest) and times each step from the input until the
// screen has settled, as a player would see it.
//
//   steptime [--quiet MS] [--timeout S] -- PROGRAM [ARGUMENTS...]
//
// The steps come on standard input, one a line:
//
//   click X Y      left button press and release at X, Y in the program's
//                  main window (its client area)
//   key NAME       press and release of a key: Return, Escape, space, Up
//                  or Down
//
// Before the first step steptime waits for the program's main window (the
// first window mapped on the display, which is to be the program's own) and
// for the screen to settle. A step's time runs from just before its input is sent to the
// last change drawn on the screen (Damage events on the root window) before
// the screen stays unchanged for --quiet milliseconds (default 120). Each
// step prints one line on standard output:
//
//   step N MILLISECONDS CPU_MILLISECONDS
//
// the second figure being the processor time all threads of the program
// used from the input until the screen had stayed unchanged (the quiet
// time included), which does not grow when other programs load the machine.
// At the end the program is sent SIGTERM. Exit status: 0 done, 1 bad use or
// no display, 2 a step drew nothing or the window did not come, 3 the
// program could not be started or ended early.
#include "xclient.h"

#include <xcb/xtest.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <iostream>
#include <memory>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using xclient::nowMs;
using xclient::own;

pid_t child = 0;
pid_t program = 0; // the process that owns the window: the child, or one it started

// Ends the program being timed too.
[[noreturn]] void fail(int status, const std::string &message) {
    std::fprintf(stderr, "steptime: %s\n", message.c_str());
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    std::exit(status);
}

// The display, watched for windows and drawings, and driven with XTest.
class Display {
public:
    Display() {
        if (!m_screen.connected())
            fail(1, "cannot open the display");
        if (!m_screen.watchDrawing())
            fail(1, "the display has no Damage extension");
        auto test = own(xcb_test_get_version_reply(m_c, xcb_test_get_version(m_c, 2, 2), nullptr));
        if (!test)
            fail(1, "the display has no XTEST extension");
    }

    // The process behind a window (its _NET_WM_PID), or 0.
    pid_t pidOf(xcb_window_t window) { return pid_t(m_screen.pidOf(window)); }

    // Waits up to `ms` for an event; returns it (owned by the caller) or null.
    xcb_generic_event_t *next(double ms) {
        xcb_generic_event_t *event = m_screen.next(ms);
        if (m_screen.broken())
            fail(1, "the display connection broke");
        return event;
    }

    // Waits until nothing is drawn for quietMs; returns the time of the last
    // drawing (or `since` when none came), or -1 at the deadline.
    double settle(double since, double quietMs, double deadline, bool expectDrawing = false) {
        const xclient::Screen::Settled settled =
            m_screen.settle(since, quietMs, deadline, expectDrawing);
        if (m_screen.broken())
            fail(1, "the display connection broke");
        return settled.quiet ? settled.lastDrawn : -1;
    }

    // Root coordinates of a point in the window's client area.
    std::pair<int, int> toRoot(xcb_window_t window, int x, int y) {
        auto reply = own(xcb_translate_coordinates_reply(
            m_c, xcb_translate_coordinates(m_c, window, m_screen.root(), int16_t(x), int16_t(y)),
            nullptr));
        if (!reply)
            fail(2, "the main window is gone");
        return {reply->dst_x, reply->dst_y};
    }

    void click(int x, int y) {
        xcb_test_fake_input(m_c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_screen.root(),
                            int16_t(x), int16_t(y), 0);
        xcb_test_fake_input(m_c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(m_c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(m_c);
    }
    void moveTo(int x, int y) {
        xcb_test_fake_input(m_c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_screen.root(),
                            int16_t(x), int16_t(y), 0);
        xcb_flush(m_c);
    }
    void key(xcb_keycode_t code) {
        xcb_test_fake_input(m_c, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(m_c, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(m_c);
    }

    // The key code that gives a keysym without modifiers; 0 if none does.
    xcb_keycode_t keycodeOf(uint32_t keysym) {
        const xcb_setup_t *setup = xcb_get_setup(m_c);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto reply = own(xcb_get_keyboard_mapping_reply(
            m_c, xcb_get_keyboard_mapping(m_c, setup->min_keycode, uint8_t(count)), nullptr));
        if (!reply)
            return 0;
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(reply.get());
        for (int i = 0; i < count; ++i) {
            if (syms[i * reply->keysyms_per_keycode] == keysym)
                return xcb_keycode_t(setup->min_keycode + i);
        }
        return 0;
    }

private:
    xclient::Screen m_screen;
    xcb_connection_t *m_c = m_screen.connection();
};

struct Options {
    double quietMs = 120;
    double timeoutS = 10;
    char **command = nullptr;
};

Options parse(int argc, char **argv) {
    Options options;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (i + 1 >= argc)
            fail(1, "usage: steptime [--quiet MS] [--timeout S] -- PROGRAM [ARGUMENTS...]");
        const double value = std::atof(argv[i + 1]);
        if (std::strcmp(argv[i], "--quiet") == 0)
            options.quietMs = value;
        else if (std::strcmp(argv[i], "--timeout") == 0)
            options.timeoutS = value;
        else
            fail(1, std::string("unknown option ") + argv[i]);
        ++i;
    }
    if (i + 1 >= argc)
        fail(1, "usage: steptime [--quiet MS] [--timeout S] -- PROGRAM [ARGUMENTS...]");
    options.command = argv + i + 1;
    return options;
}

void checkChild() {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) {
        child = 0;
        fail(3, "the program ended early");
    }
}

// The time all threads of the program have spent running, in ms
// (/proc/PID/task/TID/schedstat: nanoseconds on the processor first).
double cpuMs() {
    const std::string tasks = "/proc/" + std::to_string(program > 0 ? program : child) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (!dir)
        return 0;
    double ns = 0;
    while (dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
        double running = 0;
        if (stat >> running)
            ns += running;
    }
    closedir(dir);
    return ns / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    const Options options = parse(argc, argv);
    Display display;

    std::vector<std::string> steps;
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line[0] != '#')
            steps.push_back(line);
    }

    child = fork();
    if (child < 0)
        fail(3, "cannot fork");
    if (child == 0) {
        execvp(options.command[0], options.command);
        std::fprintf(stderr, "steptime: cannot run %s: %s\n", options.command[0],
                     std::strerror(errno));
        _exit(127);
    }

    // The main window: the first window mapped on the display, which is the
    // program's own (it runs on a display of its own).
    xcb_window_t window = 0;
    const double deadline = nowMs() + options.timeoutS * 1e3;
    while (!window) {
        if (nowMs() > deadline)
            fail(2, "no window was mapped");
        checkChild();
        xcb_generic_event_t *event = display.next(50);
        if (!event)
            continue;
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (!map->override_redirect) {
                window = map->window;
                program = display.pidOf(map->window);
            }
        }
        std::free(event);
    }
    if (display.settle(nowMs(), std::max(options.quietMs, 300.0), deadline + 5e3) < 0)
        fail(2, "the window never settled");

    int number = 0;
    for (const std::string &step : steps) {
        ++number;
        std::istringstream words(step);
        std::string verb;
        words >> verb;
        checkChild();
        double start = 0;
        double cpuStart = 0;
        if (verb == "click") {
            int x = 0, y = 0;
            if (!(words >> x >> y))
                fail(1, "bad step: " + step);
            const auto [rx, ry] = display.toRoot(window, x, y);
            // The pointer is brought over the spot first: hovering may redraw.
            display.moveTo(rx, ry);
            display.settle(nowMs(), options.quietMs, nowMs() + 5e3);
            cpuStart = cpuMs();
            start = nowMs();
            display.click(rx, ry);
        } else if (verb == "key") {
            std::string name;
            words >> name;
            const uint32_t keysym = name == "Return"   ? 0xff0d
                                    : name == "Escape" ? 0xff1b
                                    : name == "space"  ? 0x20
                                    : name == "Down"   ? 0xff54
                                    : name == "Up"     ? 0xff52
                                                       : 0;
            const xcb_keycode_t code = keysym ? display.keycodeOf(keysym) : 0;
            if (!code)
                fail(1, "no key for step: " + step);
            cpuStart = cpuMs();
            start = nowMs();
            display.key(code);
        } else {
            fail(1, "unknown step: " + step);
        }
        const double last =
            display.settle(start, options.quietMs, start + options.timeoutS * 1e3, true);
        if (last < 0)
            fail(2, "step " + std::to_string(number) + " (" + step +
                        ") drew nothing or never settled");
        std::printf("step %d %.2f %.2f\n", number, last - start, cpuMs() - cpuStart);
        std::fflush(stdout);
    }

    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    return 0;
}
