#pragma once

#include <string>
#include <string_view>

// The folder that keeps the program's own files (the user menu, the settings):
// $XDG_CONFIG_HOME/kiv-mac, or ~/.config/kiv-mac when that variable is unset, empty or relative.
namespace kiv::ConfigFolder {

// The full path of the file `name` in the folder; the folder may not exist yet.
std::string filePath(std::string_view name);

// The full path of the file `name` in ~/.config/kiv-mac, where the folder is when XDG_CONFIG_HOME
// is not set, whether it is set or not.
std::string homeFilePath(std::string_view name);

// Replaces the file `name` in the folder with `contents` atomically (AtomicFile::write), creating
// the folders on the way. Throws the platform error (std::filesystem::filesystem_error) on
// failure, leaving any existing file as it was.
void writeFile(std::string_view name, std::string_view contents);

} // namespace kiv::ConfigFolder
