#pragma once

#include <functional>
#include <string>

// Names for new items beside existing ones.
namespace kiv::FreeName {

// Returns the first name of "name (2).ext", "name (3).ext"... that nothing in the folder open as
// `folderFd` uses; a folder's name, or one with no extension, gets the number at its end.
std::string numbered(int folderFd, const std::string& name, bool isFolder);
// numbered() for a folder elsewhere (on a server): `taken` says whether a name is in use.
std::string numbered(const std::string& name, bool isFolder, const std::function<bool(const std::string&)>& taken);

// Returns a short hidden name unused in the folder open as `folderFd`, for an item made beside
// another that it replaces once complete.
std::string temporary(int folderFd);

} // namespace kiv::FreeName
