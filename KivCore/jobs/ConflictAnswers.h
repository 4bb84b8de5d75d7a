#pragma once

#include "jobs/JobQuestion.h"

namespace kiv {

class JobControl;

// Asks what to do when a target name is taken, and remembers the "all" answers for the rest of
// the job: Overwrite all, Skip all, Overwrite all older (only targets older than their source).
// Where a folder and a file meet, no "overwrite" answer given for another item applies: that one
// is always asked, and its overwrite answer (Replace) holds for it alone.
class ConflictAnswers
{
public:
    // What to do with one conflict.
    enum class Resolution
    {
        overwrite, // across kinds: the old item is to go to the trash first
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
    // Returns how many conflicts resolve() left skipped.
    int skipped() const { return m_skipped; }

private:
    enum class Standing
    {
        ask,
        overwriteAll,
        skipAll,
        overwriteOlder,
    };

    Resolution decide(const JobItemFacts& source, const JobItemFacts& target);
    Resolution byStanding(const JobItemFacts& source, const JobItemFacts& target) const;
    Resolution acrossKinds(const JobItemFacts& source, const JobItemFacts& target);

    JobControl& m_control;
    Standing m_standing = Standing::ask;
    int m_skipped = 0;
};

} // namespace kiv
