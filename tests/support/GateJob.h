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
    // How the job waits: stepping (looking for a cancel or pause between steps) or in one long
    // call that looks at nothing, like a write to a slow mount.
    enum class Waits
    {
        stepping,
        blind,
    };

    GateJob(std::string source, std::string target, Waits waits = Waits::stepping)
        : m_footprint { { std::move(source) }, { std::move(target) } }
        , m_waits(waits)
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
        // A step first: a release that comes while the job is held is seen only once it goes on.
        for (;;) {
            if (m_waits == Waits::stepping)
                control.throwIfCancelled();
            if (released)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::ofstream(m_footprint.writes.front() + "/made") << "made";
        return outcome;
    }

    std::promise<void> started;
    JobOutcome outcome { JobOutcome::End::completed, "done" }; // what the job ends with once released
    std::atomic<bool> released { false };

private:
    JobFootprint m_footprint;
    Waits m_waits;
};

} // namespace kiv::test
