#include "jobs/WorkTally.h"

#include "text/KivFormat.h"

namespace kiv {

JobOutcome WorkTally::outcome(const std::string& pastVerb) const
{
    const bool whole = !cancelled && skipped == 0 && sourcesKept == 0 && lastFailure.empty();
    if (whole)
        return { JobOutcome::End::completed, pastVerb + " " + KivFormat::itemCount(done) };
    std::string summary = pastVerb + " "
        + (total == unknown ? KivFormat::itemCount(done) : KivFormat::grouped(done) + " of " + KivFormat::itemCount(total));
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
