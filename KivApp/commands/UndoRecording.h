#pragma once

#include "history/OperationRecord.h"

#include <memory>

namespace kiv {
class Job;
class TransferReport;
struct CommandContext;
} // namespace kiv

// Starting a job whose result goes into the history once it has ended.
namespace kiv::UndoRecording {

// Starts `work` on the context's job runner; when it has ended, what its `report` (owned by
// `work`) says it did is recorded in the context's history as an operation of `kind`, in `place`
// (a server's folders; this machine's disk when null).
void start(const CommandContext& context, std::shared_ptr<Job> work, const TransferReport& report,
    OperationRecord::Kind kind, std::shared_ptr<const Door> place = nullptr);

} // namespace kiv::UndoRecording
