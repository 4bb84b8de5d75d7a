#pragma once

#include "doors/Door.h"
#include "doors/DoorItem.h"

#include <memory>
#include <mutex>
#include <string>

namespace kiv {

class ArchiveTree;

// The inside of one archive file as a door, for reading: its members listed as folders and files
// (the archive is read once, on the first listing, and its folder tree kept for every later one)
// and each file member read as a stream straight out of the archive. Changing anything inside is
// refused with KivError::operationFailed. Paths are member paths: "" for the root, "docs/" for a
// folder, "docs/a.txt" for a file.
class ArchiveDoor : public Door
{
public:
    // The inside of the archive file at `archivePath` on `host`, which must be able to name the
    // file on the local disk (Door::localPath) for it to be read.
    ArchiveDoor(std::shared_ptr<const Door> host, std::string archivePath);
    ~ArchiveDoor() override;

    // Returns the archive file's path on its host door.
    const std::string& archivePath() const { return m_file.path; }
    // Returns where the archive broke, once a listing found it damaged part way and listed what
    // came before (ArchiveService::listRawEntries); "" when nothing did or nothing is read yet.
    std::string damage() const;

    Kind kind() const override;
    bool isSamePlace(const Door& other) const override;
    std::string displayPath(const std::string& folder) const override;
    const DoorItem* container() const override;
    std::optional<std::string> localPath(const std::string& path) const override;
    // Lists the folder `folder` of the archive with a ".." row first (at the root too, leading out
    // of it); names that begin with "." always show and the order is the file-name order. An
    // archive damaged after its first member lists what came before (damage() says where it broke).
    // Throws the platform error when the file cannot be opened and KivError::operationFailed naming
    // the archive when it is damaged from the start or no format reads it.
    std::vector<FileEntry> list(const std::string& folder, HiddenFiles hiddenFiles, ListingOrder order,
        JobControl* control) const override;
    std::optional<ItemInfo> info(const std::string& path, Link link) const override;
    // Opens the file member `path`; throws KivError::operationFailed when it is missing, a folder
    // or encrypted.
    std::unique_ptr<ReadStream> read(const std::string& path) const override;
    std::unique_ptr<WriteStream> write(
        const std::string& path, std::optional<std::uint32_t> permissions, Link link) const override;
    void makeFolder(const std::string& path) const override;
    void makeLink(const std::string& target, const std::string& path) const override;
    void keepAttributes(const std::string& path, const ItemInfo& like) const override;
    void rename(const std::string& from, const std::string& to) const override;
    void remove(const std::string& path) const override;
    void removeTree(const std::string& path, ItemFailures& failures, JobControl& control) const override;
    bool sharesFileSystem(const std::string& path, const Door& other, const std::string& otherPath) const override;

private:
    std::string fileOnDisk() const;
    std::shared_ptr<const ArchiveTree> tree(JobControl* control) const;
    [[noreturn]] void refuseChange() const;

    DoorItem m_file;
    mutable std::mutex m_mutex;
    mutable std::shared_ptr<const ArchiveTree> m_tree; // read once, under the mutex
    mutable std::mutex m_damageMutex; // its own, so that asking never waits for a read
    mutable std::string m_damage; // found as m_tree was read, under m_damageMutex
};

} // namespace kiv
