#include "files/TreeCopy.h"

#include "base/ErrorText.h"
#include "base/PlatformCalls.h"
#include "base/UniqueFd.h"
#include "files/DirectoryReader.h"
#include "files/PathString.h"
#include "files/TreeRemoval.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kiv::TreeCopy {

namespace {

// Where one item is copied from and to: a name relative to an open folder, plus the full
// path for messages.
struct Place
{
    int parentFd;
    const char* name;
    std::string path;
};

void copyItem(const Place& from, const Place& to, const struct stat& info);

struct stat statOrThrow(const Place& place)
{
    struct stat info;
    if (::fstatat(place.parentFd, place.name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        throwSystemError(errno, place.path);
    return info;
}

void keepTimes(int parentFd, const char* name, const struct stat& info, const std::string& path)
{
    auto kept = PlatformCalls::itemTimes(info);
    if (::utimensat(parentFd, name, kept.times, AT_SYMLINK_NOFOLLOW) != 0)
        throwSystemError(errno, path);
}

void copyBytesWithReadWrite(int in, int out, const Place& from, const Place& to)
{
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        auto count = ::read(in, buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throwSystemError(errno, from.path);
        }
        if (count == 0)
            return;
        for (ssize_t written = 0; written < count;) {
            auto step = ::write(out, buffer.data() + written, static_cast<std::size_t>(count - written));
            if (step < 0) {
                if (errno == EINTR)
                    continue;
                throwSystemError(errno, to.path);
            }
            written += step;
        }
    }
}

// The kernel copies (or shares extents) without the data passing through us when it can.
void copyBytes(int in, int out, const Place& from, const Place& to)
{
    bool copiedAny = false;
    for (;;) {
        auto count = PlatformCalls::copyFileRange(in, out, 1 << 30);
        if (count > 0) {
            copiedAny = true;
            continue;
        }
        if (count == 0)
            return;
        if (errno == EINTR)
            continue;
        bool unsupported = errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP;
        if (copiedAny || !unsupported)
            throwSystemError(errno, errno == ENOSPC || errno == EDQUOT ? to.path : from.path);
        return copyBytesWithReadWrite(in, out, from, to);
    }
}

void copyRegularFile(const Place& from, const Place& to, const struct stat& info)
{
    // The target first: every failure after this point leaves only our own file behind.
    UniqueFd out(::openat(to.parentFd, to.name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!out.valid())
        throwSystemError(errno, to.path);
    // O_NONBLOCK: should the item have turned into a FIFO since it was looked at, opening it
    // must not hang; the fstat below then refuses it.
    UniqueFd in(::openat(from.parentFd, from.name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!in.valid())
        throwSystemError(errno, from.path);
    struct stat opened;
    if (::fstat(in.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        throwSystemError(EINVAL, from.path);
    copyBytes(in.get(), out.get(), from, to);
    auto kept = PlatformCalls::itemTimes(info);
    if (::fchmod(out.get(), info.st_mode & 07777) != 0 || ::futimens(out.get(), kept.times) != 0)
        throwSystemError(errno, to.path);
    if (::close(out.release()) != 0)
        throwSystemError(errno, to.path);
}

void copySymlink(const Place& from, const Place& to, const struct stat& info)
{
    std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
    auto length = ::readlinkat(from.parentFd, from.name, target.data(), target.size());
    if (length < 0)
        throwSystemError(errno, from.path);
    target.resize(static_cast<std::size_t>(length));
    if (::symlinkat(target.c_str(), to.parentFd, to.name) != 0)
        throwSystemError(errno, to.path);
    keepTimes(to.parentFd, to.name, info, to.path);
}

void copyDirectory(const Place& from, const Place& to, const struct stat& info)
{
    if (::mkdirat(to.parentFd, to.name, 0700) != 0)
        throwSystemError(errno, to.path);
    DirectoryReader source(from.parentFd, from.name, from.path, DirectoryReader::FinalLink::refuse);
    UniqueFd target(::openat(to.parentFd, to.name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!target.valid())
        throwSystemError(errno, to.path);
    DirectoryReader::Item item;
    while (source.next(item)) {
        Place child { source.fd(), item.name, PathString::appendingComponent(from.path, item.name) };
        Place copy { target.get(), item.name, PathString::appendingComponent(to.path, item.name) };
        copyItem(child, copy, statOrThrow(child));
    }
    // Permissions and times last: adding the children changed the time, and a read-only
    // folder could not have taken them.
    auto kept = PlatformCalls::itemTimes(info);
    if (::fchmod(target.get(), info.st_mode & 07777) != 0 || ::futimens(target.get(), kept.times) != 0)
        throwSystemError(errno, to.path);
}

// FIFOs, sockets and devices are recreated, never opened: reading a FIFO would wait forever.
void copySpecialFile(const Place& to, const struct stat& info)
{
    if (PlatformCalls::makeNode(to.parentFd, to.name, info) != 0)
        throwSystemError(errno, to.path);
    keepTimes(to.parentFd, to.name, info, to.path);
}

void copyItem(const Place& from, const Place& to, const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        copyDirectory(from, to, info);
    else if (S_ISLNK(info.st_mode))
        copySymlink(from, to, info);
    else if (S_ISREG(info.st_mode))
        copyRegularFile(from, to, info);
    else
        copySpecialFile(to, info);
}

void removeQuietly(const std::string& path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        return;
    try {
        TreeRemoval::remove(path);
    } catch (const std::exception&) {
        // The copy's own failure is the one the user needs to read.
    }
}

} // namespace

void copyNew(const std::string& from, const std::string& to)
{
    Place source { AT_FDCWD, from.c_str(), from };
    Place target { AT_FDCWD, to.c_str(), to };
    auto info = statOrThrow(source);
    try {
        copyItem(source, target, info);
    } catch (const std::filesystem::filesystem_error& error) {
        // Whatever stands at `to` now was made by this copy, unless making it is what failed
        // because something was already there.
        bool targetWasTaken = error.code().value() == EEXIST && error.path1() == to;
        if (!targetWasTaken)
            removeQuietly(to);
        throw;
    }
}

} // namespace kiv::TreeCopy
