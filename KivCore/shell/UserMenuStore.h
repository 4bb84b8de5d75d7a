#pragma once

#include "shell/UserMenuItem.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The user menu's text file, menu.txt in the ConfigFolder (~/.config/kiv-mac/ by default): one
// "hotkey|label|shell command" a line,
// "#" comments and blank lines ignored. Stateless; the file is read afresh on every load.
namespace kiv::UserMenuStore {

// A line of the menu file that is neither an entry, a comment nor blank.
struct BadLine
{
    std::size_t number; // counted from 1
    std::string reason; // what is wrong with it, as the user reads it: "the hot key ..."

    bool operator==(const BadLine&) const = default;
};

// What a menu file gives: its entries and its bad lines, each in file order.
struct Menu
{
    std::vector<UserMenuItem> items;
    std::vector<BadLine> badLines;
};

// The menu file's path: in the ConfigFolder, or, while there is none there and XDG_CONFIG_HOME
// moved that folder, the one in ~/.config/kiv-mac, so that setting the variable keeps the menu.
std::string menuFilePath();

// The menu read from its file; never throws, and has items or bad lines. A missing file is
// created with the default menu (a failure to create it is ignored). A file that cannot be read
// or holds neither an entry nor a bad line gives the default items and is left exactly as it is.
Menu load();

// Writes the two header lines, a blank line and one line per item, atomically, creating the
// folders on the way. Throws the platform error (std::filesystem::filesystem_error) on failure,
// leaving any existing file as it was.
void save(const std::vector<UserMenuItem>& items);

// The menu of a menu file's text, by the file's line rules: a line that is not blank or a comment
// is an entry when it is valid UTF-8 with two "|" and exactly one character, blanks around it
// ignored, before the first; otherwise it is a bad line. Accepts any bytes without failing.
Menu parseMenuText(std::string_view text);

} // namespace kiv::UserMenuStore
