#pragma once

#include <string>

namespace kiv {

// Where a panel opens for a path given to the program when it starts.
struct StartPlace
{
    std::string folder; // absolute; empty: the home folder
    std::string cursorName; // the row to put the cursor on; empty: the first row
    std::string problem; // why the path cannot be shown ("No such file or directory: /x"); empty when it can

    // Reads `typed` as the shell passed it: taken from `workingFolder` unless it starts with "/",
    // with no "~" of its own. A folder that can be opened is the place; anything else that is
    // there (a file, a link to nowhere) opens the folder holding it with the cursor on it; a path
    // that is not there, or whose folder cannot be opened, gives the home folder and the problem.
    // Touches the disk: an open or two and a stat. REQUIRES: `workingFolder` is absolute.
    static StartPlace of(const std::string& typed, const std::string& workingFolder);

    bool operator==(const StartPlace&) const = default;
};

} // namespace kiv
