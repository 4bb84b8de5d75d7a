#include "search/TextSearch.h"

#include "base/ErrorText.h"
#include "base/UniqueFd.h"
#include "doors/ReadStream.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kiv {

namespace {

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isWordByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return std::isalnum(byte) || byte == '_' || byte >= 0x80;
}

} // namespace

TextSearch::TextSearch(std::string text, NamePatterns::LetterCase letterCase, Words words, Binaries binaries)
    : m_text(std::move(text))
    , m_letterCase(letterCase)
    , m_words(words)
    , m_binaries(binaries)
{
    if (m_letterCase == NamePatterns::LetterCase::ignored)
        std::transform(m_text.begin(), m_text.end(), m_text.begin(), folded);
}

bool TextSearch::foundIn(int folderFd, const char* name, const std::string& pathForErrors)
{
    // Non-blocking: a file swapped for a pipe since the folder was read must not hang the search.
    const UniqueFd fd(::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        throwSystemError(errno, pathForErrors);
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return foundInBlocks([&](std::span<char> into) {
        for (;;) {
            const ssize_t got = ::read(fd.get(), into.data(), into.size());
            if (got >= 0)
                return std::size_t(got);
            if (errno != EINTR)
                throwSystemError(errno, pathForErrors);
        }
    });
}

bool TextSearch::foundIn(ReadStream& stream)
{
    // A stream may give less than asked before its end: a block is filled to its size.
    return foundInBlocks([&](std::span<char> into) {
        std::size_t filled = 0;
        while (filled < into.size()) {
            const std::size_t got = stream.read(into.subspan(filled));
            if (got == 0)
                break;
            filled += got;
        }
        return filled;
    });
}

// Each block is searched with the last bytes of the one before it in front, one more than the
// text is long: a match that ends at a block's end is judged in the next round, where the byte
// after it (for whole words) is known, and one that starts the kept bytes was judged before.
bool TextSearch::foundInBlocks(const Reader& read)
{
    const std::size_t carry = m_text.size() + 1;
    m_buffer.resize(carry + blockBytes);
    std::size_t kept = 0;
    bool startsFile = true;
    bool firstRead = true;
    for (;;) {
        const std::size_t got = read({ m_buffer.data() + kept, blockBytes });
        char* fresh = m_buffer.data() + kept;
        if (firstRead && m_binaries == Binaries::skipped && std::memchr(fresh, 0, got))
            return false;
        firstRead = false;
        if (m_letterCase == NamePatterns::LetterCase::ignored)
            std::transform(fresh, fresh + got, fresh, folded);
        const std::size_t length = kept + got;
        if (foundInBuffer(length, startsFile, got == 0))
            return true;
        if (got == 0)
            return false;
        const std::size_t keep = std::min(length, carry);
        std::memmove(m_buffer.data(), m_buffer.data() + length - keep, keep);
        startsFile = startsFile && keep == length;
        kept = keep;
    }
}

bool TextSearch::foundInBuffer(std::size_t length, bool startsFile, bool atEnd) const
{
    const char* begin = m_buffer.data();
    const std::size_t n = m_text.size();
    for (const char* at = begin; length - std::size_t(at - begin) >= n;) {
        at = static_cast<const char*>(::memmem(at, length - std::size_t(at - begin), m_text.data(), n));
        if (!at)
            return false;
        const std::size_t offset = std::size_t(at - begin);
        const bool judgedBefore = offset == 0 && !startsFile;
        const bool judgedAfter = offset + n == length && !atEnd;
        if (!judgedBefore && !judgedAfter && standsAlone(offset, length))
            return true;
        ++at;
    }
    return false;
}

bool TextSearch::standsAlone(std::size_t at, std::size_t length) const
{
    if (m_words == Words::anywhere)
        return true;
    const bool wordBefore = at > 0 && isWordByte(m_buffer[at - 1]);
    const bool wordAfter = at + m_text.size() < length && isWordByte(m_buffer[at + m_text.size()]);
    return !wordBefore && !wordAfter;
}

} // namespace kiv
