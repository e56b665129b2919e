// mapwait: starts a program on the current X display and reports how long it
// took from exec until its top-level window was mapped, its peak resident
// memory, and optionally how many context switches it made while idle.
//
//   mapwait [--timeout S] [--settle MS] [--idle S] -- PROGRAM [ARGUMENTS...]
//
// It watches the root window for windows being reparented and mapped, and
// takes a window as the program's own when its _NET_WM_PID names the child.
// It prints "key value" lines on standard output:
//
//   window 0x400006       the window that counted
//   map_ms 27.31          from just before execve to the MapNotify, in ms
//   frame_ms 41.07        from just before execve to the last drawing on the
//                         screen before it stayed unchanged for 200 ms: the
//                         first frame as the player sees it complete
//   vmhwm_kib 61234       VmHWM of the child after the settle time
//   idle_switches 0       context switches of all threads during --idle
//   idle_thread TID NAME VOLUNTARY NONVOLUNTARY   one per thread that switched
//
// Exit status: 0 done, 1 bad arguments or no display, 2 no window within the
// time-out, 3 the program could not be started or ended before mapping.
#include "xclient.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <poll.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using xclient::nowMs;

void sleepMs(double ms) {
    const double until = nowMs() + ms;
    for (double left = ms; left > 0; left = until - nowMs()) {
        timespec ts{time_t(left / 1e3), long(std::fmod(left, 1e3) * 1e6)};
        nanosleep(&ts, nullptr);
    }
}

struct Options {
    double timeoutS = 10;
    double settleMs = 500;
    double idleS = 0;
    char **command = nullptr;
};

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: mapwait [--timeout S] [--settle MS] [--idle S] -- PROGRAM "
                         "[ARGUMENTS...]\n");
    std::exit(1);
}

Options parse(int argc, char **argv) {
    Options options;
    int i = 1;
    auto number = [&](const char *name) {
        if (i + 1 >= argc)
            usage();
        char *end = nullptr;
        const double value = std::strtod(argv[i + 1], &end);
        if (!end || *end || value < 0) {
            std::fprintf(stderr, "mapwait: %s wants a non-negative number\n", name);
            std::exit(1);
        }
        i += 2;
        return value;
    };
    while (i < argc) {
        const std::string arg = argv[i];
        if (arg == "--timeout")
            options.timeoutS = number("--timeout");
        else if (arg == "--settle")
            options.settleMs = number("--settle");
        else if (arg == "--idle")
            options.idleS = number("--idle");
        else if (arg == "--") {
            ++i;
            break;
        } else
            usage();
    }
    if (i >= argc)
        usage();
    options.command = argv + i;
    return options;
}

