#include "search/FindResults.h"

namespace kiv {

void FindResults::addHit(Hit hit)
{
    const std::lock_guard lock(m_mutex);
    m_hits.push_back(std::move(hit));
}

void FindResults::addRefusal(std::string text)
{
    const std::lock_guard lock(m_mutex);
    m_refusals.push_back(std::move(text));
}

std::vector<FindResults::Hit> FindResults::hitsFrom(std::size_t from) const
{
    const std::lock_guard lock(m_mutex);
    if (from >= m_hits.size())
        return {};
    return { m_hits.begin() + std::ptrdiff_t(from), m_hits.end() };
}

std::size_t FindResults::hitCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_hits.size();
}

std::vector<std::string> FindResults::refusals() const
{
    const std::lock_guard lock(m_mutex);
    return m_refusals;
}

} // namespace kiv
