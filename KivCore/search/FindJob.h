#pragma once

#include "jobs/Job.h"
#include "search/FindQuery.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace kiv {

class Door;
class FindResults;
class NamePatterns;
class TextSearch;

// Searches a tree for names matching patterns and, when asked, files holding a text, and
// archives' members by name; hits go into a FindResults as they are found. Links are never
// followed; what cannot be read is counted there and the search goes on. A tree behind a door of
// another place (a server's) is walked through its listing, its archives never entered.
class FindJob : public Job
{
public:
    // Runs `query`, filling `results` (shared with whoever shows them); the query's root is a path
    // of `door`, or of this machine's disk when it is null.
    FindJob(
        FindQuery query, std::shared_ptr<FindResults> results, std::shared_ptr<const Door> door = nullptr);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

private:
    // Walk the tree, counting each item met into `searched`.
    void searchDisk(
        const NamePatterns& patterns, TextSearch* text, JobControl& control, std::int64_t& searched) const;
    void searchDoor(
        const NamePatterns& patterns, TextSearch* text, JobControl& control, std::int64_t& searched) const;
    void searchArchive(const std::string& path, const NamePatterns& patterns) const;

    FindQuery m_query;
    std::shared_ptr<FindResults> m_results;
    std::shared_ptr<const Door> m_door;
};

} // namespace kiv
