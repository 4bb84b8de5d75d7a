#include "base/PlatformCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kiv::PlatformCalls {

ItemTimes itemTimes(const struct stat& info)
{
#ifdef __APPLE__
    return { { info.st_atimespec, info.st_mtimespec } };
#else
    return { { info.st_atim, info.st_mtim } };
#endif
}

timespec modificationTime(const struct stat& info)
{
    return itemTimes(info).times[1];
}

int renameExclusive(const char* from, const char* to)
{
    return renameExclusiveAt(AT_FDCWD, from, AT_FDCWD, to);
}

int renameExclusiveAt(int fromFd, const char* from, int toFd, const char* to)
{
#ifdef __APPLE__
    int result = ::renameatx_np(fromFd, from, toFd, to, RENAME_EXCL);
#else
    int result = ::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE);
#endif
    if (result == 0 || (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP))
        return result;
    // The file system cannot rename exclusively; check as closely as we can.
    struct stat info;
    if (::fstatat(toFd, to, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(fromFd, from, toFd, to);
}

ssize_t copyFileRange(int in, int out, size_t length)
{
#ifdef __APPLE__
    (void)in;
    (void)out;
    (void)length;
    errno = ENOSYS;
    return -1;
#else
    return ::copy_file_range(in, nullptr, out, nullptr, length, 0);
#endif
}

int makeNode(int parentFd, const char* name, const struct stat& info)
{
    if (S_ISFIFO(info.st_mode))
        return ::mkfifoat(parentFd, name, info.st_mode & 07777);
#ifdef __APPLE__
    (void)parentFd;
    (void)name;
    errno = ENOTSUP;
    return -1;
#else
    return ::mknodat(parentFd, name, info.st_mode, info.st_rdev);
#endif
}

int makeCloseOnExecPipe(int fds[2])
{
#ifdef __APPLE__
    if (::pipe(fds) != 0)
        return -1;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    return 0;
#else
    return ::pipe2(fds, O_CLOEXEC);
#endif
}

void enlargePipeBuffer([[maybe_unused]] int fd, [[maybe_unused]] int bytes)
{
#ifdef F_SETPIPE_SZ
    ::fcntl(fd, F_SETPIPE_SZ, bytes);
#endif
}

} // namespace kiv::PlatformCalls
