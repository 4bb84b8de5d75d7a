#include "jobs/WorkTally.h"

#include "text/KivFormat.h"

namespace kiv {

namespace {

std::string items(std::int64_t count)
{
    return KivFormat::grouped(count) + (count == 1 ? " item" : " items");
}

} // namespace

JobOutcome WorkTally::outcome(const std::string& pastVerb) const
{
    const bool whole = !cancelled && skipped == 0 && sourcesKept == 0 && lastFailure.empty();
    if (whole)
        return { JobOutcome::End::completed, pastVerb + " " + items(done) };
    std::string summary = pastVerb + " "
        + (total == unknown ? items(done) : KivFormat::grouped(done) + " of " + items(total));
    if (skipped > 0)
        summary += "; " + KivFormat::grouped(skipped) + " skipped";
    if (sourcesKept > 0)
        summary += "; " + KivFormat::grouped(sourcesKept) + " copied but still at the source too";
    if (cancelled)
        summary += "; cancelled";
    if (!lastFailure.empty())
        summary += ".\n" + lastFailure;
    return { cancelled ? JobOutcome::End::cancelled : JobOutcome::End::incomplete, summary,
        lastFailure.empty() };
}

} // namespace kiv
