#pragma once

#include "jobs/Job.h"
#include "search/FindQuery.h"

#include <memory>

namespace kiv {

class FindResults;

// Searches a tree for names matching patterns and, when asked, files holding a text, and
// archives' members by name; hits go into a FindResults as they are found. Links are never
// followed; what cannot be read is counted there and the search goes on.
class FindJob : public Job
{
public:
    // Runs `query`, filling `results` (shared with whoever shows them).
    FindJob(FindQuery query, std::shared_ptr<FindResults> results);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

private:
    void searchArchive(const std::string& path, const NamePatterns& patterns) const;

    FindQuery m_query;
    std::shared_ptr<FindResults> m_results;
};

} // namespace kiv
