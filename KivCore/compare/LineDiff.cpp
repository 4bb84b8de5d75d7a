#include "compare/LineDiff.h"

#include "jobs/JobControl.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace kiv::LineDiff {

namespace {

using Lines = std::vector<std::uint64_t>;
using Index = std::int64_t;

// The lines [aLo, aHi) on the left against [bLo, bHi) on the right.
struct Range
{
    std::size_t aLo, aHi, bLo, bHi;
};

class Differ
{
public:
    Differ(const Lines& a, const Lines& b, JobControl* control)
        : m_a(a)
        , m_b(b)
        , m_control(control)
        , m_budget(20 * Index(a.size() + b.size()) + 20'000'000)
        , m_costLimit(std::max<Index>(1024, Index(2 * std::sqrt(double(a.size() + b.size())))))
    {
    }

    std::vector<DiffHunk> run();

private:
    std::optional<std::pair<std::size_t, std::size_t>> bisect(const Range& range);
    bool spend(Index steps);
    void emit(const Range& range);

    const Lines& m_a;
    const Lines& m_b;
    JobControl* m_control;
    Index m_budget;
    Index m_costLimit;
    std::vector<std::int32_t> m_forward;
    std::vector<std::int32_t> m_backward;
    std::vector<DiffHunk> m_hunks;
};

// Works left to right: the left part of a split is finished before the right one starts, so
// hunks come out in order.
std::vector<DiffHunk> Differ::run()
{
    std::vector<Range> ranges { { 0, m_a.size(), 0, m_b.size() } };
    while (!ranges.empty()) {
        Range range = ranges.back();
        ranges.pop_back();
        while (range.aLo < range.aHi && range.bLo < range.bHi && m_a[range.aLo] == m_b[range.bLo])
            ++range.aLo, ++range.bLo;
        while (range.aLo < range.aHi && range.bLo < range.bHi && m_a[range.aHi - 1] == m_b[range.bHi - 1])
            --range.aHi, --range.bHi;
        const auto split = range.aLo == range.aHi || range.bLo == range.bHi ? std::nullopt : bisect(range);
        if (!split) {
            emit(range);
            continue;
        }
        ranges.push_back({ split->first, range.aHi, split->second, range.bHi });
        ranges.push_back({ range.aLo, split->first, range.bLo, split->second });
    }
    return std::move(m_hunks);
}

bool Differ::spend(Index steps)
{
    if (m_control)
        m_control->throwIfCancelled();
    m_budget -= steps;
    return m_budget > 0;
}

void Differ::emit(const Range& range)
{
    if (range.aLo == range.aHi && range.bLo == range.bHi)
        return;
    if (!m_hunks.empty()) {
        DiffHunk& last = m_hunks.back();
        if (last.leftStart + last.leftCount == range.aLo && last.rightStart + last.rightCount == range.bLo) {
            last.leftCount += range.aHi - range.aLo;
            last.rightCount += range.bHi - range.bLo;
            return;
        }
    }
    m_hunks.push_back({ range.aLo, range.aHi - range.aLo, range.bLo, range.bHi - range.bLo });
}

// Myers' middle snake: forward and backward searches meet on a point of an edit path as short
// as can be, which splits the range in two. Too long a search splits at the furthest point the
// forward search reached (any point of a path is a valid split, only the result is coarser).
std::optional<std::pair<std::size_t, std::size_t>> Differ::bisect(const Range& range)
{
    if (m_budget <= 0)
        return std::nullopt;
    const std::uint64_t* a = m_a.data() + range.aLo;
    const std::uint64_t* b = m_b.data() + range.bLo;
    const Index n = Index(range.aHi - range.aLo);
    const Index m = Index(range.bHi - range.bLo);
    const Index maxD = (n + m + 1) / 2;
    const Index limit = std::min(maxD, m_costLimit);
    const Index offset = limit + 1;
    const Index length = 2 * offset + 1;
    m_forward.assign(std::size_t(length), -1);
    m_backward.assign(std::size_t(length), -1);
    std::int32_t* v1 = m_forward.data();
    std::int32_t* v2 = m_backward.data();
    v1[offset + 1] = 0;
    v2[offset + 1] = 0;
    const Index delta = n - m;
    const bool front = delta % 2 != 0;
    Index k1start = 0, k1end = 0, k2start = 0, k2end = 0;
    Index bestX = 0, bestY = 0;
    const auto split = [&](Index x, Index y) -> std::optional<std::pair<std::size_t, std::size_t>> {
        if ((x == 0 && y == 0) || (x == n && y == m))
            return std::nullopt;
        return std::pair(range.aLo + std::size_t(x), range.bLo + std::size_t(y));
    };
    for (Index d = 0; d < limit; ++d) {
        Index steps = 0;
        for (Index k1 = -d + k1start; k1 <= d - k1end; k1 += 2) {
            const Index at = offset + k1;
            Index x1 = (k1 == -d || (k1 != d && v1[at - 1] < v1[at + 1])) ? v1[at + 1] : v1[at - 1] + 1;
            Index y1 = x1 - k1;
            const Index x0 = x1;
            while (x1 < n && y1 < m && a[x1] == b[y1])
                ++x1, ++y1;
            steps += 1 + x1 - x0;
            v1[at] = std::int32_t(x1);
            if (x1 <= n && y1 <= m && x1 + y1 > bestX + bestY)
                bestX = x1, bestY = y1;
            if (x1 > n) {
                k1end += 2;
            } else if (y1 > m) {
                k1start += 2;
            } else if (front) {
                const Index other = offset + delta - k1;
                if (other >= 0 && other < length && v2[other] != -1 && x1 >= n - v2[other])
                    return split(x1, y1);
            }
        }
        for (Index k2 = -d + k2start; k2 <= d - k2end; k2 += 2) {
            const Index at = offset + k2;
            Index x2 = (k2 == -d || (k2 != d && v2[at - 1] < v2[at + 1])) ? v2[at + 1] : v2[at - 1] + 1;
            Index y2 = x2 - k2;
            const Index x0 = x2;
            while (x2 < n && y2 < m && a[n - x2 - 1] == b[m - y2 - 1])
                ++x2, ++y2;
            steps += 1 + x2 - x0;
            v2[at] = std::int32_t(x2);
            if (x2 > n) {
                k2end += 2;
            } else if (y2 > m) {
                k2start += 2;
            } else if (!front) {
                const Index other = offset + delta - k2;
                if (other >= 0 && other < length && v1[other] != -1 && v1[other] >= n - x2)
                    return split(v1[other], v1[other] - (other - offset));
            }
        }
        if (!spend(steps))
            return std::nullopt;
    }
    return limit < maxD ? split(bestX, bestY) : std::nullopt;
}

} // namespace

std::vector<DiffHunk> compare(const Lines& left, const Lines& right, JobControl* control)
{
    return Differ(left, right, control).run();
}

} // namespace kiv::LineDiff
