#include "shell/CommandHistory.h"

#include <algorithm>

namespace kiv {

void CommandHistory::add(const std::string& line)
{
    std::erase(m_lines, line);
    m_lines.push_back(line);
    restore(std::move(m_lines));
}

std::optional<std::string> CommandHistory::older(const std::string& typed)
{
    if (m_shown == 0)
        return std::nullopt;
    if (m_shown == m_lines.size())
        m_typed = typed;
    return m_lines[--m_shown];
}

std::optional<std::string> CommandHistory::newer()
{
    if (m_shown >= m_lines.size())
        return std::nullopt;
    return ++m_shown == m_lines.size() ? m_typed : m_lines[m_shown];
}

void CommandHistory::restore(std::vector<std::string> lines)
{
    if (lines.size() > capacity)
        lines.erase(lines.begin(), lines.end() - capacity);
    m_lines = std::move(lines);
    m_shown = m_lines.size();
}

} // namespace kiv
