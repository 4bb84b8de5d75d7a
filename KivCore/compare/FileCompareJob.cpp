#include "compare/FileCompareJob.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "text/KivFormat.h"

#include <limits>
#include <sys/stat.h>

namespace kiv {

namespace {

std::int64_t sizeOf(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? info.st_size : 0;
}

LineIndex indexed(const std::string& path, JobControl& control)
{
    control.beginItem(path, sizeOf(path));
    LineIndex index = LineIndex::read(path, &control);
    // The search keeps line numbers in 32 bits.
    if (index.lineCount() >= std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw KivError::operationFailed("Too many lines to compare: " + path);
    control.finishItems(1, 0);
    return index;
}

} // namespace

FileCompareJob::FileCompareJob(std::string leftPath, std::string rightPath)
    : m_leftPath(std::move(leftPath))
    , m_rightPath(std::move(rightPath))
{
}

std::string FileCompareJob::title() const
{
    return "Compare files";
}

std::string FileCompareJob::description() const
{
    return "Compare " + m_leftPath + " with " + m_rightPath;
}

JobFootprint FileCompareJob::footprint() const
{
    return { { m_leftPath, m_rightPath }, {} };
}

JobOutcome FileCompareJob::run(JobControl& control)
{
    control.addToTotals(2, sizeOf(m_leftPath) + sizeOf(m_rightPath));
    control.startWorking();
    try {
        LineIndex left = indexed(m_leftPath, control);
        LineIndex right = indexed(m_rightPath, control);
        control.beginItem("Comparing lines", 0);
        const auto hunks = LineDiff::compare(left.hashes(), right.hashes(), &control);
        SideBySide rows(left.lineCount(), right.lineCount(), hunks);
        m_result
            = std::make_shared<const Result>(Result { std::move(left), std::move(right), std::move(rows) });
        if (hunks.empty())
            return { JobOutcome::End::completed, "The files have the same lines" };
        return { JobOutcome::End::completed,
            KivFormat::grouped(std::int64_t(hunks.size()))
                + (hunks.size() == 1 ? " difference" : " differences") };
    } catch (const JobCancelled&) {
        return { JobOutcome::End::cancelled, "Comparison cancelled" };
    } catch (const std::exception& error) {
        return { JobOutcome::End::failed, userMessage(error) };
    }
}

} // namespace kiv
