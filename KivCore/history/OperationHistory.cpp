#include "history/OperationHistory.h"

#include "base/KivError.h"

#include <exception>
#include <iterator>

namespace kiv {

namespace {

constexpr std::size_t differencesShown = 10;

std::string refusal(const std::vector<std::string>& differences, OperationReplay::Direction direction)
{
    std::string text = std::string("Nothing was ")
        + (direction == OperationReplay::Direction::undo ? "undone" : "redone")
        + ": the files are no longer as the operation left them.";
    for (std::size_t index = 0; index < differences.size() && index < differencesShown; ++index)
        text += "\n" + differences[index];
    if (differences.size() > differencesShown)
        text += "\n... and " + std::to_string(differences.size() - differencesShown) + " more.";
    return text;
}

} // namespace

OperationHistory::OperationHistory(Trash trash)
    : m_trash(std::move(trash))
{
}

void OperationHistory::record(OperationRecord record)
{
    if (record.steps.empty())
        return;
    m_undone.clear();
    push(m_done, std::move(record));
}

const OperationRecord* OperationHistory::nextUndo() const
{
    return m_done.empty() ? nullptr : &m_done.back();
}

const OperationRecord* OperationHistory::nextRedo() const
{
    return m_undone.empty() ? nullptr : &m_undone.back();
}

std::string OperationHistory::undo()
{
    return replay(m_done, m_undone, Direction::undo);
}

std::string OperationHistory::redo()
{
    return replay(m_undone, m_done, Direction::redo);
}

std::string OperationHistory::replay(
    std::vector<OperationRecord>& from, std::vector<OperationRecord>& to, Direction direction)
{
    if (from.empty())
        throw KivError::operationFailed(
            direction == Direction::undo ? "Nothing to undo." : "Nothing to redo.");
    OperationRecord& record = from.back();
    if (const auto differences = OperationReplay::differences(record, direction); !differences.empty())
        throw KivError::operationFailed(refusal(differences, direction));
    const std::string description = record.description();

    // An undo goes from the last item back to the first, so a later step never finds its place
    // still held by an earlier one.
    const bool backward = direction == Direction::undo;
    auto& steps = record.steps;
    const std::size_t count = steps.size();
    std::size_t done = 0;
    std::exception_ptr failure;
    for (; done < count; ++done) {
        try {
            OperationReplay::replay(
                record.kind, steps[backward ? count - 1 - done : done], direction, m_trash);
        } catch (...) {
            failure = std::current_exception();
            break;
        }
    }
    const auto first = backward ? steps.end() - std::ptrdiff_t(done) : steps.begin();
    const auto last = first + std::ptrdiff_t(done);
    OperationRecord replayed { record.kind,
        { std::make_move_iterator(first), std::make_move_iterator(last) } };
    steps.erase(first, last);
    if (steps.empty())
        from.pop_back();
    push(to, std::move(replayed));
    if (failure)
        std::rethrow_exception(failure);
    return description;
}

void OperationHistory::push(std::vector<OperationRecord>& stack, OperationRecord record)
{
    if (record.steps.empty())
        return;
    stack.push_back(std::move(record));
    if (stack.size() > capacity)
        stack.erase(stack.begin());
}

} // namespace kiv
