#include "files/DoorCopy.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "doors/Door.h"
#include "doors/DoorWalk.h"
#include "doors/ReadStream.h"
#include "doors/WriteStream.h"
#include "files/FreeName.h"
#include "files/TransferReport.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

#include <cerrno>

namespace kiv {

namespace {

// A folder whose bits the source does not keep (an archive's may not) opens as a new folder would.
constexpr std::uint32_t plainFolderBits = 0755;
// What a folder being filled is open to: its owner alone, until it has its own bits at the end.
constexpr std::uint32_t privateFolderBits = 0700;
constexpr std::size_t blockBytes = 256 * 1024;

JobItemFacts factsFor(const std::string& shown, const ItemInfo& info)
{
    std::optional<std::chrono::system_clock::time_point> modified;
    if (info.modified)
        modified = std::chrono::time_point_cast<std::chrono::system_clock::duration>(*info.modified);
    return { shown, info.size, modified, info.type == ItemInfo::Type::folder };
}

} // namespace

DoorCopy::DoorCopy(std::shared_ptr<const Door> from, std::shared_ptr<const Door> to, JobControl& control,
    TransferReport& report)
    : m_from(std::move(from))
    , m_to(std::move(to))
    , m_control(control)
    , m_conflicts(control)
    , m_failures(control)
    , m_report(report)
{
}

void DoorCopy::count(const std::string& path)
{
    const ItemInfo info = facts(path);
    m_control.addToTotals(1, info.type == ItemInfo::Type::file ? info.size : 0);
    if (info.type != ItemInfo::Type::folder)
        return;
    // The rows of a listing say enough to count by: no second look at each item. A folder that
    // cannot be listed now is asked about when the copy reaches it.
    const auto countRow = [this](const std::string& folder, const FileEntry& row) {
        m_listings[folder].push_back(row);
        const bool isFile = row.kind == FileEntry::Kind::regularFile || row.kind == FileEntry::Kind::archive;
        m_control.addToTotals(1, isFile ? row.size : 0);
    };
    DoorWalk(*m_from, countRow, [](const std::string&, const std::string&) {}, &m_control).walk(path);
}

std::vector<FileEntry> DoorCopy::rowsOf(const std::string& folder)
{
    const auto kept = m_listings.find(folder);
    if (kept == m_listings.end())
        return m_from->list(folder, Door::HiddenFiles::show, Door::ListingOrder::asListed, &m_control);
    std::vector<FileEntry> rows = std::move(kept->second);
    m_listings.erase(kept);
    return rows;
}

void DoorCopy::copy(const std::string& path, const std::string& targetFolder)
{
    copyEntry(path, PathString::appendingComponent(targetFolder, PathString::lastComponent(path)));
}

void DoorCopy::copyEntry(const std::string& path, const std::string& targetPath)
{
    m_control.throwIfCancelled();
    ItemInfo info;
    if (!m_failures.attempt([&] { info = facts(path); }, shown(path)))
        return;
    switch (info.type) {
    case ItemInfo::Type::folder:
        copyFolder(path, targetPath, info);
        break;
    case ItemInfo::Type::file:
        copyFile(path, targetPath, info);
        break;
    case ItemInfo::Type::link:
        copyLink(path, targetPath, info);
        break;
    case ItemInfo::Type::other:
        m_failures.attempt(
            [&] { throw KivError::operationFailed("Not a file, folder or link: " + shown(path)); }, shown(path));
        break;
    }
    m_control.finishItems(1, 0);
}

void DoorCopy::copyFolder(const std::string& path, const std::string& targetPath, const ItemInfo& info)
{
    bool made = false;
    std::vector<FileEntry> rows;
    if (!enter(path, targetPath, made) || !m_failures.attempt([&] { rows = rowsOf(path); }, shown(path)))
        return;
    // A folder that was there keeps its own bits and time; a new one takes the source's, once its
    // items are in (they would change its time).
    ItemInfo like = info;
    like.permissions = info.permissions.value_or(plainFolderBits);
    try {
        for (const FileEntry& row : rows)
            if (row.kind != FileEntry::Kind::parentDirectory)
                copyEntry(row.id, PathString::appendingComponent(targetPath, row.name));
    } catch (const JobCancelled&) {
        // Cancelled inside, the folder is left with its own bits, not the owner-only ones it was
        // filled with; as far as the place still answers, for nothing more can be asked now.
        if (made) {
            try {
                m_to->keepAttributes(targetPath, like);
            } catch (const std::exception&) {
            }
        }
        throw;
    }
    if (made)
        m_failures.attempt([&] { m_to->keepAttributes(targetPath, like); }, shown(path));
}

bool DoorCopy::enter(const std::string& path, const std::string& targetPath, bool& made)
{
    return m_failures.attempt(
        [&] {
            try {
                m_to->makeFolder(targetPath);
            } catch (const KivError& error) {
                // A folder there (not a link to one) takes the items in; anything else is the failure.
                const auto there = m_to->info(targetPath, Door::Link::itself);
                if (error.errorCase() != KivError::Case::alreadyExists || !there
                    || there->type != ItemInfo::Type::folder)
                    throw;
                return;
            }
            made = true;
            m_report.addMade(shown(path), targetPath);
            ItemInfo closed;
            closed.type = ItemInfo::Type::folder;
            closed.permissions = privateFolderBits;
            m_to->keepAttributes(targetPath, closed);
        },
        shown(path));
}

void DoorCopy::copyLink(const std::string& path, const std::string& targetPath, const ItemInfo& info)
{
    if (m_failures.attempt([&] { m_to->makeLink(info.linkTarget, targetPath); }, shown(path)))
        m_report.addMade(shown(path), targetPath);
}

void DoorCopy::copyFile(const std::string& path, const std::string& targetPath, const ItemInfo& info)
{
    bool replacing = false;
    std::optional<std::string> target;
    // Looking at the target may fail too (a folder that may not be read): the item's failure.
    if (!m_failures.attempt([&] { target = targetFor(path, targetPath, info, replacing); }, shown(path)) || !target)
        return;
    m_control.beginItem(shown(path), info.size);
    if (!m_failures.attempt([&] { sendFile(path, *target, info, replacing); }, shown(path)))
        return;
    if (!replacing)
        m_report.addMade(shown(path), *target);
    // Apart from the copy: asked again, the copy itself would find its own name taken.
    m_failures.attempt([&] { m_to->keepAttributes(*target, info); }, shown(path));
}

std::optional<std::string> DoorCopy::targetFor(
    const std::string& path, const std::string& targetPath, const ItemInfo& info, bool& replacing)
{
    const std::optional<ItemInfo> there = m_to->info(targetPath, Door::Link::itself);
    if (!there)
        return targetPath;
    switch (m_conflicts.resolve(factsFor(shown(path), info), factsFor(m_to->displayPath(targetPath), *there))) {
    case ConflictAnswers::Resolution::skip:
        return std::nullopt;
    case ConflictAnswers::Resolution::keepBoth: {
        const std::string folder = PathString::parentOrRoot(targetPath);
        return PathString::appendingComponent(folder,
            FreeName::numbered(PathString::lastComponent(targetPath), false, [&](const std::string& name) {
                return m_to->info(PathString::appendingComponent(folder, name), Door::Link::itself).has_value();
            }));
    }
    case ConflictAnswers::Resolution::overwrite:
        replacing = true;
        break;
    }
    return targetPath;
}

void DoorCopy::sendFile(const std::string& path, const std::string& target, const ItemInfo& info, bool replacing)
{
    const std::unique_ptr<ReadStream> source = m_from->read(path);
    const std::unique_ptr<WriteStream> copy = m_to->write(target, info.permissions, Door::Link::itself);
    std::vector<char> buffer(blockBytes);
    while (const std::size_t got = source->read(buffer)) {
        copy->write(std::string_view(buffer.data(), got));
        m_control.addBytes(static_cast<std::int64_t>(got));
        m_control.throwIfCancelled();
    }
    copy->commit(replacing ? WriteStream::Replace::file : WriteStream::Replace::never);
}

ItemInfo DoorCopy::facts(const std::string& path) const
{
    if (std::optional<ItemInfo> info = m_from->info(path, Door::Link::itself))
        return *info;
    throwSystemError(ENOENT, shown(path));
}

std::string DoorCopy::shown(const std::string& path) const
{
    return m_from->displayPath(path);
}

} // namespace kiv
