#include "files/WholeFile.h"

#include "base/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv::WholeFile {

ReadOutcome read(const std::string& path, std::string& contents)
{
    // Non-blocking open: a FIFO without a writer must not hang the caller.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        struct stat info;
        bool nothingThere = errno == ENOENT && ::lstat(path.c_str(), &info) != 0;
        return nothingThere ? ReadOutcome::missing : ReadOutcome::unreadable;
    }
    struct stat info;
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return ReadOutcome::unreadable;
    char buffer[65536];
    for (;;) {
        auto count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return ReadOutcome::unreadable;
        if (count == 0)
            return ReadOutcome::read;
        contents.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace kiv::WholeFile
