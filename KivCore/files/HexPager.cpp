#include "files/HexPager.h"

#include "text/PreviewText.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {

namespace {

// One search read: large enough for few system calls, small enough to leave the budget in charge.
constexpr std::int64_t searchBlock = 1 << 20;

// Reads up to `length` bytes at `offset`; fewer at the end of the file or after a failed read.
std::string readAt(int fd, std::int64_t offset, std::int64_t length)
{
    std::string bytes(std::size_t(length), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t read = ::pread(fd, bytes.data() + got, bytes.size() - got, off_t(offset) + off_t(got));
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            break;
        got += std::size_t(read);
    }
    bytes.resize(got);
    return bytes;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

HexPager::HexPager(const std::string& path)
    : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
{
    struct stat facts {};
    if (m_fd.valid() && ::fstat(m_fd.get(), &facts) == 0 && S_ISREG(facts.st_mode))
        m_size = facts.st_size;
}

std::vector<std::string> HexPager::lines(std::int64_t first, std::int64_t count)
{
    std::vector<std::string> lines;
    first = std::max<std::int64_t>(first, 0);
    count = std::clamp<std::int64_t>(count, 0, lineCount() - std::min(first, lineCount()));
    const std::string shown = bytes(first * bytesPerLine, count * bytesPerLine);
    const int digits = PreviewText::offsetDigits(m_size);
    for (std::size_t at = 0; at < shown.size(); at += std::size_t(bytesPerLine))
        lines.push_back(PreviewText::hexDump(std::string_view(shown).substr(at, std::size_t(bytesPerLine)),
            first * bytesPerLine + std::int64_t(at), digits));
    return lines;
}

// Whole pages from the cache; a page that comes back short ends the bytes there.
std::string HexPager::bytes(std::int64_t offset, std::int64_t length)
{
    std::string out;
    const std::int64_t end = std::min(offset + length, m_size);
    for (std::int64_t at = offset; at < end;) {
        const std::string* bytes = page(at / pageSize);
        const std::int64_t inPage = at % pageSize;
        if (!bytes || std::int64_t(bytes->size()) <= inPage)
            break;
        const std::int64_t taken = std::min(std::int64_t(bytes->size()) - inPage, end - at);
        out.append(*bytes, std::size_t(inPage), std::size_t(taken));
        at += taken;
    }
    return out;
}

const std::string* HexPager::page(std::int64_t index)
{
    const auto cached
        = std::find_if(m_pages.begin(), m_pages.end(), [index](const Page& page) { return page.index == index; });
    if (cached != m_pages.end()) {
        std::rotate(cached, cached + 1, m_pages.end());
        return &m_pages.back().bytes;
    }
    if (!m_fd.valid())
        return nullptr;
    if (m_pages.size() == pagesKept)
        m_pages.erase(m_pages.begin());
    m_pages.push_back({ index, readAt(m_fd.get(), index * pageSize, pageSize) });
    return &m_pages.back().bytes;
}

HexPager::FindStep HexPager::findFrom(
    std::string_view needle, std::int64_t from, std::int64_t until, std::int64_t budget) const
{
    until = std::min(until, m_size);
    if (needle.empty() || !m_fd.valid())
        return { std::nullopt, until };
    const auto sameLetter = [](char a, char b) { return asciiLower(a) == asciiLower(b); };
    const std::int64_t stop = std::min(until, from + std::max<std::int64_t>(budget, 1));
    for (std::int64_t at = from; at < stop;) {
        const std::int64_t starts = std::min(searchBlock, stop - at);
        // A match may begin in this block and end in the next one.
        const std::string block = readAt(m_fd.get(), at, starts + std::int64_t(needle.size()) - 1);
        if (block.empty())
            return { std::nullopt, until };
        const auto hit = std::search(block.begin(), block.end(), needle.begin(), needle.end(), sameLetter);
        if (hit != block.end() && hit - block.begin() < starts)
            return { at + (hit - block.begin()), at + (hit - block.begin()) };
        at += starts;
    }
    return { std::nullopt, stop };
}

} // namespace kiv
