#pragma once

#include <functional>
#include <string>

// Extraction that never replaces what the user has. The tools only know "overwrite" or
// "skip silently"; so they write into an empty staging folder inside the destination, and
// the result is then moved into place item by item without replacing anything.
namespace kiv::StagedExtraction {

// Creates `destination` (with missing parents), runs `extractInto(stagingFolder)`, then moves
// everything it produced into `destination`, merging into folders that already exist there.
// Throws the platform error when the folders cannot be made, whatever `extractInto` throws
// (after placing what it did produce), or KivError::alreadyExists with the first path that
// was already taken; the extracted copies that could not be placed are discarded.
void run(const std::string& destination, const std::function<void(const std::string&)>& extractInto);

} // namespace kiv::StagedExtraction
