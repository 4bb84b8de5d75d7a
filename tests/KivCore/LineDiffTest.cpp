#include "compare/LineDiff.h"

#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace kiv;

namespace {

using Lines = std::vector<std::uint64_t>;

// Rebuilds `right` from `left` and the hunks, checking they are in order, apart and cover every
// line that differs.
Lines applied(const Lines& left, const Lines& right, const std::vector<DiffHunk>& hunks)
{
    Lines made;
    std::size_t at = 0;
    for (const DiffHunk& hunk : hunks) {
        EXPECT_TRUE(hunk.leftCount > 0 || hunk.rightCount > 0);
        EXPECT_GE(hunk.leftStart, at);
        made.insert(
            made.end(), left.begin() + std::ptrdiff_t(at), left.begin() + std::ptrdiff_t(hunk.leftStart));
        const auto from = right.begin() + std::ptrdiff_t(hunk.rightStart);
        made.insert(made.end(), from, from + std::ptrdiff_t(hunk.rightCount));
        at = hunk.leftStart + hunk.leftCount;
    }
    made.insert(made.end(), left.begin() + std::ptrdiff_t(at), left.end());
    return made;
}

// The length of the longest common subsequence, the slow and sure way.
std::size_t commonLength(const Lines& a, const Lines& b)
{
    std::vector<std::size_t> row(b.size() + 1, 0), next(b.size() + 1, 0);
    for (std::size_t i = a.size(); i-- > 0;) {
        for (std::size_t j = b.size(); j-- > 0;)
            next[j] = a[i] == b[j] ? row[j + 1] + 1 : std::max(row[j], next[j + 1]);
        std::swap(row, next);
    }
    return row[0];
}

std::size_t changedLines(const std::vector<DiffHunk>& hunks)
{
    std::size_t changed = 0;
    for (const DiffHunk& hunk : hunks)
        changed += hunk.leftCount + hunk.rightCount;
    return changed;
}

} // namespace

TEST(LineDiffTest, FindsAShortestEditOnRandomEdits)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        Lines left(random() % 60);
        for (auto& line : left)
            line = random() % 6; // few distinct lines: many ways to match
        Lines right = left;
        for (int edit = int(random() % 12); edit > 0; --edit) {
            const std::size_t at = right.empty() ? 0 : random() % right.size();
            if (random() % 2 && !right.empty())
                right.erase(right.begin() + std::ptrdiff_t(at));
            else
                right.insert(right.begin() + std::ptrdiff_t(at), random() % 6);
        }
        const auto hunks = LineDiff::compare(left, right, nullptr);
        ASSERT_EQ(applied(left, right, hunks), right) << "round " << round;
        EXPECT_EQ(changedLines(hunks), left.size() + right.size() - 2 * commonLength(left, right))
            << "round " << round;
        for (std::size_t index = 1; index < hunks.size(); ++index)
            EXPECT_LT(hunks[index - 1].leftStart + hunks[index - 1].leftCount, hunks[index].leftStart);
    }
    EXPECT_EQ(LineDiff::compare({ 1, 2, 3 }, { 1, 9, 3, 4 }, nullptr),
        (std::vector<DiffHunk> { { 1, 1, 1, 1 }, { 3, 0, 3, 1 } }));
}

TEST(LineDiffTest, HugeDifferencesTakeBoundedWorkAndStayCorrect)
{
    // Unbounded, Myers' algorithm would take some 10^11 steps on each of these.
    const std::size_t count = 300'000;
    Lines left(count), unlike(count), shuffled(count);
    std::mt19937_64 random(11);
    for (std::size_t index = 0; index < count; ++index) {
        left[index] = index;
        unlike[index] = count + random();
        shuffled[index] = index % 1000;
    }
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    EXPECT_EQ(LineDiff::compare(left, unlike, nullptr), (std::vector<DiffHunk> { { 0, count, 0, count } }));
    const auto hunks = LineDiff::compare(left, shuffled, nullptr);
    EXPECT_EQ(applied(left, shuffled, hunks), shuffled);
}

TEST(LineDiffTest, StopsOnceCancelled)
{
    JobControl control;
    control.cancel();
    EXPECT_THROW(LineDiff::compare({ 1, 2, 3 }, { 4, 5, 6 }, &control), JobCancelled);
}
