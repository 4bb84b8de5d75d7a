#pragma once

#include "shell/UserMenuItem.h"

#include <string>
#include <string_view>
#include <vector>

// The user menu's text file, menu.txt in the ConfigFolder (~/.config/kiv-mac/ by default): one
// "hotkey|label|shell command" a line,
// "#" comments and blank lines ignored. Stateless; the file is read afresh on every load.
namespace kiv::UserMenuStore {

// The menu file's path in the ConfigFolder.
std::string menuFileURL();

// The menu's items in file order; never empty and never throws. A missing file is created with
// the default menu (a failure to create it is ignored). A file that cannot be read, is not valid
// UTF-8 or holds no entry line gives the default items and is left exactly as it is.
std::vector<UserMenuItem> load();

// Writes the two header lines, a blank line and one line per item, atomically, creating the
// folders on the way. Throws the platform error (std::filesystem::filesystem_error) on failure,
// leaving any existing file as it was.
void save(const std::vector<UserMenuItem>& items);

// The entries of a menu file's text, in order, by the file's line rules; empty when no line
// qualifies. Accepts any bytes without failing (UTF-8 is checked by load, not here).
std::vector<UserMenuItem> parseMenuText(std::string_view text);

} // namespace kiv::UserMenuStore
