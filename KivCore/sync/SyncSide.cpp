#include "sync/SyncSide.h"

#include "base/ErrorText.h"
#include "base/PlatformCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace kiv {

namespace {

SyncSide::Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return SyncSide::Kind::file;
    if (S_ISDIR(mode))
        return SyncSide::Kind::folder;
    return S_ISLNK(mode) ? SyncSide::Kind::link : SyncSide::Kind::other;
}

} // namespace

std::optional<SyncSide> SyncSide::at(int folderFd, const char* name, const std::string& path)
{
    struct stat info;
    if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throwSystemError(errno, path);
    }
    const timespec modified = PlatformCalls::modificationTime(info);
    // A folder's size says nothing about what it holds.
    const std::int64_t size = S_ISDIR(info.st_mode) ? 0 : info.st_size;
    return SyncSide { kindOf(info.st_mode), size, modified.tv_sec, modified.tv_nsec,
        std::uint64_t(info.st_dev), std::uint64_t(info.st_ino) };
}

std::optional<SyncSide> SyncSide::of(const std::string& path)
{
    return at(AT_FDCWD, path.c_str(), path);
}

} // namespace kiv
