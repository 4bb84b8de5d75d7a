#pragma once

#include "base/UniqueFd.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// A file's hex dump, read a page at a time as the lines are asked for: any line of a file of any
// size can be shown while only a few pages are held, and no read is longer than one page. The
// size is taken when the file is opened; the file is not watched.
class HexPager
{
public:
    // How many bytes one dump line shows.
    static constexpr std::int64_t bytesPerLine = 16;
    // How many bytes one read takes, and how many such pages are kept.
    static constexpr std::int64_t pageSize = 64 * 1024;
    static constexpr std::size_t pagesKept = 4;

    // Opens `path` (file-system bytes) for reading without blocking on a FIFO; check isOpen().
    explicit HexPager(const std::string& path);

    // Returns whether the file could be opened.
    bool isOpen() const { return m_fd.valid(); }
    // Returns the file's size in bytes when it was opened (0 when it could not be).
    std::int64_t size() const { return m_size; }
    // Returns how many dump lines the file has: the size divided by 16, rounded up.
    std::int64_t lineCount() const { return (m_size + bytesPerLine - 1) / bytesPerLine; }

    // Returns up to `count` dump lines from line `first` on, laid out as PreviewText::hexDump lays
    // them, their offsets counted from the start of the file; fewer at the end of the file or
    // where a read fails, none past the end.
    std::vector<std::string> lines(std::int64_t first, std::int64_t count);

    // Where one step of a search ended.
    struct FindStep
    {
        std::optional<std::int64_t> found; // the offset of the first match at or after `from`
        std::int64_t searchedTo = 0; // where the next step goes on when nothing was found
    };

    // Looks for `needle` (ASCII letters without their case) starting at offsets from `from` up
    // to `from` + `budget` and before `until`; reads about `budget` bytes at most, past the
    // pages kept, so a search can go on in steps that each take a moment. An empty needle or a
    // failed read finds nothing and ends the search at `until`.
    FindStep findFrom(std::string_view needle, std::int64_t from, std::int64_t until, std::int64_t budget) const;

private:
    struct Page
    {
        std::int64_t index = -1;
        std::string bytes;
    };

    const std::string* page(std::int64_t index);
    std::string bytes(std::int64_t offset, std::int64_t length);

    UniqueFd m_fd;
    std::int64_t m_size = 0;
    // The pages read last, the most recently used at the back.
    std::vector<Page> m_pages;
};

} // namespace kiv
