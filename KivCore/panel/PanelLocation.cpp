#include "panel/PanelLocation.h"

#include "files/PathString.h"

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

PanelLocation PanelLocation::archive(std::string archiveURL, std::string internalPath)
{
    return { Kind::archive, std::move(archiveURL), std::move(internalPath) };
}

std::string PanelLocation::displayPath() const
{
    return isArchive() ? m_path + " :: /" + m_internalPath : m_path;
}

std::string PanelLocation::nearestRealDirectory() const
{
    return isArchive() ? PathString::parentOrRoot(m_path) : m_path;
}

} // namespace kiv
