#pragma once

#include "jobs/Job.h"
#include "toolkit/DesktopApplications.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

// Asks the desktop which applications open a file, or starts one on a file, as a job: the
// desktop's database of applications is read from the disk, and the window waits for no disk.
class DesktopApplicationJob : public Job
{
public:
    // Finds the applications for a file named `name` (DesktopApplications::forFileNamed).
    static std::shared_ptr<DesktopApplicationJob> finding(std::string name);
    // Starts the application `id` on the file at `path` (problem() says why it could not).
    static std::shared_ptr<DesktopApplicationJob> launching(std::string id, std::string path);

    std::string title() const override { return "Open With"; }
    std::string description() const override;
    // Changes nothing of the user's.
    JobFootprint footprint() const override { return {}; }
    JobOutcome run(JobControl& control) override;

    // Returns the applications found, the user's default first, once a finding job completed.
    const std::vector<DesktopApplications::Application>& applications() const { return m_applications; }
    // Returns why the application could not be started, once a launching job completed; else nothing.
    const std::optional<std::string>& problem() const { return m_problem; }

private:
    DesktopApplicationJob(std::string name, std::string id, std::string path);

    std::string m_name; // of the file whose applications are found; "" when launching
    std::string m_id;
    std::string m_path;
    std::vector<DesktopApplications::Application> m_applications;
    std::optional<std::string> m_problem;
};

} // namespace kiv
