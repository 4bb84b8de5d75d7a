#include "jobs/ItemFailures.h"

#include "base/ErrorText.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

namespace kiv {

bool ItemFailures::attempt(
    const std::function<void()>& step, const std::string& path, const std::string& context)
{
    for (;;) {
        std::string failure;
        try {
            step();
            return true;
        } catch (const JobCancelled&) {
            throw;
        } catch (const std::exception& error) {
            failure = context + userMessage(error);
        }
        JobAnswer answer = JobAnswer::skip;
        if (!m_skipAll) {
            JobQuestion question;
            question.source.path = path;
            question.message = failure;
            answer = m_control.ask(std::move(question));
        }
        // A failure that a retry mended is no failure of the job.
        if (answer != JobAnswer::retry)
            m_lastFailure = failure;
        switch (answer) {
        case JobAnswer::retry:
            continue;
        case JobAnswer::skipAll:
            m_skipAll = true;
            [[fallthrough]];
        case JobAnswer::skip:
            ++m_skipped;
            return false;
        default:
            throw JobCancelled();
        }
    }
}

} // namespace kiv
