// Fuzzes the user-menu file parser: any bytes parse without fault into items whose texts are
// valid UTF-8 with a hot key of one character taken from their own line, and bad lines numbered by
// their place in the text, every line that is not blank or a comment giving exactly one of the
// two; the items written back in the file's format read back as the same texts.
#include "FuzzCheck.h"
#include "shell/UserMenuStore.h"
#include "text/Utf8Text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

bool isBlankOrComment(std::string_view line)
{
    line = trimmed(line);
    return line.empty() || line.front() == '#';
}

void checkItem(const UserMenuItem& item, std::string_view line)
{
    require(isLineOf(line, item), "item texts not taken from its line", line);
    require(Utf8Text::isValid(item.hotkey + item.label + item.command), "item text not UTF-8", line);
    require(!item.hotkey.empty(), "item without a hot key", item.label);
    require(Utf8Text::firstCharacter(item.hotkey) == item.hotkey, "hot key longer than one character",
        item.hotkey);
    require(item.hotkey.front() != '#' && item.hotkey.front() != ' ' && item.hotkey.front() != '\t'
            && item.hotkey.find('|') == std::string::npos,
        "hot key from a comment, a blank or a separator", item.hotkey);
    require(item.label.find('|') == std::string::npos, "label holds a separator", item.label);
    require((item.label + item.command).find('\n') == std::string::npos, "item runs past its line");
}

// Bad lines in order, each on a line that is neither blank nor a comment, and giving the same
// reason when read alone.
void checkBadLines(
    const std::vector<UserMenuStore::BadLine>& badLines, const std::vector<std::string_view>& lines)
{
    std::size_t previous = 0;
    for (const auto& bad : badLines) {
        require(bad.number > previous && bad.number <= lines.size(), "bad line numbered out of order");
        previous = bad.number;
        const auto line = lines[bad.number - 1];
        require(!isBlankOrComment(line), "a blank line or a comment called bad", line);
        const auto alone = UserMenuStore::parseMenuText(line);
        require(
            alone.items.empty() && alone.badLines == std::vector { UserMenuStore::BadLine { 1, bad.reason } },
            "a bad line read alone gives something else", line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto menu = UserMenuStore::parseMenuText(text);
    const auto readItems = [](std::string_view part) { return UserMenuStore::parseMenuText(part).items; };
    auto [items, itemLines] = itemsWithTheirLines(text, readItems, sameTexts);
    for (std::size_t i = 0; i < items.size(); ++i)
        checkItem(items[i], itemLines[i]);
    const auto lines = allLines(text);
    checkBadLines(menu.badLines, lines);
    require(items.size() + menu.badLines.size()
            == std::size_t(
                std::count_if(lines.begin(), lines.end(), [](auto l) { return !isBlankOrComment(l); })),
        "a line that gives neither an item nor a bad line");
    auto reread = UserMenuStore::parseMenuText(fileTextOf(items));
    require(reread.badLines.empty()
            && std::equal(items.begin(), items.end(), reread.items.begin(), reread.items.end(), sameTexts),
        "items written out and read back differ");
    return 0;
}
