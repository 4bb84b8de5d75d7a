#include "remote/SftpUpload.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/Uuid.h"
#include "doors/Door.h"
#include "doors/ReadStream.h"
#include "files/FreeName.h"
#include "files/TransferReport.h"
#include "jobs/JobControl.h"
#include "remote/SftpFileWriter.h"
#include "remote/SftpSession.h"

#include <cerrno>
#include <filesystem>
#include <vector>

namespace kiv {

namespace {

// A folder whose bits the source does not keep (an archive's) opens as a new folder would.
constexpr std::uint32_t plainFolderBits = 0755;

JobItemFacts sourceFacts(const std::string& shown, const ItemInfo& info)
{
    std::optional<std::chrono::system_clock::time_point> modified;
    if (info.modified)
        modified = std::chrono::time_point_cast<std::chrono::system_clock::duration>(*info.modified);
    return { shown, info.size, modified, info.type == ItemInfo::Type::folder };
}

JobItemFacts remoteItemFacts(const std::string& path, const SftpAttributes& attributes)
{
    return { path, static_cast<std::int64_t>(attributes.size),
        std::chrono::system_clock::from_time_t(attributes.modificationTime), attributes.isFolder() };
}

} // namespace

SftpUpload::SftpUpload(std::shared_ptr<const Door> from, std::shared_ptr<SftpSession> session,
    JobControl& control, TransferReport& report)
    : m_from(std::move(from))
    , m_session(std::move(session))
    , m_control(control)
    , m_conflicts(control)
    , m_failures(control)
    , m_report(report)
{
}

void SftpUpload::count(const std::string& path)
{
    const ItemInfo info = facts(path);
    m_control.addToTotals(1, info.type == ItemInfo::Type::file ? info.size : 0);
    if (info.type == ItemInfo::Type::folder)
        countFolder(path);
}

// The rows of a listing say enough to count by: no second look at each item.
void SftpUpload::countFolder(const std::string& path)
{
    for (const FileEntry& row :
        m_from->list(path, Door::HiddenFiles::show, Door::ListingOrder::asListed, &m_control)) {
        if (row.kind == FileEntry::Kind::parentDirectory)
            continue;
        const bool isFile = row.kind == FileEntry::Kind::regularFile || row.kind == FileEntry::Kind::archive;
        m_control.addToTotals(1, isFile ? row.size : 0);
        if (row.kind == FileEntry::Kind::directory)
            countFolder(row.id);
    }
}

void SftpUpload::copy(const std::string& path, const std::string& remoteFolder)
{
    copyEntry(path, PathString::appendingComponent(remoteFolder, PathString::lastComponent(path)));
}

void SftpUpload::copyEntry(const std::string& path, const std::string& remotePath)
{
    m_control.throwIfCancelled();
    ItemInfo info;
    if (!m_failures.attempt([&] { info = facts(path); }, shown(path)))
        return;
    switch (info.type) {
    case ItemInfo::Type::folder:
        copyFolder(path, remotePath, info);
        break;
    case ItemInfo::Type::file:
        copyFile(path, remotePath, info);
        break;
    case ItemInfo::Type::link:
        if (m_failures.attempt(
                [&] { m_session->makeLink(info.linkTarget, remotePath, &m_control); }, shown(path)))
            m_report.addMade(shown(path), remotePath);
        break;
    case ItemInfo::Type::other:
        m_failures.attempt(
            [&] { throw KivError::operationFailed("Not a file, folder or link: " + shown(path)); },
            shown(path));
        break;
    }
    m_control.finishItems(1, 0);
}

void SftpUpload::copyFolder(const std::string& path, const std::string& remotePath, const ItemInfo& info)
{
    const bool made = m_failures.attempt(
        [&] {
            try {
                m_session->makeFolder(remotePath, 0700, &m_control);
                m_report.addMade(shown(path), remotePath);
            } catch (const std::exception&) {
                // An existing folder takes the items in; anything else there is the failure.
                if (!m_session->lstat(remotePath, &m_control).isFolder())
                    throw;
            }
        },
        shown(path));
    std::vector<FileEntry> rows;
    const auto list
        = [&] { rows = m_from->list(path, Door::HiddenFiles::show, Door::ListingOrder::asListed, nullptr); };
    if (!made || !m_failures.attempt(list, shown(path)))
        return;
    for (const FileEntry& row : rows)
        if (row.kind != FileEntry::Kind::parentDirectory)
            copyEntry(row.id, PathString::appendingComponent(remotePath, row.name));
    m_failures.attempt(
        [&] {
            m_session->setPermissions(remotePath, info.permissions.value_or(plainFolderBits), &m_control);
        },
        shown(path));
}

void SftpUpload::copyFile(const std::string& path, const std::string& remotePath, const ItemInfo& info)
{
    bool replacing = false;
    const std::optional<std::string> target = targetFor(path, remotePath, info, replacing);
    if (!target)
        return;
    m_control.beginItem(shown(path), info.size);
    const bool copied = m_failures.attempt(
        [&] {
            const std::string temporary = temporaryBeside(*target);
            sendFile(path, temporary, info.permissions);
            try {
                m_session->rename(temporary, *target,
                    replacing ? SftpSession::Replace::allowed : SftpSession::Replace::never, &m_control);
            } catch (...) {
                if (!m_session->isLost())
                    m_session->removeFile(temporary, nullptr);
                throw;
            }
        },
        shown(path));
    if (copied && !replacing)
        m_report.addMade(shown(path), *target);
}

std::optional<std::string> SftpUpload::targetFor(
    const std::string& path, const std::string& remotePath, const ItemInfo& info, bool& replacing)
{
    SftpAttributes existing;
    try {
        existing = m_session->lstat(remotePath, &m_control);
    } catch (const std::filesystem::filesystem_error&) {
        return remotePath; // nothing there yet
    }
    // The server's file is named by its address: its path alone reads as one of this machine.
    const JobItemFacts there = remoteItemFacts(m_session->placeOf(remotePath).url(), existing);
    switch (m_conflicts.resolve(sourceFacts(shown(path), info), there)) {
    case ConflictAnswers::Resolution::skip:
        return std::nullopt;
    case ConflictAnswers::Resolution::keepBoth: {
        const std::string folder = PathString::parentOrRoot(remotePath);
        return PathString::appendingComponent(folder,
            FreeName::numbered(PathString::lastComponent(remotePath), false, [&](const std::string& name) {
                return exists(PathString::appendingComponent(folder, name));
            }));
    }
    case ConflictAnswers::Resolution::overwrite:
        replacing = true;
        break;
    }
    return remotePath;
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

void SftpUpload::sendFile(
    const std::string& path, const std::string& temporary, std::optional<std::uint32_t> mode)
{
    const std::unique_ptr<ReadStream> stream = m_from->read(path);
    SftpFileWriter writer(m_session, temporary, mode, &m_control);
    std::vector<char> buffer(256 * 1024);
    while (const std::size_t got = stream->read(buffer)) {
        writer.write(std::string_view(buffer.data(), got));
        m_control.addBytes(static_cast<std::int64_t>(got));
        m_control.throwIfCancelled();
    }
    writer.finish();
}

ItemInfo SftpUpload::facts(const std::string& path) const
{
    if (std::optional<ItemInfo> info = m_from->info(path, Door::Link::itself))
        return *info;
    throwSystemError(ENOENT, shown(path));
}

std::string SftpUpload::shown(const std::string& path) const
{
    return m_from->displayPath(path);
}

} // namespace kiv
