#include "shell/UserMenuStore.h"

#include "files/ConfigFolder.h"
#include "files/WholeFile.h"
#include "text/Utf8Text.h"

#include <optional>
#include <sys/stat.h>
#include <variant>

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

// Nothing for a blank line or a comment; otherwise the entry or why the line is not one.
std::optional<std::variant<UserMenuItem, std::string>> readLine(std::string_view rawLine)
{
    auto line = trimmedOfSpacesAndTabs(rawLine);
    if (line.empty() || line.front() == '#')
        return std::nullopt;
    if (!Utf8Text::isValid(line))
        return "it is not valid UTF-8 text";
    auto firstBar = line.find('|');
    auto secondBar = firstBar == std::string_view::npos ? firstBar : line.find('|', firstBar + 1);
    if (secondBar == std::string_view::npos)
        return "it is not hotkey|label|command";
    auto hotkey = trimmedOfSpacesAndTabs(line.substr(0, firstBar));
    if (hotkey.empty())
        return "it has no hot key before the first |";
    if (Utf8Text::firstCharacter(hotkey) != hotkey)
        return "the hot key \"" + std::string(hotkey) + "\" is more than one character";
    return UserMenuItem(std::string(hotkey), std::string(line.substr(firstBar + 1, secondBar - firstBar - 1)),
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

std::string menuFilePath()
{
    const std::string path = ConfigFolder::filePath(menuFileName);
    const std::string beforeTheMove = ConfigFolder::homeFilePath(menuFileName);
    struct stat facts;
    if (::lstat(path.c_str(), &facts) != 0 && ::lstat(beforeTheMove.c_str(), &facts) == 0)
        return beforeTheMove;
    return path;
}

Menu load()
{
    auto path = menuFilePath();
    std::string contents;
    switch (WholeFile::read(path, contents)) {
    case WholeFile::ReadOutcome::missing: {
        auto items = defaultMenu();
        try {
            save(items);
        } catch (const std::exception&) {
            // The menu still works from the defaults; there is nobody to tell.
        }
        return { items, {} };
    }
    case WholeFile::ReadOutcome::unreadable:
        return { defaultMenu(), {} };
    case WholeFile::ReadOutcome::read:
        break;
    }
    auto menu = parseMenuText(contents);
    if (menu.items.empty() && menu.badLines.empty())
        menu.items = defaultMenu();
    return menu;
}

void save(const std::vector<UserMenuItem>& items)
{
    ConfigFolder::writeFile(menuFileName, menuText(items));
}

Menu parseMenuText(std::string_view text)
{
    Menu menu;
    for (std::size_t number = 1; !text.empty(); ++number) {
        auto end = text.find('\n');
        auto line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        auto read = readLine(line);
        if (!read)
            continue;
        if (auto* item = std::get_if<UserMenuItem>(&*read))
            menu.items.push_back(std::move(*item));
        else
            menu.badLines.push_back({ number, std::get<std::string>(std::move(*read)) });
    }
    return menu;
}

} // namespace kiv::UserMenuStore
