#include "compare/SideBySide.h"

#include <gtest/gtest.h>

using namespace kiv;
using Row = SideBySide::Row;
using RowKind = Row::Kind;

TEST(SideBySideTest, PairsChangedLinesAndPadsWhatOneSideHasMore)
{
    // Left a b c d e, right a X Y c e Z: b became X Y, d went, Z came.
    const SideBySide rows(5, 6, { { 1, 1, 1, 2 }, { 3, 1, 4, 0 }, { 5, 0, 5, 1 } });
    ASSERT_EQ(rows.rowCount(), 7u);
    const std::vector<Row> expected { { RowKind::same, 0, 0 }, { RowKind::changed, 1, 1 },
        { RowKind::rightOnly, {}, 2 }, { RowKind::same, 2, 3 }, { RowKind::leftOnly, 3, {} }, { RowKind::same, 4, 4 },
        { RowKind::rightOnly, {}, 5 } };
    for (std::size_t index = 0; index < expected.size(); ++index)
        EXPECT_EQ(rows.row(index), expected[index]) << "row " << index;
    EXPECT_EQ(rows.differenceCount(), 3u);
    EXPECT_EQ(rows.nextDifference(0), 1u);
    EXPECT_EQ(rows.nextDifference(1), 4u);
    EXPECT_EQ(rows.nextDifference(6), std::nullopt);
    EXPECT_EQ(rows.previousDifference(4), 1u);
    EXPECT_EQ(rows.previousDifference(5), 4u);
    EXPECT_EQ(rows.previousDifference(1), std::nullopt);
    EXPECT_EQ(SideBySide(0, 0, {}).rowCount(), 0u);
}
