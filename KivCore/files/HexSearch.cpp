#include "files/HexSearch.h"

#include "files/HexPager.h"

#include <algorithm>

namespace kiv {

HexSearch::HexSearch(const HexPager& pager, std::string needle, std::int64_t start)
    : m_pager(pager)
    , m_needle(std::move(needle))
    , m_start(std::clamp<std::int64_t>(start, 0, pager.size()))
    , m_at(m_start)
{
}

HexSearch::State HexSearch::step(std::int64_t budget)
{
    if (m_state != State::going)
        return m_state;
    // After wrapping, a match may still begin just before the start and run across it.
    const std::int64_t until = m_wrapped ? m_start : m_pager.size();
    const HexPager::FindStep found = m_pager.findFrom(m_needle, m_at, until, budget);
    m_at = found.found.value_or(found.searchedTo);
    if (found.found) {
        m_state = State::found;
    } else if (m_at >= until && (m_wrapped || m_start == 0)) {
        m_state = State::notFound;
    } else if (m_at >= until) {
        m_wrapped = true;
        m_at = 0;
    }
    return m_state;
}

int HexSearch::percentDone() const
{
    const std::int64_t size = m_pager.size();
    if (m_state != State::going || size == 0)
        return 100;
    const std::int64_t searched = m_wrapped ? size - m_start + m_at : m_at - m_start;
    return int(100 * searched / size);
}

} // namespace kiv
