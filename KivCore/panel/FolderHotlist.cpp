#include "panel/FolderHotlist.h"

#include <algorithm>

namespace kiv {

bool FolderHotlist::add(const std::string& folder)
{
    if (contains(folder))
        return false;
    m_folders.push_back(folder);
    return true;
}

bool FolderHotlist::remove(const std::string& folder)
{
    return std::erase(m_folders, folder) > 0;
}

bool FolderHotlist::contains(const std::string& folder) const
{
    return std::find(m_folders.begin(), m_folders.end(), folder) != m_folders.end();
}

void FolderHotlist::restore(const std::vector<std::string>& folders)
{
    m_folders.clear();
    for (const auto& folder : folders)
        add(folder);
}

} // namespace kiv
