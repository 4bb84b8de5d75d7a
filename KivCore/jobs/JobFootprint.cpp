#include "jobs/JobFootprint.h"

#include "base/PathString.h"

#include <algorithm>

namespace kiv {

namespace {

bool overlaps(const std::string& a, const std::string& b)
{
    return PathString::isSameOrInside(a, b) || PathString::isSameOrInside(b, a);
}

bool anyOverlap(const std::vector<std::string>& some, const std::vector<std::string>& others)
{
    return std::any_of(some.begin(), some.end(), [&](const std::string& path) {
        return std::any_of(
            others.begin(), others.end(), [&](const std::string& other) { return overlaps(path, other); });
    });
}

} // namespace

bool JobFootprint::clashesWith(const JobFootprint& other) const
{
    return anyOverlap(writes, other.writes) || anyOverlap(writes, other.reads)
        || anyOverlap(reads, other.writes);
}

bool JobFootprint::touchesFolder(const std::string& path) const
{
    return std::any_of(writes.begin(), writes.end(), [&](const std::string& written) {
        return PathString::isSameOrInside(path, written)
            || PathString::isSameOrInside(path, PathString::parentOrRoot(written));
    });
}

} // namespace kiv
