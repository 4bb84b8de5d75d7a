#include "commands/HelpText.h"

#include "commands/CommandTable.h"
#include "text/WordWrap.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace kiv::HelpText {

namespace {

using Place = Action::Place;

// The smallest width a description wraps at, however narrow the help: a word or two a line.
constexpr int narrowestDescription = 12;

struct Heading
{
    Place place;
    const char* title;
    const char* opener; // the action whose key opens the place, named after the title; or null
};

constexpr std::array<Heading, 12> headings { {
    { Place::panels, "Panels", nullptr },
    { Place::commandLine, "Command line", nullptr },
    { Place::console, "Console (other keys go to the program; once it ended, any key returns)", nullptr },
    { Place::editor, "Editor", nullptr },
    { Place::menus, "Menus", nullptr },
    { Place::dialogs, "Dialogs", nullptr },
    { Place::jobs, "Jobs", nullptr },
    { Place::find, "Find file", "find-file" },
    { Place::viewer, "Viewer", "view" },
    { Place::rename, "Multi-rename", "multi-rename" },
    { Place::synchronize, "Synchronize folders", "synchronize" },
    { Place::compare, "Compare files", "compare-files" },
} };

QString headingOf(const Heading& heading, const std::vector<Action>& actions)
{
    QString title = QString::fromLatin1(heading.title);
    const auto opener = std::find_if(actions.begin(), actions.end(), [&heading](const Action& action) {
        return heading.opener && action.id == std::string_view(heading.opener) && !action.keys.empty();
    });
    if (opener != actions.end())
        title += QStringLiteral(" (") + CommandTable::keyName(opener->keys.front()) + QLatin1Char(')');
    return title;
}

// Each line of `text` wrapped on its own.
QStringList wrapped(const QString& text, int width)
{
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n'))
        for (const std::string& line : WordWrap::lines(paragraph.toStdString(), std::max(width, 1)))
            lines << QString::fromStdString(line);
    return lines;
}

// The key's name padded to the key column, what it does wrapped beside it.
void addKeyLines(QStringList& lines, const Line& line, int keyColumn, int columns)
{
    const QString indent(2, u' ');
    const QStringList description = wrapped(line.text, std::max(columns - keyColumn, narrowestDescription));
    lines << indent + line.key.leftJustified(keyColumn - indent.size()) + description.front();
    for (qsizetype at = 1; at < description.size(); ++at)
        lines << QString(keyColumn, u' ') + description[at];
}

void addActionLines(std::vector<Line>& lines, const Action& action)
{
    for (std::size_t at = 0; at < action.keys.size(); ++at) {
        const QString text = at == 0
            ? action.help
            : QStringLiteral("The same as ") + CommandTable::keyName(action.keys.front());
        lines.push_back({ CommandTable::keyName(action.keys[at]), text });
    }
}

} // namespace

std::vector<Section> sections(const std::vector<Action>& actions)
{
    std::vector<Section> result;
    for (const Heading& heading : headings) {
        Section section { headingOf(heading, actions), {} };
        for (const Action& action : actions)
            if (action.place == heading.place)
                addActionLines(section.lines, action);
        if (!section.lines.empty())
            result.push_back(std::move(section));
    }
    return result;
}

QString compose(const std::vector<Action>& actions, int columns, const QString& closing)
{
    const std::vector<Section> told = sections(actions);
    qsizetype widest = 0;
    for (const Section& section : told)
        for (const Line& line : section.lines)
            widest = std::max(widest, line.key.size());
    const int keyColumn = int(widest) + 4; // two blanks before the name, two after the widest
    QStringList lines;
    for (const Section& section : told) {
        lines << (lines.isEmpty() ? QString() : QStringLiteral("\n")) + section.heading;
        for (const Line& line : section.lines)
            addKeyLines(lines, line, keyColumn, columns);
    }
    return lines.join(u'\n') + QStringLiteral("\n\n") + wrapped(closing, columns).join(u'\n');
}

} // namespace kiv::HelpText
