#pragma once

#include "base/FileEntry.h"
#include "doors/Door.h"

#include <memory>
#include <string>
#include <vector>

namespace kiv {

class JobControl;

// The local disk as a door: lists its folders into panel rows straight from the folder's
// descriptor, tells the facts of an item, reads and writes files (LocalReadStream,
// LocalWriteStream), makes, renames and removes items. Stateless; every instance opens the same
// disk. The copy, move and delete jobs take their own fast way over it when both sides are here.
class FileSystemService : public Door
{
public:
    // The one door to the local disk the program shares.
    static const std::shared_ptr<const FileSystemService>& shared();

    // The user's home folder: $HOME, else the password database's entry.
    static std::string homeDirectoryPath();

    Kind kind() const override;
    bool isSamePlace(const Door& other) const override;
    std::string displayPath(const std::string& folder) const override;
    const DoorItem* container() const override;
    std::optional<std::string> localPath(const std::string& path) const override;
    // Reads the folder with one fstatat() per name, by several threads at once for a big folder;
    // a name gone since it was read is left out.
    std::vector<FileEntry> list(const std::string& folder, HiddenFiles hiddenFiles, ListingOrder order,
        JobControl* control) const override;
    std::optional<ItemInfo> info(const std::string& path, Link link) const override;
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
};

} // namespace kiv
