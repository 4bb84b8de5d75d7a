#include "archives/ArchiveDoor.h"

#include "archives/ArchiveMemberStream.h"
#include "archives/ArchiveService.h"
#include "archives/ArchiveTree.h"
#include "base/KivError.h"

namespace kiv {

ArchiveDoor::ArchiveDoor(std::shared_ptr<const Door> host, std::string archivePath)
    : m_file { std::move(host), std::move(archivePath) }
{
}

ArchiveDoor::~ArchiveDoor() = default;

Door::Kind ArchiveDoor::kind() const
{
    return Kind::archive;
}

bool ArchiveDoor::isSamePlace(const Door& other) const
{
    const DoorItem* file = other.container();
    return other.kind() == Kind::archive && file && file->path == m_file.path
        && file->door->isSamePlace(*m_file.door);
}

std::string ArchiveDoor::displayPath(const std::string& folder) const
{
    return m_file.door->displayPath(m_file.path) + " :: /" + folder;
}

const DoorItem* ArchiveDoor::container() const
{
    return &m_file;
}

std::optional<std::string> ArchiveDoor::localPath(const std::string&) const
{
    return std::nullopt;
}

std::vector<FileEntry> ArchiveDoor::list(const std::string& folder, HiddenFiles, ListingOrder, JobControl* control) const
{
    // A folder named without its "/" is the same folder, as info() takes it.
    const bool bare = !folder.empty() && !folder.ends_with('/');
    return tree(control)->children(bare ? folder + "/" : folder, ArchiveTree::ParentRow::include);
}

std::optional<ItemInfo> ArchiveDoor::info(const std::string& path, Link) const
{
    if (path.empty())
        return ItemInfo { ItemInfo::Type::folder, 0, std::nullopt, std::nullopt, {} };
    std::optional<FileEntry> row = tree(nullptr)->find(path);
    if (!row && !path.ends_with('/'))
        row = tree(nullptr)->find(path + "/"); // a folder named without its "/"
    if (!row)
        return std::nullopt;
    if (row->kind == FileEntry::Kind::symlink)
        return ItemInfo { ItemInfo::Type::link, 0, row->modificationDate, std::nullopt,
            tree(nullptr)->linkTarget(path) };
    const bool isFolder = row->kind == FileEntry::Kind::directory;
    return ItemInfo { isFolder ? ItemInfo::Type::folder : ItemInfo::Type::file, isFolder ? 0 : row->size,
        row->modificationDate, std::nullopt, {} };
}

std::unique_ptr<ReadStream> ArchiveDoor::read(const std::string& path) const
{
    return std::make_unique<ArchiveMemberStream>(fileOnDisk(), path);
}

std::unique_ptr<WriteStream> ArchiveDoor::write(const std::string&, std::optional<std::uint32_t>, Link) const
{
    refuseChange();
}

void ArchiveDoor::makeFolder(const std::string&) const
{
    refuseChange();
}

void ArchiveDoor::makeLink(const std::string&, const std::string&) const
{
    refuseChange();
}

void ArchiveDoor::keepAttributes(const std::string&, const ItemInfo&) const
{
    refuseChange();
}

void ArchiveDoor::rename(const std::string&, const std::string&) const
{
    refuseChange();
}

void ArchiveDoor::remove(const std::string&) const
{
    refuseChange();
}

void ArchiveDoor::removeTree(const std::string&, ItemFailures&, JobControl&) const
{
    refuseChange();
}

bool ArchiveDoor::sharesFileSystem(const std::string&, const Door&, const std::string&) const
{
    return false;
}

std::string ArchiveDoor::fileOnDisk() const
{
    if (std::optional<std::string> path = m_file.door->localPath(m_file.path))
        return *path;
    throw KivError::operationFailed(
        "An archive on " + m_file.door->displayPath(m_file.path) + " cannot be opened like a folder.");
}

// The archive is read under the lock, so two listings at once read it once; a listing that is
// cancelled leaves nothing kept, and the next one reads it again.
std::shared_ptr<const ArchiveTree> ArchiveDoor::tree(JobControl* control) const
{
    std::lock_guard lock(m_mutex);
    if (!m_tree) {
        std::string damage;
        m_tree = std::make_shared<const ArchiveTree>(
            ArchiveService().listRawEntries(fileOnDisk(), control, &damage));
        std::lock_guard damageLock(m_damageMutex);
        m_damage = std::move(damage);
    }
    return m_tree;
}

std::string ArchiveDoor::damage() const
{
    std::lock_guard lock(m_damageMutex);
    return m_damage;
}

void ArchiveDoor::refuseChange() const
{
    throw KivError::operationFailed(
        "The inside of " + m_file.path + " can only be read: nothing in an archive is changed in place.");
}

} // namespace kiv
