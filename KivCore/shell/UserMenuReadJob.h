#pragma once

#include "jobs/Job.h"
#include "shell/UserMenuStore.h"

#include <string>

namespace kiv {

// Reads the user's menu file as a job (UserMenuStore::load, which makes it with the default menu
// when it is missing), so that F2 never waits for the disk.
class UserMenuReadJob : public Job
{
public:
    std::string title() const override { return "User Menu"; }
    std::string description() const override { return "Read the user menu"; }
    // Makes nothing but the menu file when it is missing.
    JobFootprint footprint() const override { return {}; }
    JobOutcome run(JobControl& control) override;

    // Returns the menu read, once completed.
    const UserMenuStore::Menu& menu() const { return m_menu; }
    // Returns the menu file's path, once completed.
    const std::string& path() const { return m_path; }

private:
    UserMenuStore::Menu m_menu;
    std::string m_path;
};

} // namespace kiv
