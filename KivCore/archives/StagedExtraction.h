#pragma once

#include <functional>
#include <string>

namespace kiv {
struct TransferSession;
}

// Extraction that replaces nothing unasked. The tools only know "overwrite" or "skip silently";
// so they write into an empty staging folder inside the destination, and the result is then moved
// into place item by item, merging into folders that exist, with a question for each taken name.
namespace kiv::StagedExtraction {

// Creates `destination` (with missing parents), runs `extractInto(stagingFolder)`, then moves
// what it produced into `destination` through `session` (its questions, its tally), even when
// `extractInto` threw, which is thrown on afterwards. The staging folder is always removed, with
// whatever could not be placed. Throws the platform error when the folders cannot be made.
void run(const std::string& destination, TransferSession& session,
    const std::function<void(const std::string& stagingFolder)>& extractInto);

} // namespace kiv::StagedExtraction
