#pragma once

#include <cstdint>
#include <string>

namespace kiv {

class HexPager;

// One search for a text through the bytes of a paged file, done in steps that each read a little,
// so that the caller can go on showing the file between them: from a starting offset to the end,
// then from the start back to where it began.
class HexSearch
{
public:
    // Where the search stands after a step.
    enum class State
    {
        going,
        found, // matchOffset() is the first match after the start, wrapping round once
        notFound // the whole file was searched
    };

    // Prepares the search for `needle` (bytes; ASCII letters match without their case) in
    // `pager`'s file from `start` on. `pager` must outlive the search.
    HexSearch(const HexPager& pager, std::string needle, std::int64_t start);

    // Searches on through about `budget` bytes and returns where the search stands; once it has
    // found or failed it stays so.
    State step(std::int64_t budget);

    // Returns the offset of the match once found.
    std::int64_t matchOffset() const { return m_at; }
    // Returns the needle's length in bytes.
    std::int64_t needleLength() const { return std::int64_t(m_needle.size()); }
    // Returns how much of the file has been searched, 0 to 100.
    int percentDone() const;

private:
    const HexPager& m_pager;
    std::string m_needle;
    std::int64_t m_start;
    std::int64_t m_at;
    bool m_wrapped = false;
    State m_state = State::going;
};

} // namespace kiv
