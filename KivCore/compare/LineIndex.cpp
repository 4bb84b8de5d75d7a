#include "compare/LineIndex.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/UniqueFd.h"
#include "files/BlockRead.h"
#include "jobs/JobControl.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {

namespace {

constexpr std::size_t blockSize = 1 << 20;
constexpr std::uint64_t fnvOffset = 0xcbf29ce484222325ULL;
constexpr std::uint64_t fnvPrime = 0x100000001b3ULL;
// Folded into the hash of a last line that has no "\n".
constexpr std::uint64_t unterminated = 0x9e3779b97f4a7c15ULL;

// FNV-1a, one byte at a time, so that a line may run over any number of blocks.
std::uint64_t hashOn(std::uint64_t hash, const char* begin, const char* end)
{
    for (const char* at = begin; at != end; ++at)
        hash = (hash ^ static_cast<unsigned char>(*at)) * fnvPrime;
    return hash;
}

UniqueFd openRegular(const std::string& path)
{
    // Not blocking on a FIFO that nobody writes to; refused below anyway.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        throwSystemError(errno, path);
    struct stat info;
    if (::fstat(fd.get(), &info) != 0)
        throwSystemError(errno, path);
    if (!S_ISREG(info.st_mode))
        throw KivError::operationFailed("Only regular files can be compared: " + path);
    return fd;
}

} // namespace

LineIndex LineIndex::read(const std::string& path, JobControl* control)
{
    LineIndex index;
    index.m_fd = openRegular(path);
    index.m_path = path;
    const UniqueFd& fd = index.m_fd;
    std::vector<char> block(blockSize);
    std::uint64_t offset = 0;
    std::uint64_t hash = fnvOffset;
    for (;;) {
        if (control)
            control->throwIfCancelled();
        const std::size_t got = BlockRead::fill(fd.get(), block.data(), block.size(), path);
        if (got == 0)
            break;
        const char* at = block.data();
        const char* end = at + got;
        while (at != end) {
            const char* newline = static_cast<const char*>(std::memchr(at, '\n', std::size_t(end - at)));
            if (index.m_starts.size() == index.m_hashes.size())
                index.m_starts.push_back(offset + std::uint64_t(at - block.data()));
            hash = hashOn(hash, at, newline ? newline : end);
            if (!newline)
                break;
            index.m_hashes.push_back(hash);
            hash = fnvOffset;
            at = newline + 1;
        }
        offset += got;
        if (control)
            control->addBytes(std::int64_t(got));
    }
    if (index.m_starts.size() > index.m_hashes.size()) {
        index.m_hashes.push_back(hash ^ unterminated);
        index.m_endsWithNewline = false;
    }
    index.m_starts.push_back(offset);
    return index;
}

std::string LineIndex::text(std::size_t index, std::size_t longest) const
{
    const std::uint64_t start = m_starts[index];
    const bool terminated = index + 1 < lineCount() || m_endsWithNewline;
    const std::uint64_t length = m_starts[index + 1] - start - (terminated ? 1 : 0);
    std::string line(std::size_t(std::min<std::uint64_t>(length, longest)), '\0');
    const ssize_t got = ::pread(m_fd.get(), line.data(), line.size(), off_t(start));
    line.resize(got < 0 ? 0 : std::size_t(got));
    return line;
}

} // namespace kiv
