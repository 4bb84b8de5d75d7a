#include "panel/FolderHistory.h"

namespace kiv {

void FolderHistory::visit(const std::string& folder)
{
    if (!m_folders.empty() && m_folders[m_current] == folder)
        return;
    if (!m_folders.empty())
        m_folders.resize(m_current + 1);
    m_folders.push_back(folder);
    restore(std::move(m_folders));
}

std::optional<std::string> FolderHistory::back()
{
    if (m_current == 0)
        return std::nullopt;
    return m_folders[--m_current];
}

std::optional<std::string> FolderHistory::forward()
{
    if (m_current + 1 >= m_folders.size())
        return std::nullopt;
    return m_folders[++m_current];
}

void FolderHistory::restore(std::vector<std::string> folders)
{
    if (folders.size() > capacity)
        folders.erase(folders.begin(), folders.end() - capacity);
    m_folders = std::move(folders);
    m_current = m_folders.empty() ? 0 : m_folders.size() - 1;
}

} // namespace kiv
