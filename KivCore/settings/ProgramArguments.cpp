#include "settings/ProgramArguments.h"

#include <algorithm>

namespace kiv {

namespace {

constexpr const char* usage
    = "Usage: tavrin [OPTION] [LEFT [RIGHT]]\n"
      "A keyboard-driven two-panel file manager.\n"
      "\n"
      "The left panel opens on the folder LEFT and the right one on RIGHT; a file opens its\n"
      "folder with the cursor on it. A panel given no path opens where it was when Tavrin\n"
      "last ended.\n"
      "\n"
      "  -h, --help     print this help and exit\n"
      "      --version  print the version and exit\n"
      "      --         take every word after it as a path, even one starting with \"-\"\n"
      "\n"
      "In the window, F1 lists the keys.\n";

// A word that asks for an option rather than names a path: "-" alone is a path.
bool isOption(const std::string& word)
{
    return word.size() > 1 && word.front() == '-';
}

ProgramArguments refusal(const std::string& why)
{
    return { ProgramArguments::Action::refuse, "tavrin: " + why + "\nTry 'tavrin --help' for more.\n", {} };
}

} // namespace

ProgramArguments ProgramArguments::parse(const std::vector<std::string>& words)
{
    const auto optionsEnd = std::find(words.begin(), words.end(), "--");
    for (auto word = words.begin(); word != optionsEnd; ++word) {
        if (*word == "--help" || *word == "-h")
            return { Action::print, usage, {} };
        if (*word == "--version")
            return { Action::print, "tavrin " KIV_VERSION "\n", {} };
    }
    ProgramArguments parsed;
    for (auto word = words.begin(); word != words.end(); ++word) {
        if (word == optionsEnd)
            continue;
        if (word < optionsEnd && isOption(*word))
            return refusal("unknown option '" + *word + "'");
        if (parsed.folders.size() == 2)
            return refusal("too many paths: at most two, LEFT and RIGHT, and '" + *word + "' is a third");
        parsed.folders.push_back(*word);
    }
    return parsed;
}

} // namespace kiv
