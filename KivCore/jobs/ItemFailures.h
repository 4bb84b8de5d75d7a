#pragma once

#include <functional>
#include <string>

namespace kiv {

class JobControl;

// Turns the failure of one step of a job into the question Retry / Skip / Skip all / Cancel, and
// remembers "Skip all" and the last failure for the job's summary.
class ItemFailures
{
public:
    explicit ItemFailures(JobControl& control)
        : m_control(control)
    {
    }

    // Runs `step`, again as long as the user answers Retry when it throws; returns true once it
    // succeeded and false when the user skipped it (or skips all). The question's text is
    // `context` (may be empty) followed by the failure's text for the user. Cancel throws
    // JobCancelled; JobCancelled thrown by `step` passes through.
    bool attempt(const std::function<void()>& step, const std::string& path, const std::string& context = {});

    // Returns how many steps were skipped.
    int skipped() const { return m_skipped; }
    // Returns the text of the last failure not mended by a retry, or "" when none happened.
    const std::string& lastFailure() const { return m_lastFailure; }

private:
    JobControl& m_control;
    bool m_skipAll = false;
    int m_skipped = 0;
    std::string m_lastFailure;
};

} // namespace kiv
