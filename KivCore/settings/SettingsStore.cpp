#include "settings/SettingsStore.h"

#include "base/PlatformCalls.h"
#include "files/ConfigFolder.h"
#include "files/WholeFile.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace kiv::SettingsStore {

namespace {

constexpr std::string_view fileName = "settings.txt";
constexpr std::string_view headerLine = "# Tavrin settings: one \"key value\" a line";

struct SortName
{
    SortOrder::Key key;
    std::string_view name;
};

constexpr std::array<SortName, 5> sortNames { {
    { SortOrder::Key::name, "name" },
    { SortOrder::Key::extension, "extension" },
    { SortOrder::Key::size, "size" },
    { SortOrder::Key::modificationTime, "time" },
    { SortOrder::Key::unsorted, "unsorted" },
} };

std::string escaped(std::string_view value)
{
    std::string text;
    text.reserve(value.size());
    for (char c : value) {
        if (c == '\\')
            text += "\\\\";
        else if (c == '\n')
            text += "\\n";
        else
            text += c;
    }
    return text;
}

std::optional<std::string> unescaped(std::string_view text)
{
    std::string value;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\') {
            value += text[at];
            continue;
        }
        if (++at == text.size() || (text[at] != '\\' && text[at] != 'n'))
            return std::nullopt;
        value += text[at] == 'n' ? '\n' : '\\';
    }
    return value;
}

void appendLine(std::string& text, std::string_view key, std::string_view value)
{
    text.append(key).append(" ").append(escaped(value)).append("\n");
}

std::string sortText(SortOrder order)
{
    std::string_view name;
    for (const auto& sortName : sortNames) {
        if (sortName.key == order.key)
            name = sortName.name;
    }
    return std::string(name)
        + (order.direction == SortOrder::Direction::descending ? " descending" : " ascending");
}

std::optional<SortOrder> parseSort(std::string_view value)
{
    const auto blank = value.find(' ');
    const auto direction = blank == std::string_view::npos ? std::string_view() : value.substr(blank + 1);
    if (direction != "ascending" && direction != "descending")
        return std::nullopt;
    for (const auto& sortName : sortNames) {
        if (sortName.name == value.substr(0, blank))
            return SortOrder { sortName.key,
                direction == "ascending" ? SortOrder::Direction::ascending
                                         : SortOrder::Direction::descending };
    }
    return std::nullopt;
}

// Reads "WIDTH HEIGHT DIVIDER" into `settings`; false when the value is anything else.
bool parseWindow(std::string_view value, Settings& settings)
{
    const char* at = value.data();
    const char* end = value.data() + value.size();
    for (int* number : { &settings.windowWidth, &settings.windowHeight, &settings.dividerPosition }) {
        while (at != end && *at == ' ')
            ++at;
        const auto [next, error] = std::from_chars(at, end, *number);
        if (error != std::errc())
            return false;
        at = next;
    }
    return at == end;
}

// Writes `prefix`.folder first: for a hidden tab, that line starts the tab.
void appendPanel(std::string& text, const std::string& prefix, const PanelSettings& panel)
{
    appendLine(text, prefix + ".folder", panel.folder);
    appendLine(text, prefix + ".hidden", panel.showHidden ? "1" : "0");
    appendLine(text, prefix + ".sort", sortText(panel.sortOrder));
    for (const auto& folder : panel.history)
        appendLine(text, prefix + ".history", folder);
}

void appendSide(
    std::string& text, const std::string& side, const PanelSettings& shown, const HiddenTabs& hidden)
{
    appendPanel(text, side, shown);
    if (hidden.tabs.empty())
        return;
    appendLine(text, side + ".shown", std::to_string(hidden.shownAt));
    for (const PanelSettings& tab : hidden.tabs)
        appendPanel(text, side + ".tab", tab);
}

// Takes one "left."/"right." line, or one of a hidden tab's; false when its value is impossible.
bool applyPanelLine(PanelSettings& panel, std::string_view field, std::string value)
{
    if (field == "folder") {
        panel.folder = std::move(value);
    } else if (field == "hidden") {
        if (value != "0" && value != "1")
            return false;
        panel.showHidden = value == "1";
    } else if (field == "sort") {
        const auto order = parseSort(value);
        if (!order)
            return false;
        panel.sortOrder = *order;
    } else if (field == "history") {
        panel.history.push_back(std::move(value));
    }
    return true;
}

