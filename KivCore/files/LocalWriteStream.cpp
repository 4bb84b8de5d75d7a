#include "files/LocalWriteStream.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/PlatformCalls.h"
#include "base/Uuid.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {

namespace {

// Writing "through" a link must not turn the link into a plain file.
std::string fileBehindLinks(const std::string& path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char buffer[PATH_MAX];
    if (!::realpath(path.c_str(), buffer))
        throwSystemError(errno, path);
    return buffer;
}

std::string folderOf(const std::string& path)
{
    auto folder = PathString::deletingLastComponent(path);
    return folder.empty() ? "." : folder;
}

void writeAll(int fd, std::string_view bytes, const std::string& pathForErrors)
{
    while (!bytes.empty()) {
        auto written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throwSystemError(errno, pathForErrors);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Owner and bits first: the new contents are never readable by more people than the old.
void keepOwnerAndPermissionBits(int fd, const std::string& target, const std::string& pathForErrors)
{
    struct stat info;
    if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return; // a new file: the umask decided
    // Only a privileged process can hand a file to its owner; anyone else already owns it.
    if (::fchown(fd, info.st_uid, info.st_gid) != 0 && errno != EPERM)
        throwSystemError(errno, pathForErrors);
    if (::fchmod(fd, info.st_mode & 07777) != 0)
        throwSystemError(errno, pathForErrors);
}

// Renaming over a file needs no permission to write it, so without this check a file the user
// may not change would be replaced all the same.
void refuseUnwritableTarget(const std::string& target, const std::string& pathForErrors)
{
    if (::access(target.c_str(), F_OK) == 0 && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        throwSystemError(errno, pathForErrors);
}

// Returns whether `target` is a file that other names share: replacing it would leave them on the
// old contents.
bool hasOtherNames(const std::string& target)
{
    struct stat info;
    return ::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink > 1;
}

bool isFolder(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isLink(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// Makes the rename itself survive a crash; a folder that cannot be synced changes nothing.
void syncFolder(const std::string& folder)
{
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

// Copies the whole file open as `from` over the start of `to`.
void copyAll(int from, int to, const std::string& pathForErrors)
{
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(from, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            throwSystemError(errno, pathForErrors);
        if (count == 0)
            return;
        writeAll(to, std::string_view(buffer, static_cast<std::size_t>(count)), pathForErrors);
    }
}

} // namespace

LocalWriteStream::LocalWriteStream(std::string path, std::optional<std::uint32_t> permissions, Door::Link link)
    : m_path(std::move(path))
    , m_target(link == Door::Link::followed ? fileBehindLinks(m_path) : m_path)
{
    // Hidden, beside the target. Appended rather than built with "." + name, which GCC 12 at -O3
    // wrongly reports as an overlapping copy (-Wrestrict).
    std::string hiddenName(".");
    hiddenName += PathString::lastComponent(m_target);
    const auto stem = PathString::appendingComponent(folderOf(m_target), hiddenName);
    for (int attempt = 0; attempt < 8 && !m_fd.valid(); ++attempt) {
        m_temporary = stem + ".tmp-" + Uuid::randomString();
        m_fd.reset(::open(m_temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, permissions.value_or(0666) & 07777));
        if (!m_fd.valid() && errno != EEXIST) {
            m_temporary.clear();
            throwSystemError(errno, m_path);
        }
    }
    if (!m_fd.valid()) {
        m_temporary.clear();
        throwSystemError(EEXIST, m_path);
    }
    if (!permissions && !isLink(m_target))
        keepOwnerAndPermissionBits(m_fd.get(), m_target, m_path);
    else if (::fchmod(m_fd.get(), *permissions & 07777) != 0) // the bits asked for, past the umask
        throwSystemError(errno, m_path);
}

LocalWriteStream::~LocalWriteStream()
{
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

void LocalWriteStream::write(std::string_view bytes)
{
    writeAll(m_fd.get(), bytes, m_path);
}

void LocalWriteStream::commit(Replace replace)
{
    if (replace == Replace::never) {
        if (::close(m_fd.release()) != 0)
            throwSystemError(errno, m_path);
        if (PlatformCalls::renameExclusive(m_temporary.c_str(), m_target.c_str()) != 0) {
            if (errno == EEXIST || errno == ENOTEMPTY)
                throw KivError::alreadyExists(m_path);
            throwSystemError(errno, m_path);
        }
        m_temporary.clear();
        return;
    }
    if (isFolder(m_target))
        throwSystemError(EISDIR, m_path);
    // A link replaced itself: what it points to is neither asked about nor touched.
    const bool overLink = isLink(m_target);
    if (!overLink)
        refuseUnwritableTarget(m_target, m_path);
    if (::fsync(m_fd.get()) != 0)
        throwSystemError(errno, m_path);
    if (!overLink && hasOtherNames(m_target))
        return overwriteInPlace();
    if (::close(m_fd.release()) != 0)
        throwSystemError(errno, m_path);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        throwSystemError(errno, m_path);
    m_temporary.clear();
    syncFolder(folderOf(m_target));
}

// The new bytes are safe in the temporary file before the shared file is touched, and the
// temporary file is kept when the overwrite fails part way, so the user loses at most the old
// contents, never the new ones.
void LocalWriteStream::overwriteInPlace()
{
    UniqueFd target(::open(m_target.c_str(), O_WRONLY | O_CLOEXEC));
    if (!target.valid())
        throwSystemError(errno, m_path);
    try {
        const off_t length = ::lseek(m_fd.get(), 0, SEEK_END);
        if (length < 0 || ::lseek(m_fd.get(), 0, SEEK_SET) != 0)
            throwSystemError(errno, m_path);
        copyAll(m_fd.get(), target.get(), m_path);
        if (::ftruncate(target.get(), length) != 0 || ::fsync(target.get()) != 0)
            throwSystemError(errno, m_path);
    } catch (const std::exception& error) {
        const std::string kept = std::exchange(m_temporary, {});
        throw KivError::operationFailed(
            userMessage(error) + ". The file may be partly written; the new contents are in " + kept + ".");
    }
    // The shared file holds the new bytes; the temporary one has served.
}

} // namespace kiv
