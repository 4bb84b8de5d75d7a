#pragma once

#include "commands/Action.h"

#include <QString>
#include <vector>

// The help (F1): every key of the command table under the heading of the place it acts in.
namespace kiv::HelpText {

// Returns the help for `actions` laid out in `columns` characters of a fixed-pitch font: each
// place's heading, then a line per key with its name in a column of its own and what it does
// beside it, wrapped within that column; then `closing`, a paragraph wrapped to the whole width.
// An action's keys after its first read "The same as" the first.
QString compose(const std::vector<Action>& actions, int columns, const QString& closing);

} // namespace kiv::HelpText