// Takes one line of a side: of its shown tab, "shown", or "tab." lines, each tab from its "folder" on.
bool applySideLine(PanelSettings& shown, HiddenTabs& hidden, std::string_view field, std::string value)
{
    if (field == "shown") {
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), hidden.shownAt);
        return error == std::errc() && end == value.data() + value.size();
    }
    if (!field.starts_with("tab."))
        return applyPanelLine(shown, field, std::move(value));
    field.remove_prefix(4);
    if (field == "folder")
        hidden.tabs.emplace_back();
    return !hidden.tabs.empty() && applyPanelLine(hidden.tabs.back(), field, std::move(value));
}

bool applyLine(Settings& settings, std::string_view key, std::string value)
{
    if (key == "window")
        return parseWindow(value, settings);
    if (key == "hotlist")
        settings.hotlist.push_back(std::move(value));
    else if (key == "command")
        settings.commandHistory.push_back(std::move(value));
    else if (key.starts_with("left."))
        return applySideLine(settings.left, settings.leftTabs, key.substr(5), std::move(value));
    else if (key.starts_with("right."))
        return applySideLine(settings.right, settings.rightTabs, key.substr(6), std::move(value));
    return true;
}

// Moves the damaged file out of the way under a name that is free, never replacing anything.
Loaded setAside(const std::string& path)
{
    Loaded loaded;
    for (int attempt = 1; attempt < 100; ++attempt) {
        std::string aside = path + ".damaged";
        if (attempt > 1)
            aside.append("-").append(std::to_string(attempt));
        if (PlatformCalls::renameExclusive(path.c_str(), aside.c_str()) == 0) {
            loaded.problem = "The settings file " + path + " was damaged. It has been set aside as " + aside
                + ", and Tavrin starts with its default settings.";
            return loaded;
        }
        if (errno != EEXIST)
            break;
    }
    loaded.problem = "The settings file " + path
        + " is damaged and could not be set aside. Tavrin starts with its default settings and leaves "
          "the file as it is: this session's settings will not be saved.";
    loaded.maySave = false;
    return loaded;
}

} // namespace

std::string settingsFilePath()
{
    return ConfigFolder::filePath(fileName);
}

Loaded load()
{
    const auto path = settingsFilePath();
    std::string contents;
    switch (WholeFile::read(path, contents)) {
    case WholeFile::ReadOutcome::missing:
        return {};
    case WholeFile::ReadOutcome::unreadable:
        break;
    case WholeFile::ReadOutcome::read:
        if (auto settings = parseSettingsText(contents))
            return { std::move(*settings), {}, true };
        break;
    }
    return setAside(path);
}

void save(const Settings& settings)
{
    ConfigFolder::writeFile(fileName, settingsText(settings));
}

std::string settingsText(const Settings& settings)
{
    std::string text(headerLine);
    text += '\n';
    appendLine(text, "window",
        std::to_string(settings.windowWidth) + " " + std::to_string(settings.windowHeight) + " "
            + std::to_string(settings.dividerPosition));
    appendSide(text, "left", settings.left, settings.leftTabs);
    appendSide(text, "right", settings.right, settings.rightTabs);
    for (const auto& folder : settings.hotlist)
        appendLine(text, "hotlist", folder);
    for (const auto& line : settings.commandHistory)
        appendLine(text, "command", line);
    return text;
}

std::optional<Settings> parseSettingsText(std::string_view text)
{
    if (!text.starts_with(headerLine) || text.substr(headerLine.size(), 1) != "\n")
        return std::nullopt;
    text.remove_prefix(headerLine.size() + 1);
    Settings settings;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty())
            continue;
        const auto blank = line.find(' ');
        const auto value = blank == std::string_view::npos ? std::nullopt : unescaped(line.substr(blank + 1));
        if (!value || !applyLine(settings, line.substr(0, blank), std::move(*value)))
            return std::nullopt;
    }
    return settings;
}

} // namespace kiv::SettingsStore
