#pragma once

#include <string>

// How a path the user typed for a file command is read. Only bytes: no disk access.
namespace kiv::TypedPath {

// Where an item goes: the folder it lands in and the name it has there.
struct Destination
{
    std::string folder;
    std::string name;

    bool operator==(const Destination&) const = default;
};

// Returns `typed` as an absolute path: "~" alone or before a "/" stands for `home`, and a relative
// path is taken inside `baseFolder`, never inside the program's working folder. A trailing "/"
// is kept. REQUIRES: `typed` is not empty, `baseFolder` and `home` are absolute.
std::string absolute(const std::string& typed, const std::string& baseFolder, const std::string& home);

// Reads `typed` as the new place of the item called `name` in `baseFolder`: a bare name (no "/",
// not "~") is a new name in `baseFolder` itself; a path ending in "/", or "~" alone, is the folder
// to move into keeping `name`; any other path's last component is the new name and the rest the
// folder. REQUIRES as absolute().
Destination destination(const std::string& typed, const std::string& baseFolder, const std::string& home,
    const std::string& name);

} // namespace kiv::TypedPath
