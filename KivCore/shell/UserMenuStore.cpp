#include "shell/UserMenuStore.h"

#include "files/ConfigFolder.h"
#include "files/WholeFile.h"
#include "text/Utf8Text.h"

#include <optional>

namespace kiv::UserMenuStore {

namespace {

constexpr std::string_view menuFileName = "menu.txt";

constexpr std::string_view headerLines = "# Tavrin - user menu (F2)\n"
                                         "# Format: hotkey|label|shell command\n"
                                         "\n";

#ifdef __APPLE__
constexpr const char* openTerminalCommand = "open -a Terminal .";
#else
// Detached and silent, so the program is not held up while the terminal runs.
constexpr const char* openTerminalCommand = "x-terminal-emulator >/dev/null 2>&1 &";
#endif

std::vector<UserMenuItem> defaultMenu()
{
    return {
        { "1", "List files by size", "ls -lhS" },
        { "2", "Show disk usage here", "du -sh ./* 2>/dev/null | sort -h" },
        { "3", "Git status", "git status" },
        { "4", "Open Terminal here", openTerminalCommand },
    };
}

std::string_view trimmedOfSpacesAndTabs(std::string_view line)
{
    auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    auto last = line.find_last_not_of(" \t");
    return line.substr(first, last - first + 1);
}

std::optional<UserMenuItem> itemFromLine(std::string_view rawLine)
{
    auto line = trimmedOfSpacesAndTabs(rawLine);
    if (line.empty() || line.front() == '#')
        return std::nullopt;
    auto firstBar = line.find('|');
    if (firstBar == std::string_view::npos || firstBar == 0)
        return std::nullopt;
    auto secondBar = line.find('|', firstBar + 1);
    if (secondBar == std::string_view::npos)
        return std::nullopt;
    return UserMenuItem(Utf8Text::firstCharacter(line.substr(0, firstBar)),
        std::string(line.substr(firstBar + 1, secondBar - firstBar - 1)),
        std::string(line.substr(secondBar + 1)));
}

std::string menuText(const std::vector<UserMenuItem>& items)
{
    std::string text(headerLines);
    for (const auto& item : items)
        text += item.hotkey + "|" + item.label + "|" + item.command + "\n";
    return text;
}

} // namespace

std::string menuFileURL()
{
    return ConfigFolder::filePath(menuFileName);
}

std::vector<UserMenuItem> load()
{
    auto path = menuFileURL();
    std::string contents;
    switch (WholeFile::read(path, contents)) {
    case WholeFile::ReadOutcome::missing: {
        auto items = defaultMenu();
        try {
            save(items);
        } catch (const std::exception&) {
            // The menu still works from the defaults; there is nobody to tell.
        }
        return items;
    }
    case WholeFile::ReadOutcome::unreadable:
        return defaultMenu();
    case WholeFile::ReadOutcome::read:
        break;
    }
    if (!Utf8Text::isValid(contents))
        return defaultMenu();
    auto items = parseMenuText(contents);
    return items.empty() ? defaultMenu() : items;
}

void save(const std::vector<UserMenuItem>& items)
{
    ConfigFolder::writeFile(menuFileName, menuText(items));
}

std::vector<UserMenuItem> parseMenuText(std::string_view text)
{
    std::vector<UserMenuItem> items;
    while (!text.empty()) {
        auto end = text.find('\n');
        auto line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (auto item = itemFromLine(line))
            items.push_back(std::move(*item));
    }
    return items;
}

} // namespace kiv::UserMenuStore
