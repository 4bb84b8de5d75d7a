#pragma once

#include "jobs/JobQuestion.h"

namespace kiv {

class JobControl;

// Asks what to do when a target name is taken, and remembers the "all" answers for the rest of
// the job: Overwrite all, Skip all, Overwrite all older (only targets older than their source).
class ConflictAnswers
{
public:
    // What to do with one conflict.
    enum class Resolution
    {
        overwrite,
        skip,
        keepBoth,
    };

    explicit ConflictAnswers(JobControl& control)
        : m_control(control)
    {
    }

    // Returns what to do with `source` going where `target` is, asking only when no earlier
    // "all" answer decides it. Cancel throws JobCancelled.
    Resolution resolve(const JobItemFacts& source, const JobItemFacts& target);

private:
    enum class Standing
    {
        ask,
        overwriteAll,
        skipAll,
        overwriteOlder,
    };

    Resolution byStanding(const JobItemFacts& source, const JobItemFacts& target) const;

    JobControl& m_control;
    Standing m_standing = Standing::ask;
};

} // namespace kiv
