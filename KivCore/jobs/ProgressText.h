#pragma once

#include "jobs/JobProgress.h"

#include <string>
#include <vector>

// The lines a progress display shows for a job, worked out from its progress record.
namespace kiv::ProgressText {

// Returns a bar `cells` wide in text-mode blocks, filled in proportion to `done` of `total`
// (empty while the total is unknown).
std::string bar(std::int64_t done, std::int64_t total, int cells);

// Returns "1.2 GB of 3.4 GB", or "1.2 GB" while no total is known.
std::string bytes(const JobProgress& progress);

// Returns what a job works on, for its description: the last name of the one path, or "3 items".
std::string subject(const std::vector<std::string>& paths);

// Returns "1,204 of 3,000 items", "Counting... 1,204 items" while the job counts, or "1,204
// items" while it works with no total known.
std::string items(const JobProgress& progress);

// Returns the speed and the time left after `seconds` of work, "45.3 MB/s, 0:12 left" ("45.3
// MB/s" with no total known); "" until there is something to measure.
std::string pace(const JobProgress& progress, double seconds);

// Returns the whole job's share done in percent, 0 while counting.
int percent(const JobProgress& progress);

} // namespace kiv::ProgressText
