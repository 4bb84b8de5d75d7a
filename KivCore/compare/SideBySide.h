#pragma once

#include "compare/LineDiff.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace kiv {

// Two files' lines set side by side in rows, as a viewer draws them: lines alike share a row,
// a hunk's lines pair off as changed rows and what one side has more stands beside an empty
// place. Any row is found in logarithmic time, so a file of millions of lines needs no row list.
class SideBySide
{
public:
    // What a row shows.
    struct Row
    {
        enum class Kind
        {
            same,
            changed, // a line on each side, different
            leftOnly, // a line on the left, nothing on the right
            rightOnly,
        };
        Kind kind = Kind::same;
        std::optional<std::size_t> left; // the line shown on each side, from 0
        std::optional<std::size_t> right;

        bool operator==(const Row&) const = default;
    };

    // Sets `leftLines` and `rightLines` lines side by side, differing at `hunks` (in order).
    SideBySide(std::size_t leftLines, std::size_t rightLines, const std::vector<DiffHunk>& hunks);

    // Returns the number of rows.
    std::size_t rowCount() const { return m_rows; }
    // Returns row `index`. REQUIRES: index < rowCount().
    Row row(std::size_t index) const;
    // Returns the number of differences (hunks).
    std::size_t differenceCount() const { return m_differenceRows.size(); }
    // Returns the first row of the first difference after row `from`, or nothing after the last.
    std::optional<std::size_t> nextDifference(std::size_t from) const;
    // Returns the first row of the last difference that starts before row `from`, or nothing.
    std::optional<std::size_t> previousDifference(std::size_t from) const;
    // Returns how many differences start before row `row`: a difference's number, counted from 0.
    std::size_t differencesBefore(std::size_t row) const;

private:
    // A run of rows: lines alike, or one hunk.
    struct Stretch
    {
        std::size_t firstRow;
        std::size_t left; // first line on each side
        std::size_t right;
        std::size_t leftCount;
        std::size_t rightCount;
        bool differs;
    };

    void add(
        std::size_t left, std::size_t right, std::size_t leftCount, std::size_t rightCount, bool differs);

    std::vector<Stretch> m_stretches;
    std::vector<std::size_t> m_differenceRows;
    std::size_t m_rows = 0;
};

} // namespace kiv
