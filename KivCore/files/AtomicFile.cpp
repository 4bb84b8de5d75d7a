#include "files/AtomicFile.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/UniqueFd.h"
#include "base/Uuid.h"
#include "base/PathString.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv::AtomicFile {

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

// The temporary file; removed again unless it was renamed into place.
class TemporaryFile
{
public:
    TemporaryFile(const std::string& target, const std::string& pathForErrors)
    {
        // Hidden, beside the target. Appended rather than built with "." + name, which GCC 12
        // at -O3 wrongly reports as an overlapping copy (-Wrestrict).
        std::string hiddenName(".");
        hiddenName += PathString::lastComponent(target);
        const auto stem = PathString::appendingComponent(folderOf(target), hiddenName);
        for (int attempt = 0; attempt < 8 && !m_fd.valid(); ++attempt) {
            m_path = stem + ".tmp-" + Uuid::randomString();
            m_fd.reset(::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (!m_fd.valid() && errno != EEXIST)
                throwSystemError(errno, pathForErrors);
        }
        if (!m_fd.valid())
            throwSystemError(EEXIST, pathForErrors);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }

    int fd() const { return m_fd.get(); }
    const std::string& path() const { return m_path; }
    int close() { return ::close(m_fd.release()); }
    void keep() { m_path.clear(); }

private:
    UniqueFd m_fd;
    std::string m_path;
};

void writeAll(int fd, std::string_view contents, const std::string& pathForErrors)
{
    while (!contents.empty()) {
        auto written = ::write(fd, contents.data(), contents.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throwSystemError(errno, pathForErrors);
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Renaming over a file needs no permission to write it, so without this check a file the
// user may not change would be replaced all the same.
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

// The new bytes are safe in the temporary file before the shared file is touched, and the
// temporary file is kept when the overwrite fails part way, so the user loses at most the old
// contents, never the new ones.
void overwriteInPlace(
    const std::string& target, TemporaryFile& temporary, std::string_view contents, const std::string& path)
{
    UniqueFd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd.valid())
        throwSystemError(errno, path);
    try {
        writeAll(fd.get(), contents, path);
        if (::ftruncate(fd.get(), static_cast<off_t>(contents.size())) != 0 || ::fsync(fd.get()) != 0)
            throwSystemError(errno, path);
    } catch (const std::exception& error) {
        const std::string kept = temporary.path();
        temporary.keep();
        throw KivError::operationFailed(
            userMessage(error) + ". The file may be partly written; the new contents are in " + kept + ".");
    }
}

void keepOwnerAndPermissionBits(int fd, const std::string& target, const std::string& pathForErrors)
{
    struct stat info;
    if (::stat(target.c_str(), &info) != 0)
        return; // a new file: the umask decided
    // Only a privileged process can hand a file to its owner; anyone else already owns it.
    if (::fchown(fd, info.st_uid, info.st_gid) != 0 && errno != EPERM)
        throwSystemError(errno, pathForErrors);
    if (::fchmod(fd, info.st_mode & 07777) != 0)
        throwSystemError(errno, pathForErrors);
}

// Makes the rename itself survive a crash; a folder that cannot be synced changes nothing.
void syncFolder(const std::string& folder)
{
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

} // namespace

void write(const std::string& path, std::string_view contents)
{
    auto target = fileBehindLinks(path);
    refuseUnwritableTarget(target, path);
    TemporaryFile temporary(target, path);
    // Owner and bits first: the new contents are never readable by more people than the old.
    keepOwnerAndPermissionBits(temporary.fd(), target, path);
    writeAll(temporary.fd(), contents, path);
    if (::fsync(temporary.fd()) != 0 || temporary.close() != 0)
        throwSystemError(errno, path);
    if (hasOtherNames(target))
        return overwriteInPlace(target, temporary, contents, path);
    if (::rename(temporary.path().c_str(), target.c_str()) != 0)
        throwSystemError(errno, path);
    temporary.keep();
    syncFolder(folderOf(target));
}

} // namespace kiv::AtomicFile
