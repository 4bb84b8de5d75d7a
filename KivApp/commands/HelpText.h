#pragma once

#include "commands/Action.h"

#include <QString>
#include <vector>

// The help (F1): every key of the command table under the heading of the place it acts in.
namespace kiv::HelpText {

// One key and what it does.
struct Line
{
    QString key;
    QString text;
};

// The keys of one place under its heading.
struct Section
{
    QString heading;
    std::vector<Line> lines;
};

// Returns what the help tells of `actions`: a section for each place with keys, in the order of
// the places, its keys in the order of the rows; an action's keys after its first read "The same
// as" the first.
std::vector<Section> sections(const std::vector<Action>& actions);

// Returns the sections of `actions` laid out in `columns` characters of a fixed-pitch font: each
// heading, then a line per key with its name in a column of its own and what it does beside it,
// wrapped within that column; then `closing`, its lines wrapped to the whole width.
QString compose(const std::vector<Action>& actions, int columns, const QString& closing);

} // namespace kiv::HelpText
