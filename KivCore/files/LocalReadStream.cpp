#include "files/LocalReadStream.h"

#include "base/ErrorText.h"
#include "base/KivError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {

LocalReadStream::LocalReadStream(std::string path)
    : m_path(std::move(path))
    // Non-blocking: opening a pipe without a writer would otherwise wait for one.
    , m_fd(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
{
    if (!m_fd.valid())
        throwSystemError(errno, m_path);
    struct stat info;
    if (::fstat(m_fd.get(), &info) != 0)
        throwSystemError(errno, m_path);
    if (!S_ISREG(info.st_mode))
        throw KivError::operationFailed("Not a regular file: " + m_path);
    m_size = info.st_size;
}

std::size_t LocalReadStream::read(std::span<char> buffer)
{
    for (;;) {
        const ssize_t count = ::read(m_fd.get(), buffer.data(), buffer.size());
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno != EINTR)
            throwSystemError(errno, m_path);
    }
}

} // namespace kiv
