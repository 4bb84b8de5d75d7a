#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kiv {

class Door;

// The place one panel shows: a folder behind a door (a real folder, a folder inside an archive
// file, the items a search found, a folder on another machine). A plain value: copies share the door.
class PanelLocation
{
public:
    enum class Kind
    {
        filesystem, // a real folder
        archive, // a folder inside an archive file
        found, // items found below a real folder, named by their paths from it
        remote, // a folder on another machine, named by its path there
    };

    // The folder `folder` behind `door`.
    PanelLocation(std::shared_ptr<const Door> door, std::string folder);

    // The real folder at the absolute path `path` on the local disk.
    static PanelLocation filesystem(std::string path);

    // The folder `internalPath` inside the archive file at `archivePath` on `host` (the local disk
    // when null), read afresh. REQUIRES: `internalPath` is empty for the archive's root, otherwise
    // a relative path whose every component ends in "/" ("docs/img/").
    static PanelLocation archive(
        std::string archivePath, std::string internalPath, std::shared_ptr<const Door> host = nullptr);

    // The items at `names` (paths relative to the real folder `path`, without "." or ".."), as
    // a list in place of a folder; the folder is where the list leads back to. On `host`, the
    // local disk when null.
    static PanelLocation found(
        std::string path, std::vector<std::string> names, std::shared_ptr<const Door> host = nullptr);

    Kind kind() const;
    bool isArchive() const { return kind() == Kind::archive; }
    bool isFound() const { return kind() == Kind::found; }
    bool isRemote() const { return kind() == Kind::remote; }

    // The door the place is behind.
    const std::shared_ptr<const Door>& door() const { return m_door; }
    // The folder listed, as a path on the door.
    const std::string& folder() const { return m_folder; }

    // The real folder's path; for found items, the folder their names start from.
    // REQUIRES: not an archive location.
    const std::string& path() const { return m_folder; }

    // The archive file's path. REQUIRES: an archive location.
    const std::string& archivePath() const;

    // The folder inside the archive: empty at its root, and always empty for a real folder.
    std::string internalPath() const;

    // The text a panel shows for the place: the folder's path, for an archive its file's
    // path, " :: /" and the internal path ("/data/a.zip :: /docs/"), for found items
    // "Found in " and the folder's path.
    std::string displayPath() const;

    // The real folder nearest to the place: the folder itself, or the folder holding the archive.
    // REQUIRES: not a remote location.
    std::string nearestRealDirectory() const;

    // The text that names the place for a later run, the hotlist or the history: the nearest real
    // folder's path, or the sftp:// URL of a folder on a server (RemotePlace reads it back).
    std::string address() const;

    // The same place (Door::isSamePlace) and the same folder.
    bool operator==(const PanelLocation& other) const;

private:
    std::shared_ptr<const Door> m_door;
    std::string m_folder;
};

} // namespace kiv
