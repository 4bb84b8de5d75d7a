#include "files/ItemFacts.h"

#include "base/ErrorText.h"
#include "base/PlatformCalls.h"
#include "base/PathString.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>

namespace kiv::ItemFacts {

struct stat statAt(int folderFd, const std::string& name, const std::string& path)
{
    struct stat info;
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        throwSystemError(errno, path);
    return info;
}

JobItemFacts of(const std::string& path, const struct stat& info)
{
    using Clock = std::chrono::system_clock;
    const timespec when = PlatformCalls::modificationTime(info);
    std::optional<Clock::time_point> modified;
    // A date the clock cannot hold is shown as unknown rather than wrapped around.
    const auto limit = std::chrono::duration_cast<std::chrono::seconds>(Clock::duration::max()).count() - 1;
    if (when.tv_sec < limit && when.tv_sec > -limit) {
        const auto sinceEpoch = std::chrono::seconds(when.tv_sec) + std::chrono::nanoseconds(when.tv_nsec);
        modified = Clock::time_point(std::chrono::duration_cast<Clock::duration>(sinceEpoch));
    }
    return { path, S_ISDIR(info.st_mode) ? 0 : static_cast<std::int64_t>(info.st_size), modified,
        S_ISDIR(info.st_mode) };
}

std::string resolved(const std::string& path)
{
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : PathString::standardizing(path);
}

} // namespace kiv::ItemFacts
