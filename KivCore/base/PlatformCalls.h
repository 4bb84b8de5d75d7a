#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>

// The few system calls that Linux and macOS spell differently, behind one name each.
namespace kiv::PlatformCalls {

// The item's access and modification times, as utimensat()/futimens() take them.
struct ItemTimes
{
    timespec times[2];
};
ItemTimes itemTimes(const struct stat& info);

// The modification time alone.
timespec modificationTime(const struct stat& info);

// Renames `from` to `to` only if nothing is at `to`: 0 on success, else -1 with errno
// (EEXIST when the target is taken). Where the file system has no exclusive rename it checks
// first, which leaves a moment in which a newly made target could be replaced.
int renameExclusive(const char* from, const char* to);
// renameExclusive() for names relative to open folders (AT_FDCWD for plain paths).
int renameExclusiveAt(int fromFd, const char* from, int toFd, const char* to);

// Lets the kernel copy up to `length` bytes from `in` to `out` at their offsets: the count
// copied, 0 at the end, -1 with errno (ENOSYS where the platform has no such call).
ssize_t copyFileRange(int in, int out, size_t length);

// Creates a FIFO, socket or device node like `info`'s at `name` in the folder `parentFd`.
int makeNode(int parentFd, const char* name, const struct stat& info);

// Creates a pipe whose two ends both close on exec: 0 on success, else -1 with errno.
int makeCloseOnExecPipe(int fds[2]);

// Asks for a pipe buffer of about `bytes` where the platform lets the reader choose; best effort.
void enlargePipeBuffer(int fd, int bytes);

} // namespace kiv::PlatformCalls
