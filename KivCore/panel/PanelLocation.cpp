#include "panel/PanelLocation.h"

#include "archives/ArchiveDoor.h"
#include "base/PathString.h"
#include "doors/DoorItem.h"
#include "doors/FoundItemsDoor.h"
#include "files/FileSystemService.h"
#include "remote/SftpDoor.h"

namespace kiv {

namespace {

std::shared_ptr<const Door> orLocalDisk(std::shared_ptr<const Door> host)
{
    return host ? std::move(host) : FileSystemService::shared();
}

} // namespace

PanelLocation::PanelLocation(std::shared_ptr<const Door> door, std::string folder)
    : m_door(std::move(door))
    , m_folder(std::move(folder))
{
}

PanelLocation PanelLocation::filesystem(std::string path)
{
    return { FileSystemService::shared(), std::move(path) };
}

PanelLocation PanelLocation::archive(
    std::string archivePath, std::string internalPath, std::shared_ptr<const Door> host)
{
    return { std::make_shared<ArchiveDoor>(orLocalDisk(std::move(host)), std::move(archivePath)),
        std::move(internalPath) };
}

PanelLocation PanelLocation::found(std::string path, std::vector<std::string> names, std::shared_ptr<const Door> host)
{
    auto door = std::make_shared<FoundItemsDoor>(orLocalDisk(std::move(host)), path, std::move(names));
    return { std::move(door), std::move(path) };
}

PanelLocation::Kind PanelLocation::kind() const
{
    switch (m_door->kind()) {
    case Door::Kind::archive:
        return Kind::archive;
    case Door::Kind::foundItems:
        return Kind::found;
    case Door::Kind::remote:
        return Kind::remote;
    case Door::Kind::localDisk:
        break;
    }
    return Kind::filesystem;
}

const std::string& PanelLocation::archivePath() const
{
    return m_door->container()->path;
}

std::string PanelLocation::internalPath() const
{
    return isArchive() ? m_folder : std::string();
}

std::string PanelLocation::displayPath() const
{
    return m_door->displayPath(m_folder);
}

std::string PanelLocation::nearestRealDirectory() const
{
    return isArchive() ? PathString::parentOrRoot(archivePath()) : m_folder;
}

std::string PanelLocation::address() const
{
    if (isRemote())
        return static_cast<const SftpDoor&>(*m_door).server().withPath(m_folder).url();
    return nearestRealDirectory();
}

bool PanelLocation::operator==(const PanelLocation& other) const
{
    return m_folder == other.m_folder && m_door->isSamePlace(*other.m_door);
}

} // namespace kiv
