#pragma once

#include "doors/Door.h"
#include "doors/DoorItem.h"

#include <memory>
#include <string>
#include <vector>

namespace kiv {

// The items a search found below one folder, shown as one list in place of that folder. Listing
// the folder searched gives a row for each item still there, named by its path from that folder;
// every other path is the host door's own, so what is done to a found item is done to it there.
class FoundItemsDoor : public Door
{
public:
    // The items at `names` (paths relative to the folder `root` of `host`, without "." or "..").
    FoundItemsDoor(std::shared_ptr<const Door> host, std::string root, std::vector<std::string> names);

    // Returns the folder searched.
    const std::string& root() const { return m_root.path; }
    // Returns the names of the items found, as given.
    const std::vector<std::string>& names() const { return m_names; }

    Kind kind() const override;
    bool isSamePlace(const Door& other) const override;
    std::string displayPath(const std::string& folder) const override;
    const DoorItem* container() const override;
    std::optional<std::string> localPath(const std::string& path) const override;
    // Listing the folder searched gives a ".." row whose id is that folder, then a row for each
    // item found that is still there, links not followed, in the order given; any other folder is
    // listed by the host.
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

private:
    const Door& host() const { return *m_root.door; }

    DoorItem m_root; // the folder searched, on the host door
    std::vector<std::string> m_names;
};

} // namespace kiv
