#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kiv {

// The place one panel shows: a real folder, a folder inside an archive file, or the items a search
// found below a real folder. A plain value.
class PanelLocation
{
public:
    enum class Kind
    {
        filesystem, // a real folder
        archive, // a folder inside an archive file
        found, // items found below a real folder, named by their paths from it
    };

    // The real folder at the absolute path `path`.
    static PanelLocation filesystem(std::string path);

    // The folder `internalPath` inside the archive file at `archivePath` (a plain path).
    // REQUIRES: `internalPath` is empty for the archive's root, otherwise a relative path whose
    // every component ends in "/" ("docs/img/").
    static PanelLocation archive(std::string archivePath, std::string internalPath);

    // The items at `names` (paths relative to the real folder `path`, without "." or ".."), as
    // a list in place of a folder; the folder is where the list leads back to.
    static PanelLocation found(std::string path, std::vector<std::string> names);

    Kind kind() const { return m_kind; }
    bool isArchive() const { return m_kind == Kind::archive; }
    bool isFound() const { return m_kind == Kind::found; }

    // The real folder's path; for found items, the folder their names start from.
    // REQUIRES: not an archive location.
    const std::string& path() const { return m_path; }

    // The archive file's path. REQUIRES: an archive location.
    const std::string& archivePath() const { return m_path; }

    // The folder inside the archive: empty at its root, and always empty for a real folder.
    const std::string& internalPath() const { return m_internalPath; }

    // The names of found items. REQUIRES: a found location.
    const std::vector<std::string>& foundNames() const { return *m_foundNames; }

    // The text a panel shows for the place: the folder's path, for an archive its file's
    // path, " :: /" and the internal path ("/data/a.zip :: /docs/"), for found items
    // "Found in " and the folder's path.
    std::string displayPath() const;

    // The real folder nearest to the place: the folder itself, or the folder holding the archive.
    std::string nearestRealDirectory() const;

    // Same kind and the same paths, compared as strings; found items the same list.
    bool operator==(const PanelLocation&) const = default;

private:
    PanelLocation(Kind kind, std::string path, std::string internalPath);

    Kind m_kind;
    std::string m_path;
    std::string m_internalPath;
    std::shared_ptr<const std::vector<std::string>> m_foundNames; // shared: locations are copied freely
};

} // namespace kiv
