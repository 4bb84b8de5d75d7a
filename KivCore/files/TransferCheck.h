#pragma once

#include <optional>
#include <string>
#include <vector>

// What makes a copy or move into a folder pointless or endless, told from the paths alone before
// any job starts: nothing is read on the disk, so a link on the way is not seen through (the job
// refuses a folder into itself again once it has resolved the paths).
namespace kiv::TransferCheck {

// Returns why the items at `sources` (absolute paths) cannot be copied or moved (`verb`, "copy" or
// "move") into the folder `targetFolder`: one of them is already in it, or is that folder or one
// holding it. Returns nothing when they can go.
std::optional<std::string> refusal(
    const std::vector<std::string>& sources, const std::string& targetFolder, const std::string& verb);

} // namespace kiv::TransferCheck
