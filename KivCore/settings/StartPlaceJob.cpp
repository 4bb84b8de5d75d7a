#include "settings/StartPlaceJob.h"

#include "jobs/JobControl.h"

namespace kiv {

StartPlaceJob::StartPlaceJob(StartPaths paths)
    : m_paths(std::move(paths))
{
}

std::string StartPlaceJob::description() const
{
    std::string text = "Look at";
    for (const std::string& path : m_paths.typed)
        text += " " + path;
    return text;
}

JobOutcome StartPlaceJob::run(JobControl& control)
{
    for (const std::string& path : m_paths.typed) {
        m_places.push_back(StartPlace::of(path, m_paths.workingFolder));
        control.throwIfCancelled();
    }
    return { JobOutcome::End::completed, "Looked" };
}

} // namespace kiv
