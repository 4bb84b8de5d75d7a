#include "files/FilePreviewReader.h"

#include "base/UniqueFd.h"
#include "jobs/JobControl.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv::FilePreviewReader {

namespace {

using PreviewText::Form;
using PreviewText::Preview;

// Large enough that a big text file takes few system calls, small enough that judging a binary
// file costs almost nothing.
constexpr std::size_t readBlockSize = 1 << 20;

// Appends up to readBlockSize bytes from `fd` to `content`; returns the count, 0 at the end
// (or when a non-blocking source has nothing now), -1 on a read error.
ssize_t appendBlock(int fd, std::string& content)
{
    const std::size_t oldSize = content.size();
    content.resize(oldSize + readBlockSize);
    ssize_t got;
    do
        got = ::read(fd, content.data() + oldSize, readBlockSize);
    while (got < 0 && errno == EINTR);
    if (got < 0 && errno == EAGAIN)
        got = 0;
    content.resize(oldSize + static_cast<std::size_t>(got > 0 ? got : 0));
    return got;
}

// The size of the regular file open as `fd`, as far as a text is ever held whole; 0 for the rest.
std::size_t expectedSize(int fd)
{
    constexpr std::size_t mostReserved = std::size_t(1) << 30;
    struct stat facts;
    if (::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode))
        return 0;
    return std::min(static_cast<std::size_t>(facts.st_size), mostReserved);
}

} // namespace

Preview load(const std::string& path, Form form, JobControl* control)
{
    // Non-blocking, so a FIFO without a writer reads as empty instead of hanging the viewer.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid())
        return {};
    if (form == Form::hexDump)
        return { Preview::Kind::hexDump, {} };
    std::string content;
    const std::size_t expected = expectedSize(fd.get());
    std::size_t scanned = 0;
    for (;;) {
        // Once the first block reads as text, room for the whole file: growing block by block
        // copied everything read so far again at each growth, most of the time a big text took.
        if (content.size() == readBlockSize)
            content.reserve(expected + readBlockSize);
        const ssize_t got = appendBlock(fd.get(), content);
        if (got < 0)
            return {};
        if (got == 0)
            break;
        if (control) {
            control->addBytes(got);
            control->throwIfCancelled();
        }
        if (form == Form::text)
            continue;
        const PreviewText::TextScan scan = PreviewText::scanText(std::string_view(content).substr(scanned));
        scanned += scan.validLength;
        if (scan.stop == PreviewText::TextScan::Stop::notText)
            return { Preview::Kind::hexDump, {} };
    }
    // A sequence still open at the end of the file is invalid after all.
    if (form == Form::judged && scanned != content.size())
        return { Preview::Kind::hexDump, {} };
    return { Preview::Kind::text, std::move(content) };
}

} // namespace kiv::FilePreviewReader
