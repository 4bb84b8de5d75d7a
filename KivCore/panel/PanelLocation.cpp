#include "panel/PanelLocation.h"

#include "base/PathString.h"

namespace kiv {

PanelLocation::PanelLocation(Kind kind, std::string path, std::string internalPath)
    : m_kind(kind)
    , m_path(std::move(path))
    , m_internalPath(std::move(internalPath))
{
}

PanelLocation PanelLocation::filesystem(std::string path)
{
    return { Kind::filesystem, std::move(path), {} };
}

PanelLocation PanelLocation::archive(std::string archivePath, std::string internalPath)
{
    return { Kind::archive, std::move(archivePath), std::move(internalPath) };
}

PanelLocation PanelLocation::found(std::string path, std::vector<std::string> names)
{
    PanelLocation location(Kind::found, std::move(path), {});
    location.m_foundNames = std::make_shared<const std::vector<std::string>>(std::move(names));
    return location;
}

std::string PanelLocation::displayPath() const
{
    switch (m_kind) {
    case Kind::archive:
        return m_path + " :: /" + m_internalPath;
    case Kind::found:
        return "Found in " + m_path;
    case Kind::filesystem:
        break;
    }
    return m_path;
}

std::string PanelLocation::nearestRealDirectory() const
{
    return isArchive() ? PathString::parentOrRoot(m_path) : m_path;
}

} // namespace kiv
