#pragma once

#include <optional>
#include <string>
#include <string_view>

// Recognises a command line that only changes folder ("cd", "cd ~", "cd -", "cd ..",
// "cd 'My Files'"), so the panel moves instead of a shell that would change folder and forget it.
namespace kiv::ChangeDirectoryLine {

// Returns nothing when `line` is not a lone cd command with at most one name (the shell then runs
// it as it is: more words, quotes left open, "~user", or any unquoted character the shell would
// treat specially, such as ; & | < > $ ` ( ) * ? [). Otherwise returns the absolute folder it
// names: the home folder for "cd" and "cd ~", `previous` for "cd -", `current` for "cd ''", else
// the name taken from `current`, with "." and ".." resolved on the text. Throws
// KivError::operationFailed ("cd: no previous folder") for "cd -" when `previous` is empty.
// REQUIRES: `current` is absolute.
std::optional<std::string> target(
    std::string_view line, const std::string& current, const std::string& previous);

} // namespace kiv::ChangeDirectoryLine
