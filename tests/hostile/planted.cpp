// A library planted in the working folder under the names of libraries the
// game loads: if it is ever loaded, it leaves the file "planted-loaded" in
// the working folder.
#include <fcntl.h>
#include <unistd.h>

__attribute__((constructor)) static void markLoaded() {
    const int fd = ::open("planted-loaded", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
}
