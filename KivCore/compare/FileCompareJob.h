#pragma once

#include "compare/LineIndex.h"
#include "compare/SideBySide.h"
#include "jobs/Job.h"

#include <memory>
#include <string>

namespace kiv {

// Compares two files line by line as a job: reads each once (progress in bytes, cancel between
// blocks), finds their differences (LineDiff) and sets them side by side for a viewer.
class FileCompareJob : public Job
{
public:
    // What the comparison found: each file's lines, and the rows a viewer draws.
    struct Result
    {
        LineIndex left;
        LineIndex right;
        SideBySide rows;
    };

    // Compares the files at `leftPath` and `rightPath`.
    FileCompareJob(std::string leftPath, std::string rightPath);

    std::string title() const override;
    std::string description() const override;
    JobFootprint footprint() const override;
    JobOutcome run(JobControl& control) override;

    // Returns what was found, null before the end or after a cancel or failure.
    std::shared_ptr<const Result> result() const { return m_result; }

private:
    std::string m_leftPath;
    std::string m_rightPath;
    std::shared_ptr<const Result> m_result;
};

} // namespace kiv
