#include "toolkit/DesktopApplicationJob.h"

namespace kiv {

DesktopApplicationJob::DesktopApplicationJob(std::string name, std::string id, std::string path)
    : m_name(std::move(name))
    , m_id(std::move(id))
    , m_path(std::move(path))
{
}

std::shared_ptr<DesktopApplicationJob> DesktopApplicationJob::finding(std::string name)
{
    return std::shared_ptr<DesktopApplicationJob>(new DesktopApplicationJob(std::move(name), {}, {}));
}

std::shared_ptr<DesktopApplicationJob> DesktopApplicationJob::launching(std::string id, std::string path)
{
    return std::shared_ptr<DesktopApplicationJob>(new DesktopApplicationJob({}, std::move(id), std::move(path)));
}

std::string DesktopApplicationJob::description() const
{
    return m_path.empty() ? "Find the applications for " + m_name : "Open " + m_path;
}

JobOutcome DesktopApplicationJob::run(JobControl&)
{
    if (m_path.empty()) {
        m_applications = DesktopApplications::forFileNamed(m_name);
        return { JobOutcome::End::completed, "Found" };
    }
    m_problem = DesktopApplications::launch(m_id, m_path);
    return { JobOutcome::End::completed, m_problem ? "Not opened" : "Opened" };
}

} // namespace kiv