// One field of a /proc status file, as a number; -1 when it is missing.
long statusField(const std::string &path, const char *key) {
    FILE *file = std::fopen(path.c_str(), "r");
    if (!file)
        return -1;
    char line[512];
    long value = -1;
    const size_t keyLength = std::strlen(key);
    while (std::fgets(line, sizeof line, file)) {
        if (std::strncmp(line, key, keyLength) == 0 && line[keyLength] == ':') {
            value = std::strtol(line + keyLength + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(file);
    return value;
}

std::string threadName(const std::string &dir) {
    FILE *file = std::fopen((dir + "/comm").c_str(), "r");
    if (!file)
        return "?";
    char name[64] = {};
    if (!std::fgets(name, sizeof name, file))
        name[0] = '\0';
    std::fclose(file);
    std::string text = name;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    std::replace(text.begin(), text.end(), ' ', '_');
    return text.empty() ? "?" : text;
}

struct Switches {
    long voluntary = 0;
    long nonvoluntary = 0;
    std::string name;
};

// Context switches of every thread of the process, by thread id.
std::map<long, Switches> switchesByThread(pid_t pid) {
    std::map<long, Switches> threads;
    const std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(taskDir.c_str());
    if (!dir)
        return threads;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string thread = taskDir + "/" + entry->d_name;
        Switches counts;
        counts.voluntary = statusField(thread + "/status", "voluntary_ctxt_switches");
        counts.nonvoluntary = statusField(thread + "/status", "nonvoluntary_ctxt_switches");
        counts.name = threadName(thread);
        if (counts.voluntary >= 0 && counts.nonvoluntary >= 0)
            threads[std::strtol(entry->d_name, nullptr, 10)] = counts;
    }
    closedir(dir);
    return threads;
}

// The display, watched for windows mapped and moved and for every drawing.
class Display : public xclient::Screen {
public:
    Display() {
        if (!connected()) {
            std::fprintf(stderr, "mapwait: cannot open the X display \"%s\"\n",
                         std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
            std::exit(1);
        }
        watchDrawing();
    }

    bool isViewable(xcb_window_t window) {
        auto reply = xclient::own(xcb_get_window_attributes_reply(
            connection(), xcb_get_window_attributes(connection(), window), nullptr));
        return reply && reply->map_state != XCB_MAP_STATE_UNMAPPED;
    }
};

// Starts the command; returns its pid and the monotonic time just before exec.
pid_t launch(char **command, double &execMs) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        std::perror("mapwait: pipe");
        std::exit(3);
    }
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("mapwait: fork");
        std::exit(3);
    }
    if (pid == 0) {
        close(report[0]);
        const double before = nowMs();
        [[maybe_unused]] ssize_t n = write(report[1], &before, sizeof before);
        execvp(command[0], command);
        const int error = errno;
        n = write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    double before = 0;
    int error = 0;
    bool gotTime = read(report[0], &before, sizeof before) == ssize_t(sizeof before);
    // The pipe closes on a successful exec; an error number arrives otherwise.
    const ssize_t got = read(report[0], &error, sizeof error);
    close(report[0]);
    if (!gotTime || got > 0) {
        std::fprintf(stderr, "mapwait: cannot start %s: %s\n", command[0],
                     got > 0 ? std::strerror(error) : "no report from the child");
        waitpid(pid, nullptr, 0);
        std::exit(3);
    }
    execMs = before;
    return pid;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        sleepMs(10);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char **argv) {
    const Options options = parse(argc, argv);
    Display display;
    xcb_connection_t *connection = display.connection();

    double execMs = 0;
    const pid_t pid = launch(options.command, execMs);
    const double deadline = execMs + options.timeoutS * 1e3;

    // Client windows a window manager has moved into frames of its own.
    std::set<xcb_window_t> reparented;
    double mappedMs = -1;
    xcb_window_t mapped = 0;
    pollfd watchFd{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (mappedMs < 0) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            if (WIFSIGNALED(status))
                std::fprintf(stderr,
                             "mapwait: %s was killed by signal %d before mapping a window\n",
                             options.command[0], WTERMSIG(status));
            else
                std::fprintf(stderr, "mapwait: %s exited with status %d before mapping a window\n",
                             options.command[0], WEXITSTATUS(status));
            return 3;
        }
        const double left = deadline - nowMs();
        if (left <= 0) {
            std::fprintf(stderr, "mapwait: %s mapped no window within %.0f s\n", options.command[0],
                         options.timeoutS);
            stop(pid);
            return 2;
        }
        // Wake at least every 50 ms to notice a child that has ended.
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event) {
            if (xcb_connection_has_error(connection)) {
                std::fprintf(stderr, "mapwait: lost the X display\n");
                stop(pid);
                return 1;
            }
            poll(&watchFd, 1, int(std::min(left, 50.0)) + 1);
            continue;
        }
        const double at = nowMs();
        switch (event->response_type & 0x7f) {
        case XCB_MAP_NOTIFY: {
            const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event);
            const bool topLevel = map->event == display.root() || reparented.count(map->window);
            if (topLevel && !map->override_redirect &&
                display.pidOf(map->window) == uint32_t(pid)) {
                mappedMs = at;
                mapped = map->window;
            }
            break;
        }
        case XCB_REPARENT_NOTIFY: {
            // Under a window manager the client window moves into a frame
            // and is mapped there: watch it directly.
            const auto *moved = reinterpret_cast<const xcb_reparent_notify_event_t *>(event);
            if (moved->parent != display.root() && !moved->override_redirect &&
                display.watch(moved->window, XCB_EVENT_MASK_STRUCTURE_NOTIFY)) {
                reparented.insert(moved->window);
                if (display.isViewable(moved->window) &&
                    display.pidOf(moved->window) == uint32_t(pid)) {
                    mappedMs = nowMs();
                    mapped = moved->window;
                }
            }
            break;
        }
        default:
            break;
        }
        std::free(event);
    }

    std::printf("window 0x%x\n", unsigned(mapped));
    std::printf("map_ms %.2f\n", mappedMs - execMs);

    // The first frame: drawings go on until the screen stays unchanged.
    if (display.watchesDrawing()) {
        const double drawnMs = display.settle(mappedMs, 200, deadline).lastDrawn;
        std::printf("frame_ms %.2f\n", drawnMs - execMs);
    }
    std::fflush(stdout);

    sleepMs(options.settleMs);
    const std::string status = "/proc/" + std::to_string(pid) + "/status";
    const long hwm = statusField(status, "VmHWM");
    if (hwm < 0) {
        std::fprintf(stderr, "mapwait: %s ended after mapping its window\n", options.command[0]);
        stop(pid);
        return 3;
    }
    std::printf("vmhwm_kib %ld\n", hwm);
    std::fflush(stdout);

    if (options.idleS > 0) {
        const auto before = switchesByThread(pid);
        sleepMs(options.idleS * 1e3);
        const auto after = switchesByThread(pid);
        if (after.empty()) {
            std::fprintf(stderr, "mapwait: %s ended while idle\n", options.command[0]);
            stop(pid);
            return 3;
        }
        long total = 0;
        for (const auto &[tid, now] : after) {
            const auto earlier = before.find(tid);
            const Switches start = earlier == before.end() ? Switches{} : earlier->second;
            const long voluntary = now.voluntary - start.voluntary;
            const long nonvoluntary = now.nonvoluntary - start.nonvoluntary;
            total += voluntary + nonvoluntary;
            if (voluntary + nonvoluntary > 0 || earlier == before.end())
                std::printf("idle_thread %ld %s %ld %ld%s\n", tid, now.name.c_str(), voluntary,
                            nonvoluntary, earlier == before.end() ? " new" : "");
        }
        for (const auto &[tid, earlier] : before) {
            if (!after.count(tid))
                std::printf("idle_thread %ld %s ended\n", tid, earlier.name.c_str());
        }
        std::printf("idle_switches %ld\n", total);
    }
    std::fflush(stdout);
    stop(pid);
    return 0;
}
