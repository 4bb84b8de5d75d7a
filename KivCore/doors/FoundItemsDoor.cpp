#include "doors/FoundItemsDoor.h"

#include "base/PathString.h"
#include "doors/ReadStream.h"
#include "doors/WriteStream.h"
#include "jobs/ItemCounter.h"

namespace kiv {

FoundItemsDoor::FoundItemsDoor(std::shared_ptr<const Door> host, std::string root, std::vector<std::string> names)
    : m_root { std::move(host), std::move(root) }
    , m_names(std::move(names))
{
}

Door::Kind FoundItemsDoor::kind() const
{
    return Kind::foundItems;
}

bool FoundItemsDoor::isSamePlace(const Door& other) const
{
    const auto* found = dynamic_cast<const FoundItemsDoor*>(&other);
    return found && found->root() == root() && found->m_names == m_names && found->host().isSamePlace(host());
}

std::string FoundItemsDoor::displayPath(const std::string& folder) const
{
    return folder == root() ? "Found in " + root() : host().displayPath(folder);
}

const DoorItem* FoundItemsDoor::container() const
{
    return &m_root;
}

std::optional<std::string> FoundItemsDoor::localPath(const std::string& path) const
{
    return host().localPath(path);
}

std::vector<FileEntry> FoundItemsDoor::list(
    const std::string& folder, HiddenFiles hiddenFiles, ListingOrder order, JobControl* control) const
{
    if (folder != root())
        return host().list(folder, hiddenFiles, order, control);
    std::vector<FileEntry> rows;
    rows.reserve(m_names.size() + 1);
    FileEntry parent;
    parent.id = root();
    parent.name = "..";
    parent.kind = FileEntry::Kind::parentDirectory;
    rows.push_back(std::move(parent));
    ItemCounter counter(control);
    const std::string prefix = PathString::appendingComponent(root(), "");
    for (const std::string& name : m_names) {
        counter.count();
        if (auto found = host().info(prefix + name, Link::itself)) // else gone since it was found
            rows.push_back(found->row(prefix + name, name));
    }
    return rows;
}

std::optional<ItemInfo> FoundItemsDoor::info(const std::string& path, Link link) const
{
    return host().info(path, link);
}

std::unique_ptr<ReadStream> FoundItemsDoor::read(const std::string& path) const
{
    return host().read(path);
}

std::unique_ptr<WriteStream> FoundItemsDoor::write(
    const std::string& path, std::optional<std::uint32_t> permissions, Link link) const
{
    return host().write(path, permissions, link);
}

void FoundItemsDoor::makeFolder(const std::string& path) const
{
    host().makeFolder(path);
}

void FoundItemsDoor::makeLink(const std::string& target, const std::string& path) const
{
    host().makeLink(target, path);
}

void FoundItemsDoor::keepAttributes(const std::string& path, const ItemInfo& like) const
{
    host().keepAttributes(path, like);
}

void FoundItemsDoor::rename(const std::string& from, const std::string& to) const
{
    host().rename(from, to);
}

void FoundItemsDoor::remove(const std::string& path) const
{
    host().remove(path);
}

void FoundItemsDoor::removeTree(const std::string& path, ItemFailures& failures, JobControl& control) const
{
    host().removeTree(path, failures, control);
}

bool FoundItemsDoor::sharesFileSystem(const std::string& path, const Door& other, const std::string& otherPath) const
{
    return host().sharesFileSystem(path, other, otherPath);
}

} // namespace kiv
