#include "resource_limits.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/resource.h>

namespace platform {

bool enoughFileDescriptors() {
    // A whole game with no sound card was measured to run with a limit of
    // 11 open files; a sound server and an input method take a few more.
    constexpr rlim_t needed = 32;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= 256)
        return true;
    const auto freeBelow = [](rlim_t end) {
        rlim_t free = 0;
        for (rlim_t fd = 0; fd < end; ++fd) {
            if (::fcntl(int(fd), F_GETFD) == -1 && errno == EBADF)
                ++free;
        }
        return free;
    };
    rlim_t free = freeBelow(limit.rlim_cur);
    if (free < needed && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 1024); // the usual soft limit
        if (::setrlimit(RLIMIT_NOFILE, &limit) == 0)
            free = freeBelow(limit.rlim_cur);
    }
    if (free >= needed)
        return true;
    std::fprintf(stderr,
                 "hoshifuru2: too few file descriptors: %llu of at most %llu open files free, "
                 "%llu needed\n",
                 static_cast<unsigned long long>(free),
                 static_cast<unsigned long long>(limit.rlim_cur),
                 static_cast<unsigned long long>(needed));
    return false;
}

bool roomToRun() {
    // Measured: the game starts with a stack of 96 KiB but not 64 KiB, and
    // plays in an address space of 110 MB only until the first font it
    // cannot map; these leave room for input methods, accessibility and the
    // fonts of a name.
    constexpr rlim_t stackNeeded = 1024 * 1024;
    constexpr rlim_t memoryNeeded = 256 * 1024 * 1024;
    struct Limit {
        int resource;
        rlim_t needed;
        const char *what;
    };
    for (const Limit &need : {Limit{RLIMIT_STACK, stackNeeded, "stack size"},
                              Limit{RLIMIT_AS, memoryNeeded, "virtual memory"},
                              Limit{RLIMIT_DATA, memoryNeeded, "data segment size"}}) {
        rlimit limit{};
        if (::getrlimit(need.resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
            limit.rlim_cur >= need.needed)
            continue;
        // The soft limit is raised as far as needed where the hard one allows.
        if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max >= need.needed) {
            limit.rlim_cur = need.needed;
            if (::setrlimit(need.resource, &limit) == 0)
                continue;
        }
        std::fprintf(stderr, "hoshifuru2: the %s limit is too low: %llu KiB, %llu KiB needed\n",
                     need.what, static_cast<unsigned long long>(limit.rlim_cur / 1024),
                     static_cast<unsigned long long>(need.needed / 1024));
        return false;
    }
    // Threads made from now on get the stack they would have had without a
    // low soft limit (the C library took their size from it at start).
    pthread_attr_t attributes;
    if (::pthread_getattr_default_np(&attributes) == 0) {
        size_t size = 0;
        if (::pthread_attr_getstacksize(&attributes, &size) == 0 && size < stackNeeded) {
            ::pthread_attr_setstacksize(&attributes, stackNeeded);
            ::pthread_setattr_default_np(&attributes);
        }
        ::pthread_attr_destroy(&attributes);
    }
    // Qt reads the display's events on a thread of its own: without one (a
    // limit on processes, or no memory for its stack) it would wait for ever.
    pthread_t thread;
    const int made = ::pthread_create(
        &thread, nullptr, [](void *) -> void * { return nullptr; }, nullptr);
    if (made != 0) {
        std::fprintf(stderr, "hoshifuru2: cannot start a thread: %s\n", std::strerror(made));
        return false;
    }
    ::pthread_join(thread, nullptr);
    return true;
}

} // namespace platform
