#include "files/TransferReport.h"

#include "base/PathString.h"

namespace kiv {

void TransferReport::addMade(const std::string& from, const std::string& to, const TrashedItem& replaced)
{
    // While a folder made anew is being filled, it stays the last item noted.
    if (!m_items.empty() && PathString::isSameOrInside(to, m_items.back().to))
        return;
    m_items.push_back({ from, to, replaced });
}

void TransferReport::addMoved(const std::string& from, const std::string& to, const TrashedItem& replaced)
{
    // What moved inside a folder was noted just before the folder itself completed.
    while (!m_items.empty() && PathString::isSameOrInside(m_items.back().to, to))
        m_items.pop_back();
    m_items.push_back({ from, to, replaced });
}

void TransferReport::addEmptied(const std::string& from)
{
    m_items.push_back({ from, {} });
}

} // namespace kiv
