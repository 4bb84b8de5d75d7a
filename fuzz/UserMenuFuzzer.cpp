// Fuzzes the user-menu file parser: any bytes parse without fault into items whose hot key is
// one character taken from their own line, and the items written back in the file's format
// read back as the same texts.
#include "FuzzCheck.h"
#include "shell/UserMenuStore.h"
#include "text/Utf8Text.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace kiv;
using namespace kiv::fuzz;

namespace {

std::string_view trimmed(std::string_view line)
{
    auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// A line that gives an item is "hotkey...|label|command" once its outer blanks are gone.
bool isLineOf(std::string_view line, const UserMenuItem& item)
{
    line = trimmed(line);
    auto firstBar = line.find('|');
    return firstBar != std::string_view::npos && line.starts_with(item.hotkey)
        && firstBar >= item.hotkey.size() && line.substr(firstBar + 1) == item.label + "|" + item.command;
}

std::string fileTextOf(const std::vector<UserMenuItem>& items)
{
    std::string text = "# header\n\n";
    for (const auto& item : items)
        text += item.hotkey + "|" + item.label + "|" + item.command + "\n";
    return text;
}

bool sameTexts(const UserMenuItem& a, const UserMenuItem& b)
{
    return a.hotkey == b.hotkey && a.label == b.label && a.command == b.command;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto [items, lines] = itemsWithTheirLines(text, UserMenuStore::parseMenuText, sameTexts);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        require(isLineOf(lines[i], item), "item texts not taken from its line", lines[i]);
        require(!item.hotkey.empty(), "item without a hot key", item.label);
        require(Utf8Text::firstCharacter(item.hotkey) == item.hotkey, "hot key longer than one character",
            item.hotkey);
        require(item.hotkey.front() != '#' && item.hotkey.front() != ' ' && item.hotkey.front() != '\t'
                && item.hotkey.find('|') == std::string::npos,
            "hot key from a comment, a blank or a separator", item.hotkey);
        require(item.label.find('|') == std::string::npos, "label holds a separator", item.label);
        require((item.label + item.command).find('\n') == std::string::npos, "item runs past its line");
    }
    auto reread = UserMenuStore::parseMenuText(fileTextOf(items));
    require(std::equal(items.begin(), items.end(), reread.begin(), reread.end(), sameTexts),
        "items written out and read back differ");
    return 0;
}
