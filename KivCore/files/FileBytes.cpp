#include "files/FileBytes.h"

#include "base/ErrorText.h"
#include "base/PlatformCalls.h"
#include "jobs/JobControl.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <vector>

namespace kiv::FileBytes {

namespace {

// Small enough that a chunk takes well under the 200 ms a cancel may take on a slow disk, large
// enough that the calls cost nothing beside the copying.
constexpr off_t kernelChunk = 8 << 20;
constexpr std::size_t bufferBytes = 256 * 1024;

class Copier
{
public:
    Copier(int in, int out, JobControl& control, const std::string& fromPath, const std::string& toPath)
        : m_in(in)
        , m_out(out)
        , m_control(control)
        , m_fromPath(fromPath)
        , m_toPath(toPath)
    {
    }

    // Copies the bytes from `start` up to `end` (or the end of the file, when it is shorter now).
    void copyRange(off_t start, off_t end)
    {
        if (::lseek(m_in, start, SEEK_SET) < 0)
            throwSystemError(errno, m_fromPath);
        if (::lseek(m_out, start, SEEK_SET) < 0)
            throwSystemError(errno, m_toPath);
        for (off_t position = start; position < end;) {
            const off_t step = m_byKernel ? kernelStep(std::min(kernelChunk, end - position))
                                          : bufferStep(std::min<off_t>(bufferBytes, end - position));
            if (step == 0)
                return;
            position += step;
            m_control.addBytes(step);
            m_control.throwIfCancelled();
        }
    }

private:
    // One kernel copy; falls back to reading and writing for good when the kernel cannot.
    off_t kernelStep(off_t length)
    {
        for (;;) {
            const ssize_t count = PlatformCalls::copyFileRange(m_in, m_out, static_cast<size_t>(length));
            if (count >= 0) {
                m_copiedAny = m_copiedAny || count > 0;
                return count;
            }
            if (errno == EINTR)
                continue;
            const bool unsupported
                = errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP;
            if (m_copiedAny || !unsupported)
                throwSystemError(errno, errno == ENOSPC || errno == EDQUOT ? m_toPath : m_fromPath);
            m_byKernel = false;
            return bufferStep(std::min<off_t>(bufferBytes, length));
        }
    }

    off_t bufferStep(off_t length)
    {
        m_buffer.resize(bufferBytes);
        ssize_t count;
        do
            count = ::read(m_in, m_buffer.data(), static_cast<size_t>(length));
        while (count < 0 && errno == EINTR);
        if (count < 0)
            throwSystemError(errno, m_fromPath);
        for (ssize_t written = 0; written < count;) {
            const ssize_t step
                = ::write(m_out, m_buffer.data() + written, static_cast<size_t>(count - written));
            if (step < 0 && errno == EINTR)
                continue;
            if (step < 0)
                throwSystemError(errno, m_toPath);
            written += step;
        }
        return count;
    }

    int m_in;
    int m_out;
    JobControl& m_control;
    const std::string& m_fromPath;
    const std::string& m_toPath;
    bool m_byKernel = true;
    bool m_copiedAny = false;
    std::vector<char> m_buffer;
};

// Copies the data regions only, counting the holes as done; false where the system has no way
// to tell data from holes.
bool copyDataRegions(Copier& copier, int in, off_t size, JobControl& control)
{
#ifdef SEEK_DATA
    off_t position = 0;
    while (position < size) {
        const off_t data = ::lseek(in, position, SEEK_DATA);
        if (data < 0 && errno == ENXIO)
            break; // only a hole is left
        if (data < 0) {
            copier.copyRange(position, size); // the system cannot tell: copy the rest whole
            position = size;
            break;
        }
        off_t hole = ::lseek(in, data, SEEK_HOLE);
        if (hole < 0)
            hole = size;
        control.addBytes(data - position);
        copier.copyRange(data, std::min(hole, size));
        position = std::min(hole, size);
    }
    control.addBytes(size - std::min(position, size));
    return true;
#else
    (void)copier;
    (void)in;
    (void)size;
    (void)control;
    return false;
#endif
}

} // namespace

void copy(int in, int out, const struct stat& info, JobControl& control, const std::string& fromPath,
    const std::string& toPath)
{
    Copier copier(in, out, control, fromPath, toPath);
    // Fewer blocks than bytes means holes; only then is it worth asking where the data is.
    const bool mayHaveHoles = static_cast<off_t>(info.st_blocks) * 512 < info.st_size;
    if (!mayHaveHoles || !copyDataRegions(copier, in, info.st_size, control)) {
        copier.copyRange(0, info.st_size);
        return;
    }
    // The holes at the end have no data to copy: the size makes them.
    if (::ftruncate(out, info.st_size) != 0)
        throwSystemError(errno, toPath);
}

} // namespace kiv::FileBytes
