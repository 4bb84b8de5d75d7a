#include "history/ReplayJob.h"

#include "base/ErrorText.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "rename/RenameSetJob.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

namespace kiv {

namespace {

constexpr std::size_t differencesShown = 10;

std::string refusal(const std::vector<std::string>& differences, ReplayJob::Direction direction)
{
    std::string text = std::string("Nothing was ")
        + (direction == ReplayJob::Direction::undo ? "undone" : "redone")
        + ": the files are no longer as the operation left them.";
    for (std::size_t index = 0; index < differences.size() && index < differencesShown; ++index)
        text += "\n" + differences[index];
    if (differences.size() > differencesShown)
        text += "\n... and " + std::to_string(differences.size() - differencesShown) + " more.";
    return text;
}

} // namespace

ReplayJob::ReplayJob(OperationRecord record, Direction direction, Trash trash)
    : m_remaining(std::move(record))
    , m_replayed { m_remaining.kind, {}, m_remaining.place }
    , m_direction(direction)
    , m_trash(std::move(trash))
    , m_what(m_remaining.description())
{
}

std::string ReplayJob::title() const
{
    return m_direction == Direction::undo ? "Undo" : "Redo";
}

std::string ReplayJob::description() const
{
    return title() + " " + m_what;
}

JobFootprint ReplayJob::footprint() const
{
    JobFootprint footprint;
    // A server's paths never clash with this machine's.
    if (m_remaining.place)
        return footprint;
    // What a link points to is only its text: the link alone is written.
    const bool linked = m_remaining.kind == OperationRecord::Kind::link;
    for (const OperationRecord::Step& step : m_remaining.steps) {
        for (const std::string* path : { &step.from, &step.to })
            if (!path->empty() && !(linked && path == &step.from))
                footprint.writes.push_back(*path);
    }
    return footprint;
}

JobOutcome ReplayJob::run(JobControl& control)
{
    if (const auto differences = OperationReplay::differences(m_remaining, m_direction); !differences.empty())
        return { JobOutcome::End::failed, refusal(differences, m_direction) };
    const std::size_t count = m_remaining.steps.size();
    // A server's renames go one by one through its door.
    const bool renameSet = m_remaining.kind == OperationRecord::Kind::rename && !m_remaining.place;
    JobOutcome outcome = renameSet ? replayRenames(control) : replayAll(control);
    if (outcome.end == JobOutcome::End::completed)
        return { outcome.end, (m_direction == Direction::undo ? "Undone: " : "Redone: ") + m_what };
    const std::string done = std::to_string(m_replayed.steps.size()) + " of " + std::to_string(count);
    const std::string verb = m_direction == Direction::undo ? "Undid " : "Redid ";
    outcome.summary = verb + done + " items of the " + m_what + "; " + outcome.summary;
    return outcome;
}

// An undo goes from the last item back to the first, so a later item never finds its place still
// held by an earlier one. The items done move from the remaining record to the replayed one.
JobOutcome ReplayJob::replayAll(JobControl& control)
{
    control.addToTotals(std::int64_t(m_remaining.steps.size()), 0);
    control.startWorking();
    auto& steps = m_remaining.steps;
    const bool backward = m_direction == Direction::undo;
    const std::size_t count = steps.size();
    std::size_t done = 0;
    JobOutcome outcome;
    try {
        for (; done < count; ++done) {
            control.throwIfCancelled();
            OperationRecord::Step& step = steps[backward ? count - 1 - done : done];
            control.beginItem(step.to, 0);
            OperationReplay::replay(
                m_remaining.kind, step, m_direction, m_trash, control, m_remaining.place.get());
            control.finishItems(1, 0);
        }
    } catch (const JobCancelled&) {
        outcome = { JobOutcome::End::cancelled, "cancelled" };
    } catch (const std::exception& error) {
        outcome = { JobOutcome::End::failed, userMessage(error) };
    }
    const auto first = backward ? steps.end() - std::ptrdiff_t(done) : steps.begin();
    const auto last = first + std::ptrdiff_t(done);
    m_replayed.steps.assign(std::make_move_iterator(first), std::make_move_iterator(last));
    steps.erase(first, last);
    return outcome;
}

// The items of a rename go as one set, so that names they swap or pass round are free when taken;
// the items renamed move from the remaining record to the replayed one.
JobOutcome ReplayJob::replayRenames(JobControl& control)
{
    const bool undo = m_direction == Direction::undo;
    std::vector<RenameSetJob::Rename> renames;
    for (const OperationRecord::Step& step : m_remaining.steps)
        renames.push_back(
            undo ? RenameSetJob::Rename { step.to, step.from } : RenameSetJob::Rename { step.from, step.to });
    RenameSetJob job(std::move(renames));
    const JobOutcome outcome = job.run(control);
    std::set<std::pair<std::string, std::string>> renamed;
    for (const TransferReport::Item& item : job.report().items())
        renamed.emplace(undo ? item.to : item.from, undo ? item.from : item.to);
    auto& steps = m_remaining.steps;
    const auto firstLeft
        = std::stable_partition(steps.begin(), steps.end(), [&](const OperationRecord::Step& step) {
              return renamed.contains({ step.from, step.to });
          });
    m_replayed.steps.assign(std::make_move_iterator(steps.begin()), std::make_move_iterator(firstLeft));
    steps.erase(steps.begin(), firstLeft);
    if (outcome.end == JobOutcome::End::cancelled)
        return { outcome.end, "cancelled" };
    return { outcome.end == JobOutcome::End::completed ? outcome.end : JobOutcome::End::failed,
        job.lastFailure() };
}

} // namespace kiv
