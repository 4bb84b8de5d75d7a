#include "compare/SideBySide.h"

#include <algorithm>

namespace kiv {

SideBySide::SideBySide(std::size_t leftLines, std::size_t rightLines, const std::vector<DiffHunk>& hunks)
{
    std::size_t left = 0;
    std::size_t right = 0;
    for (const DiffHunk& hunk : hunks) {
        add(left, right, hunk.leftStart - left, hunk.rightStart - right, false);
        m_differenceRows.push_back(m_rows);
        add(hunk.leftStart, hunk.rightStart, hunk.leftCount, hunk.rightCount, true);
        left = hunk.leftStart + hunk.leftCount;
        right = hunk.rightStart + hunk.rightCount;
    }
    add(left, right, leftLines - left, rightLines - right, false);
}

void SideBySide::add(
    std::size_t left, std::size_t right, std::size_t leftCount, std::size_t rightCount, bool differs)
{
    const std::size_t rows = std::max(leftCount, rightCount);
    if (rows == 0)
        return;
    m_stretches.push_back({ m_rows, left, right, leftCount, rightCount, differs });
    m_rows += rows;
}

SideBySide::Row SideBySide::row(std::size_t index) const
{
    const auto after = std::upper_bound(m_stretches.begin(), m_stretches.end(), index,
        [](std::size_t row, const Stretch& stretch) { return row < stretch.firstRow; });
    const Stretch& stretch = *(after - 1);
    const std::size_t within = index - stretch.firstRow;
    Row row;
    if (within < stretch.leftCount)
        row.left = stretch.left + within;
    if (within < stretch.rightCount)
        row.right = stretch.right + within;
    if (!stretch.differs)
        row.kind = Row::Kind::same;
    else if (row.left && row.right)
        row.kind = Row::Kind::changed;
    else
        row.kind = row.left ? Row::Kind::leftOnly : Row::Kind::rightOnly;
    return row;
}

std::optional<std::size_t> SideBySide::nextDifference(std::size_t from) const
{
    const auto next = std::upper_bound(m_differenceRows.begin(), m_differenceRows.end(), from);
    return next == m_differenceRows.end() ? std::nullopt : std::optional(*next);
}

std::optional<std::size_t> SideBySide::previousDifference(std::size_t from) const
{
    const auto next = std::lower_bound(m_differenceRows.begin(), m_differenceRows.end(), from);
    return next == m_differenceRows.begin() ? std::nullopt : std::optional(*(next - 1));
}

std::size_t SideBySide::differencesBefore(std::size_t row) const
{
    return std::size_t(std::lower_bound(m_differenceRows.begin(), m_differenceRows.end(), row)
        - m_differenceRows.begin());
}

} // namespace kiv
