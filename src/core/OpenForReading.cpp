#include "core/OpenForReading.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int OpenForReading(const char* path) noexcept {
    if (!path)
        return (errno = EINVAL), -1;
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat info {};
    int error = 0;
    if (::fstat(fd, &info) != 0)
        error = errno;
    else if (S_ISDIR(info.st_mode))
        error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        error = ENXIO;
    else {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
            error = errno;
    }
    if (error == 0)
        return fd;
    ::close(fd);
    errno = error;
    return -1;
}
