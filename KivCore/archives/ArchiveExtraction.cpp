#include "archives/ArchiveExtraction.h"

#include "archives/ArchiveMemberPath.h"
#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/PlatformCalls.h"
#include "base/UniqueFd.h"
#include "files/FreeName.h"
#include "files/ItemFacts.h"
#include "files/TransferSession.h"
#include "jobs/JobControl.h"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kiv {

namespace {

// Permissions and times as stored, never owners (that needs root); never through a link or along
// a path with "..": the archive decides what is made, never where.
constexpr int diskFlags = ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_PERM | ARCHIVE_EXTRACT_SECURE_SYMLINKS
    | ARCHIVE_EXTRACT_SECURE_NODOTDOT;

std::optional<struct stat> existing(int folderFd, const std::string& name, const std::string& path)
{
    struct stat info
    {
    };
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        return info;
    if (errno != ENOENT)
        throwSystemError(errno, path);
    return std::nullopt;
}

// Opens the folder `relative` (a safe member path) below `destination`, making what is missing
// (noted in `report` when there is one), never following a link: a member may not be written
// through a link an earlier member made.
UniqueFd openFolderBelow(const std::string& destination, std::string_view relative, TransferReport* report)
{
    UniqueFd folder(::open(destination.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        throwSystemError(errno, destination);
    std::string path = destination;
    while (!relative.empty()) {
        const auto step = std::string(relative.substr(0, relative.find('/')));
        relative.remove_prefix(std::min(step.size() + 1, relative.size()));
        path = PathString::appendingComponent(path, step);
        if (::mkdirat(folder.get(), step.c_str(), 0777) == 0) {
            if (report)
                report->addMade({}, path);
        } else if (errno != EEXIST) {
            throwSystemError(errno, path);
        }
        UniqueFd next(::openat(folder.get(), step.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.valid() && (errno == ELOOP || errno == ENOTDIR))
            throw KivError::operationFailed(path + ": not a folder; nothing is extracted through a link");
        if (!next.valid())
            throwSystemError(errno, path);
        folder = std::move(next);
    }
    return folder;
}

} // namespace

void ArchiveExtraction::Free::operator()(archive* writing) const
{
    archive_write_free(writing); // closes first: folders get their permissions and times last
}

ArchiveExtraction::ArchiveExtraction(const std::string& destination, TransferSession* session)
    : m_session(session)
    , m_writer(archive_write_disk_new())
{
    std::error_code error;
    std::filesystem::create_directories(destination, error);
    if (error)
        throwSystemError(error.value(), destination);
    // Resolved: the library refuses to write through any link on the way, the destination's own too.
    m_destination = ItemFacts::resolved(destination);
    if (!m_writer)
        throw std::bad_alloc();
    archive_write_disk_set_options(m_writer.get(), diskFlags);
}

ArchiveExtraction::~ArchiveExtraction() = default;

void ArchiveExtraction::extract(const std::string& archivePath, const Selection& selection)
{
    m_archivePath = archivePath;
    m_selection = selection;
    m_base = selection.member.substr(0, selection.member.rfind('/') + 1);
    bool found = false;
    std::string damage;
    ArchiveReader reader(archivePath, selection.member);
    while (archive_entry* entry = nextMember(reader, found)) {
        damage = reader.takeDamage();
        // A damaged header may have been any member's: of the whole archive, it is an item failed.
        if (!damage.empty() && selection.member.empty())
            attempt([&] { throw KivError::operationFailed(damage); }, archivePath);
        const std::string member = ArchiveReader::memberPath(entry);
        if (member.empty() || !isSelected(member))
            continue;
        found = true;
        extractMember(reader, entry, member);
    }
    if (!found && !selection.member.empty())
        throw KivError::operationFailed(
            selection.member + ": Not found in archive" + (damage.empty() ? "" : " (" + damage + ")"));
    supplyLinkData();
}

// Once the one file selected is out, damage that ends the reading ends it quietly: the file came
// before the damage, whole, so an archive cut short still gives what it holds intact.
archive_entry* ArchiveExtraction::nextMember(ArchiveReader& reader, bool found) const
{
    try {
        return reader.next();
    } catch (const KivError&) {
        if (!found || m_selection.member.empty() || m_selection.isFolder)
            throw;
        return nullptr;
    }
}

bool ArchiveExtraction::isSelected(const std::string& member) const
{
    const std::string& wanted = m_selection.member;
    if (wanted.empty())
        return true;
    if (!m_selection.isFolder)
        return member == wanted;
    return member.starts_with(wanted) && member.size() > wanted.size() && member[wanted.size()] == '/';
}

void ArchiveExtraction::extractMember(ArchiveReader& reader, archive_entry* entry, const std::string& member)
{
    std::string relative = member.substr(m_base.size());
    if (relative.ends_with('/'))
        relative.pop_back();
    const std::string target = PathString::appendingComponent(m_destination, relative);
    if (m_session) {
        m_session->control.throwIfCancelled();
        m_session->control.beginItem(target, archive_entry_size(entry));
    }
    if (archive_entry_is_encrypted(entry)) {
        attempt([&] { throw KivError::operationFailed(member + ": encrypted archives are not supported"); },
            target);
        return;
    }
    if (archive_entry_filetype(entry) == AE_IFDIR) {
        if (attempt([&] { makeFolder(entry, relative, target); }, target))
            countPlaced();
        return;
    }
    std::optional<Place> place;
    attempt([&] { place = placement(entry, member, relative, target); }, target);
    if (!place)
        return;
    if (const char* link = archive_entry_hardlink(entry)) {
        const std::string linked = ArchiveMemberPath::safe(link, false);
        if (!m_written.contains(linked)) {
            // Its data comes with a member not taken out: fetched once this pass is over, or the
            // whole extraction fails.
            m_pendingLinks.emplace(linked, std::move(*place));
            countPlaced();
            return;
        }
    }
    if (writeMember(reader, entry, member, *place)) {
        m_written[member] = place->path;
        countPlaced();
    }
}

void ArchiveExtraction::countPlaced() const
{
    if (m_session)
        ++m_session->done;
}

bool ArchiveExtraction::writeMember(
    ArchiveReader& reader, archive_entry* entry, const std::string& member, const Place& place)
{
    bool again = false;
    return attempt(
        [&] {
            if (!std::exchange(again, true)) {
                linkToWritten(entry);
                writeBeside(reader, entry, place);
                return;
            }
            // The first reader has gone past the member's data: a retry reads it anew.
            ArchiveReader fresh(m_archivePath, member);
            archive_entry* found = fresh.next();
            while (found && ArchiveReader::memberPath(found) != member)
                found = fresh.next();
            if (!found)
                throw KivError::operationFailed(member + ": Not found in archive");
            linkToWritten(found);
            writeBeside(fresh, found, place);
        },
        place.path);
}

void ArchiveExtraction::linkToWritten(archive_entry* entry) const
{
    if (const char* link = archive_entry_hardlink(entry))
        archive_entry_set_hardlink(entry, m_written.at(ArchiveMemberPath::safe(link, false)).c_str());
}

TransferReport* ArchiveExtraction::report() const
{
    return m_session ? &m_session->report : nullptr;
}

bool ArchiveExtraction::attempt(const std::function<void()>& step, const std::string& path)
{
    if (m_session)
        return m_session->failures.attempt(step, path);
    step();
    return true;
}

void ArchiveExtraction::makeFolder(
    archive_entry* entry, const std::string& relative, const std::string& target)
{
    const UniqueFd parent
        = openFolderBelow(m_destination, PathString::deletingLastComponent(relative), report());
    const auto info = existing(parent.get(), PathString::lastComponent(relative), target);
    if (info && S_ISDIR(info->st_mode))
        return; // merged into, left as the user has it
    if (info)
        throw KivError::alreadyExists(target);
    writeEntry(entry, target);
    if (archive_write_finish_entry(m_writer.get()) < ARCHIVE_WARN)
        failWriting(target);
    if (report())
        report()->addMade({}, target);
}

std::optional<ArchiveExtraction::Place> ArchiveExtraction::placement(
    archive_entry* entry, const std::string& member, const std::string& relative, const std::string& target)
{
    Place place { target, false };
    const UniqueFd parent
        = openFolderBelow(m_destination, PathString::deletingLastComponent(relative), report());
    const std::string name = PathString::lastComponent(relative);
    const auto info = existing(parent.get(), name, target);
    if (!info)
        return place;
    if (!m_session || S_ISDIR(info->st_mode))
        throw KivError::alreadyExists(target);
    JobItemFacts source { m_archivePath + "/" + member, archive_entry_size(entry), std::nullopt, false };
    if (archive_entry_mtime_is_set(entry))
        source.modified = std::chrono::system_clock::from_time_t(archive_entry_mtime(entry));
    switch (m_session->conflicts.resolve(source, ItemFacts::of(target, *info))) {
    case ConflictAnswers::Resolution::skip:
        ++m_session->skipped;
        return std::nullopt;
    case ConflictAnswers::Resolution::keepBoth:
        place.path = PathString::appendingComponent(
            PathString::deletingLastComponent(target), FreeName::numbered(parent.get(), name, false));
        return place;
    case ConflictAnswers::Resolution::overwrite:
        place.replace = true;
        return place;
    }
    return std::nullopt;
}

void ArchiveExtraction::writeBeside(ArchiveReader& reader, archive_entry* entry, const Place& place)
{
    const std::string folder = PathString::deletingLastComponent(place.path);
    const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd.valid())
        throwSystemError(errno, folder);
    const std::string temporary = PathString::appendingComponent(folder, FreeName::temporary(folderFd.get()));
    try {
        writeEntry(entry, temporary);
        copyData(reader, temporary);
        if (archive_write_finish_entry(m_writer.get()) < ARCHIVE_WARN)
            failWriting(temporary);
        put(temporary, place);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
}

void ArchiveExtraction::put(const std::string& temporary, const Place& place)
{
    const int status = place.replace ? ::rename(temporary.c_str(), place.path.c_str())
                                     : PlatformCalls::renameExclusive(temporary.c_str(), place.path.c_str());
    if (status == 0 && !place.replace && report())
        report()->addMade({}, place.path);
    if (status == 0)
        return;
    if (errno == EEXIST)
        throw KivError::alreadyExists(place.path);
    throwSystemError(errno, place.path);
}

void ArchiveExtraction::writeEntry(archive_entry* entry, const std::string& path)
{
    archive_entry_set_pathname(entry, path.c_str());
    if (archive_write_header(m_writer.get(), entry) < ARCHIVE_WARN)
        failWriting(path);
}

void ArchiveExtraction::copyData(ArchiveReader& reader, const std::string& path)
{
    const void* block = nullptr;
    std::size_t size = 0;
    std::int64_t offset = 0;
    while (reader.nextBlock(block, size, offset)) {
        if (archive_write_data_block(m_writer.get(), block, size, offset) < ARCHIVE_WARN)
            failWriting(path);
        if (m_session) {
            m_session->control.throwIfCancelled();
            m_session->control.addBytes(static_cast<std::int64_t>(size));
        }
    }
}

void ArchiveExtraction::supplyLinkData()
{
    if (m_pendingLinks.empty())
        return;
    ArchiveReader reader(m_archivePath);
    while (archive_entry* entry = reader.next()) {
        const auto [first, last] = m_pendingLinks.equal_range(ArchiveReader::memberPath(entry));
        if (first == last || archive_entry_hardlink(entry))
            continue;
        // The first link gets the data, the others are linked to it.
        writeBeside(reader, entry, first->second);
        for (auto link = std::next(first); link != last; ++link) {
            if (::link(first->second.path.c_str(), link->second.path.c_str()) != 0)
                throwSystemError(errno, link->second.path);
        }
        m_pendingLinks.erase(first, last);
    }
    if (!m_pendingLinks.empty())
        throw KivError::operationFailed(
            m_pendingLinks.begin()->second.path + ": its linked member is not in the archive");
}

void ArchiveExtraction::failWriting(const std::string& path) const
{
    const char* reason = archive_error_string(m_writer.get());
    throw KivError::operationFailed(path + ": " + (reason ? reason : "cannot be written"));
}

} // namespace kiv
