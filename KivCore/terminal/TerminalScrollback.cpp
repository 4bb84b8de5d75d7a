#include "terminal/TerminalScrollback.h"

#include <algorithm>
#include <utility>

namespace kiv {

TerminalScrollback::TerminalScrollback(std::size_t capacity)
    : m_lines(capacity)
{
}

void TerminalScrollback::push(Line& line)
{
    std::swap(line, m_lines[m_newest]);
    if (m_size < m_lines.size())
        line.clear(); // an empty slot
    m_newest = (m_newest + 1) % m_lines.size();
    m_size = std::min(m_size + 1, m_lines.size());
    ++m_pushed;
}

bool TerminalScrollback::popInto(Line& line)
{
    if (m_size == 0)
        return false;
    m_newest = (m_newest + m_lines.size() - 1) % m_lines.size();
    std::swap(line, m_lines[m_newest]);
    m_lines[m_newest].clear();
    --m_size;
    --m_pushed;
    return true;
}

void TerminalScrollback::copyLine(std::size_t back, TerminalCell* cells, int columns) const
{
    const Line& line = m_lines[(m_newest + m_lines.size() - 1 - back) % m_lines.size()];
    const auto copied = std::min(line.size(), std::size_t(columns));
    std::copy_n(line.begin(), copied, cells);
    std::fill(cells + copied, cells + columns, TerminalCell {});
}

} // namespace kiv
