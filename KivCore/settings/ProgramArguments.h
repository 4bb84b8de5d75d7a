#pragma once

#include <string>
#include <vector>

namespace kiv {

// What the words after the program's name ask for: `tavrin [LEFT [RIGHT]]`, `--help` or
// `--version`. Only words: nothing here touches the disk.
struct ProgramArguments
{
    enum class Action
    {
        run, // open the window, the panels on `folders`
        print, // write `text` to standard output and end with status 0
        refuse, // write `text` to standard error and end with status 2
    };

    Action action = Action::run;
    std::string text;
    std::vector<std::string> folders; // as typed, LEFT then RIGHT: at most two

    // Reads `words` (the arguments without the program's name). The first of --help, -h and
    // --version before "--" prints the usage or the version whatever else is there; otherwise an
    // unknown option, or a third path, refuses with one line saying why and where help is. "--"
    // makes every word after it a path, even one that starts with "-".
    static ProgramArguments parse(const std::vector<std::string>& words);

    bool operator==(const ProgramArguments&) const = default;
};

} // namespace kiv
