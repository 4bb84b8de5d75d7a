#include "remote/SftpUpload.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/UniqueFd.h"
#include "base/Uuid.h"
#include "files/FreeName.h"
#include "jobs/JobControl.h"
#include "remote/SftpFileWriter.h"
#include "remote/SftpSession.h"

#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kiv {

namespace {

struct stat localFacts(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        throwSystemError(errno, path);
    return info;
}

std::vector<std::string> localNames(const std::string& folder)
{
    DIR* stream = ::opendir(folder.c_str());
    if (!stream)
        throwSystemError(errno, folder);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(stream);
    return names;
}

JobItemFacts localItemFacts(const std::string& path, const struct stat& info)
{
    return { path, info.st_size, std::chrono::system_clock::from_time_t(info.st_mtime), S_ISDIR(info.st_mode) };
}

JobItemFacts remoteItemFacts(const std::string& path, const SftpAttributes& attributes)
{
    return { path, static_cast<std::int64_t>(attributes.size),
        std::chrono::system_clock::from_time_t(attributes.modificationTime), attributes.isFolder() };
}

} // namespace

SftpUpload::SftpUpload(std::shared_ptr<SftpSession> session, JobControl& control)
    : m_session(std::move(session))
    , m_control(control)
    , m_conflicts(control)
    , m_failures(control)
{
}

void SftpUpload::count(const std::string& localPath)
{
    const struct stat info = localFacts(localPath);
    m_control.addToTotals(1, S_ISREG(info.st_mode) ? info.st_size : 0);
    if (S_ISDIR(info.st_mode))
        for (const std::string& name : localNames(localPath))
            count(PathString::appendingComponent(localPath, name));
}

void SftpUpload::copy(const std::string& localPath, const std::string& remoteFolder)
{
    copyEntry(localPath, PathString::appendingComponent(remoteFolder, PathString::lastComponent(localPath)));
}

void SftpUpload::copyEntry(const std::string& localPath, const std::string& remotePath)
{
    m_control.throwIfCancelled();
    struct stat info {};
    if (!m_failures.attempt([&] { info = localFacts(localPath); }, localPath))
        return;
    if (S_ISDIR(info.st_mode))
        copyFolder(localPath, remotePath, info);
    else if (S_ISREG(info.st_mode))
        copyFile(localPath, remotePath, info);
    else if (S_ISLNK(info.st_mode))
        m_failures.attempt(
            [&] {
                std::string target(static_cast<std::size_t>(info.st_size) + 1, '\0');
                const ssize_t length = ::readlink(localPath.c_str(), target.data(), target.size());
                if (length < 0)
                    throwSystemError(errno, localPath);
                target.resize(static_cast<std::size_t>(length));
                m_session->makeLink(target, remotePath, &m_control);
            },
            localPath);
    else
        m_failures.attempt([&] { throw KivError::operationFailed("Not a file, folder or link: " + localPath); },
            localPath);
    m_control.finishItems(1, 0);
}

void SftpUpload::copyFolder(const std::string& localPath, const std::string& remotePath, const struct stat& info)
{
    const bool made = m_failures.attempt(
        [&] {
            try {
                m_session->makeFolder(remotePath, 0700, &m_control);
            } catch (const std::exception&) {
                // An existing folder takes the items in; anything else there is the failure.
                if (!m_session->lstat(remotePath, &m_control).isFolder())
                    throw;
            }
        },
        localPath);
    std::vector<std::string> names;
    if (!made || !m_failures.attempt([&] { names = localNames(localPath); }, localPath))
        return;
    for (const std::string& name : names)
        copyEntry(PathString::appendingComponent(localPath, name), PathString::appendingComponent(remotePath, name));
    m_failures.attempt([&] { m_session->setPermissions(remotePath, info.st_mode, &m_control); }, localPath);
}

void SftpUpload::copyFile(const std::string& localPath, const std::string& remotePath, const struct stat& info)
{
    std::string target = remotePath;
    bool replacing = false;
    try {
        const SftpAttributes existing = m_session->lstat(remotePath, &m_control);
        switch (m_conflicts.resolve(localItemFacts(localPath, info), remoteItemFacts(remotePath, existing))) {
        case ConflictAnswers::Resolution::skip:
            return;
        case ConflictAnswers::Resolution::keepBoth:
            target = PathString::appendingComponent(PathString::parentOrRoot(remotePath),
                FreeName::numbered(PathString::lastComponent(remotePath), false, [&](const std::string& name) {
                    return exists(PathString::appendingComponent(PathString::parentOrRoot(remotePath), name));
                }));
            break;
        case ConflictAnswers::Resolution::overwrite:
            replacing = true;
            break;
        }
    } catch (const std::filesystem::filesystem_error&) {
        // Nothing there yet.
    }
    m_control.beginItem(localPath, info.st_size);
    m_failures.attempt(
        [&] {
            const std::string temporary = temporaryBeside(target);
            sendFile(localPath, temporary, info.st_mode);
            try {
                m_session->rename(temporary, target,
                    replacing ? SftpSession::Replace::allowed : SftpSession::Replace::never, &m_control);
            } catch (...) {
                if (!m_session->isLost())
                    m_session->removeFile(temporary, nullptr);
                throw;
            }
        },
        localPath);
}

void SftpUpload::replaceFile(const std::string& localPath, const std::string& remotePath, std::uint32_t mode)
{
    const std::string temporary = temporaryBeside(remotePath);
    sendFile(localPath, temporary, mode);
    try {
        m_session->rename(temporary, remotePath, SftpSession::Replace::allowed, &m_control);
    } catch (...) {
        if (!m_session->isLost())
            m_session->removeFile(temporary, nullptr);
        throw;
    }
}

bool SftpUpload::exists(const std::string& remotePath)
{
    try {
        m_session->lstat(remotePath, &m_control);
        return true;
    } catch (const std::filesystem::filesystem_error&) {
        return false;
    }
}

std::string SftpUpload::temporaryBeside(const std::string& remotePath) const
{
    return PathString::appendingComponent(PathString::parentOrRoot(remotePath), ".tavrin-" + Uuid::randomString().substr(0, 13));
}

void SftpUpload::sendFile(const std::string& localPath, const std::string& temporary, std::uint32_t mode)
{
    const UniqueFd fd(::open(localPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid())
        throwSystemError(errno, localPath);
    SftpFileWriter writer(m_session, temporary, mode & 07777, &m_control);
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throwSystemError(errno, localPath);
        if (got == 0)
            break;
        writer.write(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        m_control.addBytes(got);
        m_control.throwIfCancelled();
    }
    writer.finish();
}

} // namespace kiv
