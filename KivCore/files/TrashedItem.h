#pragma once

#include <string>

namespace kiv {

// Where one item went when it was moved to the trash, which is all it takes to put it back.
struct TrashedItem
{
    std::string originalPath; // where it was, absolute
    std::string trashedPath; // where it is now, in the trash's "files" folder
    std::string infoPath; // its .trashinfo file; empty where the trash keeps none (macOS)

    bool operator==(const TrashedItem&) const = default;
};

} // namespace kiv
