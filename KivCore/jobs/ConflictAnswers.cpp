#include "jobs/ConflictAnswers.h"

#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

namespace kiv {

ConflictAnswers::Resolution ConflictAnswers::byStanding(
    const JobItemFacts& source, const JobItemFacts& target) const
{
    switch (m_standing) {
    case Standing::overwriteAll:
        return Resolution::overwrite;
    case Standing::overwriteOlder:
        // A target of unknown age is never taken for older.
        return source.modified && target.modified && *target.modified < *source.modified
            ? Resolution::overwrite
            : Resolution::skip;
    default:
        return Resolution::skip;
    }
}

ConflictAnswers::Resolution ConflictAnswers::acrossKinds(
    const JobItemFacts& source, const JobItemFacts& target)
{
    if (m_standing == Standing::skipAll)
        return Resolution::skip;
    switch (m_control.ask({ JobQuestion::Kind::conflict, source, target, {} })) {
    case JobAnswer::overwrite:
    case JobAnswer::overwriteAll:
    case JobAnswer::overwriteAllOlder:
        return Resolution::overwrite;
    case JobAnswer::skip:
    case JobAnswer::skipAll:
        return Resolution::skip;
    case JobAnswer::keepBoth:
        return Resolution::keepBoth;
    default:
        throw JobCancelled();
    }
}

ConflictAnswers::Resolution ConflictAnswers::resolve(const JobItemFacts& source, const JobItemFacts& target)
{
    const Resolution resolution = decide(source, target);
    if (resolution == Resolution::skip)
        ++m_skipped;
    return resolution;
}

ConflictAnswers::Resolution ConflictAnswers::decide(const JobItemFacts& source, const JobItemFacts& target)
{
    if (source.isFolder != target.isFolder)
        return acrossKinds(source, target);
    if (m_standing != Standing::ask)
        return byStanding(source, target);
    switch (m_control.ask({ JobQuestion::Kind::conflict, source, target, {} })) {
    case JobAnswer::overwrite:
        return Resolution::overwrite;
    case JobAnswer::skip:
        return Resolution::skip;
    case JobAnswer::keepBoth:
        return Resolution::keepBoth;
    case JobAnswer::overwriteAll:
        m_standing = Standing::overwriteAll;
        break;
    case JobAnswer::skipAll:
        m_standing = Standing::skipAll;
        break;
    case JobAnswer::overwriteAllOlder:
        m_standing = Standing::overwriteOlder;
        break;
    default:
        throw JobCancelled();
    }
    return byStanding(source, target);
}

} // namespace kiv
