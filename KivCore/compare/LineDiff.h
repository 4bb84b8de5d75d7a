#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kiv {

class JobControl;

// One place where two files differ: `leftCount` lines from `leftStart` on the left stand where
// `rightCount` lines from `rightStart` stand on the right; either count may be 0.
struct DiffHunk
{
    std::size_t leftStart = 0;
    std::size_t leftCount = 0;
    std::size_t rightStart = 0;
    std::size_t rightCount = 0;

    bool operator==(const DiffHunk&) const = default;
};

// The line differences of two files, found by Myers' O(ND) algorithm in linear space over the
// lines' hashes. The work is bounded whatever the input: a search that grows too long splits
// where it has got furthest, and once the work reaches a budget proportional to the number of
// lines, what is left differs as whole blocks; so two large files that differ everywhere still
// take linear time and memory, and the result is only coarser.
namespace LineDiff {

// Returns where `left` and `right` (one hash a line) differ, in order, neighbouring hunks joined.
// With a `control`, checks it for cancellation and then throws JobCancelled.
std::vector<DiffHunk> compare(
    const std::vector<std::uint64_t>& left, const std::vector<std::uint64_t>& right, JobControl* control);

} // namespace LineDiff

} // namespace kiv
