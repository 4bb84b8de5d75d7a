#include "remote/SftpDownload.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/PlatformCalls.h"
#include "base/UniqueFd.h"
#include "files/FreeName.h"
#include "jobs/JobControl.h"
#include "remote/RemoteName.h"
#include "remote/SftpFileReader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {

namespace {

JobItemFacts factsOf(const std::string& path, const SftpAttributes& attributes)
{
    JobItemFacts facts { path, static_cast<std::int64_t>(attributes.size), std::nullopt, attributes.isFolder() };
    if (attributes.has(Sftp::hasTimes))
        facts.modified = std::chrono::system_clock::from_time_t(attributes.modificationTime);
    return facts;
}

void writeAll(int fd, std::string_view data, const std::string& path)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throwSystemError(errno, path);
        data.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Gives the local item the server's permission bits and modification time.
void keepFacts(int fd, const SftpAttributes& attributes, const std::string& path)
{
    if (attributes.has(Sftp::hasPermissions) && ::fchmod(fd, attributes.permissions & 07777) != 0)
        throwSystemError(errno, path);
    if (attributes.has(Sftp::hasTimes)) {
        const timespec times[2] = { { static_cast<time_t>(attributes.accessTime), 0 },
            { static_cast<time_t>(attributes.modificationTime), 0 } };
        if (::futimens(fd, times) != 0)
            throwSystemError(errno, path);
    }
}

} // namespace

SftpDownload::SftpDownload(std::shared_ptr<SftpSession> session, JobControl& control)
    : m_session(std::move(session))
    , m_control(control)
    , m_conflicts(control)
    , m_failures(control)
{
}

std::vector<SftpEntry> SftpDownload::entriesOf(const std::string& path)
{
    const auto kept = m_listings.find(path);
    if (kept == m_listings.end())
        return m_session->list(path, &m_control);
    auto entries = std::move(kept->second);
    m_listings.erase(kept);
    return entries;
}

void SftpDownload::count(const std::string& remotePath)
{
    countEntry(remotePath, m_session->lstat(remotePath, &m_control));
}

void SftpDownload::countEntry(const std::string& path, const SftpAttributes& attributes)
{
    m_control.addToTotals(1, attributes.isRegularFile() ? static_cast<std::int64_t>(attributes.size) : 0);
    if (!attributes.isFolder())
        return;
    auto& entries = m_listings[path] = m_session->list(path, &m_control);
    for (const SftpEntry& entry : entries)
        if (entry.usable)
            countEntry(PathString::appendingComponent(path, entry.name), entry.attributes);
}

void SftpDownload::copy(const std::string& remotePath, const std::string& folderPath)
{
    const UniqueFd folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        throwSystemError(errno, folderPath);
    SftpEntry entry { PathString::lastComponent(remotePath), {}, true };
    m_failures.attempt([&] { entry.attributes = m_session->lstat(remotePath, &m_control); }, remotePath);
    entry.usable = !RemoteName::problem(entry.name);
    if (entry.attributes.flags != 0)
        copyEntry(remotePath, entry, folder.get());
}

void SftpDownload::copyEntry(const std::string& path, const SftpEntry& entry, int folderFd)
{
    m_control.throwIfCancelled();
    const auto problem = RemoteName::problem(entry.name);
    if (!entry.usable || problem) {
        m_failures.attempt(
            [&] { throw KivError::operationFailed("The server's name " + *problem + ", it cannot be copied"); }, path);
        return;
    }
    if (entry.attributes.isFolder())
        copyFolder(path, entry, folderFd);
    else if (entry.attributes.isLink())
        copyLink(path, entry, folderFd);
    else if (entry.attributes.isRegularFile())
        copyFile(path, entry, folderFd);
    else
        m_failures.attempt([&] { throw KivError::operationFailed("Not a file, folder or link: " + path); }, path);
    m_control.finishItems(1, 0);
}

std::optional<std::string> SftpDownload::targetName(const std::string& path, const SftpEntry& entry, int folderFd,
    bool& replacing)
{
    replacing = false;
    struct stat existing {};
    if (::fstatat(folderFd, entry.name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0)
        return entry.name;
    const JobItemFacts target { entry.name, existing.st_size,
        std::chrono::system_clock::from_time_t(existing.st_mtime), S_ISDIR(existing.st_mode) };
    switch (m_conflicts.resolve(factsOf(path, entry.attributes), target)) {
    case ConflictAnswers::Resolution::skip:
        return std::nullopt;
    case ConflictAnswers::Resolution::keepBoth:
        return FreeName::numbered(folderFd, entry.name, entry.attributes.isFolder());
    case ConflictAnswers::Resolution::overwrite:
        break;
    }
    replacing = true;
    return entry.name;
}

void SftpDownload::copyFolder(const std::string& path, const SftpEntry& entry, int folderFd)
{
    UniqueFd folder;
    m_failures.attempt(
        [&] {
            // An existing folder (not a link to one) takes the items in.
            if (::mkdirat(folderFd, entry.name.c_str(), 0700) != 0 && errno != EEXIST)
                throwSystemError(errno, entry.name);
            folder.reset(::openat(folderFd, entry.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (!folder.valid())
                throwSystemError(errno, entry.name);
        },
        path);
    if (!folder.valid())
        return;
    std::vector<SftpEntry> entries;
    if (!m_failures.attempt([&] { entries = entriesOf(path); }, path))
        return;
    for (const SftpEntry& child : entries)
        copyEntry(PathString::appendingComponent(path, child.name), child, folder.get());
    m_failures.attempt([&] { keepFacts(folder.get(), entry.attributes, path); }, path);
}

void SftpDownload::copyLink(const std::string& path, const SftpEntry& entry, int folderFd)
{
    m_failures.attempt(
        [&] {
            const std::string target = m_session->readLink(path, &m_control);
            if (::symlinkat(target.c_str(), folderFd, entry.name.c_str()) != 0)
                throwSystemError(errno, entry.name);
        },
        path);
}

void SftpDownload::copyFile(const std::string& path, const SftpEntry& entry, int folderFd)
{
    bool replacing = false;
    const auto name = targetName(path, entry, folderFd, replacing);
    if (!name)
        return;
    m_control.beginItem(path, static_cast<std::int64_t>(entry.attributes.size));
    m_failures.attempt(
        [&] {
            const std::string temporary = FreeName::temporary(folderFd);
            const UniqueFd fd(::openat(folderFd, temporary.c_str(),
                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (!fd.valid())
                throwSystemError(errno, temporary);
            try {
                receiveInto(path, entry, fd.get());
                const int renamed = replacing
                    ? ::renameat(folderFd, temporary.c_str(), folderFd, name->c_str())
                    : PlatformCalls::renameExclusiveAt(folderFd, temporary.c_str(), folderFd, name->c_str());
                if (renamed != 0)
                    throwSystemError(errno, *name);
            } catch (...) {
                ::unlinkat(folderFd, temporary.c_str(), 0);
                throw;
            }
        },
        path);
}

void SftpDownload::receiveInto(const std::string& path, const SftpEntry& entry, int fd)
{
    SftpFileReader reader(m_session, path,
        entry.attributes.has(Sftp::hasSize) ? std::optional(entry.attributes.size) : std::nullopt, &m_control);
    for (auto piece = reader.next(); !piece.empty(); piece = reader.next()) {
        writeAll(fd, piece, path);
        m_control.addBytes(static_cast<std::int64_t>(piece.size()));
        m_control.throwIfCancelled();
    }
    keepFacts(fd, entry.attributes, path);
}

} // namespace kiv
