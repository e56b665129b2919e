#include "standard_streams.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

bool openClosedStandardStreams() {
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number is this one: those below it are open.
        const int null = ::open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null == stream)
            continue;
        const int why = errno;
        if (null >= 0)
            ::close(null);
        std::fprintf(stderr, "hoshifuru2: cannot open /dev/null for a closed standard stream: %s\n",
                     std::strerror(null >= 0 ? EBADF : why));
        return false;
    }
    return true;
}

} // namespace platform
