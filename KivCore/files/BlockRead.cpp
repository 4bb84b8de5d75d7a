#include "files/BlockRead.h"

#include "base/ErrorText.h"

#include <cerrno>
#include <unistd.h>

namespace kiv::BlockRead {

std::size_t fill(int fd, char* buffer, std::size_t size, const std::string& path)
{
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(fd, buffer + filled, size - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throwSystemError(errno, path);
        if (got == 0)
            break;
        filled += std::size_t(got);
    }
    return filled;
}

} // namespace kiv::BlockRead
