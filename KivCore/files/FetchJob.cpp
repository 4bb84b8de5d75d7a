#include "files/FetchJob.h"

#include "base/ErrorText.h"
#include "base/PathString.h"
#include "doors/Door.h"
#include "doors/ReadStream.h"
#include "files/LocalWriteStream.h"
#include "files/TemporaryCopy.h"
#include "jobs/JobControl.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

namespace kiv {

FetchJob::FetchJob(std::shared_ptr<const Door> door, std::string path)
    : m_door(std::move(door))
    , m_path(std::move(path))
{
}

std::string FetchJob::description() const
{
    return "Fetch " + m_door->displayPath(m_path);
}

JobOutcome FetchJob::run(JobControl& control)
{
    const std::string folder = TemporaryCopy::newFolder();
    if (::mkdir(folder.c_str(), 0700) != 0)
        throwSystemError(errno, folder);
    const std::string copy = PathString::appendingComponent(folder, PathString::lastComponent(m_path));
    std::optional<FileStamp> stamp;
    try {
        stamp = FileStamp::of(*m_door, m_path);
        fetchInto(copy, control);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        throw;
    }
    m_copy = copy;
    m_stamp = stamp;
    return { JobOutcome::End::completed, "Fetched " + m_door->displayPath(m_path) };
}

void FetchJob::fetchInto(const std::string& copy, JobControl& control) const
{
    const auto stream = m_door->read(m_path);
    control.addToTotals(1, stream->size());
    control.startWorking();
    control.beginItem(m_path, stream->size());
    LocalWriteStream out(copy, std::nullopt, Door::Link::itself);
    std::array<char, 64 * 1024> buffer;
    while (const std::size_t count = stream->read(buffer)) {
        out.write({ buffer.data(), count });
        control.addBytes(static_cast<std::int64_t>(count));
        control.throwIfCancelled();
    }
    out.commit(WriteStream::Replace::never);
    control.finishItems(1, 0);
}

} // namespace kiv
