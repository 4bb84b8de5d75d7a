#pragma once

#include "jobs/Job.h"
#include "jobs/JobControl.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <thread>

namespace kiv::test {

// A job that reads `source` and writes `target`, and runs until released or cancelled; released,
// it leaves a file named "made" in `target` (a folder), as a copy would.
class GateJob : public Job
{
public:
    GateJob(std::string source, std::string target)
        : m_footprint { { std::move(source) }, { std::move(target) } }
    {
    }
    std::string title() const override { return "Gate"; }
    std::string description() const override { return "Gate into " + m_footprint.writes.front(); }
    JobFootprint footprint() const override { return m_footprint; }
    JobOutcome run(JobControl& control) override
    {
        started.set_value();
        control.addToTotals(2, 0);
        control.startWorking();
        control.finishItems(1, 0);
        while (!released) {
            control.throwIfCancelled();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::ofstream(m_footprint.writes.front() + "/made") << "made";
        return { JobOutcome::End::completed, "done" };
    }

    std::promise<void> started;
    std::atomic<bool> released { false };

private:
    JobFootprint m_footprint;
};

} // namespace kiv::test
