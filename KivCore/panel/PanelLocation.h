#pragma once

#include <string>

namespace kiv {

// The place one panel shows: a real folder, or a folder inside an archive file. A plain value.
class PanelLocation
{
public:
    enum class Kind
    {
        filesystem, // a real folder
        archive, // a folder inside an archive file
    };

    // The real folder at the absolute path `path`.
    static PanelLocation filesystem(std::string path);

    // The folder `internalPath` inside the archive file at `archiveURL` (a plain path).
    // REQUIRES: `internalPath` is empty for the archive's root, otherwise a relative path whose
    // every component ends in "/" ("docs/img/").
    static PanelLocation archive(std::string archiveURL, std::string internalPath);

    Kind kind() const { return m_kind; }
    bool isArchive() const { return m_kind == Kind::archive; }

    // The real folder's path. REQUIRES: a filesystem location.
    const std::string& path() const { return m_path; }

    // The archive file's path. REQUIRES: an archive location.
    const std::string& archiveURL() const { return m_path; }

    // The folder inside the archive: empty at its root, and always empty for a real folder.
    const std::string& internalPath() const { return m_internalPath; }

    // The text a panel shows for the place: the folder's path, or for an archive its file's
    // path, " :: /" and the internal path ("/data/a.zip :: /docs/").
    std::string displayPath() const;

    // The real folder nearest to the place: the folder itself, or the folder holding the archive.
    std::string nearestRealDirectory() const;

    // Same kind and the same paths, compared as strings.
    bool operator==(const PanelLocation&) const = default;

private:
    PanelLocation(Kind kind, std::string path, std::string internalPath);

    Kind m_kind;
    std::string m_path;
    std::string m_internalPath;
};

} // namespace kiv
